#include "FavoritesReader.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "FavoritesFormat.h"
#include "FolderUtil.h"

#include <memory>

namespace {

constexpr char kShortcutExt[] = "url";

// Seconds since 1970 (UTC) of a file time; 0 before 1970.
std::int64_t ToUnixSeconds(const FILETIME& time) {
    constexpr std::uint64_t kTicksPerSecond = 10000000;
    constexpr std::uint64_t kEpochTicks = 116444736000000000;  // 1601 to 1970
    const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    return ticks <= kEpochTicks ? 0 : static_cast<std::int64_t>((ticks - kEpochTicks) / kTicksPerSecond);
}

// "C:\Fav\" walks as "C:\Fav"; a drive's root keeps its backslash.
std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace

CFavoritesReader::CFavoritesReader(HWND progressWindow, std::string programFolder)
    : progress_(progressWindow),
      store_(programFolder.empty() ? CFolderUtil().ProgramFolder() : std::move(programFolder)) {}

ErrorCode CFavoritesReader::Walk(const std::string& favoritesPath, std::vector<Folder>* folders, int* count) const {
    const std::string root = WithoutTrailingSlash(favoritesPath);
    CFolderUtil util(store_.ProgramFolder());
    std::vector<std::string> walk{root};
    if (const ErrorCode rc = util.ListSubfolders(root, &walk); rc != kErrNone) return rc;

    *count = 0;
    for (std::string& path : walk) {
        Folder folder;
        // A folder whose name cannot be mirrored inside Links is left out,
        // with everything below it.
        if (!favorites::MapFavoritesFolder(root, path, &folder.relative)) continue;
        util.ListFiles(path, kShortcutExt, &folder.shortcuts);  // none: the folder is still mirrored
        *count += static_cast<int>(folder.shortcuts.size());
        folder.path = std::move(path);
        folders->push_back(std::move(folder));
    }
    return kErrNone;
}

ErrorCode CFavoritesReader::CountLinks(const std::string& favoritesPath, int* count) {
    std::vector<Folder> folders;
    int counted = 0;
    if (const ErrorCode rc = Walk(favoritesPath, &folders, &counted); rc != kErrNone) return rc;
    *count = counted;
    return kErrNone;
}

CURLObject CFavoritesReader::LoadTemplate() const {
    CURLEntry entry(std::string(), AppConstants::kDefaultTemplateFile);
    entry.kind = CURLEntry::kTemplate;
    std::unique_ptr<CURLObject> loaded;
    if (store_.LoadURLObject(entry, &loaded) == kErrNone && loaded) return *loaded;
    // A missing or damaged template is written anew, and that is the one used.
    CURLObject fresh;
    fresh.link.title = AppConstants::kDefaultTemplateTitle;
    store_.SaveURLObject(entry, fresh);
    return fresh;
}

ErrorCode CFavoritesReader::ImportFavorites(const std::string& favoritesPath, const WalkedFn& walked) {
    std::vector<Folder> folders;
    int count = 0;
    if (const ErrorCode rc = Walk(favoritesPath, &folders, &count); rc != kErrNone) return rc;
    if (walked) walked(count);

    // One record serves every link: each shortcut overwrites its title,
    // address and stamps 2 and 3; everything else stays the template's.
    CURLObject record = LoadTemplate();
    const bool paced = count < kPacedBelow;
    CFolderUtil util(store_.ProgramFolder());
    bool failed = false;
    for (const Folder& folder : folders) {
        const int made = folder.relative.empty() ? util.CreatePath(store_.ProgramFolder(), AppConstants::kLinks)
                                                 : util.CreatePath(store_.LinksFolder(), folder.relative);
        if (made != kErrNone) failed = true;
        const std::string folderText = favorites::ProgressFolderText(folder.relative);
        for (const std::string& name : folder.shortcuts) {
            if (ReadURLFile(folder.path + "\\" + name, &record) != kErrNone) continue;  // not a shortcut: skipped
            // Unflushed: the shortcuts are still there to import again.
            if (store_.AddURLObject(folder.relative, record, nullptr, CLinkStore::kNoFlush) != kErrNone) {
                failed = true;
                continue;
            }
            if (paced) wait_(kPaceMs);
            if (progress_)
                ::SendMessageA(progress_, kMsgImportingLink, reinterpret_cast<WPARAM>(folderText.c_str()),
                               reinterpret_cast<LPARAM>(record.link.title.c_str()));
        }
    }
    return failed ? kErrWriteFile : kErrNone;
}

ErrorCode CFavoritesReader::ReadURLFile(const std::string& path, CURLObject* record) {
    file_.reset(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    // Only a disk file: a pipe or device of that name could block the import.
    if (!file_ || ::GetFileType(file_.get()) != FILE_TYPE_DISK) {
        file_.reset();
        return kErrOpenResourceFile;
    }
    filePath_ = path;
    const std::string title = GetLinkTitle();
    FILETIME created{}, accessed{}, written{};
    ::GetFileTime(file_.get(), &created, &accessed, &written);

    std::string address;
    const ErrorCode rc = ParseURLLine(&address);
    file_.reset();
    if (rc != kErrNone) return rc;
    record->link.title = title;
    record->link.address = std::move(address);
    record->link.stamp2 = ToUnixSeconds(created);
    record->link.stamp3 = ToUnixSeconds(accessed);
    return kErrNone;
}

ErrorCode CFavoritesReader::ParseURLLine(std::string* address) {
    if (!file_) return kErrNoUrl;
    // One byte past the bound tells a whole file from a cut one. The buffer
    // is kept from file to file.
    std::string& text = buffer_;
    text.resize(favorites::kMaxShortcutBytes + 1);
    size_t got = 0;
    while (got < text.size()) {
        DWORD read = 0;
        if (!::ReadFile(file_.get(), text.data() + got, static_cast<DWORD>(text.size() - got), &read, nullptr))
            return kErrNoUrl;
        if (read == 0) break;
        got += read;
    }
    return favorites::ParseShortcutFile(std::string_view(text.data(), got), address) ? kErrNone : kErrNoUrl;
}

std::string CFavoritesReader::GetLinkTitle() const { return favorites::ShortcutTitle(filePath_); }
