// The host window procedure: the bridge between the window's messages and the engine view.
#include <windows.h>
#include <windowsx.h>

#include <imm.h>

#include "engine/engine.h"
#include "webview/handles.h"
#include "webview/internal.h"
#include "webview/view_keys.h"
#include "webview/webview_host.h"

namespace {

// The engine's key flags, taken from the high word of a key message's lParam.
constexpr unsigned kEngineKeyRepeat = 0x4000;
constexpr unsigned kEngineKeyExtended = 0x0100;

// The engine's mouse flags have the values of the MK_ bits they come from.
constexpr unsigned kEngineMouseControl = 0x08;
constexpr unsigned kEngineMouseShift = 0x04;
constexpr unsigned kEngineMouseLeft = 0x01;
constexpr unsigned kEngineMouseMiddle = 0x10;
constexpr unsigned kEngineMouseRight = 0x02;

constexpr LRESULT kSwallowed = 0;
constexpr LRESULT kBackgroundErased = 1;

unsigned KeyFlags(LPARAM lParam) {
    const WORD high = HIWORD(lParam);
    unsigned flags = 0;
    if (high & KF_REPEAT) flags |= kEngineKeyRepeat;
    if (high & KF_EXTENDED) flags |= kEngineKeyExtended;
    return flags;
}

unsigned MouseFlags(WPARAM wParam) {
    unsigned flags = 0;
    if (wParam & MK_CONTROL) flags |= kEngineMouseControl;
    if (wParam & MK_SHIFT) flags |= kEngineMouseShift;
    if (wParam & MK_LBUTTON) flags |= kEngineMouseLeft;
    if (wParam & MK_MBUTTON) flags |= kEngineMouseMiddle;
    if (wParam & MK_RBUTTON) flags |= kEngineMouseRight;
    return flags;
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool IsButtonPress(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool IsButtonRelease(UINT message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

// One message on its way through WindowProc.
struct Message {
    wkeWebView view;
    WNDPROC previous;
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    LRESULT PassOn() const {
        if (!previous) return DefWindowProcW(window, message, wParam, lParam);
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
    LRESULT SwallowIf(bool handled) const { return handled ? kSwallowed : PassOn(); }
};

LRESULT OnPaint(const Message& m) {
    wkeRepaintIfNeeded(m.view);
    PaintDC paint(m.window);
    const RECT& update = paint.updateRect();
    RECT client{};
    GetClientRect(m.window, &client);
    RECT copy = client;
    if (update.left != update.right && update.top != update.bottom) IntersectRect(&copy, &update, &client);
    const int width = copy.right - copy.left;
    const int height = copy.bottom - copy.top;
    if (width != 0 && height != 0)
        BitBlt(paint.get(), copy.left, copy.top, width, height, wkeGetViewDC(m.view), copy.left - client.left,
               copy.top - client.top, SRCCOPY);
    return kSwallowed;
}

LRESULT OnSize(const Message& m) {
    wkeResize(m.view, LOWORD(m.lParam), HIWORD(m.lParam));
    wkeRepaintIfNeeded(m.view);
    return m.PassOn();
}

LRESULT OnKeyDown(const Message& m) {
    return m.SwallowIf(wkeFireKeyDownEvent(m.view, static_cast<unsigned>(m.wParam), KeyFlags(m.lParam), false));
}

LRESULT OnKeyUp(const Message& m) {
    return m.SwallowIf(wkeFireKeyUpEvent(m.view, static_cast<unsigned>(m.wParam), KeyFlags(m.lParam), false));
}

LRESULT OnChar(const Message& m) {
    return m.SwallowIf(wkeFireKeyPressEvent(m.view, static_cast<unsigned>(m.wParam), KeyFlags(m.lParam), false));
}

// Presses take the focus (the engine hears of it first, through WM_SETFOCUS) and the capture;
// releases give the capture back; double-clicks change neither.
LRESULT OnMouse(const Message& m) {
    if (IsButtonPress(m.message)) {
        if (GetFocus() != m.window) SetFocus(m.window);
        SetCapture(m.window);
    } else if (IsButtonRelease(m.message)) {
        ReleaseCapture();
    }
    const POINT point = PointOf(m.lParam);
    return m.SwallowIf(wkeFireMouseEvent(m.view, m.message, point.x, point.y, MouseFlags(m.wParam)));
}

// A menu asked for from the keyboard comes at (-1, -1), which stays as it is.
LRESULT OnContextMenu(const Message& m) {
    POINT point = PointOf(m.lParam);
    if (point.x != -1 && point.y != -1) ScreenToClient(m.window, &point);
    return m.SwallowIf(wkeFireContextMenuEvent(m.view, point.x, point.y, MouseFlags(m.wParam)));
}

LRESULT OnMouseWheel(const Message& m) {
    POINT point = PointOf(m.lParam);
    ScreenToClient(m.window, &point);
    const int delta = GET_WHEEL_DELTA_WPARAM(m.wParam);
    return m.SwallowIf(wkeFireMouseWheelEvent(m.view, point.x, point.y, delta, MouseFlags(m.wParam)));
}

LRESULT OnSetFocus(const Message& m) {
    wkeSetFocus(m.view);
    return kSwallowed;
}

LRESULT OnKillFocus(const Message& m) {
    wkeKillFocus(m.view);
    return kSwallowed;
}

// The candidate and composition windows go below the engine's caret, keeping the caret clear.
LRESULT OnImeStartComposition(const Message& m) {
    wkeRect caret{};
    wkeGetCaretRect(&caret, m.view);
    CANDIDATEFORM candidate{};
    candidate.dwIndex = 0;
    candidate.dwStyle = CFS_EXCLUDE;
    candidate.ptCurrentPos = {caret.x, caret.y + caret.h};
    candidate.rcArea = {caret.x, caret.y, caret.x + caret.w, caret.y + caret.h};
    COMPOSITIONFORM composition{};
    composition.dwStyle = CFS_EXCLUDE;
    composition.ptCurrentPos = candidate.ptCurrentPos;
    composition.rcArea = candidate.rcArea;
    HIMC context = ImmGetContext(m.window);
    ImmSetCandidateWindow(context, &candidate);
    ImmSetCompositionWindow(context, &composition);
    ImmReleaseContext(m.window, context);
    return m.PassOn();
}

// The engine is asked only whether it wants to set the cursor; it gets no position.
LRESULT OnSetCursor(const Message& m) {
    LRESULT result = 0;
    return m.SwallowIf(wkeFireWindowsMessage(m.view, m.window, WM_SETCURSOR, 0, 0, &result));
}

}  // namespace

LRESULT WebViewHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!view_) return DefWindowProcW(window, message, wParam, lParam);
    const auto previous = reinterpret_cast<WNDPROC>(view_keys::Get(view_, view_keys::kPreviousProcedure));
    const Message m{view_, previous, window, message, wParam, lParam};
    switch (message) {
        case WM_PAINT: return OnPaint(m);
        case WM_ERASEBKGND: return kBackgroundErased;
        case WM_SIZE: return OnSize(m);
        case WM_KEYDOWN: return OnKeyDown(m);
        case WM_KEYUP: return OnKeyUp(m);
        case WM_CHAR: return OnChar(m);
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: return OnMouse(m);
        case WM_CONTEXTMENU: return OnContextMenu(m);
        case WM_MOUSEWHEEL: return OnMouseWheel(m);
        case WM_SETFOCUS: return OnSetFocus(m);
        case WM_KILLFOCUS: return OnKillFocus(m);
        case WM_IME_STARTCOMPOSITION: return OnImeStartComposition(m);
        case WM_NCHITTEST:
            if (view_keys::Get(view_, view_keys::kResizable)) return HitTestBorders(window, lParam);
            return m.PassOn();
        case WM_GETMINMAXINFO:
            return ApplyMaxRect(window, reinterpret_cast<MINMAXINFO*>(lParam)) ? m.PassOn() : kSwallowed;
        case WM_DESTROY: {
            const LRESULT result = m.PassOn();
            UnbindWindow();
            return result;
        }
        case WM_SETCURSOR: return OnSetCursor(m);
        default: return m.PassOn();
    }
}

namespace webview {

LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = static_cast<WebViewHost*>(GetPropA(window, kHostProperty));
    if (!host) return DefWindowProcA(window, message, wParam, lParam);
    return host->WindowProc(window, message, wParam, lParam);
}

}  // namespace webview
