// The uninstaller's command line: tokens split at white space outside double
// quotes, the options, and the rule for names that become path components.
// No platform needed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Splits a command line into tokens. A double quote toggles quoting and is
// dropped; white space outside quotes ends a token.
class CmdTokenizer {
public:
    // Longer tokens are consumed whole and marked over-long.
    static constexpr std::size_t kMaxToken = 259;

    void Init(std::string_view text);
    // The next token; nullopt at the end of the text. An empty quoted token
    // ("") is a token.
    std::optional<std::string> NextToken(bool* overLong = nullptr);
    void Release();

private:
    std::string text_;
    std::size_t pos_ = 0;
};

struct TwOptions {
    std::optional<std::string> appName;  // set by "-appname"; may be an invalid name
    bool appNameValid = false;
    bool noErrorGui = false;
    bool dontAsk = false;  // accepted; nothing reads it
};

// Reads the options. Options match case-blind over their own length, so a
// token that begins with one matches it.
TwOptions ReadOptions(std::string_view commandLine);

// One plain path component, safe in a folder path and a registry key: no
// separators, wildcards, quotes or control characters, not "." or "..", no
// leading or trailing blank, no trailing dot, no device name, under 260.
bool IsPlainName(std::string_view name);
