// A trace for failures that must stop at a boundary (a window procedure, a
// hook, a thread's body, a COM method): one debug-output line that says where
// and what, so a swallowed exception is still seen in a debugger or a log.
#pragma once

#include <windows.h>

#include <string>
#include <typeinfo>

namespace fw {

// Writes "<program>: exception stopped at <boundary>: <where>: <what>" with
// OutputDebugStringA. Call it inside the catch block: it reads the exception
// being handled for its text. Never throws.
void TraceStoppedException(const char* boundary, const std::string& where) noexcept;

// The readable name of a C++ type ("fw::Dialog", not its mangled form).
std::string TypeName(const std::type_info& type);

// "<C++ class> (window class <name>), message 0x<id>" for a window's trace.
std::string DescribeWindowMessage(const std::type_info& type, HWND wnd, UINT msg);

}  // namespace fw
