// Putting each engine frame on the screen.
#include "webview/handles.h"
#include "webview/internal.h"

namespace webview {
namespace {

constexpr DWORD kCopyWithLayers = SRCCOPY | CAPTUREBLT;

BLENDFUNCTION PerPixelAlpha() { return BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}; }

// When the engine's device context cannot feed UpdateLayeredWindow itself, the frame goes through
// a bitmap compatible with the window.
void PresentThroughMemoryDC(HWND window, HDC windowDC, HDC dc, SIZE size) {
    MemoryDC memoryDC(CreateCompatibleDC(windowDC));
    GdiObject bitmap(CreateCompatibleBitmap(windowDC, size.cx, size.cy));
    if (!memoryDC || !bitmap) return;
    SelectedObject selected(memoryDC.get(), bitmap.get());
    BitBlt(memoryDC.get(), 0, 0, size.cx, size.cy, dc, 0, 0, kCopyWithLayers);
    BitBlt(dc, 0, 0, size.cx, size.cy, memoryDC.get(), 0, 0, kCopyWithLayers);
    POINT source{0, 0};
    BLENDFUNCTION blend = PerPixelAlpha();
    UpdateLayeredWindow(window, windowDC, nullptr, &size, memoryDC.get(), &source, 0, &blend, ULW_ALPHA);
}

void PresentLayered(HWND window, HDC dc) {
    BITMAP image{};
    GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof image, &image);
    SIZE size{image.bmWidth, image.bmHeight};
    WindowDC windowDC(window);
    POINT source{0, 0};
    BLENDFUNCTION blend = PerPixelAlpha();
    if (!UpdateLayeredWindow(window, windowDC.get(), nullptr, &size, dc, &source, 0, &blend, ULW_ALPHA))
        PresentThroughMemoryDC(window, windowDC.get(), dc, size);
}

}  // namespace

void __stdcall PresentFrame(wkeWebView, HWND window, HDC dc, int x, int y, int cx, int cy) {
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) {
        PresentLayered(window, dc);
    } else {
        const RECT updated{x, y, x + cx, y + cy};
        InvalidateRect(window, &updated, TRUE);
    }
}

}  // namespace webview
