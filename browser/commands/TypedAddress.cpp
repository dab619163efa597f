#include "TypedAddress.h"

#include "StringUtil.h"

#include <windows.h>

#include <cctype>

namespace {

// Schemes whose addresses go on without "//" after the colon.
constexpr std::string_view kOpaqueSchemes[] = {"about", "javascript", "mailto", "news", "res", "view-source",
                                               "vbscript", "file", "mk", "ms-its", "its", "shell"};

bool IsAbsolutePath(std::string_view text) {
    if (text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' &&
        (text[2] == '\\' || text[2] == '/'))
        return true;
    return text.size() >= 2 && text[0] == '\\' && text[1] == '\\';
}

}  // namespace

bool HasAddressScheme(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    for (size_t i = 1; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    if (text.substr(colon + 1, 2) == "//") return true;
    const std::string_view scheme = text.substr(0, colon);
    for (std::string_view known : kOpaqueSchemes)
        if (EqualsNoCase(scheme, known)) return true;
    return false;
}

std::string CompleteTypedAddress(const std::string& text, const std::function<bool(const std::string&)>& isExisting) {
    if (text.empty() || HasAddressScheme(text)) return text;
    // Only an absolute path is asked for: a bare name such as "news" means a
    // host, whatever the current folder happens to hold.
    if (IsAbsolutePath(text) && isExisting(text)) return text;
    return "http://" + text;
}

std::string CompleteTypedAddress(const std::string& text) {
    return CompleteTypedAddress(
        text, [](const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
}
