// The ad client's queue database: a data file (".cdb") of stored records
// and an index file (".idx") of 24-byte entries, both sealed with MD5, with
// recovery copies beside them. While any process has it open, its index
// lives in a shared block as a tree ordered by record id, so every process
// sees the same entries. Named objects meet through a base name made from
// the data path.
#pragma once

#include "Checksum.h"
#include "NamedRwLock.h"
#include "QueueRecord.h"
#include "SharedBlock.h"

#include "fw/handles.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What a walk hands its callback for one visited record.
struct QueueVisit {
    std::string bytes;  // the record's bytes; the callback may replace them
    QueueEntry entry;   // a copy of its entry; the callback may change it
    bool changed = false;
    int* stop = nullptr;  // the caller's stop flag
};
using QueueCallback = std::function<void(QueueVisit&)>;

class CQueueDb {
public:
    // Flags of ForEachRecord.
    static constexpr unsigned kReadOnly = 1;
    static constexpr unsigned kStopOnOne = 2;
    static constexpr unsigned kStopOnZero = 4;
    static constexpr unsigned kVisitLive = 8;
    static constexpr unsigned kVisitNonLive = 16;
    static constexpr std::uint32_t kAnyKey = 0xFFFFFFFF;
    static constexpr std::uint32_t kBlockSize = 65536;

    CQueueDb() = default;
    virtual ~CQueueDb() { Close(); }
    CQueueDb(const CQueueDb&) = delete;
    CQueueDb& operator=(const CQueueDb&) = delete;

    // The path's own extension is ignored. The prototype reads and upgrades
    // records. With createAllowed, missing or unusable files are replaced by
    // empty ones and files of another version are replaced or converted.
    bool Open(const char* path, CQueueRecord* prototype, bool createAllowed);
    void Close();
    bool IsOpen() const { return open_; }

    // 1 when the walk stopped (by the stop flag or a failed read or write),
    // else 0.
    int ForEachRecord(const QueueCallback& callback, std::uint32_t key, unsigned flags, int* stop);
    // 0 when stored; -2 when the identity exists and replace is clear; -1 on failure.
    int AddRecord(const CQueueRecord& record, bool replace);
    bool UpdateRecord(const CQueueRecord& record, const QueueCallback* callback);
    bool RemoveRecord(std::uint32_t id, const QueueCallback* callback, bool keepNode);
    bool FindEntry(std::uint32_t id, QueueEntry* entry);

    const std::string& DataPath() const { return dataPath_; }
    const std::string& IndexPath() const { return indexPath_; }
    const std::string& BaseName() const { return baseName_; }
    // The paths of a database named by `path` (its own extension ignored),
    // and the base name of its kernel objects; false when the path does not fit.
    static bool MakePaths(const char* path, std::string* data, std::string* index, std::string* base);
    static std::string CopyPath(const std::string& path);

private:
    friend class QueueTree;

    bool Attempt(bool mayCreate, bool first);
    bool Create();
    bool Seal(HANDLE file);
    bool SealVerifies(const std::string& path, const char* signature);
    bool LoadIndex();
    bool Convert13();
    bool OpenFiles();
    bool LoadIndexFile();
    bool VerifyRecords();
    bool WriteIndex();
    void RefreshCopies();
    void CloseFiles();
    // Writes the record and its trailer at `offset` (or the end), then the entry.
    bool WriteRecord(HANDLE data, QueueEntry* stored, const QueueEntry& copy, const std::string& bytes, bool* changed);
    bool ReadRecord(HANDLE data, const QueueEntry& entry, std::string* bytes, std::string* trailer);
    fw::Handle Duplicate(HANDLE file);

    int Walk(const QueueCallback& callback, std::uint32_t key, unsigned flags, int* stop);
    int AddLocked(const CQueueRecord& record, bool replace);
    bool UpdateLocked(const CQueueRecord& record, const QueueCallback* callback);
    bool Usable() const { return open_ || opening_; }

    bool open_ = false;
    bool opening_ = false;
    bool createAllowed_ = false;
    CQueueRecord* prototype_ = nullptr;
    CNamedRwLock dataLock_;
    CNamedRwLock indexLock_;
    fw::Handle openMutex_;
    fw::FileHandle data_;
    fw::FileHandle index_;
    CSharedBlock block_;
    std::string baseName_;
    std::string dataPath_;
    std::string indexPath_;
    CMd5Checksum seal_;
    CWordSumChecksum recordSum_;
};
