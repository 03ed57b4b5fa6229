// The view control methods: most forward one engine call, converting texts on the way.
//
// Without a view no method calls the engine: each answers its neutral value instead (0, false,
// 0.0, an empty text or buffer). Texts converted for a call are freed as soon as it returns, and
// no pointer the engine hands back is kept.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "engine/engine.h"
#include "webview/handles.h"
#include "webview/webview_host.h"

using text::BufferRef;
using text::ByteBuffer;
using text::HostText;
using text::Utf16Buffer;

namespace {

// Calls an engine function of the view, or answers the neutral value without a view.
template <typename R, typename... P, typename... A>
R Forward(wkeWebView view, R (*function)(wkeWebView, P...), A... arguments) {
    if (!view) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    return function(view, arguments...);
}

// Results as the host hands them on.
HostText Copied(const char* string) { return text::CopyText(string ? string : "", string ? std::strlen(string) : 0); }

HostText FromUtf8(const char* string) { return text::Utf8ToText(string); }

HostText FromUtf16(const wchar_t* string) { return text::WideCStringToText(string); }

Utf16Buffer CopiedUnits(const wchar_t* string) {
    if (!string) return {};
    const std::size_t bytes = (static_cast<std::size_t>(lstrlenW(string)) + 1) * sizeof(wchar_t);
    HeapBlock block = AllocateZeroed(bytes);
    if (!block) return {};
    std::memcpy(block.get(), string, bytes);
    return Utf16Buffer(std::move(block), bytes);
}

// Arguments as the engine takes them; the temporaries live until the engine call returns.
const wchar_t* Units(const Utf16Buffer& buffer) { return buffer.units(); }
const char* Utf8Of(const HostText& utf8) { return utf8.get(); }

void* ValueOf(int value) { return reinterpret_cast<void*>(static_cast<INT_PTR>(value)); }

}  // namespace

HostText WebViewHost::GetSource() { return Copied(Forward(view_, wkeGetSource)); }

void WebViewHost::SetDebugConfig(const char* name, const char* value) {
    if (view_) wkeSetDebugConfig(view_, name, Utf8Of(text::TextToUtf8(value)));
}

void WebViewHost::SetDebugConfigUtf8(const char* name, const char* value) {
    Forward(view_, wkeSetDebugConfig, name, value);
}

void WebViewHost::SetNavigationToNewWindowEnable(bool enable) {
    Forward(view_, wkeSetNavigationToNewWindowEnable, enable);
}
void WebViewHost::SetMouseEnabled(bool enable) { Forward(view_, wkeSetMouseEnabled, enable); }
void WebViewHost::SetTouchEnabled(bool enable) { Forward(view_, wkeSetTouchEnabled, enable); }
void WebViewHost::SetNpapiPluginsEnabled(bool enable) { Forward(view_, wkeSetNpapiPluginsEnabled, enable); }
void WebViewHost::SetHeadlessEnabled(bool enable) { Forward(view_, wkeSetHeadlessEnabled, enable); }
void WebViewHost::SetDragEnable(bool enable) { Forward(view_, wkeSetDragEnable, enable); }
void WebViewHost::SetDragDropEnable(bool enable) { Forward(view_, wkeSetDragDropEnable, enable); }
void WebViewHost::SetMemoryCacheEnable(bool enable) { Forward(view_, wkeSetMemoryCacheEnable, enable); }

namespace {

// Copies a text's UTF-8 form into a field of the record, cut (by bytes) to leave its NUL.
void PutUtf8(char* field, std::size_t fieldSize, const char* text) {
    if (!text || !*text) return;
    const HostText utf8 = text::TextToUtf8(text);
    const std::size_t length = std::min(utf8.size(), fieldSize - 1);
    std::memcpy(field, utf8.c_str(), length);
}

}  // namespace

