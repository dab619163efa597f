// Deleting and counting in the vendor's folders. Links and junctions are
// never followed: a folder walk removes a link itself, never what it points
// at. Paths that would not fit in 260 characters are skipped, never cut.
#pragma once

#include <string>

namespace twfiles {

// True when nothing is left at the path (also when nothing was there).
bool DeleteFolderTree(const std::string& folder);
// Sub-folders other than "." and ".."; with `recursive` their own counts
// added (links are counted, not entered). -1 when the folder does not exist
// or cannot be listed.
int CountSubFolders(const std::string& folder, bool recursive);
// Deletes a file, read-only or not, with up to 5 attempts; false when it does
// not exist, is a folder, or every attempt failed.
bool DeleteFileRetry(const std::string& path);
// A real folder: not a link or junction, not a file.
bool IsPlainFolder(const std::string& path);

}  // namespace twfiles
