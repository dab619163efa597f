// Loading a queue database's index into the shared block, checking its
// records, converting 1.3 files, and writing everything back at close.
#include "QueueDb.h"

#include "QueueDbFile.h"
#include "QueueDbLocks.h"
#include "QueueDbFormat.h"
#include "QueueTree.h"

#include "fw/file.h"
#include "fw/sync.h"

namespace {

constexpr std::uint64_t kMaxOldFile = 64u << 20;  // a larger 1.3 file is not converted

}  // namespace

fw::Handle CQueueDb::Duplicate(HANDLE file) {
    HANDLE copy = nullptr;
    const HANDLE self = ::GetCurrentProcess();
    if (!file || file == INVALID_HANDLE_VALUE ||
        !::DuplicateHandle(self, file, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return fw::Handle();
    }
    return fw::Handle(copy);
}

bool CQueueDb::LoadIndexFile() {
    LockHold indexHold(indexLock_, CNamedRwLock::kShared);
    if (!indexHold.held()) return false;
    fw::Handle index = Duplicate(index_.get());
    std::uint64_t size = 0;
    if (!index || !queuefile::SizeOf(index.get(), &size) || size < kQueueHeaderSize) return false;
    QueueTree tree(block_);
    std::string raw;
    for (std::uint64_t at = kQueueHeaderSize;; at += kQueueEntrySize) {
        if (size - at < kQueueEntrySize || !queuefile::ReadAt(index.get(), at, kQueueEntrySize, &raw)) return false;
        QueueEntry entry = ParseQueueEntry(reinterpret_cast<const unsigned char*>(raw.data()));
        if (entry.id == 0) return true;
        if (entry.id == QueueEntry::kSkip) continue;
        BlockHold hold(block_, CNamedRwLock::kExclusive);
        if (!hold.held()) return false;
        const bool live = entry.IsLive();
        if (live) entry.flags = (entry.flags | QueueEntry::kSeen) & ~QueueEntry::kStale;
        const std::uint32_t node = tree.NewNode(entry);
        if (!node) return false;  // the block is full: the open fails rather than lose entries
        if (live) {
            tree.Insert(node);  // an id already in the tree stays out
        } else {
            tree.PushList(QueueTree::kNonLive, node);
        }
    }
}

bool CQueueDb::VerifyRecords() {
    BlockHold hold(block_, CNamedRwLock::kExclusive);
    LockHold dataHold(dataLock_, CNamedRwLock::kExclusive);
    if (!hold.held() || !dataHold.held()) return false;
    fw::Handle data = Duplicate(data_.get());
    if (!data) return false;
    QueueTree tree(block_);
    std::vector<std::uint32_t> nodes;
    if (!tree.PostOrder(&nodes)) return false;
    for (const std::uint32_t node : nodes) {
        const QueueEntry* entry = tree.EntryOf(node);
        if (!entry) return false;
        std::string bytes, trailer;
        if (!ReadRecord(data.get(), *entry, &bytes, &trailer) || !QueueTrailerMatches(bytes, trailer)) {
            // Kept on the removed list: written back as a non-live entry.
            tree.Remove(entry->id, true);
        }
    }
    return true;
}

bool CQueueDb::Convert13() {
    if (!prototype_) return false;
    char temp[MAX_PATH + 1] = {};
    const std::string folder = fw::FolderOf(dataPath_);
    if (!::GetTempFileNameA(folder.c_str(), "cdb", 0, temp)) return false;
    const std::string tempPath = temp;
    std::string old;
    std::uint64_t size = 0;
    {
        fw::FileHandle file(::CreateFileA(dataPath_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        if (!file || !queuefile::SizeOf(file.get(), &size) || size > kMaxOldFile ||
            !queuefile::ReadAt(file.get(), 0, static_cast<std::size_t>(size), &old)) {
            ::DeleteFileA(tempPath.c_str());
            return false;
        }
    }
    if (!::CopyFileA(dataPath_.c_str(), tempPath.c_str(), FALSE)) {
        ::DeleteFileA(tempPath.c_str());
        return false;
    }
    // The old data is replaced only once the new files exist; a failed
    // creation puts it back.
    if (!Create()) {
        CloseFiles();
        ::CopyFileA(tempPath.c_str(), dataPath_.c_str(), FALSE);
        ::DeleteFileA(tempPath.c_str());
        return false;
    }
    ::DeleteFileA(tempPath.c_str());
    std::uint32_t count = 0;
    std::optional<std::size_t> start = QueueOldRecordsStart(old, &count);
    if (!start) return false;
    std::size_t pos = *start;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::optional<QueueOldRecord> record = ReadQueueOldRecord(old, &pos);
        if (!record) return false;  // what was added so far stays
        if (!prototype_->Parse(record->bytes, record->entry)) continue;
        if (AddLocked(*prototype_, false) == -1) return false;
    }
    return true;
}

bool CQueueDb::WriteIndex() {
    BlockHold hold(block_, CNamedRwLock::kShared);
    LockHold indexHold(indexLock_, CNamedRwLock::kExclusive);
    if (!hold.held() || !indexHold.held()) return false;
    fw::Handle index = Duplicate(index_.get());
    if (!index) return false;
    QueueTree tree(block_);
    std::vector<std::uint32_t> live, nonLive, removed;
    // A damaged tree is not written over the file.
    if (!tree.PreOrder(&live) || !tree.List(QueueTree::kNonLive, &nonLive) || !tree.List(QueueTree::kRemoved, &removed))
        return false;
    std::string bytes;
    unsigned char raw[kQueueEntrySize];
    for (const auto* nodes : {&live, &nonLive, &removed}) {
        for (const std::uint32_t node : *nodes) {
            StoreQueueEntry(*tree.EntryOf(node), raw);
            bytes.append(reinterpret_cast<const char*>(raw), kQueueEntrySize);
        }
    }
    bytes.append(kQueueEntrySize, '\0');
    return queuefile::WriteAt(index.get(), kQueueHeaderSize, bytes) && Seal(index.get());
}

void CQueueDb::RefreshCopies() {
    // A copy is refreshed only from a file whose seal holds, so a damaged
    // file never replaces a good copy.
    const std::pair<const std::string*, const char*> files[] = {{&dataPath_, kQueueDataSignature},
                                                                {&indexPath_, kQueueIndexSignature}};
    for (const auto& [path, signature] : files) {
        if (!queuefile::Exists(*path) || !SealVerifies(*path, signature)) continue;
        const std::string copy = CopyPath(*path);
        queuefile::MakeWritable(copy);
        ::CopyFileA(path->c_str(), copy.c_str(), FALSE);
    }
}

void CQueueDb::Close() {
    if (!open_) return;
    // Held across the close: no other process opens (and loads) between
    // this index write and the block's end.
    fw::MutexGuard opening(openMutex_.get());
    WriteIndex();
    block_.Close();
    dataLock_.Close();
    indexLock_.Close();
    CloseFiles();
    RefreshCopies();
    opening.Release();
    openMutex_.reset();
    baseName_.clear();
    dataPath_.clear();
    indexPath_.clear();
    open_ = false;
}
