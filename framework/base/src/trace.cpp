#include "fw/trace.h"

#include "fw/msgbox.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace fw {

namespace {

std::string WhatOfCurrent() {
    const std::exception_ptr current = std::current_exception();
    if (!current) return "no exception";
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return std::string(TypeName(typeid(e))) + ": " + e.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

}  // namespace

std::string TypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

std::string DescribeWindowMessage(const std::type_info& type, HWND wnd, UINT msg) {
    char className[128] = "";
    if (wnd && ::GetClassNameA(wnd, className, sizeof(className)) <= 0) className[0] = '\0';
    char id[16];
    std::snprintf(id, sizeof(id), "0x%04X", msg);
    return TypeName(type) + " (window class " + className + "), message " + id;
}

void TraceStoppedException(const char* boundary, const std::string& where) noexcept {
    try {
        const std::string& program = ProgramName();
        std::string line = program.empty() ? std::string("fw") : program;
        line += ": exception stopped at ";
        line += boundary ? boundary : "a boundary";
        line += ": " + where + ": " + WhatOfCurrent() + "\n";
        ::OutputDebugStringA(line.c_str());
    } catch (...) {
        ::OutputDebugStringA("fw: exception stopped at a boundary (no memory to describe it)\n");
    }
}

}  // namespace fw
