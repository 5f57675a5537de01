// Win32 only. One owner type for every kind of handle: copying deleted, moving allowed,
// release with the function the handle kind needs.
//
//   using UniqueHandle = UniqueAny<HANDLE, CloseHandleFn>;
//   UniqueHandle h(CreateEventW(...));
//   SomeApi(h.put());    // out-parameter: releases what was held, then hands out the slot
#pragma once

#include <windows.h>

#include <utility>

template <typename T, typename Close, T Invalid = T()> class UniqueAny {
public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    ~UniqueAny() { reset(); }

    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid; }

    void reset(T value = Invalid) {
        T old = std::exchange(value_, value);
        if (old != Invalid)
            Close()(old);
    }
    T release() { return std::exchange(value_, Invalid); }
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid;
};

struct CloseHandleFn {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct DeleteObjectFn {
    void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};
struct DeleteDcFn {
    void operator()(HDC h) const { ::DeleteDC(h); }
};
struct DestroyWindowFn {
    void operator()(HWND h) const { ::DestroyWindow(h); }
};
struct GlobalFreeFn {
    void operator()(HGLOBAL h) const { ::GlobalFree(h); }
};

using UniqueHandle = UniqueAny<HANDLE, CloseHandleFn>;
using UniqueFont = UniqueAny<HFONT, DeleteObjectFn>;
using UniqueBitmap = UniqueAny<HBITMAP, DeleteObjectFn>;
using UniqueBrush = UniqueAny<HBRUSH, DeleteObjectFn>;
using UniqueRegion = UniqueAny<HRGN, DeleteObjectFn>;
using UniqueMemoryDc = UniqueAny<HDC, DeleteDcFn>;
using UniqueWindow = UniqueAny<HWND, DestroyWindowFn>;
using UniqueGlobal = UniqueAny<HGLOBAL, GlobalFreeFn>;

// A DC from GetDC / GetWindowDC, given back with ReleaseDC to the window it came from.
class WindowDc {
public:
    static WindowDc Client(HWND hwnd) { return WindowDc(hwnd, ::GetDC(hwnd)); }
    static WindowDc Whole(HWND hwnd) { return WindowDc(hwnd, ::GetWindowDC(hwnd)); }
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : hwnd_(other.hwnd_), dc_(std::exchange(other.dc_, nullptr)) {}

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    WindowDc(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint ... EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
    ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// Selects an object into a DC for the lifetime of this value, then puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_ && old_ != HGDI_ERROR)
            ::SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
