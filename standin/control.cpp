// The stand-in's own exports for tests, and what the exports share.
#include <cstring>

#include "standin/calls.h"
#include "standin/preview.h"
#include "standin/standin.h"

namespace standin {

namespace {

std::string Quoted(const char* prefix, const std::string& text) {
    std::string result = prefix;
    result += '"';
    result += text;
    result += '"';
    return result;
}

}  // namespace

std::string Quote(const char* text) { return text ? Quoted("", text) : "null"; }

std::string Quote(const wchar_t* text) { return text ? Quoted("L", Utf16ToUtf8(text)) : "null"; }

std::string Hex(const void* bytes, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string result;
    result.reserve(2 * size);
    for (std::size_t i = 0; i < size; ++i) {
        const BYTE byte = static_cast<const BYTE*>(bytes)[i];
        result += digits[byte >> 4];
        result += digits[byte & 15];
    }
    return result;
}

const char* Keep(const char* function, std::string text) {
    static std::map<std::string, std::string> kept;
    std::string& slot = kept[function];
    slot = std::move(text);
    return slot.c_str();
}

const wchar_t* Keep(const char* function, std::wstring text) {
    static std::map<std::string, std::wstring> kept;
    std::wstring& slot = kept[function];
    slot = std::move(text);
    return slot.c_str();
}

void Subscribe(const char* event, wkeWebView view, wkeCallback routine, void* param) {
    View* v = Find(view);
    const int index = EventIndex(event);
    if (v && index >= 0) v->subscriptions[index] = {routine, param};
}

namespace {

using Word = std::uint32_t;

// Calls a routine with the C convention and `count` 32-bit arguments.
std::int64_t CallRoutine(wkeCallback routine, const Word* a, int count) {
    switch (count) {
        case 2: return reinterpret_cast<std::int64_t(WKE_CALL*)(Word, Word)>(routine)(a[0], a[1]);
        case 3: return reinterpret_cast<std::int64_t(WKE_CALL*)(Word, Word, Word)>(routine)(a[0], a[1], a[2]);
        case 4:
            return reinterpret_cast<std::int64_t(WKE_CALL*)(Word, Word, Word, Word)>(routine)(a[0], a[1], a[2], a[3]);
        case 5:
            return reinterpret_cast<std::int64_t(WKE_CALL*)(Word, Word, Word, Word, Word)>(routine)(a[0], a[1], a[2],
                                                                                                    a[3], a[4]);
        case 6:
            return reinterpret_cast<std::int64_t(WKE_CALL*)(Word, Word, Word, Word, Word, Word)>(routine)(
                a[0], a[1], a[2], a[3], a[4], a[5]);
        case 7:
            return reinterpret_cast<std::int64_t(WKE_CALL*)(Word, Word, Word, Word, Word, Word, Word)>(routine)(
                a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    }
    return 0;
}

Word WordOf(const void* pointer) { return static_cast<Word>(reinterpret_cast<std::uintptr_t>(pointer)); }

}  // namespace
}  // namespace standin

using namespace standin;

extern "C" {

int WKE_CALL standinLogSize() { return static_cast<int>(Log().size()); }

const char* WKE_CALL standinLogEntry(int index) {
    return index >= 0 && index < standinLogSize() ? Log()[static_cast<std::size_t>(index)].c_str() : nullptr;
}

void WKE_CALL standinClearLog() { ClearLog(); }

void WKE_CALL standinSetLogging(bool enabled) { SetLogging(enabled); }

void WKE_CALL standinSetAnswer(const char* function, const char* value) { SetAnswer(function, value); }

void WKE_CALL standinClearAnswers() { ClearAnswers(); }

void WKE_CALL standinResetEngine() { g_initialized = false; }

int WKE_CALL standinViewCount() { return ViewCount(); }

void WKE_CALL standinSetPreview(bool enabled) { SetPreviewEnabled(enabled); }

void* WKE_CALL standinViewBits(wkeWebView view) {
    View* v = Find(view);
    return v ? v->bits : nullptr;
}

wkeCallback WKE_CALL standinSubscription(wkeWebView view, const char* event, void** param) {
    View* v = Find(view);
    const int index = event ? EventIndex(event) : -1;
    if (!v || index < 0) return nullptr;
    if (param) *param = v->subscriptions[index].param;
    return v->subscriptions[index].routine;
}

std::int64_t WKE_CALL standinFire(wkeWebView view, const char* event, const std::uint32_t* extra, int extraCount) {
    View* v = Find(view);
    const int index = event ? EventIndex(event) : -1;
    if (!v || index < 0 || extraCount != kEvents[index].arguments - 2 || (extraCount > 0 && !extra)) return 0;
    const Subscription& subscription = v->subscriptions[index];
    if (!subscription.routine) return 0;
    Word arguments[7] = {WordOf(view), WordOf(subscription.param)};
    for (int i = 0; i < extraCount; ++i) arguments[2 + i] = extra[i];
    return CallRoutine(subscription.routine, arguments, kEvents[index].arguments);
}

bool WKE_CALL standinPaintFrame(wkeWebView view, int x, int y, int cx, int cy) {
    View* v = Find(view);
    const int index = EventIndex("wkeOnPaintUpdated");
    if (!v || !v->subscriptions[index].routine) return false;
    GdiFlush();
    const std::uint32_t extra[] = {WordOf(v->dc), static_cast<Word>(x), static_cast<Word>(y), static_cast<Word>(cx),
                                   static_cast<Word>(cy)};
    standinFire(view, "wkeOnPaintUpdated", extra, 5);
    return true;
}

}  // extern "C"
