#include "webview/text.h"

#include <climits>
#include <cstring>

namespace text {
namespace {

// Converts `length` bytes (-1: up to and including the NUL) into a new UTF-16 buffer.
Utf16Buffer MultiByteToUtf16(const char* chars, int length, UINT codePage) {
    if (!chars) return {};
    const int units = MultiByteToWideChar(codePage, 0, chars, length, nullptr, 0);
    if (units <= 0) return {};
    const std::size_t bytes = static_cast<std::size_t>(units) * sizeof(wchar_t);
    HeapBlock block = AllocateZeroed(bytes);
    if (!block) return {};
    if (MultiByteToWideChar(codePage, 0, chars, length, static_cast<wchar_t*>(block.get()), units) == 0) return {};
    return Utf16Buffer(std::move(block), bytes);
}

// Converts `count` units (-1: up to and including the NUL) into a new text. The block has one
// byte more than the conversion asks for, so the text is ended even when the units are not.
HostText Utf16ToMultiByte(const wchar_t* units, int count, UINT codePage) {
    if (!units || count == 0) return CopyText("", 0);
    const int bytes = WideCharToMultiByte(codePage, 0, units, count, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0 || bytes == INT_MAX) return CopyText("", 0);
    HeapBlock block = AllocateZeroed(static_cast<std::size_t>(bytes) + 1);
    if (!block) return {};
    if (WideCharToMultiByte(codePage, 0, units, count, static_cast<char*>(block.get()), bytes, nullptr, nullptr) == 0)
        return CopyText("", 0);
    return HostText(std::move(block));
}

}  // namespace

HostText CopyText(const char* chars, std::size_t length) {
    HeapBlock block = AllocateZeroed(length + 1);
    if (block && length > 0) std::memcpy(block.get(), chars, length);
    return HostText(std::move(block));
}

Utf16Buffer TextToUtf16(const char* text, UINT codePage) {
    if (!text) return {};
    const std::size_t length = std::strlen(text) + 1;  // the NUL is converted too
    if (length > INT_MAX) return {};
    return MultiByteToUtf16(text, static_cast<int>(length), codePage);
}

HostText Utf16ToText(const BYTE* data, std::size_t size, UINT codePage) {
    const std::size_t units = size / sizeof(wchar_t);  // an odd last byte is ignored
    if (units > INT_MAX) return CopyText("", 0);
    return Utf16ToMultiByte(reinterpret_cast<const wchar_t*>(data), static_cast<int>(units), codePage);
}

Utf16Buffer CStringToUtf16(const char* string, UINT codePage) { return MultiByteToUtf16(string, -1, codePage); }

HostText WideCStringToText(const wchar_t* string, UINT codePage) { return Utf16ToMultiByte(string, -1, codePage); }

HostText TextToUtf8(const char* text) {
    if (!text || !*text) return CopyText("", 0);
    return Utf16ToText(TextToUtf16(text, kHostCodePage), CP_UTF8);
}

HostText Utf8ToText(const char* utf8) {
    if (!utf8 || !*utf8) return CopyText("", 0);
    return Utf16ToText(CStringToUtf16(utf8, CP_UTF8), kHostCodePage);
}

}  // namespace text
