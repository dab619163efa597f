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

Program::Program(const std::string& folder, std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    started_ = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                &startup, &info_) != FALSE;
}

Program::~Program() {
    if (!started_) return;
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(info_.hProcess, 1);
        ::WaitForSingleObject(info_.hProcess, 10000);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

namespace {

struct Search {
    DWORD pid;
    const char* cls;  // null: browser main windows
    std::vector<HWND> found;
};

BOOL CALLBACK Check(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    const bool process = s->pid ? owner == s->pid : owner != ::GetCurrentProcessId();
    if (!process || !::IsWindowVisible(wnd)) return TRUE;
    if (s->cls) {
        char cls[32] = {};
        ::GetClassNameA(wnd, cls, sizeof(cls));
        if (std::string(cls) == s->cls) s->found.push_back(wnd);
    } else if (::GetDlgItem(wnd, IDC_STATUS) && ::GetDlgItem(wnd, IDC_MENU)) {
        s->found.push_back(wnd);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> BrowserWindows(DWORD processId) {
    Search s{processId, nullptr, {}};
    ::EnumWindows(Check, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WindowOfClass(DWORD processId, const char* cls) {
    Search s{processId, cls, {}};
    ::EnumWindows(Check, reinterpret_cast<LPARAM>(&s));
    return s.found.empty() ? nullptr : s.found.front();
}

std::string TextOf(HWND wnd) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                               &copied))
        return "<no answer>";
    return std::string(text, copied);
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
