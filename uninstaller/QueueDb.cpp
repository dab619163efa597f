// Opening, creating, checking and closing a queue database.
#include "QueueDb.h"

#include "QueueDbFile.h"
#include "QueueDbFormat.h"
#include "QueueTree.h"

#include "fw/file.h"
#include "fw/sync.h"

#include <cctype>

namespace {

constexpr char kOpenMutexSuffix[] = "__BMTX";
constexpr char kDataLockSuffix[] = "__BA";
constexpr char kIndexLockSuffix[] = "__IA";
constexpr char kBlockSuffix[] = "__IS";

fw::FileHandle OpenExisting(const std::string& path, DWORD access, DWORD flags = 0) {
    return fw::FileHandle(::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | flags, nullptr));
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty() || fw::FolderExists(folder)) return true;
    const std::size_t cut = folder.find_last_of("\\/");
    if (cut != std::string::npos && cut > 2 && !MakeFolders(folder.substr(0, cut))) return false;
    return ::CreateDirectoryA(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool CQueueDb::MakePaths(const char* path, std::string* data, std::string* index, std::string* base) {
    char full[MAX_PATH + 1] = {};
    const DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) return false;
    std::string stem = full;
    const std::size_t slash = stem.find_last_of("\\/");
    const std::size_t dot = stem.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) stem.resize(dot);
    *data = stem + ".cdb";
    *index = stem + ".idx";
    if (data->size() >= MAX_PATH) return false;
    base->clear();
    for (const char c : *data) {
        *base += (c == '\\' || c == '/') ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return true;
}

std::string CQueueDb::CopyPath(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    return path.substr(0, dot) + "1" + path.substr(dot);
}

bool CQueueDb::Open(const char* path, CQueueRecord* prototype, bool createAllowed) {
    if (!path) return false;
    Close();
    if (!MakePaths(path, &dataPath_, &indexPath_, &baseName_)) return false;
    prototype_ = prototype;
    createAllowed_ = createAllowed;

    openMutex_.reset(::CreateMutexA(nullptr, TRUE, (baseName_ + kOpenMutexSuffix).c_str()));
    bool ok = false;
    if (openMutex_) {
        // Initial ownership is granted only to the call that made the mutex.
        const bool owned = ::GetLastError() != ERROR_ALREADY_EXISTS ||
                           fw::WaitAcquired(::WaitForSingleObject(openMutex_.get(), INFINITE));
        if (owned) {
            opening_ = true;
            const int made = dataLock_.Create(baseName_.c_str(), kDataLockSuffix) &&
                                     indexLock_.Create(baseName_.c_str(), kIndexLockSuffix)
                                 ? block_.Open(kBlockSize, baseName_.c_str(), kBlockSuffix)
                                 : -1;
            // Whoever made the shared block loads it; only that opener repairs.
            const bool first = made == 0;
            ok = made >= 0 && Attempt(false, first);
            if (!ok && first) {
                queuefile::MakeWritable(dataPath_);
                queuefile::MakeWritable(indexPath_);
                ok = Attempt(false, first);
            }
            if (!ok && first && queuefile::Exists(CopyPath(dataPath_)) && queuefile::Exists(CopyPath(indexPath_))) {
                ::CopyFileA(CopyPath(indexPath_).c_str(), indexPath_.c_str(), FALSE);
                ::CopyFileA(CopyPath(dataPath_).c_str(), dataPath_.c_str(), FALSE);
                ok = Attempt(false, first);
            }
            if (!ok && first && createAllowed) {
                ::DeleteFileA(indexPath_.c_str());
                ::DeleteFileA(dataPath_.c_str());
                ok = Attempt(true, first);
            }
            opening_ = false;
            ::ReleaseMutex(openMutex_.get());
        }
    }
    if (!ok) {
        CloseFiles();
        block_.Close();
        dataLock_.Close();
        indexLock_.Close();
        openMutex_.reset();
        baseName_.clear();
        dataPath_.clear();
        indexPath_.clear();
        return false;
    }
    open_ = true;
    return true;
}

