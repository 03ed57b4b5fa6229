// The notification-area icon of MainWindow, and the icons made from ICO data.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace shell {

constexpr UINT kTrayIconId = 100;
constexpr UINT kTrayCallbackMessage = WM_APP + 100;

// What the tray callback's lParam means to the shell.
enum class TrayEvent : int {
    LeftUp = 1,
    LeftDoubleClick = 2,
    RightUp = 3,
};

// False for mouse actions that raise no tray event.
bool TrayEventOf(LPARAM mouseMessage, TrayEvent* event);

HICON MakeIconFromIcoData(const std::uint8_t* bytes, std::size_t length, bool prefer32);

// Adds, changes or (with no data) removes the window's tray icon. The window keeps the icon
// handle and destroys it when the icon is replaced or removed.
void SetTrayIcon(HWND window, const std::uint8_t* data, std::size_t length, const char* tip);
// Puts the window's icon back after the taskbar has been re-created.
void RestoreTrayIcon(HWND window);

}  // namespace shell
