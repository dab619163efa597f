#include "manager_test_util.h"

#include "testsupport/box_answerer.h"

namespace mgrtest {

namespace {
struct Search {
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char cls[16] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(wnd) && std::string(cls) == "#32770" &&
        testsupport::WindowText(wnd) == s->caption) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}
BOOL CALLBACK LongestStatic(HWND child, LPARAM param) {
    char cls[16] = {};
    ::GetClassNameA(child, cls, sizeof(cls));
    auto* text = reinterpret_cast<std::string*>(param);
    const std::string mine = testsupport::WindowText(child);
    if (_stricmp(cls, "Static") == 0 && mine.size() > text->size()) *text = mine;
    return TRUE;
}
}  // namespace

HWND WaitForDialog(const std::string& caption, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    do {
        Search s{caption};
        ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        ::Sleep(20);
    } while (::GetTickCount64() < end);
    return nullptr;
}

DialogDriver::DialogDriver(std::string caption, std::function<void(HWND)> steps)
    : thread_([this, caption = std::move(caption), steps = std::move(steps)] {
          HWND dialog = WaitForDialog(caption);
          found_ = dialog != nullptr;
          if (dialog) steps(dialog);
      }) {}

DialogDriver::~DialogDriver() {
    Join();
}

void DialogDriver::Join() {
    if (thread_.joinable()) thread_.join();
}

bool IsChecked(HWND dialog, int id) {
    return ::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND dialog, int id) {
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string ClickAnsweringBox(HWND dialog, int id) {
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    HWND box = WaitForDialog("VessaMgr");
    if (!box) return "";
    std::string text;
    ::EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
    const ULONGLONG end = ::GetTickCount64() + 20000;
    while (::IsWindow(box) && ::GetTickCount64() < end) ::Sleep(20);
    // The click's own handling ends after the box: a sent message waits for it.
    ::SendMessageA(dialog, WM_NULL, 0, 0);
    return text;
}

std::optional<DWORD> OptionValue(const char* name) {
    return regtest::StoredDword(HKEY_LOCAL_MACHINE, kOptionsKey, name);
}

}  // namespace mgrtest
