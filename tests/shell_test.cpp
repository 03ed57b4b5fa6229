// The shell's pieces in this process: texts, the tray record, icons from ICO data, the popup
// menu and its commands. The whole program is tested from outside in e2e/.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shell/icon_data.h"
#include "shell/main_window.h"
#include "shell/process.h"
#include "shell/shell_menu.h"
#include "shell/tray.h"
#include "tests/child_process.h"
#include "tests/fresh_process.h"
#include "tests/import_patch.h"
#include "tests/test_support.h"

using ::testing::ElementsAre;

namespace {

TEST(ShellTexts, JoinTextsCountsANullTextAsEmpty) {
    const text::HostText joined = shell::JoinTexts(3, "C:\\clock", static_cast<const char*>(nullptr), "\\html");
    EXPECT_STREQ(joined.get(), "C:\\clock\\html");
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, joined.get()), std::strlen("C:\\clock\\html") + 1);
    EXPECT_STREQ(shell::JoinTexts(0).get(), "");
}

TEST(ShellTexts, RunDirectoryIsTheProgramsDirectoryWithoutTheBackslash) {
    std::wstring directory = ProgramDirectory();
    directory.pop_back();
    EXPECT_EQ(std::string(shell::GetRunDirectory().get()), std::string(directory.begin(), directory.end()));
}

std::vector<std::uint8_t> ProgramIcon() {
    const shell::IconData icon = shell::ProgramIconData();
    return std::vector<std::uint8_t>(icon.bytes, icon.bytes + icon.length);
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST(ProgramIcon, IsOne128By128ImageAt32BitsIn67646Bytes) {
    const std::vector<std::uint8_t> ico = ProgramIcon();
    ASSERT_EQ(ico.size(), 67646u);
    EXPECT_EQ(ico[4] | (ico[5] << 8), 1);     // one image
    EXPECT_EQ(ico[6], 128);                   // width
    EXPECT_EQ(ico[12] | (ico[13] << 8), 32);  // bits per pixel
    for (bool prefer32 : {false, true}) {
        HICON icon = shell::MakeIconFromIcoData(ico.data(), ico.size(), prefer32);
        ASSERT_NE(icon, nullptr);
        const SIZE size = IconSize(icon);
        EXPECT_EQ(size.cx, 128);
        EXPECT_EQ(size.cy, 128);
        DestroyIcon(icon);
    }
}

TEST(ProgramIcon, DamagedDataGivesNoIcon) {
    const std::vector<std::uint8_t> good = ProgramIcon();
    ASSERT_FALSE(good.empty());
    struct Damage {
        const char* what;
        std::size_t at;
        std::uint8_t value;
    };
    const Damage damages[] = {
        {"reserved word not zero", 0, 1},
        {"type 3", 2, 3},
        {"no images", 4, 0},
        {"a huge count", 5, 0x7F},
        {"size past the end", 17, 0x10},
        {"offset past the end", 21, 0x10},
        {"a PNG image", 22, 0x89},
    };
    for (const Damage& damage : damages) {
        std::vector<std::uint8_t> bad = good;
        bad[damage.at] = damage.value;
        EXPECT_EQ(shell::MakeIconFromIcoData(bad.data(), bad.size(), false), nullptr) << damage.what;
    }
    EXPECT_EQ(shell::MakeIconFromIcoData(good.data(), 21, false), nullptr) << "cut inside the directory";
    EXPECT_EQ(shell::MakeIconFromIcoData(good.data(), good.size() - 1, false), nullptr) << "cut inside the image";
    EXPECT_EQ(shell::MakeIconFromIcoData(nullptr, 0, false), nullptr);
}

TEST(TrayEvents, MapTheMouseActions) {
    struct Case {
        LPARAM mouse;
        bool raises;
        shell::TrayEvent event;
    };
    const Case cases[] = {
        {WM_LBUTTONUP, true, shell::TrayEvent::LeftUp},
        {WM_LBUTTONDBLCLK, true, shell::TrayEvent::LeftDoubleClick},
        {WM_RBUTTONUP, true, shell::TrayEvent::RightUp},
        {WM_CONTEXTMENU, true, shell::TrayEvent::RightUp},
        {WM_MOUSEMOVE, false, {}},
        {WM_LBUTTONDOWN, false, {}},
        {WM_RBUTTONDOWN, false, {}},
        {WM_RBUTTONDBLCLK, false, {}},
        {WM_MBUTTONUP, false, {}},
    };
    for (const Case& c : cases) {
        shell::TrayEvent event{};
        EXPECT_EQ(shell::TrayEventOf(c.mouse, &event), c.raises) << std::hex << c.mouse;
        if (c.raises) {
            EXPECT_EQ(event, c.event) << std::hex << c.mouse;
        }
    }
}

// What reached Shell_NotifyIconA: the message and the record's first 88 bytes.
struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAA record;
};
std::vector<NotifyCall> g_notifications;

