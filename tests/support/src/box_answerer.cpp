#include "testsupport/box_answerer.h"

#include <algorithm>

namespace testsupport {

std::string WindowText(HWND wnd) {
    const int len = ::GetWindowTextLengthA(wnd);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    const int got = ::GetWindowTextA(wnd, text.data(), len + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

namespace {

std::string ClassOf(HWND wnd) {
    char name[64] = {};
    ::GetClassNameA(wnd, name, sizeof(name));
    return name;
}

struct FindState {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND wnd, LPARAM param) {
    auto* state = reinterpret_cast<FindState*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    // Boxes and dialogs have a caption; a program's caption-less main dialog is no box.
    const bool captioned = (::GetWindowLongA(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    if (pid == state->processId && ::IsWindowVisible(wnd) && captioned && ClassOf(wnd) == "#32770")
        state->boxes.push_back(wnd);
    return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<std::string*>(param);
    const std::string cls = ClassOf(child);
    if (_stricmp(cls.c_str(), "Static") == 0) {
        std::string t = WindowText(child);
        if (t.size() > text->size()) *text = t;
    }
    return TRUE;
}

}  // namespace

BoxAnswerer::BoxAnswerer(DWORD processId) : processId_(processId), thread_([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    // The thread may be reading a text of one of this thread's windows: those
    // sent messages are answered until it ends, or both would wait for ever.
    while (!ended_) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread_.join();
}

void BoxAnswerer::Plan(int buttonId) {
    std::lock_guard lock(mutex_);
    planned_.push_back(buttonId);
}

bool BoxAnswerer::WaitForBoxes(size_t count, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (seen_.size() >= count) return true;
        }
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
}

std::vector<SeenBox> BoxAnswerer::Boxes() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

void BoxAnswerer::Run() {
    struct Ended {
        std::atomic<bool>& flag;
        ~Ended() { flag = true; }
    } ended{ended_};
    while (!stop_) {
        {
            std::lock_guard lock(mutex_);
            std::erase_if(handled_, [](HWND wnd) { return !::IsWindow(wnd); });
        }
        FindState state{processId_, {}};
        ::EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&state));
        for (HWND box : state.boxes) {
            bool known;
            {
                std::lock_guard lock(mutex_);
                known = std::find(handled_.begin(), handled_.end(), box) != handled_.end();
            }
            if (!known) Answer(box);
        }
        ::Sleep(25);
    }
}

void BoxAnswerer::Answer(HWND box) {
    SeenBox seen;
    seen.caption = WindowText(box);
    ::EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&seen.text));

    int button = 0;
    {
        std::lock_guard lock(mutex_);
        if (!planned_.empty()) {
            button = planned_.front();
            planned_.pop_front();
        }
    }
    if (button == 0 || !::GetDlgItem(box, button)) {
        // Unplanned: the answer that changes the least.
        for (int id : {IDCANCEL, IDNO, IDOK, button}) {
            if (id && ::GetDlgItem(box, id)) {
                button = id;
                break;
            }
        }
    }
    seen.pressed = button;
    if (HWND control = ::GetDlgItem(box, button))
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    else
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);

    std::lock_guard lock(mutex_);
    handled_.push_back(box);
    seen_.push_back(std::move(seen));
}

}  // namespace testsupport
