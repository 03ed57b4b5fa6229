// The 130 engine functions of the stand-in node.dll.
#include <cstring>

#include "standin/calls.h"
#include "standin/preview.h"

namespace standin {
namespace {

View* ViewOf(wkeWebView view) { return Find(view); }

}  // namespace

// Start-up and views

void Behave(Tag<Fn::wkeInitialize>, const char*) { g_initialized = true; }
void Behave(Tag<Fn::wkeInitializeEx>, const char*, const wkeSettings*) { g_initialized = true; }

bool Behave(Tag<Fn::wkeIsInitialize>, const char* name) { return Answer(name) ? AnswerFlag(name) : g_initialized; }

wkeWebView Behave(Tag<Fn::wkeCreateWebView>, const char* name) {
    if (Answer(name) && AnswerInt(name, 1) == 0) return nullptr;
    return Create();
}

void Behave(Tag<Fn::wkeDestroyWebView>, const char*, wkeWebView view) {
    ForgetPreview(view);
    Destroy(view);
}

void Behave(Tag<Fn::wkeSetHandle>, const char*, wkeWebView view, HWND window) {
    if (View* v = ViewOf(view)) v->host = window;
    UpdatePreview(view);
}

void Behave(Tag<Fn::wkeLoadW>, const char*, wkeWebView view, const wchar_t* address) { PreviewLoaded(view, address); }
void Behave(Tag<Fn::wkeLoadFileW>, const char*, wkeWebView view, const wchar_t* path) { PreviewLoaded(view, path); }

HWND Behave(Tag<Fn::wkeGetHostHWND>, const char*, wkeWebView view) {
    View* v = ViewOf(view);
    return v ? v->host : nullptr;
}

void Behave(Tag<Fn::wkeSetTransparent>, const char*, wkeWebView view, bool transparent) {
    if (View* v = ViewOf(view)) v->transparent = transparent;
}

void Behave(Tag<Fn::wkeSetUserKeyValue>, const char*, wkeWebView view, const char* key, void* value) {
    View* v = ViewOf(view);
    if (v && key) v->keys[key] = value;
}

void* Behave(Tag<Fn::wkeGetUserKeyValue>, const char*, wkeWebView view, const char* key) {
    View* v = ViewOf(view);
    if (!v || !key) return nullptr;
    auto found = v->keys.find(key);
    return found == v->keys.end() ? nullptr : found->second;
}

void Behave(Tag<Fn::wkeSetName>, const char*, wkeWebView view, const char* name) {
    if (View* v = ViewOf(view)) v->name = name ? name : "";
}

const char* Behave(Tag<Fn::wkeGetName>, const char* function, wkeWebView view) {
    View* v = ViewOf(view);
    return v && !v->name.empty() ? Keep(function, v->name) : nullptr;
}

void Behave(Tag<Fn::wkeSleep>, const char*, wkeWebView view) {
    if (View* v = ViewOf(view)) v->awake = false;
}

void Behave(Tag<Fn::wkeWake>, const char*, wkeWebView view) {
    if (View* v = ViewOf(view)) v->awake = true;
}

bool Behave(Tag<Fn::wkeIsAwake>, const char*, wkeWebView view) {
    View* v = ViewOf(view);
    return v && v->awake;
}

// Image

void Behave(Tag<Fn::wkeResize>, const char*, wkeWebView view, int width, int height) {
    if (View* v = ViewOf(view)) v->Resize(width, height);
}

int Behave(Tag<Fn::wkeGetWidth>, const char*, wkeWebView view) { return ViewOf(view) ? ViewOf(view)->width : 0; }
int Behave(Tag<Fn::wkeGetHeight>, const char*, wkeWebView view) { return ViewOf(view) ? ViewOf(view)->height : 0; }

int Behave(Tag<Fn::wkeGetContentWidth>, const char* name, wkeWebView view) {
    return AnswerInt(name, ViewOf(view) ? ViewOf(view)->width : 0);
}

int Behave(Tag<Fn::wkeGetContentHeight>, const char* name, wkeWebView view) {
    return AnswerInt(name, ViewOf(view) ? ViewOf(view)->height : 0);
}

HDC Behave(Tag<Fn::wkeGetViewDC>, const char*, wkeWebView view) {
    View* v = ViewOf(view);
    return v ? v->dc : nullptr;
}

// Copies the view's pixels; a scripted answer instead paints every pixel with that value.
void Behave(Tag<Fn::wkePaint>, const char* name, wkeWebView view, void* bits, int pitch) {
    View* v = ViewOf(view);
    if (!v || !bits) return;
    if (const std::string* fill = Answer(name)) {
        const auto value = static_cast<std::uint32_t>(std::strtoul(fill->c_str(), nullptr, 0));
        auto* pixels = static_cast<std::uint32_t*>(bits);
        const int stride = pitch > 0 ? pitch / 4 : v->width;
        for (int row = 0; row < v->height; ++row)
            for (int x = 0; x < v->width; ++x) pixels[row * stride + x] = value;
        return;
    }
    if (!v->bits) return;
    GdiFlush();
    const std::size_t rowBytes = static_cast<std::size_t>(v->width) * 4;
    const std::size_t stride = pitch > 0 ? static_cast<std::size_t>(pitch) : rowBytes;
    for (int row = 0; row < v->height; ++row)
        std::memcpy(static_cast<BYTE*>(bits) + row * stride, static_cast<const BYTE*>(v->bits) + row * rowBytes,
                    rowBytes);
}

// Logged as the engine's callers write it, without the hidden result pointer.
void Describe(Tag<Fn::wkeGetCaretRect>, const char* name, wkeRect*, wkeWebView view) {
    Record(std::string(name) + "(" + Arg(view) + ")");
}

wkeRect* Behave(Tag<Fn::wkeGetCaretRect>, const char* name, wkeRect* result, wkeWebView) {
    wkeRect caret{};
    if (const std::string* answer = Answer(name))
        std::sscanf(answer->c_str(), "%d,%d,%d,%d", &caret.x, &caret.y, &caret.w, &caret.h);
    if (result) *result = caret;
    return result;
}

// Cookies and settings with state

void Behave(Tag<Fn::wkeSetCookieEnabled>, const char*, wkeWebView view, bool enabled) {
    if (View* v = ViewOf(view)) v->cookieEnabled = enabled;
}

bool Behave(Tag<Fn::wkeIsCookieEnabled>, const char*, wkeWebView view) {
    View* v = ViewOf(view);
    return v && v->cookieEnabled;
}

void Behave(Tag<Fn::wkeSetUserAgentW>, const char*, wkeWebView view, const wchar_t* userAgent) {
    if (View* v = ViewOf(view)) v->userAgent = userAgent ? Utf16ToUtf8(userAgent) : "";
}

const char* Behave(Tag<Fn::wkeGetUserAgent>, const char* function, wkeWebView view) {
    View* v = ViewOf(view);
    return v && !v->userAgent.empty() ? Keep(function, v->userAgent) : nullptr;
}

void Behave(Tag<Fn::wkeSetMediaVolume>, const char*, wkeWebView view, float volume) {
    if (View* v = ViewOf(view)) v->volume = volume;
}

float Behave(Tag<Fn::wkeGetMediaVolume>, const char*, wkeWebView view) {
    View* v = ViewOf(view);
    return v ? v->volume : 0.0f;
}

void Behave(Tag<Fn::wkeSetZoomFactor>, const char*, wkeWebView view, float factor) {
    if (View* v = ViewOf(view)) v->zoom = factor;
}

float Behave(Tag<Fn::wkeGetZoomFactor>, const char*, wkeWebView view) {
    View* v = ViewOf(view);
    return v ? v->zoom : 0.0f;
}

// Engine strings: handles 1, 2, ... into a list that lives as long as the process.
wkeString Behave(Tag<Fn::wkeCreateStringW>, const char*, const wchar_t* text, std::size_t) {
    static std::vector<std::wstring> strings;
    strings.emplace_back(text ? text : L"");
    return reinterpret_cast<wkeString>(strings.size());
}

void Describe(Tag<Fn::wkePostURLW>, const char* name, wkeWebView view, const wchar_t* url, const char* data,
              int length) {
    Record(std::string(name) + "(" + Arg(view) + ", " + Arg(url) + ", " +
           (data ? Hex(data, length > 0 ? static_cast<std::size_t>(length) : 0) : "null") + ", " + Arg(length) + ")");
}

void Describe(Tag<Fn::wkeSetDragFiles>, const char* name, wkeWebView view, const POINT* client, const POINT* screen,
              wkeString* files, int count) {
    std::string list = files ? "[" : "null";
    for (int i = 0; files && i < count; ++i) list += (i ? ", " : "") + Arg(files[i]);
    if (files) list += "]";
    Record(std::string(name) + "(" + Arg(view) + ", " + Arg(client) + ", " + Arg(screen) + ", " + list + ", " +
           Arg(count) + ")");
}

void Behave(Tag<Fn::wkeShowDevtools>, const char* name, wkeWebView view, const wchar_t*, wkeCallback routine,
            void* param) {
    Subscribe(name, view, routine, param);
}

}  // namespace standin

#define STANDIN_EXPORT(result, name, parameters, arguments)                                               \
    extern "C" result WKE_CALL name parameters {                                                          \
        return standin::Run<result>(standin::Tag<standin::Fn::name>{}, #name, std::make_tuple arguments); \
    }
WKE_FUNCTIONS(STANDIN_EXPORT)
#undef STANDIN_EXPORT
