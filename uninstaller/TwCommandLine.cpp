#include "TwCommandLine.h"

#include <cctype>

namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool StartsWithOption(const std::string& token, std::string_view option) {
    if (token.size() < option.size()) return false;
    for (std::size_t i = 0; i < option.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(token[i])) != option[i]) return false;
    return true;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool IsDeviceName(std::string_view name) {
    // The device names hold with any extension: "CON.txt" is the console too.
    const std::string stem = Upper(name.substr(0, name.find('.')));
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
        if (stem == device) return true;
    if (stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' && stem[3] <= '9')
        return true;
    return false;
}

}  // namespace

void CmdTokenizer::Init(std::string_view text) {
    text_.assign(text);
    pos_ = 0;
}

void CmdTokenizer::Release() {
    text_.clear();
    text_.shrink_to_fit();
    pos_ = 0;
}

std::optional<std::string> CmdTokenizer::NextToken(bool* overLong) {
    if (overLong) *overLong = false;
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return std::nullopt;
    std::string token;
    bool quoted = false;
    bool tooLong = false;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsSpace(c)) {
            break;
        } else if (token.size() < kMaxToken) {
            token += c;
        } else {
            tooLong = true;
        }
    }
    if (overLong) *overLong = tooLong;
    return token;
}

TwOptions ReadOptions(std::string_view commandLine) {
    TwOptions options;
    CmdTokenizer tokens;
    tokens.Init(commandLine);
    bool overLong = false;
    while (auto token = tokens.NextToken(&overLong)) {
        if (overLong) continue;  // matches no option
        if (StartsWithOption(*token, "-dontask")) {
            options.dontAsk = true;
        } else if (StartsWithOption(*token, "-appname")) {
            bool nameTooLong = false;
            auto name = tokens.NextToken(&nameTooLong);
            if (!name) break;
            options.appName = *name;
            options.appNameValid = !nameTooLong && IsPlainName(*name);
        } else if (StartsWithOption(*token, "-noerrorgui")) {
            options.noErrorGui = true;
        }
    }
    tokens.Release();
    return options;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > CmdTokenizer::kMaxToken) return false;
    if (name == "." || name == "..") return false;
    if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return false;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    return !IsDeviceName(name);
}
