#include "LinkStore.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "FolderUtil.h"
#include "StringUtil.h"

#include "fw/file.h"

#include <windows.h>

#include <new>

namespace {

// Two links racing for the same numbers give up after this many names.
constexpr int kMaxNameAttempts = 1000;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True when every component of a relative path is a real name: no empty
// component and no "." or "..", so the path cannot leave its folder.
bool IsPlainRelativePath(std::string_view path) {
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." || part.find(':') != std::string_view::npos) return false;
        if (end == path.size()) return true;
        start = end + 1;
    }
}

}  // namespace

CLinkStore::CLinkStore() {
    CFolderUtil util;
    programFolder_ = util.ProgramFolder();
    linksFolder_ = util.LinksFolder();
}

CLinkStore::CLinkStore(std::string programFolder) {
    CFolderUtil util(std::move(programFolder));
    programFolder_ = util.ProgramFolder();
    linksFolder_ = util.LinksFolder();
}

std::string CLinkStore::EntryPath(const CURLEntry& entry) const {
    std::string folder;
    if (entry.kind == CURLEntry::kTemplate)
        folder = programFolder_ + "\\" + AppConstants::kTemplates;
    else
        folder = entry.group.empty() ? linksFolder_ : linksFolder_ + "\\" + entry.group;
    return folder + "\\" + entry.name;
}

ErrorCode CLinkStore::LoadURLObject(const CURLEntry& entry, std::unique_ptr<CURLObject>* out) const {
    return ReadArchive(EntryPath(entry), out);
}

ErrorCode CLinkStore::SaveURLObject(const CURLEntry& entry, const CURLObject& record) const {
    const std::string path = EntryPath(entry);
    // Only the last level is made: a save into a folder tree that was
    // deleted fails rather than building the tree again.
    const std::string folder = fw::FolderOf(path);
    if (!fw::FolderExists(folder)) ::CreateDirectoryA(folder.c_str(), nullptr);
    return WriteArchive(path, record);
}

ErrorCode CLinkStore::AddURLObject(const std::string& group, const CURLObject& record, std::string* newName,
                                   Flush flush) const {
    const std::string folder = group.empty() ? linksFolder_ : linksFolder_ + "\\" + group;
    CFolderUtil util(programFolder_);
    std::string name;
    if (const ErrorCode rc = util.MakeUniqueName(folder, &name); rc != kErrNone) return rc;
    if (group.empty())
        util.CreatePath(programFolder_, AppConstants::kLinks);
    else
        util.CreatePath(linksFolder_, group);

    std::string bytes;
    try {
        bytes = fw::StoreObject(record);
    } catch (const std::exception&) {
        return kErrWriteFile;
    }
    // Another program may take the chosen number before our file lands; the
    // file is then moved to the next number instead of over the other link.
    int number = StringToInt(name);
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        switch (fw::CreateFileAtomic(folder + "\\" + name, bytes, flush == kFlush)) {
            case fw::CreateResult::kOk:
                if (newName) *newName = name;
                return kErrNone;
            case fw::CreateResult::kFailed:
                return kErrWriteFile;
            case fw::CreateResult::kExists:
                name = std::to_string(++number) + "." + AppConstants::kLinkExt;
                break;
        }
    }
    return kErrWriteFile;
}

ErrorCode CLinkStore::DeleteURLObject(const CURLEntry& entry) const {
    CURLEntry link = entry;
    link.kind = CURLEntry::kLink;
    return ::DeleteFileA(EntryPath(link).c_str()) ? kErrNone : kErrDeleteLink;
}

ErrorCode CLinkStore::GetLinkTitle(const std::string& group, const std::string& name, std::string* title) const {
    std::unique_ptr<CURLObject> record;
    const ErrorCode rc = LoadURLObject(CURLEntry(group, name), &record);
    if (rc == kErrNone) *title = record->link.title;
    return rc;
}

ErrorCode CLinkStore::ReadList(const std::string& path, std::vector<std::string>* lines) const {
    try {
        std::vector<std::string> read;
        if (!fw::ReadTextLines(path, read)) return kErrWriteFile;
        // An empty line names no link: as a path it would be the Links folder itself.
        for (std::string& line : read)
            if (!line.empty()) lines->push_back(std::move(line));
        return kErrNone;
    } catch (const std::bad_alloc&) {
        return kErrLowMemory;
    }
}

ErrorCode CLinkStore::WriteList(const std::string& path, const std::vector<std::string>& lines) const {
    return fw::WriteFileAtomic(path, fw::JoinLinesCrLf(lines)) ? kErrNone : kErrWriteFile;
}

ErrorCode CLinkStore::CreateDefaultTemplate() const {
    CURLObject record;
    record.link.title = AppConstants::kDefaultTemplateTitle;
    CURLEntry entry(std::string(), AppConstants::kDefaultTemplateFile);
    entry.kind = CURLEntry::kTemplate;
    return SaveURLObject(entry, record);
}

ErrorCode CLinkStore::WriteArchive(const std::string& path, const CURLObject& record) const {
    try {
        return fw::WriteFileAtomic(path, fw::StoreObject(record)) ? kErrNone : kErrWriteFile;
    } catch (const std::exception&) {
        return kErrWriteFile;
    }
}

ErrorCode CLinkStore::ReadArchive(const std::string& path, std::unique_ptr<CURLObject>* out) const {
    try {
        std::string bytes;
        switch (fw::ReadFileBytes(path, &bytes)) {
            case fw::ReadResult::kOk:
                break;
            case fw::ReadResult::kCannotOpen:
                *out = std::make_unique<CURLObject>();
                return kErrOpenResourceFile;
            case fw::ReadResult::kReadError:
                return kErrWriteFile;
        }
        std::unique_ptr<CURLObject> record = fw::LoadObject<CURLObject>(bytes);
        *out = record ? std::move(record) : std::make_unique<CURLObject>();
        return kErrNone;
    } catch (const fw::ArchiveException&) {
        return kErrWriteFile;
    } catch (const std::bad_alloc&) {
        return kErrLowMemory;
    }
}

ErrorCode CLinkStore::SplitLinkPath(const std::string& path, CURLEntry* entry) const {
    if (programFolder_.empty() || !PathStartsWith(path, programFolder_)) return kErrInvalidPath;
    const size_t skip = programFolder_.size() + (programFolder_.back() == '\\' ? 0 : 1);  // "C:\" keeps its backslash
    if (path.size() <= skip) return kErrInvalidPath;
    const std::string rest = path.substr(skip);  // Links\A\B\3.vsl
    constexpr size_t kLinksLen = sizeof(AppConstants::kLinks) - 1;
    if (!StartsWithNoCase(rest, AppConstants::kLinks) || rest.size() <= kLinksLen + 1 || rest[kLinksLen] != '\\')
        return kErrInvalidPath;
    const std::string below = rest.substr(kLinksLen + 1);  // A\B\3.vsl
    if (!IsPlainRelativePath(below)) return kErrInvalidPath;
    const size_t cut = below.rfind('\\');
    entry->group = cut == std::string::npos ? std::string() : below.substr(0, cut);
    entry->name = cut == std::string::npos ? below : below.substr(cut + 1);
    return kErrNone;
}
