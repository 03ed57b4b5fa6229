// Small owners of Win32 handles and heap blocks, so that every path releases what it took.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

// Owns a value of T and closes it with Close unless it is Invalid.
template <typename T, auto Close, T Invalid = T{}>
class unique_any {
public:
    unique_any() = default;
    explicit unique_any(T value) : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid; }

    T release() { return std::exchange(value_, Invalid); }
    void reset(T value = Invalid) {
        if (value_ != Invalid) Close(value_);
        value_ = value;
    }

private:
    T value_ = Invalid;
};

namespace handles_detail {
inline void FreeOnProcessHeap(void* block) { HeapFree(GetProcessHeap(), 0, block); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
}  // namespace handles_detail

using HeapBlock = unique_any<void*, handles_detail::FreeOnProcessHeap>;
using GdiObject = unique_any<HGDIOBJ, handles_detail::DeleteGdiObject>;
using MemoryDC = unique_any<HDC, DeleteDC>;
using Menu = unique_any<HMENU, DestroyMenu>;
using Icon = unique_any<HICON, DestroyIcon>;

// A zero-filled block of the process heap; empty when the allocation fails.
inline HeapBlock AllocateZeroed(std::size_t bytes) {
    return HeapBlock(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
}

// A window's device context from GetDC, released to its window.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }
    const RECT& updateRect() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context, the previous one selected back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
