// Move-only owners for Win32 handles: every HANDLE, HKEY, find handle, DC and
// GDI object is released by exactly one owner.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

template <typename Traits>
class UniqueHandle {
public:
    using pointer = typename Traits::pointer;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(pointer h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    pointer get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return Traits::valid(h_); }
    pointer release() noexcept { return std::exchange(h_, Traits::invalid()); }
    void reset(pointer h = Traits::invalid()) noexcept {
        pointer old = std::exchange(h_, h);
        if (Traits::valid(old)) Traits::close(old);
    }
    // For out-parameters: releases what is held and hands out the slot.
    pointer* put() noexcept {
        reset();
        return &h_;
    }

private:
    pointer h_ = Traits::invalid();
};

struct KernelHandleTraits {  // CreateEvent, CreateThread, OpenProcess...: null on failure
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE on failure
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(pointer h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(pointer h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
    using pointer = HKEY;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::RegCloseKey(h); }
};

template <typename T>
struct GdiObjectTraits {
    using pointer = T;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::DeleteObject(h); }
};

struct MemoryDcTraits {  // CreateCompatibleDC / CreateDC
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::DeleteDC(h); }
};

struct IconTraits {
    using pointer = HICON;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::DestroyIcon(h); }
};

struct MenuTraits {
    using pointer = HMENU;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::DestroyMenu(h); }
};

struct ModuleTraits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer h) noexcept { return h != nullptr; }
    static void close(pointer h) noexcept { ::FreeLibrary(h); }
};

struct MappedViewTraits {  // MapViewOfFile: null on failure
    using pointer = void*;
    static pointer invalid() noexcept { return nullptr; }
    static bool valid(pointer p) noexcept { return p != nullptr; }
    static void close(pointer p) noexcept { ::UnmapViewOfFile(p); }
};

using Handle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using Icon = UniqueHandle<IconTraits>;
using Menu = UniqueHandle<MenuTraits>;
using Module = UniqueHandle<ModuleTraits>;
using MappedView = UniqueHandle<MappedViewTraits>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Region = UniqueHandle<GdiObjectTraits<HRGN>>;
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Palette = UniqueHandle<GdiObjectTraits<HPALETTE>>;

// A window's DC from GetDC, released to the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND wnd) noexcept : wnd_(wnd), dc_(::GetDC(wnd)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& o) noexcept : wnd_(o.wnd_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND wnd_;
    HDC dc_;
};

// GetWindowDC/ReleaseDC: the whole window, frame included.
class WholeWindowDc {
public:
    explicit WholeWindowDc(HWND wnd) noexcept : wnd_(wnd), dc_(::GetWindowDC(wnd)) {}
    ~WholeWindowDc() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WholeWindowDc(const WholeWindowDc&) = delete;
    WholeWindowDc& operator=(const WholeWindowDc&) = delete;
    WholeWindowDc(WholeWindowDc&& o) noexcept : wnd_(o.wnd_), dc_(std::exchange(o.dc_, nullptr)) {}
    WholeWindowDc& operator=(WholeWindowDc&&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint/EndPaint pair.
class PaintDc {
public:
    explicit PaintDc(HWND wnd) noexcept : wnd_(wnd) { dc_ = ::BeginPaint(wnd_, &ps_); }
    ~PaintDc() { ::EndPaint(wnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& info() const noexcept { return ps_; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectObjectGuard() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace fw
