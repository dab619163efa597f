#include "StringUtil.h"

#include <windows.h>

#include <climits>
#include <string>

std::string IntToString(int value) { return std::to_string(value); }

int StringToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

namespace {

// Up to this many characters are converted without touching the heap.
constexpr int kShortName = 128;

// The text in UTF-16 as the file system sees an ANSI name; false when it does not convert.
bool Widen(std::string_view text, WCHAR* buffer, std::wstring* longer, const WCHAR** wide, int* length) {
    if (text.empty()) {
        *wide = buffer;
        *length = 0;
        return true;
    }
    const int size = static_cast<int>(text.size());
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, buffer, kShortName);
    if (n > 0) {
        *wide = buffer;
        *length = n;
        return true;
    }
    n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (n <= 0) return false;
    longer->resize(static_cast<size_t>(n));
    n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, longer->data(), n);
    *wide = longer->data();
    *length = n;
    return n > 0;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a == b) return true;
    // The file system folds each UTF-16 unit to upper case, one for one, and
    // ignores nothing: the locale's comparison (CompareString, lstrcmpi) takes
    // "a^" and "a" U+02C6 for one name where the file system keeps two.
    WCHAR bufferA[kShortName], bufferB[kShortName];
    std::wstring longA, longB;
    const WCHAR* wideA = nullptr;
    const WCHAR* wideB = nullptr;
    int lengthA = 0, lengthB = 0;
    if (!Widen(a, bufferA, &longA, &wideA, &lengthA) || !Widen(b, bufferB, &longB, &wideB, &lengthB)) return false;
    if (lengthA != lengthB) return false;
    return ::CompareStringOrdinal(wideA, lengthA, wideB, lengthB, TRUE) == CSTR_EQUAL;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += name;
    return path;
}

bool PathStartsWith(std::string_view path, std::string_view prefix) {
    if (!StartsWithNoCase(path, prefix)) return false;
    if (path.size() == prefix.size() || prefix.empty()) return true;
    const char next = path[prefix.size()];
    return next == '\\' || next == '/' || prefix.back() == '\\';
}
