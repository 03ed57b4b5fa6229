// Resize borders and the maximized rectangle, through real hit tests and size queries.
#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "webview/internal.h"
#include "webview/webview_host.h"

namespace {

constexpr int kLeft = 200;
constexpr int kTop = 150;

class FrameBehaviours : public ::testing::Test {
protected:
    void SetUp() override {
        webview::EnsureEngineStarted();
        ASSERT_TRUE(host.BindWindow(window.get(), false));
        PumpMessages();
        window.received.clear();
    }
    void TearDown() override { host.UnbindWindow(); }

    LRESULT HitTest(int x, int y) {
        return SendMessageW(window.get(), WM_NCHITTEST, 0, MAKELPARAM(kLeft + x, kTop + y));
    }

    TestWindow window{kLeft, kTop, 300, 200, 0, WS_POPUP | WS_VISIBLE | WS_MAXIMIZEBOX};
    WebViewHost host;
};

struct HitCase {
    int x;
    int y;
    LRESULT code;
};

TEST_F(FrameBehaviours, BordersGiveTheSizingCodesOfTheirAreas) {
    host.SetResizable(true);
    window.answers[WM_NCHITTEST] = HTNOWHERE;
    const HitCase cases[] = {
        {4, 4, HTTOPLEFT},      {150, 2, HTTOP},           {296, 3, HTTOPRIGHT},      {2, 100, HTLEFT},
        {297, 100, HTRIGHT},    {297, 192, HTBOTTOMRIGHT}, {292, 198, HTBOTTOMRIGHT}, {150, 198, HTBOTTOM},
        {2, 197, HTBOTTOMLEFT}, {150, 100, HTCLIENT},      {297, 189, HTRIGHT},       {289, 198, HTBOTTOM},
        {5, 5, HTCLIENT},       {0, 0, HTTOPLEFT},         {299, 199, HTBOTTOMRIGHT},
    };
    for (const HitCase& c : cases) EXPECT_EQ(HitTest(c.x, c.y), c.code) << "at " << c.x << ", " << c.y;
    EXPECT_FALSE(window.Got(WM_NCHITTEST));
}

TEST_F(FrameBehaviours, MaximizedWindowIsClientEverywhere) {
    host.SetResizable(true);
    ShowWindow(window.get(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(window.get()));
    EXPECT_EQ(host.HitTestBorders(window.get(), MAKELPARAM(0, 0)), HTCLIENT);
    EXPECT_EQ(host.HitTestBorders(window.get(), MAKELPARAM(2, 100)), HTCLIENT);
    ShowWindow(window.get(), SW_RESTORE);
}

TEST_F(FrameBehaviours, BordersOffAgainLeaveHitTestsToTheWindow) {
    host.SetResizable(true);
    host.SetResizable(false);
    window.answers[WM_NCHITTEST] = HTNOWHERE;
    EXPECT_EQ(HitTest(2, 100), HTNOWHERE);
    EXPECT_TRUE(window.Got(WM_NCHITTEST));
}

TEST_F(FrameBehaviours, MaxRectAnswersTheSizeQuery) {
    host.SetMaxRect(10, 20, 800, 600);
    MINMAXINFO info{};
    info.ptMinTrackSize = {11, 12};
    info.ptMaxTrackSize = {13, 14};
    EXPECT_EQ(SendMessageW(window.get(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMaxPosition.x, 10);
    EXPECT_EQ(info.ptMaxPosition.y, 20);
    EXPECT_EQ(info.ptMaxSize.x, 800);
    EXPECT_EQ(info.ptMaxSize.y, 600);
    EXPECT_EQ(info.ptMinTrackSize.x, 11);
    EXPECT_EQ(info.ptMaxTrackSize.y, 14);
    EXPECT_FALSE(window.Got(WM_GETMINMAXINFO));

    // A second rectangle reuses the block.
    void* block = wkeGetUserKeyValue(host.GetViewHandle(), "kxMaxRect");
    host.SetMaxRect(0, 0, 100, 50);
    EXPECT_EQ(wkeGetUserKeyValue(host.GetViewHandle(), "kxMaxRect"), block);
    const RECT* stored = static_cast<const RECT*>(block);
    EXPECT_EQ(stored->right, 100);
    EXPECT_EQ(stored->bottom, 50);
}

TEST_F(FrameBehaviours, MaximizingUsesTheRectangle) {
    host.SetMaxRect(30, 40, 640, 480);
    ShowWindow(window.get(), SW_MAXIMIZE);
    RECT rect{};
    GetWindowRect(window.get(), &rect);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 480);
    ShowWindow(window.get(), SW_RESTORE);
}

TEST_F(FrameBehaviours, WithoutARectangleTheQueryIsUntouched) {
    MINMAXINFO info{};
    info.ptMaxSize = {1, 2};
    EXPECT_TRUE(host.ApplyMaxRect(window.get(), &info));
    EXPECT_EQ(info.ptMaxSize.x, 1);
    EXPECT_EQ(info.ptMaxSize.y, 2);
}

TEST(FrameBehavioursWithoutView, ChangeNothing) {
    WebViewHost host;
    standinClearLog();
    host.SetMaxRect(1, 2, 3, 4);
    host.SetResizable(true);
    MINMAXINFO info{};
    EXPECT_TRUE(host.ApplyMaxRect(nullptr, &info));
    EXPECT_TRUE(EngineLog().empty());
}

}  // namespace
