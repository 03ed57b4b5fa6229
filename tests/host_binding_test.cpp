// Binding a view to a window and unbinding it again, seen in the engine's log and on the window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fresh_process.h"
#include "tests/test_support.h"
#include "webview/internal.h"
#include "webview/webview_host.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

class HostBinding : public ::testing::Test {
protected:
    void SetUp() override {
        webview::EnsureEngineStarted();
        standinClearAnswers();
        standinClearLog();
    }
    void TearDown() override {
        host.UnbindWindow();
        standinClearAnswers();
    }

    std::string V() { return Id(host.GetViewHandle()); }
    std::string PaintThunk() { return Id(standinSubscription(host.GetViewHandle(), "wkeOnPaintUpdated", nullptr)); }

    TestWindow window{100, 100, 300, 200};
    WebViewHost host;
};

TEST_F(HostBinding, BindMakesItsEngineCallsInOrder) {
    const std::string H = Id(window.get());
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    EXPECT_THAT(EngineLog(), ElementsAre("wkeIsInitialize()", "wkeCreateWebView()",
                                         "wkeSetUserKeyValue(" + V() + ", \"kxhWnd\", " + H + ")",
                                         "wkeSetHandle(" + V() + ", " + H + ")",
                                         "wkeOnPaintUpdated(" + V() + ", " + PaintThunk() + ", " + H + ")",
                                         "wkeSetUserKeyValue(" + V() + ", \"kxOnPaintUpdate\", " + PaintThunk() + ")",
                                         "wkeSetTransparent(" + V() + ", true)",
                                         "wkeSetUserKeyValue(" + V() + ", \"kxOldPorc\", " +
                                             Id(reinterpret_cast<void*>(TestWindow::Procedure())) + ")",
                                         "wkeResize(" + V() + ", 300, 200)"));
}

TEST_F(HostBinding, BindLeavesTheWindowLayeredSubclassedAndMarked) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    EXPECT_TRUE(GetWindowLongW(window.get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(GetWindowLongPtrW(window.get(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(webview::HostWndProc));
    EXPECT_EQ(GetPropA(window.get(), "wkeEThis"), static_cast<HANDLE>(&host));
    EXPECT_EQ(host.GetHostWindow(), window.get());
}

TEST_F(HostBinding, LayeredStyleComesBeforeSubclassingAndTheFirstResize) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    // The style change reached the window's own procedure directly, before any message could
    // pass the host, and before the view was sized.
    int styleChangedAt = -1;
    for (const Received& r : window.received)
        if (r.message == WM_STYLECHANGED && r.wParam == static_cast<WPARAM>(GWL_EXSTYLE))
            styleChangedAt = r.engineLogSize;
    ASSERT_GE(styleChangedAt, 0);
    const std::vector<std::string> log = EngineLog();
    for (int i = 0; i < styleChangedAt; ++i) {
        EXPECT_EQ(log[i].find("kxOldPorc"), std::string::npos) << log[i];
        EXPECT_EQ(log[i].find("wkeResize"), std::string::npos) << log[i];
    }
}

TEST_F(HostBinding, OpaqueBindLeavesTheStyleAlone) {
    const LONG before = GetWindowLongW(window.get(), GWL_EXSTYLE);
    ASSERT_TRUE(host.BindWindow(window.get(), false));
    EXPECT_EQ(GetWindowLongW(window.get(), GWL_EXSTYLE), before);
    EXPECT_EQ(EngineCalls("wkeSetTransparent"), std::vector<std::string>{"wkeSetTransparent(" + V() + ", false)"});
}

TEST_F(HostBinding, SecondBindOnTheSameObjectIsRefused) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    const wkeWebView view = host.GetViewHandle();
    TestWindow other;
    standinClearLog();
    EXPECT_FALSE(host.BindWindow(other.get(), true));
    EXPECT_EQ(host.GetViewHandle(), view);
    EXPECT_THAT(EngineLog(), ElementsAre("wkeIsInitialize()"));
    EXPECT_EQ(GetPropA(other.get(), "wkeEThis"), nullptr);
}

TEST_F(HostBinding, SecondHostOnABoundWindowIsRefused) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    WebViewHost second;
    standinClearLog();
    EXPECT_FALSE(second.BindWindow(window.get(), true));
    EXPECT_EQ(second.GetViewHandle(), nullptr);
    EXPECT_THAT(EngineLog(), ElementsAre("wkeIsInitialize()"));
    EXPECT_EQ(GetPropA(window.get(), "wkeEThis"), static_cast<HANDLE>(&host));
}

