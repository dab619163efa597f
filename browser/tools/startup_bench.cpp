// Prints the time from process start to the first shown window for Vessa.exe
// and for a minimal Win32 program under the same Wine, and their ratio.
// Not a test: figures only.   startup_bench.exe [rounds]
#include "RegSettings.h"
#include "SkinControlIds.h"

#include "fw/file.h"
#include "fw/handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

struct Find {
    DWORD pid;
    HWND found;
    bool any;  // a top-level window of the process, shown or not
};

BOOL CALLBACK Visible(HWND wnd, LPARAM param) {
    auto* f = reinterpret_cast<Find*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != f->pid) return TRUE;
    f->any = true;
    if (::IsWindowVisible(wnd)) {
        f->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess to the first visible window, or -1; made:
// to the first top-level window of the process, shown or not (the split
// between the program's load and start and its window's making).
double TimeToWindow(const std::string& exe, const std::string& arguments, bool isBrowser, double* made = nullptr) {
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    fw::Handle process(pi.hProcess);
    ::CloseHandle(pi.hThread);
    Find f{pi.dwProcessId, nullptr, false};
    double elapsed = -1;
    if (made) *made = -1;
    while (Now() - start < 30000) {
        ::EnumWindows(Visible, reinterpret_cast<LPARAM>(&f));
        if (made && f.any && *made < 0) *made = Now() - start;
        if (f.found) {
            elapsed = Now() - start;
            break;
        }
        ::Sleep(1);
    }
    if (f.found) {
        if (isBrowser)
            ::PostMessageA(f.found, WM_COMMAND, IDC_CLOSE, 0);
        else
            ::PostMessageA(f.found, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.get(), 15000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
    return elapsed;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char self[MAX_PATH * 4] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    const std::string bin = fw::FolderOf(self);

    // The browser runs from a program folder of its own.
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    const std::string folder = std::string(temp) + "vessa-startup-bench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CopyFileA((bin + "\\Vessa.exe").c_str(), (folder + "\\Vessa.exe").c_str(), FALSE);
    ::CopyFileA((bin + "\\twad.dll").c_str(), (folder + "\\twad.dll").c_str(), FALSE);  // linked at load time

    // Wine's browser is never the default: without this the first window
    // would be the question whether to become it.
    CRegSettings().SetCheckDefaultBrowser(0);

    std::vector<double> browser, minimal, browserMade, minimalMade;
    for (int i = 0; i < rounds; ++i) {
        double made = -1;
        minimal.push_back(TimeToWindow(bin + "\\minimal_window.exe", "", false, &made));
        minimalMade.push_back(made);
        browser.push_back(TimeToWindow(folder + "\\Vessa.exe", "about:blank", true, &made));
        browserMade.push_back(made);
    }
    const double b = Median(browser), m = Median(minimal);
    std::printf("start to first window: Vessa.exe %.0f ms, minimal program %.0f ms (median of %d)\n", b, m, rounds);
    std::printf("ratio %.2f (aim: under 2)\n", m > 0 ? b / m : -1.0);
    std::printf("split: to the first top-level window made, shown or not: Vessa.exe %.0f ms, minimal program %.0f ms; "
                "Vessa's first window shown %.0f ms after that\n",
                Median(browserMade), Median(minimalMade), b - Median(browserMade));
    return 0;
}
