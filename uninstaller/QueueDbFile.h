// Positioned reads and writes on the queue database's files. Duplicated
// handles share one file position, so every read and write seeks first.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace queuefile {

bool SizeOf(HANDLE file, std::uint64_t* size);
// Reads exactly `count` bytes at `offset`.
bool ReadAt(HANDLE file, std::uint64_t offset, std::size_t count, std::string* bytes);
// Writes every byte at `offset`.
bool WriteAt(HANDLE file, std::uint64_t offset, const std::string& bytes);
// Clears the read-only attribute of an existing file.
void MakeWritable(const std::string& path);
bool Exists(const std::string& path);

}  // namespace queuefile
