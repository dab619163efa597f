#include "fw/command_line.h"

#include <cctype>

namespace fw {

std::string CommandLineArguments(const char* line) {
    if (*line == '"') {
        ++line;
        while (*line && *line != '"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

}  // namespace fw

namespace fw {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

bool IsComStartSwitch(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty() || (line[0] != '-' && line[0] != '/')) return false;
    line.remove_prefix(1);
    return EqualsNoCase(line, "Embedding") || EqualsNoCase(line, "Automation");
}

}  // namespace fw
