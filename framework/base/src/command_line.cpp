#include "fw/command_line.h"

#include "fw/text.h"

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

bool IsComStartSwitch(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty() || (line[0] != '-' && line[0] != '/')) return false;
    line.remove_prefix(1);
    return EqualsAsciiNoCase(line, "Embedding") || EqualsAsciiNoCase(line, "Automation");
}

}  // namespace fw
