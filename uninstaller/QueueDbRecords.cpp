// Walking, adding, updating and removing the records of a queue database.
#include "QueueDb.h"

#include "QueueDbFile.h"
#include "QueueDbFormat.h"
#include "QueueDbLocks.h"
#include "QueueTree.h"

namespace {

// A walk reads a data file up to this size once, instead of two reads per record.
constexpr std::uint64_t kWalkImageMax = 16u << 20;

// A record and its trailer from the data file's bytes, within their bounds.
bool RecordFromImage(const std::string& image, const QueueEntry& entry, std::string* bytes) {
    if (!QueueRecordFits(entry, image.size())) return false;
    const char* length = image.data() + entry.offset + entry.length;
    if (static_cast<unsigned char>(length[0]) != kQueueChecksumSize || length[1] || length[2] || length[3]) return false;
    bytes->assign(image, entry.offset, entry.length);
    return true;
}

constexpr int Mode(unsigned flags) { return (flags & CQueueDb::kReadOnly) ? CNamedRwLock::kShared : CNamedRwLock::kExclusive; }

// What a callback may change of a stored entry without a write: not the id,
// nor the length and offset, which describe the bytes on disk.
void TakeEntry(QueueEntry* stored, const QueueEntry& copy) {
    QueueEntry e = copy;
    e.id = stored->id;
    e.length = stored->length;
    e.offset = stored->offset;
    *stored = e;
}

}  // namespace

bool CQueueDb::ReadRecord(HANDLE data, const QueueEntry& entry, std::string* bytes, std::string* trailer) {
    std::uint64_t size = 0;
    if (!queuefile::SizeOf(data, &size) || !QueueRecordFits(entry, size)) return false;
    if (!queuefile::ReadAt(data, entry.offset, entry.length, bytes)) return false;
    if (!queuefile::ReadAt(data, std::uint64_t{entry.offset} + entry.length, 4 + kQueueChecksumSize, trailer))
        return false;
    return static_cast<unsigned char>((*trailer)[0]) == kQueueChecksumSize && (*trailer)[1] == 0 &&
           (*trailer)[2] == 0 && (*trailer)[3] == 0;
}

bool CQueueDb::WriteRecord(HANDLE data, QueueEntry* stored, const QueueEntry& copy, const std::string& bytes,
                           bool* changed) {
    std::uint64_t size = 0;
    if (!queuefile::SizeOf(data, &size)) return false;
    const std::uint64_t length = bytes.size();
    const std::uint64_t offset = length > stored->length ? size : stored->offset;
    if (offset < kQueueHeaderSize || offset + length + 4 + kQueueChecksumSize > 0xFFFFFFFFu) return false;
    if (!queuefile::WriteAt(data, offset, bytes + MakeQueueTrailer(bytes))) return false;
    *changed = true;
    // The entry describes the new bytes only once they and their trailer are on disk.
    QueueEntry e = copy;
    e.id = stored->id;
    e.length = static_cast<std::uint32_t>(length);
    e.offset = static_cast<std::uint32_t>(offset);
    *stored = e;
    return true;
}

int CQueueDb::ForEachRecord(const QueueCallback& callback, std::uint32_t key, unsigned flags, int* stop) {
    if (!open_) return 0;
    return Walk(callback, key, flags, stop);
}

int CQueueDb::Walk(const QueueCallback& callback, std::uint32_t key, unsigned flags, int* stop) {
    const int mode = Mode(flags);
    BlockHold hold(block_, mode);
    if (!hold.held()) return 0;
    LockHold dataHold(dataLock_, mode);
    if (!dataHold.held()) return 0;
    fw::Handle data = Duplicate(data_.get());
    if (!data) return 0;
    QueueTree tree(block_);
    std::vector<std::uint32_t> nodes;
    if (!tree.PostOrder(&nodes)) return 1;  // a damaged tree: nothing more is walked
    const bool readOnly = (flags & kReadOnly) != 0;
    // Records written by this walk are never read again by it, so one image
    // of the file taken at the start serves every visit.
    std::string image;
    std::uint64_t size = 0;
    const bool haveImage = queuefile::SizeOf(data.get(), &size) && size <= kWalkImageMax &&
                           queuefile::ReadAt(data.get(), 0, static_cast<std::size_t>(size), &image);
    bool fileChanged = false;
    int result = 0;
    for (const std::uint32_t node : nodes) {
        QueueEntry* stored = tree.EntryOf(node);
        if (!stored) {
            result = 1;
            break;
        }
        const bool wanted = stored->IsLive() ? (flags & kVisitLive) : (flags & kVisitNonLive);
        if (!wanted || (key != kAnyKey && key != stored->key)) continue;
        QueueVisit visit;
        std::string trailer;
        const bool read = haveImage ? RecordFromImage(image, *stored, &visit.bytes)
                                    : ReadRecord(data.get(), *stored, &visit.bytes, &trailer);
        if (!read) {
            result = 1;
            break;
        }
        visit.entry = *stored;
        visit.stop = stop;
        callback(visit);
        if (!readOnly) {
            if (visit.changed) {
                if (!WriteRecord(data.get(), stored, visit.entry, visit.bytes, &fileChanged)) {
                    result = 1;
                    break;
                }
            } else if (!(visit.entry == *stored)) {
                TakeEntry(stored, visit.entry);
            }
        }
        if (stop && ((*stop == 1 && (flags & kStopOnOne)) || (*stop == 0 && (flags & kStopOnZero)))) {
            result = 1;
            break;
        }
    }
    if (fileChanged && !Seal(data.get())) result = 0;
    return result;
}

