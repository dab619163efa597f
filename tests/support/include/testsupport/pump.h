// Bounded message pumps for tests: nothing waits for ever.
#pragma once

#include <windows.h>

#include <algorithm>

namespace testsupport {

// Dispatches this thread's messages until done() holds or timeoutMs passes;
// true when done() held.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done()) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) return false;
        // Short waits: done() may depend on other threads and processes too.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10)),
                                    QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// Dispatches what is already posted to this thread: a marker posted behind it
// to a window of its own comes back after it, also through a modal loop that
// takes over the queue meanwhile. Later posts, from other threads too, are not
// covered. True when the marker came within timeoutMs.
bool PumpPosted(DWORD timeoutMs = 10000);

// Dispatches this thread's messages until a timer of its own, set now with the
// period, has ticked `ticks` times: a timer of this thread that still ran at
// that pace or faster would have ticked before. False when it did not tick in time.
bool PumpTimerTicks(UINT period, int ticks);

}  // namespace testsupport
