#include "shell/trans_label.h"

#include "shell/window_class.h"
#include "webview/handles.h"

namespace shell {
namespace {

constexpr wchar_t kLabelClass[] = L"QuilloraTransLabel";

LRESULT OnPaint(HWND label) {
    PaintDC paint(label);
    wchar_t caption[256];
    const int length = GetWindowTextW(label, caption, 256);
    if (length > 0) {
        RECT client{};
        GetClientRect(label, &client);
        SetBkMode(paint.get(), TRANSPARENT);
        DrawTextW(paint.get(), caption, length, &client, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
    }
    return 0;
}

// Moving a transparent label exposes what was beneath it.
LRESULT OnMove(HWND label) {
    InvalidateRect(GetParent(label), nullptr, TRUE);
    return 0;
}

LRESULT CALLBACK LabelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: return OnPaint(label);
        case WM_MOVE: return OnMove(label);
        default: return DefWindowProcW(label, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateTransLabel(HWND parent, int id, int x, int y, int width, int height) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    RegisterShellClass(instance, kLabelClass, LabelProcedure, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    return CreateWindowExW(WS_EX_TRANSPARENT, kLabelClass, L"", WS_CHILD | WS_CLIPSIBLINGS, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace shell
