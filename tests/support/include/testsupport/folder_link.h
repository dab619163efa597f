// Folder links for tests. Wine 8 cannot make a junction or a symbolic link
// itself (CreateSymbolicLink does nothing, FSCTL_SET_REPARSE_POINT is not
// supported), but it shows a Unix symbolic link as a folder with
// FILE_ATTRIBUTE_REPARSE_POINT. So a test makes its link with the Unix ln,
// started from the Windows side (Wine runs Unix programs given their path).
// Wine cannot remove such a link through Win32 either: RemoveFolderLink uses rm.
#pragma once

#include <string>

namespace testsupport {

// Makes link (a Windows path) a link to the folder target; true once the link
// is there and shows as a reparse point.
bool MakeFolderLink(const std::string& link, const std::string& target);
// Removes the link itself (never what it points to); true when it is gone.
bool RemoveFolderLink(const std::string& link);

// The Unix path of a Windows path, or "" when there is none (not under Wine).
std::string UnixPathOf(const std::string& windowsPath);

}  // namespace testsupport
