#include "fw/thread.h"

#include "fw/guard.h"

#include <memory>
#include <string>

namespace fw {

namespace {

struct StartBlock {
    std::function<void()> body;
    fw::Handle ready;
};

DWORD WINAPI ThreadMain(void* param) {
    std::unique_ptr<StartBlock> block(static_cast<StartBlock*>(param));
    MSG msg;
    ::PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the queue
    ::SetEvent(block->ready.get());
    std::function<void()> body = std::move(block->body);
    block.reset();
    // A worker's failure must not take the process down.
    GuardBoundary(
        "a thread", [] { return "thread " + std::to_string(::GetCurrentThreadId()); }, [](bool) {}, body);
    return 0;
}

}  // namespace

Thread Thread::StartWithQueue(std::function<void()> body) {
    auto block = std::make_unique<StartBlock>();
    block->body = std::move(body);
    block->ready.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!block->ready) return {};
    HANDLE ready = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), block->ready.get(), ::GetCurrentProcess(), &ready, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    fw::Handle readyOwner(ready);

    Thread thread;
    DWORD id = 0;
    StartBlock* raw = block.release();
    thread.handle_.reset(::CreateThread(nullptr, 0, ThreadMain, raw, 0, &id));
    if (!thread.handle_) {
        delete raw;
        return {};
    }
    thread.id_ = id;
    ::WaitForSingleObject(readyOwner.get(), INFINITE);
    return thread;
}

bool Thread::Join(DWORD timeoutMs) const {
    return !handle_ || ::WaitForSingleObject(handle_.get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace fw
