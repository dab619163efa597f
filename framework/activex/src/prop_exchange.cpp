#include "fw/prop_exchange.h"

namespace fw {

void PropExchange::Value(const char* name, uint32_t& raw, uint32_t def, VARTYPE vt) {
    if (mode_ == Mode::Reset) {
        raw = def;
        return;
    }
    if (FAILED(hr_)) {
        // After a failure nothing more is read: the rest keep their defaults.
        if (mode_ == Mode::Load) raw = def;
        return;
    }
    if (stream_) {
        uint8_t bytes[4];
        if (mode_ == Mode::Save) {
            for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(raw >> (8 * i));
            ULONG written = 0;
            const HRESULT hr = stream_->Write(bytes, 4, &written);
            if (FAILED(hr) || written != 4) hr_ = FAILED(hr) ? hr : STG_E_MEDIUMFULL;
            return;
        }
        ULONG got = 0;
        const HRESULT hr = stream_->Read(bytes, 4, &got);
        if (FAILED(hr) || got != 4) {
            hr_ = FAILED(hr) ? hr : STG_E_READFAULT;
            raw = def;
            return;
        }
        raw = 0;
        for (int i = 0; i < 4; ++i) raw |= static_cast<uint32_t>(bytes[i]) << (8 * i);
        if (vt == VT_BOOL) raw = raw ? 1 : 0;
        return;
    }
    if (!bag_) {
        hr_ = E_POINTER;
        return;
    }
    const std::wstring wide = ToWide(name);
    if (mode_ == Mode::Save) {
        Variant v = vt == VT_BOOL ? Variant(raw != 0) : Variant(static_cast<long>(raw));
        const HRESULT hr = bag_->Write(wide.c_str(), v.get());
        if (FAILED(hr)) hr_ = hr;
        return;
    }
    Variant v;
    v.get()->vt = vt == VT_BOOL ? VT_BOOL : VT_I4;
    if (FAILED(bag_->Read(wide.c_str(), v.get(), log_))) {
        raw = def;  // a property the bag lacks keeps its default
        return;
    }
    if (vt == VT_BOOL) {
        const auto b = v.AsBool();
        raw = b ? (*b ? 1u : 0u) : def;
    } else {
        const auto l = v.AsLong();
        raw = l ? static_cast<uint32_t>(*l) : def;
    }
}

void PropExchange::Version(uint32_t& version, uint32_t current) {
    if (mode_ != Mode::Load) version = current;
    Value("_Version", version, current, VT_UI4);
}

void PropExchange::Long(const char* name, int32_t& value, int32_t def) {
    uint32_t raw = static_cast<uint32_t>(value);
    Value(name, raw, static_cast<uint32_t>(def), VT_I4);
    value = static_cast<int32_t>(raw);
}

void PropExchange::ULong(const char* name, uint32_t& value, uint32_t def) {
    Value(name, value, def, VT_UI4);
}

void PropExchange::Bool(const char* name, BOOL& value, BOOL def) {
    uint32_t raw = value ? 1u : 0u;
    Value(name, raw, def ? 1u : 0u, VT_BOOL);
    value = raw ? TRUE : FALSE;
}

}  // namespace fw
