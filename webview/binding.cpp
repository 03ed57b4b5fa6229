// Engine start-up, binding a view to its window, the Tab hook and the callback thunks.
#include <cstring>
#include <new>

#include "engine/engine.h"
#include "webview/internal.h"
#include "webview/text.h"
#include "webview/view_keys.h"
#include "webview/webview_host.h"

namespace webview {
namespace {

HHOOK g_tabHook = nullptr;

// The Tab key-down that the hook dispatched last, until a message loop asks about it.
MSG g_tabDispatched{};
bool g_tabPending = false;

bool SameMessage(const MSG& a, const MSG& b) {
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
           a.time == b.time && a.pt.x == b.pt.x && a.pt.y == b.pt.y;
}

bool IsHostProcedure(HWND window) {
    return GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(HostWndProc);
}

}  // namespace

void EnsureEngineStarted() {
    if (wkeIsInitialize()) return;
    wkeInitialize();
    InstallTabHook();
}

bool InstallTabHook() {
    if (g_tabHook) return true;
    g_tabHook = SetWindowsHookExW(WH_GETMESSAGE, TabHookProc, nullptr, GetCurrentThreadId());
    return g_tabHook != nullptr;
}

// The engine moves its focus on Tab as soon as the key-down leaves the queue, before any dialog
// handling of the application's message loop could claim it.
LRESULT CALLBACK TabHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && wParam == PM_REMOVE && lParam) {
        MSG* message = reinterpret_cast<MSG*>(lParam);
        if (message->message == WM_KEYDOWN && message->wParam == VK_TAB) {
            g_tabDispatched = *message;
            g_tabPending = true;
            TranslateMessage(message);
            DispatchMessageW(message);
        }
    }
    return CallNextHookEx(g_tabHook, code, wParam, lParam);
}

bool WasDispatchedByTabHook(const MSG& message) {
    if (!g_tabPending || !SameMessage(message, g_tabDispatched)) return false;
    g_tabPending = false;
    return true;
}

void SubclassHostWindow(wkeWebView view, HWND window, void* host) {
    if (IsHostProcedure(window)) return;
    const LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostWndProc));
    view_keys::Set(view, view_keys::kPreviousProcedure, reinterpret_cast<void*>(previous));
    SetPropA(window, kHostProperty, host);
}

#if defined(__i386__) || defined(_M_IX86)

wkeCallback MakeCallbackThunk(const void* routine, int arguments) {
    if (arguments < 0 || arguments > 64) return nullptr;
    const SIZE_T size = static_cast<SIZE_T>(ThunkSize(arguments));
    BYTE* code = static_cast<BYTE*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!code) return nullptr;

    auto put32 = [](BYTE* at, DWORD value) { std::memcpy(at, &value, sizeof value); };
    BYTE* at = code;
    const BYTE prologue[] = {0x55, 0x8B, 0xEC};  // push ebp; mov ebp, esp
    std::memcpy(at, prologue, sizeof prologue);
    at += sizeof prologue;
    *at++ = 0xB8;  // mov eax, routine
    put32(at, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(routine)));
    at += 4;
    // push dword [ebp + d] from the last argument to the first, so the routine sees the engine's order.
    for (int i = 1; i <= arguments; ++i) {
        *at++ = 0xFF;
        *at++ = 0xB5;
        put32(at, static_cast<DWORD>(4 * (arguments - i + 1) + 4));
        at += 4;
    }
    // call eax; pop ebp; ret: the routine removes its copies, the engine its own arguments.
    const BYTE epilogue[] = {0xFF, 0xD0, 0x5D, 0xC3};
    std::memcpy(at, epilogue, sizeof epilogue);

    // No page stays both writable and executable.
    DWORD previousProtection = 0;
    if (!VirtualProtect(code, size, PAGE_EXECUTE_READ, &previousProtection)) {
        VirtualFree(code, 0, MEM_RELEASE);
        return nullptr;
    }
    FlushInstructionCache(GetCurrentProcess(), code, size);
    return code;
}

#else
#error "callback thunks are generated as 32-bit x86 code"
#endif

void FreeCallbackThunk(wkeCallback thunk) {
    if (thunk) VirtualFree(thunk, 0, MEM_RELEASE);
}

}  // namespace webview

using namespace webview;

WebViewHost::~WebViewHost() = default;

WebViewHost* WebViewHost::Copy() const { return new (std::nothrow) WebViewHost(*this); }

bool WebViewHost::BindWindow(HWND window, bool transparent) {
    EnsureEngineStarted();
    if (view_) return false;
    if (!IsWindow(window)) return false;
    // A window serves one host: a second binding would leave nothing to restore on unbinding.
    if (GetPropA(window, kHostProperty) || IsHostProcedure(window)) return false;
    wkeWebView view = wkeCreateWebView();
    if (!view) return false;
    view_ = view;

    view_keys::Set(view, view_keys::kHostWindow, window);
    wkeSetHandle(view, window);
    if (wkeCallback thunk = MakeCallbackThunk(reinterpret_cast<const void*>(PresentFrame), 7)) {
        wkeOnPaintUpdated(view, thunk, window);
        view_keys::Set(view, view_keys::kPaintThunk, thunk);
    }
    if (transparent) {
        wkeSetTransparent(view, true);
        SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    } else {
        wkeSetTransparent(view, false);
    }
    SubclassHostWindow(view, window, this);
    RECT client{};
    GetClientRect(window, &client);
    wkeResize(view, client.right - client.left, client.bottom - client.top);
    return true;
}

void WebViewHost::UnbindWindow() {
    if (!view_) return;
    if (void* maxRect = view_keys::Get(view_, view_keys::kMaxRect)) HeapFree(GetProcessHeap(), 0, maxRect);
    HWND window = static_cast<HWND>(view_keys::Get(view_, view_keys::kHostWindow));
    const LONG_PTR previous = reinterpret_cast<LONG_PTR>(view_keys::Get(view_, view_keys::kPreviousProcedure));
    if (IsWindow(window)) {
        if (previous) SetWindowLongPtrW(window, GWLP_WNDPROC, previous);
        if (GetPropA(window, kHostProperty) == this) RemovePropA(window, kHostProperty);
    }
    ReleaseAllEvents();
    wkeSetHandle(view_, nullptr);
    wkeDestroyWebView(view_);
    view_ = nullptr;
}

HWND WebViewHost::GetHostWindow() { return view_ ? wkeGetHostHWND(view_) : nullptr; }

void WebViewHost::SetViewHandle(wkeWebView view) { view_ = view; }

wkeWebView WebViewHost::GetViewHandle() { return view_; }

void WebViewHost::Load(const char* address) {
    if (!view_) return;
    const text::Utf16Buffer buffer = text::TextToUtf16(address);
    wkeLoadW(view_, buffer.units());
}
