// One pass over a control's persistent properties: loading or saving them
// through a stream or a property bag, or putting back their defaults. The
// same code names each property once, with its default.
//
// Stream layout (little-endian): each property in exchange order as a
// 32-bit value (a Boolean as 0 or 1). A property bag holds each by name.
#pragma once

#include "fw/com.h"

#include <ocidl.h>

#include <cstdint>

namespace fw {

class PropExchange {
public:
    enum class Mode { Load, Save, Reset };

    static PropExchange ForStream(IStream* stream, Mode mode) { return PropExchange(mode, stream, nullptr, nullptr); }
    static PropExchange ForBag(IPropertyBag* bag, Mode mode, IErrorLog* log = nullptr) {
        return PropExchange(mode, nullptr, bag, log);
    }
    static PropExchange ForReset() { return PropExchange(Mode::Reset, nullptr, nullptr, nullptr); }

    Mode mode() const noexcept { return mode_; }
    bool IsLoading() const noexcept { return mode_ != Mode::Save; }
    // The first failure of the pass, S_OK when none.
    HRESULT result() const noexcept { return hr_; }

    // The version of the stored properties: ours when saving or resetting,
    // the stored one after loading.
    void Version(uint32_t& version, uint32_t current);
    void Long(const char* name, int32_t& value, int32_t def);
    void ULong(const char* name, uint32_t& value, uint32_t def);
    void Bool(const char* name, BOOL& value, BOOL def);

private:
    PropExchange(Mode mode, IStream* stream, IPropertyBag* bag, IErrorLog* log) noexcept
        : mode_(mode), stream_(stream), bag_(bag), log_(log) {}
    void Value(const char* name, uint32_t& raw, uint32_t def, VARTYPE vt);

    Mode mode_;
    IStream* stream_;
    IPropertyBag* bag_;
    IErrorLog* log_;
    HRESULT hr_ = S_OK;
};

}  // namespace fw