int CQueueDb::AddRecord(const CQueueRecord& record, bool replace) {
    if (!open_) return -1;
    return AddLocked(record, replace);
}

int CQueueDb::AddLocked(const CQueueRecord& record, bool replace) {
    BlockHold hold(block_, CNamedRwLock::kExclusive);
    if (!hold.held()) return -1;
    QueueTree tree(block_);
    QueueEntry entry = record.EntryCopy();
    const std::uint32_t existing = tree.Find(entry.id);
    if (existing != CSharedBlock::kNone) {
        const QueueEntry* e = tree.EntryOf(existing);
        if (!replace || !e || !record.Matches(*e)) return -2;
        return UpdateLocked(record, nullptr) ? 0 : -1;
    }
    LockHold dataHold(dataLock_, CNamedRwLock::kExclusive);
    fw::Handle data = Duplicate(data_.get());
    std::uint64_t size = 0;
    if (!dataHold.held() || !data || !queuefile::SizeOf(data.get(), &size)) return -1;
    const std::string bytes = record.Serialize();
    if (size + bytes.size() + 4 + kQueueChecksumSize > 0xFFFFFFFFu) return -1;
    if (!queuefile::WriteAt(data.get(), size, bytes + MakeQueueTrailer(bytes)) || !Seal(data.get())) return -1;
    entry.length = static_cast<std::uint32_t>(bytes.size());
    entry.offset = static_cast<std::uint32_t>(size);
    entry.flags = (entry.flags | QueueEntry::kLive | QueueEntry::kSeen) & ~QueueEntry::kStale;
    const std::uint32_t node = tree.NewNode(entry);
    return node && tree.Insert(node) ? 0 : -1;
}

bool CQueueDb::UpdateRecord(const CQueueRecord& record, const QueueCallback* callback) {
    if (!open_) return false;
    BlockHold hold(block_, CNamedRwLock::kExclusive);
    return hold.held() && UpdateLocked(record, callback);
}

bool CQueueDb::UpdateLocked(const CQueueRecord& record, const QueueCallback* callback) {
    QueueTree tree(block_);
    const QueueEntry own = record.EntryCopy();
    QueueEntry* stored = tree.EntryOf(tree.Find(own.id));
    if (!stored || !stored->IsLive()) return false;
    LockHold dataHold(dataLock_, CNamedRwLock::kExclusive);
    fw::Handle data = Duplicate(data_.get());
    if (!dataHold.held() || !data) return false;
    QueueVisit visit;
    if (callback) {
        std::string trailer;
        if (!ReadRecord(data.get(), *stored, &visit.bytes, &trailer)) return false;
        visit.entry = *stored;
        int stop = 0;
        visit.stop = &stop;
        (*callback)(visit);
        if (!visit.changed) {
            TakeEntry(stored, visit.entry);
            return true;
        }
    } else {
        visit.bytes = record.Serialize();
        visit.entry = own;
        visit.entry.flags = stored->flags;
    }
    bool changed = false;
    return WriteRecord(data.get(), stored, visit.entry, visit.bytes, &changed) && Seal(data.get());
}

bool CQueueDb::RemoveRecord(std::uint32_t id, const QueueCallback* callback, bool keepNode) {
    if (!open_) return false;
    BlockHold hold(block_, CNamedRwLock::kExclusive);
    if (!hold.held()) return false;
    QueueTree tree(block_);
    const std::uint32_t node = tree.Find(id);
    const QueueEntry* entry = tree.EntryOf(node);
    if (!entry) return false;
    if (callback) {
        LockHold dataHold(dataLock_, CNamedRwLock::kExclusive);
        fw::Handle data = Duplicate(data_.get());
        QueueVisit visit;
        std::string trailer;
        int stop = 0;
        visit.stop = &stop;
        visit.entry = *entry;
        if (dataHold.held() && data && ReadRecord(data.get(), *entry, &visit.bytes, &trailer)) (*callback)(visit);
    }
    return tree.Remove(id, keepNode);
}

bool CQueueDb::FindEntry(std::uint32_t id, QueueEntry* entry) {
    if (!open_) return false;
    BlockHold hold(block_, CNamedRwLock::kShared);
    if (!hold.held()) return false;
    QueueTree tree(block_);
    const QueueEntry* found = tree.EntryOf(tree.Find(id));
    if (!found || !found->IsLive()) return false;
    *entry = *found;
    return true;
}
