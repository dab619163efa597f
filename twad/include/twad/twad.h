// The ad client's library twad.dll as its callers see it: the one function
// the browser imports and the proxy record it takes. The caller and our
// stand-in library share this header, so the record is declared once.
#pragma once

#include <cstddef>
#include <cstdint>

// The proxy through which the user reaches the web.
struct TwadProxyRecord {
    int32_t kind;          // always kTwadProxyKind
    const char* host;      // zero-terminated single-byte text
    uint32_t port;         // 0 when none was given
    uint8_t reserved[12];  // zero
};

inline constexpr int32_t kTwadProxyKind = 2;

// The vendor's 32-bit layout is 24 bytes; the 64-bit build keeps the natural one.
static_assert(sizeof(void*) != 4 || sizeof(TwadProxyRecord) == 24, "the 32-bit record is 24 bytes");
static_assert(offsetof(TwadProxyRecord, kind) == 0, "kind leads the record");

// 0 on success, anything else on failure.
extern "C" int __stdcall QD_UtilConfigSystem(const char* productName, const char* applicationKey, int32_t number,
                                             TwadProxyRecord* proxy);
