// Records the debug-output lines (OutputDebugStringA) this process writes
// while the recorder lives. OutputDebugStringA raises DBG_PRINTEXCEPTION_C;
// a vectored handler sees it first and lets it go on, so a debugger attached
// to the tests still gets every line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class DebugOutputRecorder {
public:
    DebugOutputRecorder();
    ~DebugOutputRecorder();
    DebugOutputRecorder(const DebugOutputRecorder&) = delete;
    DebugOutputRecorder& operator=(const DebugOutputRecorder&) = delete;

    std::vector<std::string> Lines() const;
    // The first line holding every part, or "" when none does.
    std::string LineWith(std::initializer_list<std::string_view> parts) const;
    void Clear();

private:
    void* handler_ = nullptr;
};

}  // namespace testsupport
