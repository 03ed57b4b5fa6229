// Optional frame behaviours: resize borders and a maximized rectangle.
#include <cstring>

#include "engine/engine.h"
#include "webview/view_keys.h"
#include "webview/webview_host.h"

namespace {

constexpr int kBorder = 5;  // width of the sizing bands and of the corners
constexpr int kGrip = 10;   // the bottom-right grip is larger

}  // namespace

LRESULT WebViewHost::HitTestBorders(HWND window, LPARAM lParam) {
    if (IsZoomed(window)) return HTCLIENT;
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(window, &point);
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;

    struct Area {
        RECT rect;
        LRESULT code;
    };
    // The first area that holds the point decides; the bands stop where the corners begin.
    const Area areas[] = {
        {{kBorder, 0, w - kBorder, kBorder}, HTTOP},     {{0, kBorder, kBorder, h - kBorder}, HTLEFT},
        {{w - kBorder, kBorder, w, h - kGrip}, HTRIGHT}, {{kBorder, h - kBorder, w - kGrip, h}, HTBOTTOM},
        {{0, 0, kBorder, kBorder}, HTTOPLEFT},           {{0, h - kBorder, kBorder, h}, HTBOTTOMLEFT},
        {{w - kBorder, 0, w, kBorder}, HTTOPRIGHT},      {{w - kGrip, h - kGrip, w, h}, HTBOTTOMRIGHT},
    };
    for (const Area& area : areas)
        if (PtInRect(&area.rect, point)) return area.code;
    return HTCLIENT;
}

bool WebViewHost::ApplyMaxRect(HWND, MINMAXINFO* info) {
    if (!view_ || !info) return true;
    const RECT* rect = static_cast<const RECT*>(view_keys::Get(view_, view_keys::kMaxRect));
    if (!rect) return true;
    info->ptMaxPosition = {rect->left, rect->top};
    info->ptMaxSize = {rect->right - rect->left, rect->bottom - rect->top};
    return false;
}

void WebViewHost::SetMaxRect(int left, int top, int width, int height) {
    if (!view_) return;
    const RECT rect{left, top, left + width, top + height};
    void* block = view_keys::Get(view_, view_keys::kMaxRect);
    if (!block) {
        block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(RECT));
        if (!block) return;
        view_keys::Set(view_, view_keys::kMaxRect, block);
    }
    std::memcpy(block, &rect, sizeof rect);
}

void WebViewHost::SetResizable(bool on) {
    if (!view_) return;
    view_keys::Set(view_, view_keys::kResizable, reinterpret_cast<void*>(static_cast<UINT_PTR>(on ? 1 : 0)));
}
