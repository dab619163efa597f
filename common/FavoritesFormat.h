// Internet shortcut files (.url) and the Favorites folder's names, read as
// hostile input. No platform dependency, so the readers are also built and
// mutation-tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace favorites {

// A shortcut file is read up to this many bytes; a longer file's first part.
inline constexpr std::size_t kMaxShortcutBytes = 64 * 1024;
// The longest address taken (the longest the WebBrowser control accepts).
inline constexpr std::size_t kMaxAddressChars = 2083;

// The address of the first line beginning with "URL=" in the
// [InternetShortcut] section, up to CR, LF or the end of the text; the text
// ends at its first NUL. complete: the text is the whole file, so a last line
// without a line end counts (a line cut by the read bound does not). False
// when there is no such line, or its address is empty or too long.
bool ParseShortcutText(std::string_view text, bool complete, std::string* address);
// The same over a file's bytes as read, at most one byte past the bound: a
// longer file is taken as its first kMaxShortcutBytes, its last line cut.
bool ParseShortcutFile(std::string_view bytes, std::string* address);

// The link title of a shortcut file: its name without folder and without
// the ".url" extension (in any case).
std::string ShortcutTitle(std::string_view path);

// The place below Links that mirrors a folder of the Favorites walk: folder
// relative to root (empty for root itself). False when folder is not root or
// below it, or when a name in it cannot be mirrored as itself inside Links
// (".", "..", names of dots and blanks, trailing dots or blanks, drive or
// stream colons, separators, control characters, device names).
bool MapFavoritesFolder(std::string_view root, std::string_view folder, std::string* relative);

// The folder text of a link's progress report: the last name of its mirrored
// folder, or "Links" at the top level.
std::string ProgressFolderText(std::string_view relative);

}  // namespace favorites
