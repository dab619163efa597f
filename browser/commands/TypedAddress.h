// What the address box's text becomes when the user goes to it (Enter, GO).
#pragma once

#include <functional>
#include <string>
#include <string_view>

// True when text begins with a scheme: a name of two or more letters, digits,
// "+", "-" or "." (a letter first) and a ":" that "//" follows, or one of the
// schemes that never take "//" ("about:", "mailto:", ...). "host:8080/" and
// "C:\x" name none.
bool HasAddressScheme(std::string_view text);

// The text with "http://" before it when it names no scheme, as the
// platform's own address bars do; unchanged when it is empty, has a scheme,
// or is an absolute path that isExisting finds (a local file or folder).
std::string CompleteTypedAddress(const std::string& text,
                                 const std::function<bool(const std::string&)>& isExisting);

// The same, asking the file system.
std::string CompleteTypedAddress(const std::string& text);
