// Whether a file is reached by its own name or through a link. Wine shows a
// Linux symbolic link to a file as a plain file and deleting it there deletes
// its target, so attributes cannot tell; the file's final path can.
#pragma once

#include <string>

// True when the existing file's final path is its folder's final path plus
// its own name: the name is no link to somewhere else. False when it is, or
// when that cannot be told. With `open`, that handle of the file is asked.
bool IsOwnPath(const std::string& path, void* open = nullptr);
