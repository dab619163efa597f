// Queue database tests: fixtures written by queue_fixtures.py, copied into a
// temporary folder per test, and small readers of the files they hold.
#pragma once

#include "QueueDb.h"
#include "QueueRecord.h"

#include "testsupport/temp_program_folder.h"

#include <string>
#include <vector>

namespace twtest {

// Copies fixture `name` (Queue.cdb, Queue.idx and any copies) into the folder;
// returns the database's path (without extension).
std::string CopyFixture(const std::string& name, const testsupport::TempProgramFolder& folder);

// The entries of an index file up to its terminator.
std::vector<QueueEntry> IndexEntries(const std::string& indexPath);
// Ids of the entries.
std::vector<std::uint32_t> Ids(const std::vector<QueueEntry>& entries);
// Ids visited by a walk with the flags.
std::vector<std::uint32_t> WalkIds(CQueueDb& db, unsigned flags, std::uint32_t key = CQueueDb::kAnyKey);
// Whether a file's stored seal is the MD5 of its content with the seal zeroed.
bool SealHolds(const std::string& path);
std::string FileBytes(const std::string& path);

}  // namespace twtest
