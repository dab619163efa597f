#include "StartSwitches.h"

#include "fw/text.h"

using fw::EqualsAsciiNoCase;
using fw::StartsWithAsciiNoCase;

StartSwitches ParseStartSwitches(std::string_view arguments) {
    StartSwitches result;
    if (arguments.empty()) return result;
    if (StartsWithAsciiNoCase(arguments, "\"-s")) {
        // The path starts after the quote, "-s" and its blank.
        constexpr size_t kPathStart = 4;
        if (arguments.size() > kPathStart) {
            std::string_view path = arguments.substr(kPathStart);
            if (path.back() == '"') path.remove_suffix(1);
            result.startPath = std::string(path);
        }
        result.showAtStart = false;
    } else if (StartsWithAsciiNoCase(arguments, "-o ")) {
        result.showAtStart = false;
    }
    return result;
}

bool IsRegistrationStart(std::string_view arguments) {
    size_t i = 0;
    while (i < arguments.size()) {
        while (i < arguments.size() && (arguments[i] == ' ' || arguments[i] == '\t')) ++i;
        const size_t start = i;
        bool quoted = false;
        while (i < arguments.size() && (quoted || (arguments[i] != ' ' && arguments[i] != '\t'))) {
            if (arguments[i] == '"') quoted = !quoted;
            ++i;
        }
        std::string_view token = arguments.substr(start, i - start);
        if (token.size() > 1 && (token[0] == '-' || token[0] == '/')) {
            token.remove_prefix(1);
            if (EqualsAsciiNoCase(token, "Embedding") || EqualsAsciiNoCase(token, "Automation")) return true;
        }
    }
    return false;
}

bool StartsHidden(bool hideProgram, bool showAtStart, bool trayIconShown) {
    return hideProgram && showAtStart && trayIconShown;
}