void WebViewHost::SetViewProxy(int type, const char* host, int port, const char* user, const char* password) {
    if (!view_) return;
    HeapBlock block = AllocateZeroed(sizeof(wkeProxy));
    if (!block) return;
    auto* record = static_cast<wkeProxy*>(block.get());
    record->type = type;
    PutUtf8(record->hostname, sizeof record->hostname, host);
    record->port = static_cast<std::uint16_t>(port & 0xFFFF);
    PutUtf8(record->username, sizeof record->username, user);
    PutUtf8(record->password, sizeof record->password, password);
    wkeSetViewProxy(view_, record);
}

HostText WebViewHost::GetName() { return Copied(Forward(view_, wkeGetName)); }
void WebViewHost::SetName(const char* name) { Forward(view_, wkeSetName, name); }
void WebViewHost::Sleep() { Forward(view_, wkeSleep); }
void WebViewHost::Wake() { Forward(view_, wkeWake); }
bool WebViewHost::IsAwake() { return Forward(view_, wkeIsAwake); }

void WebViewHost::SetUserAgent(const char* userAgent) {
    if (view_) wkeSetUserAgentW(view_, Units(text::TextToUtf16(userAgent)));
}
void WebViewHost::SetUserAgentW(BufferRef userAgent) { Forward(view_, wkeSetUserAgentW, userAgent.units()); }
HostText WebViewHost::GetUserAgent() { return Copied(Forward(view_, wkeGetUserAgent)); }

void WebViewHost::LoadW(BufferRef address) { Forward(view_, wkeLoadW, address.units()); }
void WebViewHost::LoadURLW(BufferRef url) { Forward(view_, wkeLoadURLW, url.units()); }
void WebViewHost::LoadURL(const char* url) {
    if (view_) wkeLoadURLW(view_, Units(text::TextToUtf16(url)));
}
void WebViewHost::LoadHTMLW(BufferRef html) { Forward(view_, wkeLoadHTMLW, html.units()); }
void WebViewHost::LoadHTML(const char* html) {
    if (view_) wkeLoadHTMLW(view_, Units(text::TextToUtf16(html)));
}
void WebViewHost::LoadHtmlWithBaseUrl(const char* html, const char* baseUrl) {
    if (view_) wkeLoadHtmlWithBaseUrl(view_, Utf8Of(text::TextToUtf8(html)), Utf8Of(text::TextToUtf8(baseUrl)));
}
void WebViewHost::LoadHtmlWithBaseUrlUtf8(const char* html, const char* baseUrl) {
    Forward(view_, wkeLoadHtmlWithBaseUrl, html, baseUrl);
}
void WebViewHost::LoadFileW(BufferRef path) { Forward(view_, wkeLoadFileW, path.units()); }
void WebViewHost::LoadFile(const char* path) {
    if (view_) wkeLoadFileW(view_, Units(text::TextToUtf16(path)));
}

void WebViewHost::PostURLW(BufferRef url, BufferRef data) {
    Forward(view_, wkePostURLW, url.units(), data.bytes(), static_cast<int>(data.size()));
}
void WebViewHost::PostURL(const char* url, BufferRef data) {
    if (view_) wkePostURLW(view_, Units(text::TextToUtf16(url)), data.bytes(), static_cast<int>(data.size()));
}

