#include "FolderUtil.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "ProgramFolder.h"
#include "RegSettings.h"
#include "StringUtil.h"

#include "fw/file.h"
#include "fw/handles.h"

#include <windows.h>

#include <unordered_set>

namespace {

bool IsDotEntry(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// The extension after the last dot of a file name, or empty.
std::string_view ExtensionOf(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool IsLinkFolder(DWORD attrs) {
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) &&
           (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Depth-first walk; the directory bit alone decides what is a folder. A
// junction or symbolic link is listed but never entered: what it points to
// is not below the folder. False when the folder itself could not be listed.
bool WalkFolders(const std::string& folder, std::vector<std::string>* list) {
    WIN32_FIND_DATAA data;
    fw::FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find) return false;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(data.cFileName)) {
            std::string sub = folder + "\\" + data.cFileName;
            list->push_back(sub);
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) WalkFolders(sub, list);
        }
    } while (::FindNextFileA(find.get(), &data));
    return true;
}

// True when a part of path between slashes is "..".
bool HoldsParentStep(std::string_view path) {
    size_t from = 0;
    for (;;) {
        const size_t cut = path.find_first_of("\\/", from);
        if (path.substr(from, cut == std::string_view::npos ? cut : cut - from) == "..") return true;
        if (cut == std::string_view::npos) return false;
        from = cut + 1;
    }
}

// Strips trailing backslashes so that "C:\A\" and "C:\A" compare alike.
std::string TrimSlash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace

CFolderUtil::CFolderUtil() {
    GetProgramFolder(&programFolder_);
    linksFolder_ = programFolder_ + AppConstants::kLinksSub;
}

CFolderUtil::CFolderUtil(std::string programFolder)
    : programFolder_(TrimSlash(std::move(programFolder))), linksFolder_(programFolder_ + AppConstants::kLinksSub) {}

ErrorCode CFolderUtil::GetProgramFolder(std::string* out) {
    return ::GetProgramFolder(out);
}

bool CFolderUtil::IsContainedRelative(std::string_view relative) {
    // A leading slash, a drive or a share, and a colon (a drive-relative path
    // or a stream name) all leave the base.
    if (!relative.empty() && (relative.front() == '\\' || relative.front() == '/')) return false;
    return relative.find(':') == std::string_view::npos && !HoldsParentStep(relative);
}

ErrorCode CFolderUtil::ListSubfolders(const std::string& folder, std::vector<std::string>* list) const {
    // A walk never climbs: a folder named with ".." is refused as no folder.
    if (HoldsParentStep(folder) || !fw::FolderExists(folder)) return kErrSetDirectory;
    return WalkFolders(folder, list) ? kErrNone : kErrNoFile;
}

ErrorCode CFolderUtil::ListFiles(const std::string& folder, const std::string& ext,
                                 std::vector<std::string>* list) const {
    WIN32_FIND_DATAA data;
    // The mask also matches 8.3 short names ("*.vsl" finds "a.vslx"), so the
    // real extension is checked below.
    fw::FindHandle find(::FindFirstFileA((folder + "\\*." + ext).c_str(), &data));
    if (!find) {
        const DWORD err = ::GetLastError();
        return (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_NO_MORE_FILES)
                   ? kErrNoFile
                   : kErrFindFile;
    }
    bool any = false;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!EqualsNoCase(ExtensionOf(data.cFileName), ext)) continue;
        list->push_back(data.cFileName);
        any = true;
    } while (::FindNextFileA(find.get(), &data));
    if (::GetLastError() != ERROR_NO_MORE_FILES) return kErrFindFile;
    return any ? kErrNone : kErrNoFile;
}

ErrorCode CFolderUtil::CreateProgramFolders() const {
    ErrorCode result = kErrNone;
    for (const char* folder : {AppConstants::kLinks, AppConstants::kGroups, AppConstants::kTemplates})
        if (const ErrorCode rc = CreatePath(programFolder_, folder); rc != kErrNone) result = rc;
    return result;
}

