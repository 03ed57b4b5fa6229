#include "shell/shell_menu.h"

#include <shellapi.h>

#include <cstring>

#include "shell/main_window.h"
#include "shell/process.h"
#include "webview/handles.h"
#include "webview/text.h"

namespace shell {
namespace {

constexpr int kPopupOffset = 3;  // the menu's corner, right of and below the cursor

struct MenuItem {
    const char* caption;  // code page 936
    void (*handler)();
    bool visible;
    bool enabled;
    bool checked;
    const MenuItem* subItems;
    int subItemCount;
};

constexpr char kSeparatorCaption[] = "-";

constexpr MenuItem kPopupItems[] = {
    {"\xB9\xD8\xD7\xA2\xB9\xAB\xD6\xDA\xBA\xC5", OnFollowSelected, true, true, false, nullptr, 0},  // 关注公众号
    {"\xBC\xD3\xBD\xBB\xC1\xF7\xC8\xBA", OnGroupSelected, true, true, false, nullptr, 0},           // 加交流群
    {"\xCD\xCB\xB3\xF6\xC8\xED\xBC\xFE", OnQuitSelected, true, true, false, nullptr, 0},            // 退出软件
};

// The window's menu list, in order: a command identifier is kFirstCommand plus the position.
constexpr MenuItem kShellMenu = {"\xB2\xCB\xB5\xA5", nullptr, false, true, false, kPopupItems, 3};  // 菜单
const MenuItem* const kMenuList[] = {&kShellMenu, &kPopupItems[0], &kPopupItems[1], &kPopupItems[2]};
constexpr UINT kMenuListSize = sizeof kMenuList / sizeof kMenuList[0];

UINT CommandOf(const MenuItem& item) {
    for (UINT position = 0; position < kMenuListSize; ++position)
        if (kMenuList[position] == &item) return kFirstCommand + position;
    return 0;
}

// The captions are converted from code page 936, so they read right whatever the system's
// ANSI code page is.
void AppendItems(HMENU menu, const MenuItem* items, int count) {
    for (int i = 0; i < count; ++i) {
        const MenuItem& item = items[i];
        if (!item.visible) continue;
        if (std::strcmp(item.caption, kSeparatorCaption) == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = (item.enabled ? 0 : MF_GRAYED) | (item.checked ? MF_CHECKED : 0);
        const text::Utf16Buffer caption = text::TextToUtf16(item.caption);
        if (item.subItemCount > 0) {
            HMENU nested = CreatePopupMenu();
            if (!nested) continue;
            AppendItems(nested, item.subItems, item.subItemCount);
            AppendMenuW(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(nested), caption.units());
        } else {
            AppendMenuW(menu, MF_STRING | state, CommandOf(item), caption.units());
        }
    }
}

}  // namespace

void ShowPopupMenu(HWND owner, std::optional<int> x, std::optional<int> y) {
    if (kShellMenu.subItemCount == 0) return;
    Menu menu(CreatePopupMenu());
    if (!menu) return;
    AppendItems(menu.get(), kShellMenu.subItems, kShellMenu.subItemCount);
    POINT at{};
    GetCursorPos(&at);
    at.x = x.value_or(at.x + kPopupOffset);
    at.y = y.value_or(at.y + kPopupOffset);
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

void OnMenuCommand(WPARAM wParam) {
    const UINT command = LOWORD(wParam);
    if (command >= kFirstSystemCommand || command < kFirstCommand) return;
    const UINT position = command - kFirstCommand;
    if (position >= kMenuListSize) return;
    if (kMenuList[position]->handler) kMenuList[position]->handler();
}

void OpenUrl(const char* url) { ShellExecuteA(OwnerWindow(), "open", url, nullptr, nullptr, SW_SHOWNORMAL); }

void OnFollowSelected() { OpenUrl(kForumUrl); }

void OnGroupSelected() { OpenUrl(kForumUrl); }

void OnQuitSelected() { ExitProgram(0); }

}  // namespace shell