HostText WebViewHost::GetURLUtf8() { return Copied(Forward(view_, wkeGetURL)); }
HostText WebViewHost::GetURL() { return FromUtf8(Forward(view_, wkeGetURL)); }
bool WebViewHost::IsLoading() { return Forward(view_, wkeIsLoading); }
bool WebViewHost::IsLoadingSucceeded() { return Forward(view_, wkeIsLoadingSucceeded); }
bool WebViewHost::IsLoadingFailed() { return Forward(view_, wkeIsLoadingFailed); }
bool WebViewHost::IsLoadingCompleted() { return Forward(view_, wkeIsLoadingCompleted); }
bool WebViewHost::IsDocumentReady() { return Forward(view_, wkeIsDocumentReady); }
void WebViewHost::StopLoading() { Forward(view_, wkeStopLoading); }
void WebViewHost::Reload() { Forward(view_, wkeReload); }
HostText WebViewHost::GetTitle() { return FromUtf16(Forward(view_, wkeGetTitleW)); }
Utf16Buffer WebViewHost::GetTitleW() { return CopiedUnits(Forward(view_, wkeGetTitleW)); }
int WebViewHost::GetWidth() { return Forward(view_, wkeGetWidth); }
int WebViewHost::GetHeight() { return Forward(view_, wkeGetHeight); }
int WebViewHost::GetContentWidth() { return Forward(view_, wkeGetContentWidth); }
int WebViewHost::GetContentHeight() { return Forward(view_, wkeGetContentHeight); }
bool WebViewHost::CanGoBack() { return Forward(view_, wkeCanGoBack); }
bool WebViewHost::GoBack() { return Forward(view_, wkeGoBack); }
bool WebViewHost::CanGoForward() { return Forward(view_, wkeCanGoForward); }
bool WebViewHost::GoForward() { return Forward(view_, wkeGoForward); }

void WebViewHost::EditorSelectAll() { Forward(view_, wkeEditorSelectAll); }
void WebViewHost::EditorUnSelect() { Forward(view_, wkeEditorUnSelect); }
void WebViewHost::EditorCopy() { Forward(view_, wkeEditorCopy); }
void WebViewHost::EditorCut() { Forward(view_, wkeEditorCut); }
void WebViewHost::EditorPaste() { Forward(view_, wkeEditorPaste); }
void WebViewHost::EditorDelete() { Forward(view_, wkeEditorDelete); }
void WebViewHost::EditorUndo() { Forward(view_, wkeEditorUndo); }
void WebViewHost::EditorRedo() { Forward(view_, wkeEditorRedo); }

HostText WebViewHost::GetCookie() { return FromUtf8(Forward(view_, wkeGetCookie)); }
Utf16Buffer WebViewHost::GetCookieW() { return CopiedUnits(Forward(view_, wkeGetCookieW)); }
void WebViewHost::SetCookie(const char* url, const char* cookie) { Forward(view_, wkeSetCookie, url, cookie); }
void WebViewHost::SetCookieEnabled(bool enable) { Forward(view_, wkeSetCookieEnabled, enable); }
bool WebViewHost::IsCookieEnabled() { return Forward(view_, wkeIsCookieEnabled); }
void WebViewHost::SetCookieJarPathW(BufferRef path) { Forward(view_, wkeSetCookieJarPath, path.units()); }
void WebViewHost::SetCookieJarPath(const char* path) {
    if (view_) wkeSetCookieJarPath(view_, Units(text::TextToUtf16(path)));
}
void WebViewHost::SetCookieJarFullPathW(BufferRef path) { Forward(view_, wkeSetCookieJarFullPath, path.units()); }
void WebViewHost::SetCookieJarFullPath(const char* path) {
    if (view_) wkeSetCookieJarFullPath(view_, Units(text::TextToUtf16(path)));
}
void WebViewHost::SetLocalStorageFullPathW(BufferRef path) { Forward(view_, wkeSetLocalStorageFullPath, path.units()); }
void WebViewHost::SetLocalStorageFullPath(const char* path) {
    if (view_) wkeSetLocalStorageFullPath(view_, Units(text::TextToUtf16(path)));
}
void WebViewHost::SetMediaVolume(float volume) { Forward(view_, wkeSetMediaVolume, volume); }
float WebViewHost::GetMediaVolume() { return Forward(view_, wkeGetMediaVolume); }
void WebViewHost::SetFocus() { Forward(view_, wkeSetFocus); }
void WebViewHost::KillFocus() { Forward(view_, wkeKillFocus); }

