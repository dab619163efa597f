// The one guard for every boundary no exception may cross: a window or
// dialog procedure, a hook, a thread's body, a COM method. What the body
// throws stops here and leaves its trace line (fw/trace.h).
//
//   return fw::ComGuard([&] { return DoTheWork(); });
//   return fw::ComGuard([&] { ... }, [&](HRESULT) { FillExcepInfo(); return DISP_E_EXCEPTION; });
#pragma once

#include "fw/trace.h"

#include <windows.h>

#include <new>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace fw {

// Runs body() at the boundary named by `boundary` ("a hook"); if it throws,
// where() names the place for the trace line (it is called only then) and the
// answer is stopped(outOfMemory), outOfMemory true for a failed allocation.
template <typename Body, typename Where, typename Stopped>
std::invoke_result_t<Body&> GuardBoundary(const char* boundary, Where&& where, Stopped&& stopped,
                                          Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        TraceStoppedException(boundary, where());
        return stopped(true);
    } catch (...) {
        TraceStoppedException(boundary, where());
        return stopped(false);
    }
}

// Runs the body of a COM method. A failed allocation is E_OUTOFMEMORY and
// anything else E_UNEXPECTED; with `stopped`, the method's answer is
// stopped(that code) instead (an Invoke's DISP_E_EXCEPTION, a registration's
// SELFREG_E_CLASS). The trace names the body's lambda, which names the method.
template <typename Body, typename Stopped>
HRESULT ComGuard(Body body, Stopped stopped) noexcept {
    return GuardBoundary(
        "a COM method", [] { return TypeName(typeid(Body)); },
        [&](bool outOfMemory) -> HRESULT { return stopped(outOfMemory ? E_OUTOFMEMORY : E_UNEXPECTED); }, body);
}

template <typename Body>
HRESULT ComGuard(Body body) noexcept {
    return ComGuard(std::move(body), [](HRESULT hr) { return hr; });
}

}  // namespace fw
