// File steps under the link store: a whole-file read that tells a missing
// file from a failed read, and the atomic creation of a file that must not
// replace another.
#pragma once

#include <string>
#include <string_view>

namespace linkfile {

enum class ReadResult { kOk, kCannotOpen, kReadError };

// Reads the whole file into bytes (at most its size is allocated).
ReadResult ReadFileBytes(const std::string& path, std::string* bytes);

enum class CreateResult { kOk, kExists, kFailed };

// Writes the bytes to a temporary file beside path, flushes it and moves it
// to path unless something is there already (kExists). On any failure the
// temporary file is removed and nothing is left at path.
CreateResult CreateFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace linkfile