BOOL WINAPI RecordNotification(DWORD message, PNOTIFYICONDATAA data) {
    NotifyCall call{message, {}};
    std::memcpy(&call.record, data, NOTIFYICONDATAA_V1_SIZE);
    g_notifications.push_back(call);
    return TRUE;
}

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(patch.active());
        g_notifications.clear();
    }
    void TearDown() override { shell::SetTrayIcon(window.get(), nullptr, 0, nullptr); }

    ImportPatch patch{"shell32.dll", "Shell_NotifyIconA", reinterpret_cast<const void*>(RecordNotification)};
    TestWindow window;
    std::vector<std::uint8_t> icon = ProgramIcon();
};

TEST_F(TrayIcon, AddsThenChangesThenDeletes) {
    shell::SetTrayIcon(window.get(), icon.data(), icon.size(), "Quillora");
    ASSERT_EQ(g_notifications.size(), 1u);
    const NOTIFYICONDATAA& added = g_notifications[0].record;
    EXPECT_EQ(g_notifications[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.cbSize, 88u);
    EXPECT_EQ(added.hWnd, window.get());
    EXPECT_EQ(added.uID, 100u);
    EXPECT_EQ(added.uFlags, 7u);
    EXPECT_EQ(added.uCallbackMessage, 0x8064u);
    EXPECT_STREQ(added.szTip, "Quillora");
    EXPECT_EQ(IconSize(added.hIcon).cx, 128);

    shell::SetTrayIcon(window.get(), icon.data(), icon.size(), "Quillora");
    ASSERT_EQ(g_notifications.size(), 2u);
    EXPECT_EQ(g_notifications[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_notifications[1].record.uFlags, 7u);
    EXPECT_EQ(IconSize(added.hIcon).cx, 0) << "the previous icon is destroyed";

    const HICON second = g_notifications[1].record.hIcon;
    shell::SetTrayIcon(window.get(), nullptr, 0, "Quillora");
    ASSERT_EQ(g_notifications.size(), 3u);
    EXPECT_EQ(g_notifications[2].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_notifications[2].record.uFlags, 0u);
    EXPECT_EQ(IconSize(second).cx, 0);

    // Without an icon there is nothing left to delete.
    shell::SetTrayIcon(window.get(), nullptr, 0, nullptr);
    EXPECT_EQ(g_notifications.size(), 3u);
}

TEST_F(TrayIcon, TipIsCutAt62BytesEvenInsideACharacter) {
    std::string tip(61, 'a');
    tip += "\xD6\xD0\xD6\xD0";  // the 62nd byte is the first half of 中
    shell::SetTrayIcon(window.get(), icon.data(), icon.size(), tip.c_str());
    ASSERT_EQ(g_notifications.size(), 1u);
    const char* field = g_notifications[0].record.szTip;
    EXPECT_EQ(std::string(field), std::string(61, 'a') + "\xD6");
    EXPECT_EQ(field[62], '\0');
    EXPECT_EQ(field[63], '\0');
}

TEST_F(TrayIcon, DataWithoutAnIconAddsNothing) {
    std::vector<std::uint8_t> bad = icon;
    bad[0] = 1;
    shell::SetTrayIcon(window.get(), bad.data(), bad.size(), "Quillora");
    EXPECT_TRUE(g_notifications.empty());
}

TEST_F(TrayIcon, IsAddedAgainWhenTheTaskbarComesBack) {
    shell::SetTrayIcon(window.get(), icon.data(), icon.size(), "Quillora");
    shell::RestoreTrayIcon(window.get());
    ASSERT_EQ(g_notifications.size(), 2u);
    EXPECT_EQ(g_notifications[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_notifications[1].record.hIcon, g_notifications[0].record.hIcon);
    EXPECT_STREQ(g_notifications[1].record.szTip, "Quillora");
}

// The popup menu, read while it is open: a thread timer runs inside the menu's modal loop.
struct OpenMenu {
    std::vector<std::wstring> captions;
    std::vector<UINT> commands;
    std::vector<UINT> states;
    RECT rect{};
    bool seen = false;
};
OpenMenu g_menu;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, timer);
    g_menu.seen = true;
    GetWindowRect(popup, &g_menu.rect);
    auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        g_menu.captions.emplace_back(caption);
        g_menu.commands.push_back(GetMenuItemID(menu, i));
        g_menu.states.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
    }
    EndMenu();
}

TEST(PopupMenu, ShowsTheThreeItemsBelowAndRightOfTheCursor) {
    TestWindow owner;
    SetCursorPos(500, 400);
    POINT cursor{};
    GetCursorPos(&cursor);
    g_menu = {};
    SetTimer(nullptr, 0, 100, ReadOpenMenu);
    shell::ShowPopupMenu(owner.get());
    ASSERT_TRUE(g_menu.seen);
    EXPECT_THAT(g_menu.captions, ElementsAre(L"\u5173\u6CE8\u516C\u4F17\u53F7", L"\u52A0\u4EA4\u6D41\u7FA4",
                                             L"\u9000\u51FA\u8F6F\u4EF6"));  // 关注公众号, 加交流群, 退出软件
    EXPECT_THAT(g_menu.commands, ElementsAre(20001u, 20002u, 20003u));
    for (UINT state : g_menu.states) EXPECT_EQ(state & (MF_GRAYED | MF_CHECKED | MF_POPUP), 0u);
    EXPECT_EQ(g_menu.rect.left, cursor.x + 3);
    EXPECT_EQ(g_menu.rect.top, cursor.y + 3);
    EXPECT_EQ(FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr)), false);
}