ErrorCode CFolderUtil::CreatePath(const std::string& base, const std::string& relative) const {
    const std::string full = JoinPath(base, relative);
    // Folders are created from the program folder down; a path elsewhere from its root down.
    std::string root;
    std::string part;
    if (PathStartsWith(full, programFolder_) && full.size() > programFolder_.size()) {
        root = programFolder_;
        part = full.substr(programFolder_.size() + 1);
    } else {
        const size_t first = full.find('\\', full.size() > 2 && full[1] == ':' ? 3 : 0);
        if (first == std::string::npos) return ::CreateDirectoryA(full.c_str(), nullptr) || fw::FolderExists(full)
                                                   ? kErrNone
                                                   : kErrAddFolder;
        root = full.substr(0, first);
        part = full.substr(first + 1);
    }
    ErrorCode result = kErrNone;
    size_t pos = 0;
    for (;;) {
        const size_t slash = part.find('\\', pos);
        const std::string path = root + "\\" + part.substr(0, slash);
        if (!fw::FolderExists(path) && !::CreateDirectoryA(path.c_str(), nullptr) && !fw::FolderExists(path))
            result = kErrAddFolder;
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    return result;
}

ErrorCode CFolderUtil::DeleteFolderTree(const std::string& base, const std::string& relative, int kind) const {
    // Nothing outside base may go: not an absolute path, not a climb with "..".
    if (!IsContainedRelative(relative)) return kErrDeleteFolder;
    const std::string root = relative.empty() ? base : JoinPath(base, relative);
    std::vector<std::string> folders{root};
    if (!IsLinkFolder(::GetFileAttributesA(root.c_str()))) ListSubfolders(root, &folders);

    // A folder that is any process's current directory cannot be removed:
    // step out of the tree first.
    char cwd[MAX_PATH * 4] = {};
    const DWORD cwdLen = ::GetCurrentDirectoryA(sizeof(cwd), cwd);
    if (cwdLen > 0 && cwdLen < sizeof(cwd) && PathStartsWith(cwd, root)) {
        std::string systemRoot;
        if (CRegSettings().GetSystemRoot(&systemRoot) == kErrNone) ::SetCurrentDirectoryA(systemRoot.c_str());
    }

    const bool isGroups = StartsWithNoCase(relative, AppConstants::kGroups);
    const char* ext = kind == 6 ? AppConstants::kGroupExt : AppConstants::kLinkExt;
    const std::string linksRoot = programFolder_ + AppConstants::kLinksSub;
    const std::string groupsRoot = programFolder_ + AppConstants::kGroupsSub;
    for (const auto& folder : folders) {
        // A link's files are its target's: only the link itself goes (below).
        if (IsLinkFolder(::GetFileAttributesA(folder.c_str()))) continue;
        std::vector<std::string> files;
        ListFiles(folder, ext, &files);
        for (const auto& file : files) ::DeleteFileA((folder + "\\" + file).c_str());
        // A group Groups\Name is the file Groups\Name.vsg.
        if (isGroups && !EqualsNoCase(TrimSlash(folder), groupsRoot))
            ::DeleteFileA((folder + "." + AppConstants::kGroupExt).c_str());
    }
    // Emptied folders go deepest first; one still holding other files stays.
    // RemoveDirectory takes a junction or folder link away without its target
    // (Wine cannot remove a Unix link that way: it stays, its target too).
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        const std::string folder = TrimSlash(*it);
        if (EqualsNoCase(folder, linksRoot) || EqualsNoCase(folder, groupsRoot) ||
            EqualsNoCase(folder, programFolder_))
            continue;
        ::RemoveDirectoryA(folder.c_str());
    }
    return kErrNone;
}

ErrorCode CFolderUtil::MakeUniqueName(const std::string& folder, std::string* name) const {
    std::vector<std::string> files;
    const ErrorCode rc = ListFiles(folder, AppConstants::kLinkExt, &files);
    if (rc == kErrFindFile) return rc;
    // Names collide without regard to case: "1.VSL" takes 1. Every listed
    // name has the link extension, so its number part decides.
    std::unordered_set<std::string> taken;
    for (const auto& file : files) taken.insert(file.substr(0, file.rfind('.')));
    for (unsigned n = 0;; ++n) {
        std::string number = std::to_string(n);
        if (!taken.count(number)) {
            *name = number + "." + AppConstants::kLinkExt;
            return kErrNone;
        }
    }
}

void CFolderUtil::MakeRelativePath(const std::string& path, std::string* out) const {
    *out = path;
    if (!programFolder_.empty() && PathStartsWith(path, programFolder_))
        *out = path.size() > programFolder_.size() ? path.substr(programFolder_.size() + 1) : std::string();
    if (PathStartsWith(*out, AppConstants::kLinks)) {
        const size_t len = sizeof(AppConstants::kLinks) - 1;
        *out = out->size() > len ? out->substr(len + 1) : std::string();
    }
}

void MakeRelativePath(const std::string& path, std::string* out) { CFolderUtil().MakeRelativePath(path, out); }

ErrorCode CFolderUtil::MergeFolderLists(const std::vector<std::string>& walk, const std::string& topFolder, size_t* pos,
                                        std::vector<std::string>* out) const {
    // The walk lists a folder's whole tree before its next sibling, so one
    // top-level folder's folders lie together, however many there are.
    std::vector<std::string> gathered;
    for (; *pos < walk.size(); ++*pos) {
        std::string relative;
        MakeRelativePath(walk[*pos], &relative);
        const size_t cut = relative.find('\\');
        if (relative.compare(0, cut, topFolder) != 0) break;
        gathered.push_back(std::move(relative));
    }
    out->insert(out->begin(), std::make_move_iterator(gathered.rbegin()), std::make_move_iterator(gathered.rend()));
    return kErrNone;
}

void CFolderUtil::CollectChildFolders(const std::vector<std::string>& folders, int depth, const std::string& parent,
                                      std::vector<std::string>* out) {
    std::unordered_set<std::string> seen(out->begin(), out->end());
    for (const std::string& folder : folders) {
        // The part before the depth-th backslash must be parent itself.
        size_t cut = std::string::npos;
        for (int i = 0, from = 0; i < depth; ++i) {
            cut = folder.find('\\', from);
            if (cut == std::string::npos) break;
            from = static_cast<int>(cut) + 1;
        }
        if (cut == std::string::npos || folder.compare(0, cut, parent) != 0) continue;
        const size_t end = folder.find('\\', cut + 1);
        std::string child = folder.substr(cut + 1, end == std::string::npos ? std::string::npos : end - cut - 1);
        if (!child.empty() && seen.insert(child).second) out->push_back(std::move(child));
    }
}
