#include "shell/tray.h"

#include <shellapi.h>

#include <cstring>

#include "shell/ico.h"

namespace shell {
namespace {

constexpr UINT kIconResourceVersion = 0x00030000;
constexpr std::size_t kTipBytes = 62;  // of the 64-byte field: the rest stays zero

// The one window with a tray icon, and its icon handle.
HWND g_trayWindow = nullptr;
HICON g_trayIcon = nullptr;
char g_tip[64];

NOTIFYICONDATAA TrayRecord(HWND window, HICON icon, UINT flags, const char* tip) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = kTrayIconId;
    record.uFlags = flags;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.hIcon = icon;
    // Cut by bytes, even inside a double-byte character, as the 88-byte record's users expect.
    if (tip) std::memcpy(record.szTip, tip, strnlen(tip, kTipBytes));
    return record;
}

}  // namespace

bool TrayEventOf(LPARAM mouseMessage, TrayEvent* event) {
    switch (mouseMessage) {
        case WM_LBUTTONUP: *event = TrayEvent::LeftUp; return true;
        case WM_LBUTTONDBLCLK: *event = TrayEvent::LeftDoubleClick; return true;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: *event = TrayEvent::RightUp; return true;
        default: return false;
    }
}

HICON MakeIconFromIcoData(const std::uint8_t* bytes, std::size_t length, bool prefer32) {
    ico::Image image{};
    if (!ico::FindImage(bytes, length, prefer32, &image)) return nullptr;
    auto* data = const_cast<BYTE*>(bytes + image.offset);
    const auto size = static_cast<DWORD>(image.size);
    HICON icon =
        CreateIconFromResourceEx(data, size, TRUE, kIconResourceVersion, image.width, image.height, LR_DEFAULTCOLOR);
    if (!icon && image.bitCount != 16) icon = CreateIconFromResource(data, size, TRUE, kIconResourceVersion);
    return icon;
}

void SetTrayIcon(HWND window, const std::uint8_t* data, std::size_t length, const char* tip) {
    HICON icon = nullptr;
    if (data && length > 0) {
        icon = MakeIconFromIcoData(data, length, false);
        if (!icon) icon = MakeIconFromIcoData(data, length, true);
    }
    const UINT flags = icon ? NIF_MESSAGE | NIF_ICON | NIF_TIP : 0;
    NOTIFYICONDATAA record = TrayRecord(window, icon, flags, tip);
    if (g_trayIcon && g_trayWindow == window) {
        Shell_NotifyIconA(icon ? NIM_MODIFY : NIM_DELETE, &record);
        DestroyIcon(g_trayIcon);
    } else if (icon) {
        Shell_NotifyIconA(NIM_ADD, &record);
    }
    g_trayWindow = icon ? window : nullptr;
    g_trayIcon = icon;
    std::memcpy(g_tip, record.szTip, sizeof g_tip);
}

void RestoreTrayIcon(HWND window) {
    if (!g_trayIcon || g_trayWindow != window) return;
    NOTIFYICONDATAA record = TrayRecord(window, g_trayIcon, NIF_MESSAGE | NIF_ICON | NIF_TIP, g_tip);
    Shell_NotifyIconA(NIM_ADD, &record);
}

}  // namespace shell
