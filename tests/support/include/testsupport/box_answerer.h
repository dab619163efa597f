// Answers the message boxes and dialogs of a process the way a user would:
// finds each new visible "#32770" window of the process, records its caption
// and text, and presses the button the test planned (or a safe default), so
// no test hangs on a box.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct SeenBox {
    std::string caption;
    std::string text;  // the longest static text: a message box's message
    int pressed = 0;   // the button id pressed
};

class BoxAnswerer {
public:
    // Watches the given process (this one by default).
    explicit BoxAnswerer(DWORD processId = ::GetCurrentProcessId());
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // The next unanswered box gets this button (IDYES, IDNO, IDOK, or a dialog's control id).
    void Plan(int buttonId);

    // Waits until count boxes in all were answered; false on timeout.
    bool WaitForBoxes(size_t count, DWORD timeoutMs = 10000) const;

    std::vector<SeenBox> Boxes() const;

private:
    void Run();
    void Answer(HWND box);

    DWORD processId_;
    mutable std::mutex mutex_;
    std::deque<int> planned_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> handled_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> ended_{false};
    std::thread thread_;
};

// The text of a window, whole.
std::string WindowText(HWND wnd);

}  // namespace testsupport
