#include "shell/main_window.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "shell/icon_data.h"
#include "shell/process.h"
#include "shell/shell_menu.h"
#include "shell/trans_label.h"
#include "shell/tray.h"
#include "shell/window_class.h"
#include "webview/internal.h"
#include "webview/text.h"

namespace shell {
namespace {

constexpr wchar_t kMainClass[] = L"QuilloraMainWindow";
constexpr char kTitle[] = "Quillora";  // code page 936, like every text of the shell
constexpr char kTrayTip[] = "Quillora";
constexpr wchar_t kPagePath[] = L"\\html\\index.html";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
constexpr int kLabel1Id = 1001;
constexpr int kLabel2Id = 1002;
// The label handlers' key flags.
constexpr int kKeyControl = 1;
constexpr int kKeyShift = 2;
constexpr int kKeyAlt = 4;

volatile LONG g_messagesTaken = 0;
HWND g_main = nullptr;
HWND g_label1 = nullptr;
HWND g_label2 = nullptr;
HICON g_bigIcon = nullptr;
HICON g_smallIcon = nullptr;
UINT g_taskbarCreated = 0;

// Writing the always-on-top setting, in either direction.
void SetAlwaysOnTop(HWND window, bool onTop) {
    SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void OnTrayEvent(TrayEvent event) {
    if (event == TrayEvent::RightUp) {
        ShowPopupMenu(g_main);
        return;
    }
    // Raise the clock above every ordinary window without activating it.
    constexpr DWORD kRaisePause = 300;
    ShowWindow(g_main, SW_SHOW);
    SetAlwaysOnTop(g_main, true);
    Sleep(kRaisePause);
    SetAlwaysOnTop(g_main, false);
}

LRESULT OnTrayCallback(LPARAM lParam) {
    TrayEvent event;
    if (TrayEventOf(lParam, &event)) OnTrayEvent(event);
    return 0;
}

LRESULT OnCommand(WPARAM wParam) {
    OnMenuCommand(wParam);
    return 0;
}

// The host passes this on before it unbinds the view.
LRESULT OnDestroy() {
    SetTrayIcon(g_main, nullptr, 0, nullptr);
    if (!Exiting()) PostQuitMessage(0);
    return 0;
}

LRESULT OnNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_bigIcon) DestroyIcon(g_bigIcon);
    if (g_smallIcon) DestroyIcon(g_smallIcon);
    g_bigIcon = g_smallIcon = nullptr;
    g_main = g_label1 = g_label2 = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The system keeps an overlapped window within the screen's size unless told otherwise; on a
// screen smaller than the clock the window keeps its full size, partly off the screen.
LRESULT OnGetMinMaxInfo(LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info->ptMaxTrackSize.x < kMainWidth) info->ptMaxTrackSize.x = kMainWidth;
    if (info->ptMaxTrackSize.y < kMainHeight) info->ptMaxTrackSize.y = kMainHeight;
    return 0;
}

// Without a bound view (the engine gave none) the window shows its plain background; once bound,
// the host answers these messages itself.
LRESULT OnEraseBackground(HWND window, WPARAM wParam) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

// The window's own procedure, behind the host's.
LRESULT CALLBACK MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_taskbarCreated && g_taskbarCreated != 0) {
        RestoreTrayIcon(window);
        return 0;
    }
    switch (message) {
        case WM_COMMAND: return Exiting() ? 0 : OnCommand(wParam);
        case kTrayCallbackMessage: return Exiting() ? 0 : OnTrayCallback(lParam);
        case WM_GETMINMAXINFO: return OnGetMinMaxInfo(lParam);
        case WM_ERASEBKGND: return OnEraseBackground(window, wParam);
        case WM_DESTROY: return OnDestroy();
        case WM_NCDESTROY: return OnNcDestroy(window, message, wParam, lParam);
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

RECT CentredRect() {
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kMainWidth) / 2;  // truncated toward zero
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kMainHeight) / 2;
    return RECT{x, y, x + kMainWidth, y + kMainHeight};
}

