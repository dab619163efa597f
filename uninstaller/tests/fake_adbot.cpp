// A stand-in for the ad client, TwAdBot.exe, for the uninstaller's tests:
// holds the client's mutex while it runs and quits when the kill event is
// set. Told what to do by its environment, since the uninstaller starts it
// without arguments:
//   TWADBOT_LOG    file to which it appends "start", "kill" and "stop" lines,
//                  each followed by "present" or "absent" for TWADBOT_WATCH;
//                  a kill signal already set at its start is logged before
//                  it tells it is ready
//   TWADBOT_READY  manual-reset event set once it holds the mutex
//   TWADBOT_MODE   "ignore-kill": logs the first kill and keeps running
//   TWADBOT_HOLD   a file it keeps open without sharing while it runs
// Every wait is bounded, so a stand-in left behind ends by itself.
#include "fw/handles.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kLifetimeMs = 120000;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void Log(const char* what) {
    const std::string path = Env("TWADBOT_LOG");
    if (path.empty()) return;
    const std::string watch = Env("TWADBOT_WATCH");
    std::string line = what;
    if (!watch.empty()) line += ::GetFileAttributesA(watch.c_str()) != INVALID_FILE_ATTRIBUTES ? " present" : " absent";
    line += "\n";
    fw::FileHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD wrote = 0;
    if (file) ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &wrote, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Log("start");
    fw::Handle mutex(::CreateMutexA(nullptr, TRUE, "Tarnwick Ad Client"));
    if (!mutex) return 1;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        const DWORD got = ::WaitForSingleObject(mutex.get(), kLifetimeMs);
        if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) return 2;
    }
    fw::Handle kill(::CreateEventA(nullptr, FALSE, FALSE, "Tarnwick Kill Ad Client"));
    bool ignoreKill = Env("TWADBOT_MODE") == "ignore-kill";
    bool quit = false;
    if (::WaitForSingleObject(kill.get(), 0) == WAIT_OBJECT_0) {
        Log(ignoreKill ? "kill ignored" : "kill");
        quit = !ignoreKill;
        ignoreKill = false;
    }
    fw::FileHandle held;
    const std::string hold = Env("TWADBOT_HOLD");
    if (!hold.empty())
        held.reset(::CreateFileA(hold.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const std::string ready = Env("TWADBOT_READY");
    if (!ready.empty()) {
        fw::Handle event(::CreateEventA(nullptr, TRUE, FALSE, ready.c_str()));
        if (event) ::SetEvent(event.get());
    }
    const ULONGLONG end = ::GetTickCount64() + kLifetimeMs;
    while (!quit) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end || ::WaitForSingleObject(kill.get(), static_cast<DWORD>(end - now)) != WAIT_OBJECT_0) break;
        Log(ignoreKill ? "kill ignored" : "kill");
        if (!ignoreKill) break;
        ignoreKill = false;
    }
    held.reset();
    Log("stop");
    ::ReleaseMutex(mutex.get());
    return 0;
}
