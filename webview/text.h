// Conversions between the host's 8-bit text (code page 936 unless told otherwise) and the
// engine's UTF-16 and UTF-8. Every result is a new block that its owner frees.
#pragma once

#include <windows.h>

#include <cstddef>

#include "webview/handles.h"

namespace text {

constexpr UINT kHostCodePage = 936;

// Counted bytes on the process heap. An empty buffer holds no data: data() is null.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(HeapBlock block, std::size_t size) : block_(std::move(block)), size_(block_ ? size : 0) {}

    const BYTE* data() const { return static_cast<const BYTE*>(block_.get()); }
    BYTE* data() { return static_cast<BYTE*>(block_.get()); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // The data as UTF-16 units, for buffers that hold UTF-16 text.
    const wchar_t* units() const { return reinterpret_cast<const wchar_t*>(data()); }

private:
    HeapBlock block_;
    std::size_t size_ = 0;
};

// A buffer of UTF-16 little-endian units ending with a NUL unit.
using Utf16Buffer = ByteBuffer;

// Counted bytes that a caller lends for one call: a buffer, or a NUL-terminated UTF-16 string
// taken with its NUL. Empty ones reach the engine as a null pointer.
class BufferRef {
public:
    BufferRef() = default;
    BufferRef(const ByteBuffer& buffer) : data_(buffer.data()), size_(buffer.size()) {}
    BufferRef(const wchar_t* string)
        : data_(reinterpret_cast<const BYTE*>(string)), size_(string ? (lstrlenW(string) + 1) * sizeof(wchar_t) : 0) {}
    BufferRef(const void* data, std::size_t size) : data_(static_cast<const BYTE*>(data)), size_(data ? size : 0) {}

    const BYTE* data() const { return size_ ? data_ : nullptr; }
    std::size_t size() const { return size_; }
    const wchar_t* units() const { return reinterpret_cast<const wchar_t*>(data()); }
    const char* bytes() const { return reinterpret_cast<const char*>(data()); }

private:
    const BYTE* data_ = nullptr;
    std::size_t size_ = 0;
};

// NUL-terminated 8-bit text on the process heap; absent (null) or present.
class HostText {
public:
    HostText() = default;
    explicit HostText(HeapBlock block) : block_(std::move(block)) {}

    const char* get() const { return static_cast<const char*>(block_.get()); }
    const char* c_str() const { return block_ ? get() : ""; }
    std::size_t size() const { return block_ ? static_cast<std::size_t>(lstrlenA(get())) : 0; }
    bool absent() const { return !block_; }

private:
    HeapBlock block_;
};

// A present text holding a copy of `length` bytes of `chars` and a NUL.
HostText CopyText(const char* chars, std::size_t length);

Utf16Buffer TextToUtf16(const char* text, UINT codePage = kHostCodePage);
HostText Utf16ToText(const BYTE* data, std::size_t size, UINT codePage = kHostCodePage);
inline HostText Utf16ToText(const Utf16Buffer& buffer, UINT codePage = kHostCodePage) {
    return Utf16ToText(buffer.data(), buffer.size(), codePage);
}
Utf16Buffer CStringToUtf16(const char* string, UINT codePage = kHostCodePage);
HostText WideCStringToText(const wchar_t* string, UINT codePage = kHostCodePage);
HostText TextToUtf8(const char* text);
HostText Utf8ToText(const char* utf8);

}  // namespace text
