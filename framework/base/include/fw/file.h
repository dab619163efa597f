// Whole-file reads and writes. Text files use CR LF line ends on disk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

enum class ReadResult { kOk, kCannotOpen, kReadError };

// Reads the whole file into bytes (at most its size is allocated), telling a
// file that cannot be opened from one that cannot be read. Files of 2 GiB and
// more cannot be read.
ReadResult ReadFileBytes(const std::string& path, std::string* bytes);

// The same for a file of at most maxBytes: a larger one is a read error, and
// nothing is allocated for it. For files whose size comes from outside.
ReadResult ReadFileBytes(const std::string& path, std::string* bytes, uint64_t maxBytes);

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Creates or truncates the file and writes the bytes; false on any failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Writes to a temporary file in the same folder, flushes it and moves it over
// the target, so a failed save leaves the previous file intact and no
// temporary file behind. Keeps the Win32 error of a failure in GetLastError().
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

enum class CreateResult { kOk, kExists, kFailed };

// Like WriteFileAtomic, but never replaces a file: when something took the
// name meanwhile, the result is kExists and nothing is left behind. The
// temporary file's name is unique, so racing writers never share one.
// flush false skips the flush (a file system sync under Wine, milliseconds
// each): for many new files at once whose loss in a crash costs no old data.
CreateResult CreateFileAtomic(const std::string& path, std::string_view bytes, bool flush = true);

// Splits text into lines: LF ends a line, a CR before it is dropped, and a
// last line without an end still counts.
std::vector<std::string> SplitLines(std::string_view text);

// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

// The folder part of a path (before its last backslash or slash), or empty.
std::string FolderOf(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace fw