// The system gives every overlapped window a caption: take it away again.
void RemoveCaption(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    SetWindowLongW(window, GWL_STYLE, style & ~(WS_CAPTION | WS_SYSMENU));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void SetIcons(HWND window) {
    const IconData icon = ProgramIconData();
    g_bigIcon = MakeIconFromIcoData(icon.bytes, icon.length, false);
    g_smallIcon = MakeIconFromIcoData(icon.bytes, icon.length, false);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_bigIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_smallIcon));
}

void CreateLabels(HWND window) {
    g_label1 = CreateTransLabel(window, kLabel1Id, 0, 0, 800, 224);
    g_label2 = CreateTransLabel(window, kLabel2Id, 0, 0, 1112, 720);
    constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(g_label2, HWND_TOP, 0, 0, 0, 0, kKeepPlace);
    SetWindowPos(g_label1, g_label2, 0, 0, 0, 0, kKeepPlace);
    ShowWindow(g_label1, SW_SHOWNA);
    ShowWindow(g_label2, SW_SHOWNA);
}

// The page's path goes to the engine in UTF-16 as the system gives it: passed through 8-bit text
// in code page 936, a directory named in another ANSI code page would come out garbled.
void LoadPage() {
    wchar_t path[MAX_PATH + sizeof kPagePath / sizeof kPagePath[0]] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    wchar_t* slash = std::wcsrchr(path, L'\\');
    lstrcpyW(slash ? slash : path, kPagePath);
    Host()->LoadW(path);
}

int KeyFlags() {
    int keys = 0;
    if (GetKeyState(VK_CONTROL) < 0) keys |= kKeyControl;
    if (GetKeyState(VK_SHIFT) < 0) keys |= kKeyShift;
    if (GetKeyState(VK_MENU) < 0) keys |= kKeyAlt;
    return keys;
}

}  // namespace

bool LoadMainWindow(HINSTANCE instance) {
    if (!RegisterShellClass(instance, kMainClass, MainProcedure, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)) return false;
    g_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    const RECT rect = CentredRect();
    const text::Utf16Buffer title = text::TextToUtf16(kTitle);
    g_main = CreateWindowExW(0, kMainClass, title.units(), kStyle, rect.left, rect.top, kMainWidth, kMainHeight,
                             OwnerWindow(), nullptr, instance, nullptr);
    if (!g_main) return false;
    RemoveCaption(g_main);
    SetIcons(g_main);
    SendMessageW(g_main, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RECT created{};
    GetWindowRect(g_main, &created);
    if (created.right - created.left != kMainWidth || created.bottom - created.top != kMainHeight)
        MoveWindow(g_main, rect.left, rect.top, kMainWidth, kMainHeight, TRUE);

    CreateLabels(g_main);
    OnMainWindowCreated();
    ShowWindow(g_main, SW_SHOW);
    return true;
}

HWND MainWindow() { return g_main; }

void DestroyMainWindow() {
    if (g_main && IsWindow(g_main)) DestroyWindow(g_main);
}

void OnMainWindowCreated() {
    HWND window = g_main;
    Host()->BindWindow(window, true);
    LoadPage();
    const IconData icon = ProgramIconData();
    HeapBlock data(Allocate(icon.length ? icon.length : 1));
    if (icon.length) std::memcpy(data.get(), icon.bytes, icon.length);
    SetTrayIcon(window, static_cast<const std::uint8_t*>(data.get()), icon.length, kTrayTip);
}

void OnLabelLeftDown(int, int, int) { SendMessageA(g_main, WM_NCLBUTTONDOWN, HTCAPTION, 0); }

void OnLabelRightDown(int, int, int) { ShowPopupMenu(g_main); }

bool PreDispatch(const MSG& message) {
    if (!Exiting() && g_main) {
        if (message.hwnd == g_main && message.message == WM_LBUTTONDOWN)
            PostMessageA(g_main, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        if (message.hwnd == g_label2 && (message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN)) {
            const int x = LOWORD(message.lParam);
            const int y = HIWORD(message.lParam);
            if (message.message == WM_LBUTTONDOWN)
                OnLabelLeftDown(x, y, KeyFlags());
            else
                OnLabelRightDown(x, y, KeyFlags());
        }
    }
    return webview::WasDispatchedByTabHook(message);
}

void RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        InterlockedIncrement(&g_messagesTaken);
        if (PreDispatch(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

unsigned long MessagesTaken() { return static_cast<unsigned long>(g_messagesTaken); }

}  // namespace shell