TEST_F(HostBinding, NoViewFromTheEngineBindsNothing) {
    standinSetAnswer("wkeCreateWebView", "0");
    EXPECT_FALSE(host.BindWindow(window.get(), true));
    EXPECT_EQ(host.GetViewHandle(), nullptr);
    EXPECT_THAT(EngineLog(), ElementsAre("wkeIsInitialize()", "wkeCreateWebView()"));
    EXPECT_EQ(GetWindowLongPtrW(window.get(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(TestWindow::Procedure()));
    // Without a view nothing reaches the engine.
    host.Load("C:\\page.html");
    EXPECT_EQ(host.GetHostWindow(), nullptr);
    EXPECT_THAT(EngineLog(), ElementsAre("wkeIsInitialize()", "wkeCreateWebView()"));
}

TEST_F(HostBinding, UnbindRestoresTheWindowAndDestroysTheView) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    const std::string v = V();
    standinClearLog();
    host.UnbindWindow();

    EXPECT_EQ(GetWindowLongPtrW(window.get(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(TestWindow::Procedure()));
    EXPECT_EQ(GetPropA(window.get(), "wkeEThis"), nullptr);
    EXPECT_EQ(host.GetViewHandle(), nullptr);
    EXPECT_TRUE(GetWindowLongW(window.get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_THAT(EngineLogWithoutLookups(), ElementsAre("wkeOnPaintUpdated(" + v + ", 0, 0)",
                                                       "wkeSetUserKeyValue(" + v + ", \"kxOnPaintUpdate\", 0)",
                                                       "wkeSetHandle(" + v + ", 0)", "wkeDestroyWebView(" + v + ")"));
    const std::vector<std::string> log = EngineLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "wkeGetUserKeyValue(" + v + ", \"kxMaxRect\")");
    EXPECT_EQ(log[1], "wkeGetUserKeyValue(" + v + ", \"kxhWnd\")");
    EXPECT_EQ(log[2], "wkeGetUserKeyValue(" + v + ", \"kxOldPorc\")");

    // Unbinding again, and an object that never had a view, do nothing.
    standinClearLog();
    host.UnbindWindow();
    WebViewHost().UnbindWindow();
    EXPECT_TRUE(EngineLog().empty());
}

TEST_F(HostBinding, UnbindAfterTheWindowIsGoneStillDestroysTheView) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    const int views = standinViewCount();
    // Taken off the window first, so the window's destruction does not unbind the host itself.
    SetWindowLongPtrW(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TestWindow::Procedure()));
    window.Destroy();
    host.UnbindWindow();
    EXPECT_EQ(host.GetViewHandle(), nullptr);
    EXPECT_EQ(standinViewCount(), views - 1);
}

TEST_F(HostBinding, RebindsAfterUnbinding) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    host.UnbindWindow();
    ASSERT_TRUE(host.BindWindow(window.get(), false));
    EXPECT_EQ(GetPropA(window.get(), "wkeEThis"), static_cast<HANDLE>(&host));
}

TEST_F(HostBinding, LoadHandsTheEngineTheAddressInUtf16) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    standinClearLog();
    host.Load("C:\\\xD6\xD0\\index.html");  // 中 in code page 936
    host.Load(nullptr);
    EXPECT_THAT(EngineCalls("wkeLoadW"),
                ElementsAre("wkeLoadW(" + V() + ", L\"C:\\\xE4\xB8\xAD\\index.html\")", "wkeLoadW(" + V() + ", null)"));
}

TEST_F(HostBinding, CopyDrivesTheSameView) {
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    WebViewHost* copy = host.Copy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetViewHandle(), host.GetViewHandle());
    delete copy;
    EXPECT_NE(host.GetHostWindow(), nullptr);  // the copy's destructor left the view alone
}

TEST_F(HostBinding, HundredBindCyclesLeaveNoGdiObjectsOrViewsBehind) {
    const long objects = CountGdiObjects();
    const int views = standinViewCount();
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(host.BindWindow(window.get(), true));
        host.UnbindWindow();
    }
    EXPECT_EQ(CountGdiObjects(), objects);
    EXPECT_EQ(standinViewCount(), views);
}

TEST(FreshProcess, BindOnADestroyedWindowStartsTheEngineAndInstallsTheHook) {
    FRESH_PROCESS_ONLY();
    HWND gone;
    {
        TestWindow window;
        gone = window.get();
    }
    WebViewHost host;
    EXPECT_FALSE(host.BindWindow(gone, true));
    EXPECT_THAT(EngineLog(), ElementsAre("wkeIsInitialize()", "wkeInitialize()"));
    EXPECT_TRUE(wkeIsInitialize());

    // The hook is in place: binding a window now does not start the engine again, yet a Tab
    // key-down taken off the queue reaches the engine before PeekMessage returns.
    TestWindow window;
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    standinClearLog();
    PostMessageW(window.get(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, window.get(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(EngineCalls("wkeFireKeyDownEvent"),
              std::vector<std::string>{"wkeFireKeyDownEvent(" + Id(host.GetViewHandle()) + ", 9, 0, false)"});
    EXPECT_EQ(message.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(VK_TAB));
    EXPECT_TRUE(webview::WasDispatchedByTabHook(message));
    EXPECT_FALSE(webview::WasDispatchedByTabHook(message));
    host.UnbindWindow();
}

TEST(HostBindingFreshProcess, BindOnADestroyedWindowStartsTheEngineAndInstallsTheHook) {
    EXPECT_TRUE(PassesInFreshProcess("BindOnADestroyedWindowStartsTheEngineAndInstallsTheHook"));
}

TEST(TabHook, PassesOtherKeysAndUnremovedMessagesUntouched) {
    webview::EnsureEngineStarted();
    ASSERT_TRUE(webview::InstallTabHook());
    TestWindow window;
    WebViewHost host;
    ASSERT_TRUE(host.BindWindow(window.get(), true));
    PumpMessages();
    standinClearLog();
    MSG message;
    // Looked at without removal, a Tab is not dispatched.
    PostMessageW(window.get(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(PeekMessageW(&message, window.get(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    EXPECT_TRUE(EngineCalls("wkeFireKeyDownEvent").empty());
    ASSERT_TRUE(PeekMessageW(&message, window.get(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(EngineCalls("wkeFireKeyDownEvent").size(), 1u);
    EXPECT_TRUE(webview::WasDispatchedByTabHook(message));
    // Another key is left to the message loop.
    standinClearLog();
    PostMessageW(window.get(), WM_KEYDOWN, 'A', 1);
    ASSERT_TRUE(PeekMessageW(&message, window.get(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_TRUE(EngineCalls("wkeFireKeyDownEvent").empty());
    EXPECT_FALSE(webview::WasDispatchedByTabHook(message));
    host.UnbindWindow();
}

}  // namespace