bool CQueueDb::Attempt(bool mayCreate, bool first) {
    CloseFiles();
    if (first) {  // a retry starts from an empty index
        for (std::uint32_t head : {QueueTree::kRoot, QueueTree::kRemoved, QueueTree::kNonLive})
            block_.SetHead(head, CSharedBlock::kNone);
    }
    queuefile::MakeWritable(dataPath_);
    queuefile::MakeWritable(indexPath_);
    const bool usable = static_cast<bool>(OpenExisting(dataPath_, GENERIC_READ | GENERIC_WRITE));
    if (!usable) {
        if (!(mayCreate && first && (!queuefile::Exists(dataPath_) || !queuefile::Exists(indexPath_)))) return false;
        if (!Create()) {
            CloseFiles();
            return false;
        }
        return true;
    }
    bool ok = (!first || LoadIndex()) && OpenFiles();
    if (ok && first) {
        ok = LoadIndexFile() && VerifyRecords();
        if (ok && prototype_) {
            // Records of older formats are rewritten in the current one.
            CQueueRecord* prototype = prototype_;
            int stop = 0;
            Walk(
                [prototype](QueueVisit& v) {
                    if (prototype->ParseOld(v.bytes, v.entry)) {
                        v.bytes = prototype->Serialize();
                        // A new format, not a new liveness: the stored flags stay.
                        const std::uint32_t flags = v.entry.flags;
                        v.entry = prototype->EntryCopy();
                        v.entry.flags = flags;
                        v.entry.length = static_cast<std::uint32_t>(v.bytes.size());
                        v.changed = true;
                    }
                    *v.stop = 0;
                },
                kAnyKey, kVisitLive | kVisitNonLive, &stop);
        }
    }
    if (!ok) CloseFiles();
    return ok;
}

bool CQueueDb::OpenFiles() {
    if (!data_) data_ = OpenExisting(dataPath_, GENERIC_READ | GENERIC_WRITE, FILE_FLAG_WRITE_THROUGH);
    if (!index_) index_ = OpenExisting(indexPath_, GENERIC_READ | GENERIC_WRITE, FILE_FLAG_WRITE_THROUGH);
    return data_ && index_;
}

void CQueueDb::CloseFiles() {
    data_.reset();
    index_.reset();
}

bool CQueueDb::Create() {
    CloseFiles();
    if (!MakeFolders(fw::FolderOf(dataPath_))) return false;
    auto make = [](const std::string& path) {
        return fw::FileHandle(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    };
    data_ = make(dataPath_);
    if (!data_ || !queuefile::WriteAt(data_.get(), 0, MakeQueueHeader(kQueueDataSignature)) || !Seal(data_.get()))
        return false;
    index_ = make(indexPath_);
    const std::string index = MakeQueueHeader(kQueueIndexSignature) + std::string(kQueueEntrySize, '\0');
    return index_ && queuefile::WriteAt(index_.get(), 0, index) && Seal(index_.get());
}

bool CQueueDb::Seal(HANDLE file) {
    std::uint8_t digest[kQueueSealSize];
    if (!seal_.OfFile(file, kQueueSealOffset, kQueueSealSize, digest)) return false;
    std::string field;
    field += static_cast<char>(kQueueSealSize);
    field += '\0';
    field.append(reinterpret_cast<const char*>(digest), kQueueSealSize);
    return queuefile::WriteAt(file, kQueueSealOffset - 2, field);
}

namespace {

// The header of an open file, with its seal checked against the content.
std::optional<QueueHeader> CheckedHeader(HANDLE file, const char* signature, bool readVersions, CMd5Checksum& md5) {
    std::uint64_t size = 0;
    std::string head;
    if (!queuefile::SizeOf(file, &size) || size < kQueueHeaderSize) return std::nullopt;
    if (!queuefile::ReadAt(file, 0, kQueueHeaderSize, &head)) return std::nullopt;
    std::optional<QueueHeader> header = ParseQueueHeader(head, signature, readVersions);
    std::uint8_t digest[kQueueSealSize];
    if (!header || !md5.OfFile(file, kQueueSealOffset, kQueueSealSize, digest) ||
        header->seal != std::string(reinterpret_cast<const char*>(digest), kQueueSealSize)) {
        return std::nullopt;
    }
    return header;
}

}  // namespace

bool CQueueDb::SealVerifies(const std::string& path, const char* signature) {
    fw::FileHandle file = OpenExisting(path, GENERIC_READ);
    return file && CheckedHeader(file.get(), signature, false, seal_);
}

bool CQueueDb::LoadIndex() {
    std::optional<QueueHeader> header;
    {
        fw::FileHandle data = OpenExisting(dataPath_, GENERIC_READ);
        if (!data) return false;
        header = CheckedHeader(data.get(), kQueueDataSignature, true, seal_);
    }
    if (!header) return false;
    if (header->version != 2 || header->subVersion != 0) {
        if (header->version != 0) {
            // Without leave to create, a database of another version stays as it is.
            if (!createAllowed_) return false;
            if (header->version == 1 && header->subVersion == 3) return Convert13();
            ::DeleteFileA(dataPath_.c_str());
            return Create();
        }
    }
    fw::FileHandle index = OpenExisting(indexPath_, GENERIC_READ);
    return index && CheckedHeader(index.get(), kQueueIndexSignature, false, seal_);
}
