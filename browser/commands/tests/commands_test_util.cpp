#include "commands_test_util.h"

#include "resource.h"

#include "fw/file.h"

namespace commandtest {

std::vector<std::string> DumpMenu(HMENU menu, int depth) {
    std::vector<std::string> lines;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        std::string line(static_cast<size_t>(depth), ' ');
        if (info.fType & MFT_SEPARATOR)
            line += "-";
        else if (info.hSubMenu)
            line += std::string(text) + ">";
        else
            line += std::string(text) + " " + std::to_string(info.wID);
        // Wine reports separators grayed.
        if ((info.fState & MFS_GRAYED) && !(info.fType & MFT_SEPARATOR)) line += " [gray]";
        if (info.fState & MFS_CHECKED) line += " [check]";
        lines.push_back(line);
        if (info.hSubMenu)
            for (std::string& sub : DumpMenu(info.hSubMenu, depth + 1)) lines.push_back(std::move(sub));
    }
    return lines;
}

std::vector<std::string> DumpPopup(HMENU menu, const std::string& text) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char name[256] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), name, sizeof(name), MF_BYPOSITION);
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub && text == name) return DumpMenu(sub);
    }
    return {};
}

int ItemState(HMENU menu, UINT id) {
    const UINT state = ::GetMenuState(menu, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) return -1;
    return static_cast<int>(state & (MF_GRAYED | MF_CHECKED));
}

std::vector<std::string> Lines(const std::string& path) {
    std::string text;
    if (!fw::ReadWholeFile(path, text)) return {};
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string ArgumentsOf(const std::string& logLine) {
    const size_t first = logLine.find('|');
    const size_t second = logLine.find('|', first + 1);
    return logLine.substr(first + 1, second - first - 1);
}

}  // namespace commandtest
