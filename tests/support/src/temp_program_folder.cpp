#include "testsupport/temp_program_folder.h"

#include "testsupport/folder_link.h"

#include "fw/file.h"
#include "fw/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

namespace testsupport {

std::string TestBinaryFolder() {
    char name[MAX_PATH * 4] = {};
    ::GetModuleFileNameA(nullptr, name, sizeof(name));
    return fw::FolderOf(name);
}

namespace {

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// The link itself goes, never what it points to; Wine removes a Unix link
// only from the Unix side.
void RemoveLink(const std::string& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) ? ::RemoveDirectoryA(path.c_str()) : ::DeleteFileA(path.c_str()))
        return;
    RemoveFolderLink(path);
}

}  // namespace

void RemoveTree(const std::string& path) {
    const DWORD top = ::GetFileAttributesA(path.c_str());
    if (top == INVALID_FILE_ATTRIBUTES) return;
    if (IsLink(top)) return RemoveLink(path, top);
    WIN32_FIND_DATAA data;
    fw::FindHandle find(::FindFirstFileA((path + "\\*").c_str(), &data));
    if (find) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (IsLink(data.dwFileAttributes)) {
                RemoveLink(full, data.dwFileAttributes);
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(find.get(), &data));
    }
    find.reset();
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(path.c_str());
}

TempProgramFolder::TempProgramFolder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof(temp), temp);
    for (;;) {
        path_ = std::string(temp) + "vessa-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(counter++);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create " << path_;
            break;
        }
    }
}

TempProgramFolder::~TempProgramFolder() {
    // A test may have left the current directory inside the folder.
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof(temp), temp);
    ::SetCurrentDirectoryA(temp);
    RemoveTree(path_);
}

std::string TempProgramFolder::operator/(std::string_view relative) const {
    return path_ + "\\" + std::string(relative);
}

void TempProgramFolder::CopyProgram(const std::string& fileName) const { CopyProgramAs(fileName, fileName); }

void TempProgramFolder::CopyProgramAs(const std::string& fileName, const std::string& newName) const {
    const std::string from = TestBinaryFolder() + "\\" + fileName;
    if (!::CopyFileA(from.c_str(), (*this / newName).c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << from << " (error " << ::GetLastError() << ")";
    // The browser does not start without the ad-client library it links.
    if (fileName == "Vessa.exe") CopyProgram("twad.dll");
}

void TempProgramFolder::MakeFolder(std::string_view relative) const {
    const std::string rest(relative);
    std::string path;
    size_t pos = 0;
    for (;;) {
        const size_t slash = rest.find('\\', pos);
        path = path_ + "\\" + rest.substr(0, slash);
        ::CreateDirectoryA(path.c_str(), nullptr);
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    if (!fw::FolderExists(path)) ADD_FAILURE() << "cannot create folder " << path;
}

void TempProgramFolder::WriteFile(std::string_view relative, std::string_view bytes) const {
    const std::string path = *this / relative;
    if (!fw::WriteWholeFile(path, bytes)) ADD_FAILURE() << "cannot write " << path;
}

std::string TempProgramFolder::ReadFile(std::string_view relative) const {
    std::string bytes;
    if (!fw::ReadWholeFile(*this / relative, bytes)) ADD_FAILURE() << "cannot read " << (*this / relative);
    return bytes;
}

bool TempProgramFolder::Exists(std::string_view relative) const {
    return ::GetFileAttributesA((*this / relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace testsupport
