#include "SkinFormat.h"

#include "StringUtil.h"

#include <algorithm>

namespace {

constexpr char kSpaces[] = " \t\r\n\v\f";

int ClampCoord(long long value) {
    return static_cast<int>(std::clamp<long long>(value, kSkinCoordMin, kSkinCoordMax));
}

}  // namespace

std::string NextToken(std::string& line) {
    const size_t comma = line.find(',');
    std::string token = line.substr(0, comma == std::string::npos ? line.size() : comma);
    if (token.size() > kSkinTokenMax) token.resize(kSkinTokenMax);
    if (comma != std::string::npos) line.erase(0, comma + 1);
    line.erase(0, std::min(line.find_first_not_of(kSpaces), line.size()));
    const size_t last = line.find_last_not_of(kSpaces);
    line.erase(last == std::string::npos ? 0 : last + 1);
    return token;
}

int TokenToInt(std::string_view token) { return StringToInt(token); }

RECT ParseRect(std::string& line, bool clamp) {
    const int x = ClampCoord(TokenToInt(NextToken(line)));
    const int y = ClampCoord(TokenToInt(NextToken(line)));
    const int w = ClampCoord(TokenToInt(NextToken(line)));
    const int h = ClampCoord(TokenToInt(NextToken(line)));
    // Right and bottom come from the unclamped left and top.
    RECT rect{x, y, ClampCoord(static_cast<long long>(x) + w), ClampCoord(static_cast<long long>(y) + h)};
    if (clamp) {
        if (rect.left < 0) rect.left = 0;
        if (rect.top < 0) rect.top = 0;
        if (rect.right <= 0) rect.right = 18;
        if (rect.bottom <= 0) rect.bottom = 18;
    }
    return rect;
}

COLORREF ParseColor(std::string& line) {
    const unsigned r = static_cast<unsigned>(TokenToInt(NextToken(line))) & 0xFF;
    const unsigned g = static_cast<unsigned>(TokenToInt(NextToken(line))) & 0xFF;
    const unsigned b = static_cast<unsigned>(TokenToInt(NextToken(line))) & 0xFF;
    return RGB(r, g, b);
}

bool IsNullBitmap(std::string_view token) { return EqualsNoCase(token, "NULL"); }

bool IsSafeSkinBitmapName(std::string_view name) {
    if (name.empty() || name.front() == '\\' || name.front() == '/') return false;
    if (name.find(':') != std::string_view::npos) return false;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find_first_of("\\/", start), name.size());
        // Windows drops a part's trailing dots and blanks: a part of dots and blanks alone may climb.
        const std::string_view part = name.substr(start, end - start);
        if (part.find_first_not_of(". ") == std::string_view::npos && std::count(part.begin(), part.end(), '.') >= 2)
            return false;
        start = end + 1;
    }
    return true;
}

bool IsRefusedSkinBitmap(std::string_view path) { return path == kRefusedSkinBitmap; }

std::string SkinBitmapPath(const std::string& token, const std::string& skinFolder) {
    if (IsNullBitmap(token)) return "NULL";
    if (!IsSafeSkinBitmapName(token)) return kRefusedSkinBitmap;
    return skinFolder + "\\" + token;
}

SkinButtonLine ParseSpecialButtonLine(std::string line, const std::string& skinFolder) {
    SkinButtonLine out;
    out.rect = ParseRect(line, true);
    out.tooltip = NextToken(line);
    out.bitmap1 = SkinBitmapPath(NextToken(line), skinFolder);
    out.bitmap2 = SkinBitmapPath(NextToken(line), skinFolder);
    out.flag = TokenToInt(NextToken(line));
    return out;
}

SkinButtonLine ParseButtonLine(std::string line, const std::string& skinFolder) {
    std::string name = NextToken(line);
    SkinButtonLine out = ParseSpecialButtonLine(std::move(line), skinFolder);
    out.name = std::move(name);
    return out;
}

SkinAnimatorLine ParseAnimatorLine(std::string line, const std::string& skinFolder) {
    SkinAnimatorLine out;
    out.rect = ParseRect(line, true);
    out.bitmap = SkinBitmapPath(NextToken(line), skinFolder);
    out.frames = TokenToInt(NextToken(line));
    out.framesPerSecond = TokenToInt(NextToken(line));
    out.flag = TokenToInt(NextToken(line));
    return out;
}

SkinGoLine ParseGoLine(std::string line, const std::string& skinFolder) {
    SkinGoLine out;
    out.tooltip = NextToken(line);
    out.bitmap1 = SkinBitmapPath(NextToken(line), skinFolder);
    out.bitmap2 = SkinBitmapPath(NextToken(line), skinFolder);
    return out;
}

namespace {

// The special rows in the order of their lines.
constexpr std::array<const SkinControl*, kSpecialButtonCount> MakeSpecialRows() {
    std::array<const SkinControl*, kSpecialButtonCount> rows{};
    for (const SkinControl& c : kSkinControls)
        if (c.special != SpecialButton::kNone) rows[static_cast<size_t>(c.special)] = &c;
    return rows;
}
constexpr std::array<const SkinControl*, kSpecialButtonCount> kSpecialRows = MakeSpecialRows();

}  // namespace

const SkinControl* FindOrdinaryButton(std::string_view name) {
    for (const SkinControl& c : kSkinControls) {
        if (c.special == SpecialButton::kNone && EqualsNoCase(name, c.name)) return &c;
    }
    return nullptr;
}

const SkinControl& GetSpecialButtonInfo(SpecialButton which) { return *kSpecialRows[static_cast<size_t>(which)]; }