wkeJsValue WebViewHost::RunJSW(BufferRef script) { return Forward(view_, wkeRunJSW, script.units()); }
wkeJsValue WebViewHost::RunJS(const char* script) {
    return view_ ? wkeRunJSW(view_, Units(text::TextToUtf16(script))) : 0;
}
wkeJsValue WebViewHost::RunJSUtf8(const char* script) { return Forward(view_, wkeRunJS, script); }
wkeJsValue WebViewHost::RunJsByFrameUtf8(wkeWebFrameHandle frame, const char* script, bool inClosure) {
    return Forward(view_, wkeRunJsByFrame, frame, script, inClosure);
}
wkeJsValue WebViewHost::RunJsByFrame(wkeWebFrameHandle frame, const char* script, bool inClosure) {
    return view_ ? wkeRunJsByFrame(view_, frame, Utf8Of(text::TextToUtf8(script)), inClosure) : 0;
}
void WebViewHost::WebFrameGetMainWorldScriptContext(wkeWebFrameHandle frame, int context) {
    Forward(view_, wkeWebFrameGetMainWorldScriptContext, frame, context);
}
wkeExecState WebViewHost::GlobalExec() { return Forward(view_, wkeGlobalExec); }
void WebViewHost::SetZoomFactor(float factor) { Forward(view_, wkeSetZoomFactor, factor); }
float WebViewHost::GetZoomFactor() { return Forward(view_, wkeGetZoomFactor); }
void WebViewHost::SetEditable(bool editable) { Forward(view_, wkeSetEditable, editable); }
int WebViewHost::GetCursorInfoType() { return Forward(view_, wkeGetCursorInfoType); }

void WebViewHost::SetUserKeyValue(const char* key, int value) {
    Forward(view_, wkeSetUserKeyValue, key, ValueOf(value));
}
int WebViewHost::GetUserKeyValue(const char* key) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(Forward(view_, wkeGetUserKeyValue, key)));
}

void WebViewHost::SetDragFiles(int x, int y, int screenX, int screenY, const char* const* fileNames, int count) {
    if (!view_ || count < 0 || (count > 0 && !fileNames)) return;
    HeapBlock array = AllocateZeroed(sizeof(wkeString) * (count > 0 ? count : 1));
    HeapBlock points = AllocateZeroed(2 * sizeof(POINT));
    if (!array || !points) return;
    auto* strings = static_cast<wkeString*>(array.get());
    auto* clientAndScreen = static_cast<POINT*>(points.get());
    clientAndScreen[0] = {x, y};
    clientAndScreen[1] = {screenX, screenY};
    for (int i = 0; i < count; ++i) {
        const Utf16Buffer name = text::TextToUtf16(fileNames[i]);
        const std::size_t units = name.units() ? static_cast<std::size_t>(lstrlenW(name.units())) : 0;
        strings[i] = wkeCreateStringW(name.units(), 2 * units);
    }
    wkeSetDragFiles(view_, &clientAndScreen[0], &clientAndScreen[1], strings, count);
}

wkeWebFrameHandle WebViewHost::WebFrameGetMainFrame() { return Forward(view_, wkeWebFrameGetMainFrame); }
void WebViewHost::SetCspCheckEnable(bool enable) { Forward(view_, wkeSetCspCheckEnable, enable); }
void WebViewHost::SetViewNetInterface(const char* netInterface) {
    Forward(view_, wkeSetViewNetInterface, netInterface);
}
bool WebViewHost::IsMainFrame(wkeWebFrameHandle frame) { return Forward(view_, wkeIsMainFrame, frame); }
bool WebViewHost::IsWebRemoteFrame(wkeWebFrameHandle frame) { return Forward(view_, wkeIsWebRemoteFrame, frame); }

