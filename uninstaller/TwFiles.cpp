#include "TwFiles.h"

#include "LinkCheck.h"
#include "TwPaths.h"

#include "fw/handles.h"

#include <windows.h>

namespace twfiles {

namespace {

constexpr int kAttempts = 5;

// 128 to 255 ms, from the tick count's low bits.
void PauseBeforeRetry() {
    ::Sleep((::GetTickCount() & 0x7F) | 0x80);
}

bool IsLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool RemoveFolderRetry(const std::string& folder) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (::RemoveDirectoryA(folder.c_str())) return true;
        if (attempt + 1 < kAttempts) PauseBeforeRetry();
    }
    return false;
}

// Removes a link itself: a folder link with RemoveDirectory, which never
// touches the target; its attributes are left alone, as they may be the target's.
bool RemoveLink(const std::string& path, DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryA(path.c_str()) != 0
                                                   : ::DeleteFileA(path.c_str()) != 0;
}

}  // namespace

bool IsPlainFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(attributes);
}

bool DeleteFolderTree(const std::string& folder) {
    if (folder.empty() || folder.size() >= twpaths::kMaxPath) return false;
    const DWORD top = ::GetFileAttributesA(folder.c_str());
    if (top == INVALID_FILE_ATTRIBUTES) return true;
    if (!(top & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (IsLink(top)) return RemoveLink(folder, top);
    const std::string pattern = folder + "\\*.*";
    if (pattern.size() < twpaths::kMaxPath) {
        WIN32_FIND_DATAA data;
        fw::FindHandle find(::FindFirstFileA(pattern.c_str(), &data));
        if (find) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                const std::string path = folder + "\\" + name;
                if (path.size() >= twpaths::kMaxPath) continue;
                const DWORD attributes = data.dwFileAttributes;
                if (IsLink(attributes)) {
                    RemoveLink(path, attributes);
                } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFolderTree(path);
                } else {
                    DeleteFileRetry(path);
                }
            } while (::FindNextFileA(find.get(), &data));
        }
    }
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveFolderRetry(folder);
}

int CountSubFolders(const std::string& folder, bool recursive) {
    const DWORD top = ::GetFileAttributesA(folder.c_str());
    if (top == INVALID_FILE_ATTRIBUTES || !(top & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    const std::string pattern = folder + "\\*.*";
    if (pattern.size() >= twpaths::kMaxPath) return -1;
    WIN32_FIND_DATAA data;
    fw::FindHandle find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find) return -1;
    int count = 0;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == ".." || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        ++count;
        if (recursive && !IsLink(data.dwFileAttributes)) {
            const int inner = CountSubFolders(folder + "\\" + name, true);
            if (inner > 0) count += inner;
        }
    } while (::FindNextFileA(find.get(), &data));
    return count;
}

bool DeleteFileRetry(const std::string& path) {
    if (path.empty() || path.size() >= twpaths::kMaxPath) return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (IsLink(attributes)) return ::DeleteFileA(path.c_str()) != 0;
    // A link Wine shows as a plain file: deleting it would delete its target.
    if (!IsOwnPath(path)) return false;
    // A read-only cached file goes as the folder walk's files go.
    if (attributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (::DeleteFileA(path.c_str())) return true;
        if (attempt + 1 < kAttempts) PauseBeforeRetry();
    }
    return false;
}

}  // namespace twfiles
