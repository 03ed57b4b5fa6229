// ShellMenu: MainWindow's menu, whose one top-level item is hidden and whose sub-items make up
// the popup menu; its commands and their handlers.
#pragma once

#include <windows.h>

#include <optional>

namespace shell {

// A command identifier is kFirstCommand plus the item's position in the window's menu list.
constexpr UINT kFirstCommand = 20000;
constexpr UINT kShellMenuCommand = kFirstCommand + 0;
constexpr UINT kFollowCommand = kFirstCommand + 1;
constexpr UINT kGroupCommand = kFirstCommand + 2;
constexpr UINT kQuitCommand = kFirstCommand + 3;
// Identifiers from here on belong to the system (MDI and the like), never to a menu item.
constexpr UINT kFirstSystemCommand = 0xE100;

// The forum page that both link items open.
constexpr char kForumUrl[] = "https://forum.example.com/forum.php?mod=guide&view=my";

// Shows the sub-items of ShellMenu as a popup menu owned by `owner`, 3 pixels right of and below
// the cursor unless a position is given, and returns once it has closed.
void ShowPopupMenu(HWND owner, std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt);

// Runs the handler of the menu item a WM_COMMAND names, if it names one.
void OnMenuCommand(WPARAM wParam);

void OpenUrl(const char* url);
void OnFollowSelected();
void OnGroupSelected();
void OnQuitSelected();

}  // namespace shell