namespace {

#pragma pack(push, 1)
struct BitmapFileHeader {
    char signature[2];
    std::uint32_t fileSize;
    std::uint16_t reserved1;
    std::uint16_t reserved2;
    std::uint32_t pixelOffset;
};
#pragma pack(pop)
static_assert(sizeof(BitmapFileHeader) == 14, "BMP file header");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BMP information header");

constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch
constexpr std::size_t kBitmapHeaders = sizeof(BitmapFileHeader) + sizeof(BITMAPINFOHEADER);

// Whether a BMP file of W x H 32-bit pixels has sizes that its 32-bit fields can hold.
bool BitmapFits(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    const std::uint64_t pixelBytes = 4ull * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    return pixelBytes <= UINT32_MAX - kBitmapHeaders && pixelBytes <= SIZE_MAX - kBitmapHeaders;
}

// The BMP file of the W x H pixels the engine paints; empty when the memory is not there.
ByteBuffer PaintBitmapFile(wkeWebView view, int width, int height) {
    const std::uint64_t pixelBytes = 4ull * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    HeapBlock pixels = AllocateZeroed(static_cast<std::size_t>(pixelBytes));
    if (!pixels) return {};
    wkePaint(view, pixels.get(), 0);

    const std::size_t fileBytes = kBitmapHeaders + static_cast<std::size_t>(pixelBytes);
    HeapBlock file = AllocateZeroed(fileBytes);
    if (!file) return {};
    BitmapFileHeader header{
        {'B', 'M'}, static_cast<std::uint32_t>(fileBytes), 0, 0, static_cast<std::uint32_t>(kBitmapHeaders)};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // rows top-down
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixelBytes);
    info.biXPelsPerMeter = kPixelsPerMetre;
    info.biYPelsPerMeter = kPixelsPerMetre;
    auto* bytes = static_cast<BYTE*>(file.get());
    std::memcpy(bytes, &header, sizeof header);
    std::memcpy(bytes + sizeof header, &info, sizeof info);
    std::memcpy(bytes + kBitmapHeaders, pixels.get(), static_cast<std::size_t>(pixelBytes));
    return ByteBuffer(std::move(file), fileBytes);
}

}  // namespace

ByteBuffer WebViewHost::CapturePageBitmap() {
    if (!view_) return {};
    wkeRunJS(view_, "document.body.style.overflow='hidden'");
    const int contentWidth = wkeGetContentWidth(view_);
    const int contentHeight = wkeGetContentHeight(view_);
    const int width = wkeGetWidth(view_);
    const int height = wkeGetHeight(view_);
    ByteBuffer bitmap;
    if (BitmapFits(contentWidth, contentHeight)) {
        wkeResize(view_, contentWidth, contentHeight);
        bitmap = PaintBitmapFile(view_, contentWidth, contentHeight);
        wkeResize(view_, width, height);
    }
    wkeRunJS(view_, "document.body.style.overflow='visible'");
    return bitmap;
}

void WebViewHost::GC(int intervalSeconds) { Forward(view_, wkeGC, intervalSeconds); }
void WebViewHost::SetDeviceParameter(const char* device, const char* paramText, int paramInt, float paramFloat) {
    Forward(view_, wkeSetDeviceParameter, device, paramText, paramInt, paramFloat);
}
void WebViewHost::AddPluginDirectory(const char* path) {
    if (view_) wkeAddPluginDirectory(view_, Units(text::TextToUtf16(path)));
}
void WebViewHost::AddPluginDirectoryW(BufferRef path) { Forward(view_, wkeAddPluginDirectory, path.units()); }
wkeExecState WebViewHost::GetGlobalExecByFrame(wkeWebFrameHandle frame) {
    return Forward(view_, wkeGetGlobalExecByFrame, frame);
}
void WebViewHost::InsertCSSByFrame(wkeWebFrameHandle frame, const char* css) {
    if (view_) wkeInsertCSSByFrame(view_, frame, Utf8Of(text::TextToUtf8(css)));
}
void WebViewHost::SetResourceGc(int intervalSeconds) { Forward(view_, wkeSetResourceGc, intervalSeconds); }
HostText WebViewHost::GetFrameUrl(wkeWebFrameHandle frame) { return Copied(Forward(view_, wkeGetFrameUrl, frame)); }
bool WebViewHost::IsProcessingUserGesture() { return Forward(view_, wkeIsProcessingUserGesture); }