std::vector<std::string> g_opened;

HINSTANCE WINAPI RecordOpen(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    g_opened.push_back(std::string(verb) + " " + file + (parameters ? " +parameters" : "") +
                       (directory ? " +directory" : "") + (show == SW_SHOWNORMAL ? "" : " +show"));
    return reinterpret_cast<HINSTANCE>(33);
}

TEST(MenuCommands, MapBackToTheirItems) {
    ImportPatch patch("shell32.dll", "ShellExecuteA", reinterpret_cast<const void*>(RecordOpen));
    ASSERT_TRUE(patch.active());
    g_opened.clear();
    const std::string forum = "open https://forum.example.com/forum.php?mod=guide&view=my";
    for (WPARAM command : {20001u, 20002u}) {
        shell::OnMenuCommand(command);
        shell::OnMenuCommand(MAKEWPARAM(command, 1));  // the high word is not looked at
    }
    EXPECT_THAT(g_opened, ElementsAre(forum, forum, forum, forum));
    g_opened.clear();
    for (WPARAM command : {0u, 19999u, 20000u, 20004u, 0xE100u, 0xFFFFu}) shell::OnMenuCommand(command);
    EXPECT_TRUE(g_opened.empty());
}

}  // namespace

namespace {

// When MainWindow first became visible, and how long the engine log was then.
int g_logSizeWhenShown = -1;
HHOOK g_showHook = nullptr;

LRESULT CALLBACK WatchShowing(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && message->message == WM_SHOWWINDOW && message->wParam && message->hwnd == shell::MainWindow() &&
        g_logSizeWhenShown < 0)
        g_logSizeWhenShown = standinLogSize();
    return CallNextHookEx(g_showHook, code, wParam, lParam);
}

TEST(FreshProcess, MainWindowIsShownOnlyOnceItsViewIsBoundAndThePageLoading) {
    FRESH_PROCESS_ONLY();
    g_showHook = SetWindowsHookExW(WH_CALLWNDPROC, WatchShowing, nullptr, GetCurrentThreadId());
    shell::StartProcess(GetModuleHandleW(nullptr));
    shell::CreateHost();
    ASSERT_TRUE(shell::LoadMainWindow(GetModuleHandleW(nullptr)));
    UnhookWindowsHookEx(g_showHook);

    HWND main = shell::MainWindow();
    ASSERT_TRUE(IsWindowVisible(main));
    ASSERT_GT(g_logSizeWhenShown, 0);
    const std::vector<std::string> log = EngineLog();
    std::vector<std::string> beforeShown(log.begin(), log.begin() + g_logSizeWhenShown);
    auto has = [&](const std::string& prefix) {
        for (const std::string& entry : beforeShown)
            if (entry.rfind(prefix, 0) == 0) return true;
        return false;
    };
    EXPECT_TRUE(has("wkeCreateWebView()"));
    EXPECT_TRUE(has("wkeSetHandle(1, " + Id(main) + ")"));
    EXPECT_TRUE(has("wkeLoadW(1, L\""));
    EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT rect{};
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.right - rect.left, 1115);
    EXPECT_EQ(rect.bottom - rect.top, 721);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 1115) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 721) / 2);
    shell::DestroyMainWindow();
    EXPECT_EQ(shell::Host()->GetViewHandle(), nullptr);
    EXPECT_EQ(EngineLog().back(), "wkeDestroyWebView(1)");
}

TEST(ShellFreshProcess, MainWindowIsShownOnlyOnceItsViewIsBoundAndThePageLoading) {
    EXPECT_TRUE(PassesInFreshProcess("MainWindowIsShownOnlyOnceItsViewIsBoundAndThePageLoading"));
}

}  // namespace

namespace {

void SayExitRoutineRan() {
    std::printf("exit routine ran\n");
    std::fflush(stdout);
}

TEST(FreshProcess, ExhaustedHeapEndsTheProgram) {
    FRESH_PROCESS_ONLY();
    shell::AtExit(SayExitRoutineRan);
    std::printf("allocating\n");
    std::fflush(stdout);
    shell::Allocate(0x7FFFFFF0);  // more than a 32-bit process can have
    std::printf("allocated\n");
}

TEST(OutOfMemory, ShowsTheRequestedSizeAndEndsWithMinusOneWithoutTheExitRoutines) {
    const ChildRun run = RunFreshProcess("ExhaustedHeapEndsTheProgram");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
    EXPECT_THAT(run.messageBoxText, ::testing::HasSubstr("2147483632 bytes"));
    EXPECT_THAT(run.output, ::testing::HasSubstr("allocating\n"));
    EXPECT_THAT(run.output, ::testing::Not(::testing::HasSubstr("allocated")));
    EXPECT_THAT(run.output, ::testing::Not(::testing::HasSubstr("exit routine ran")));
}

}  // namespace
