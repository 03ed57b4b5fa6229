// The host window procedure: what each message hands the engine, what reaches the window's own
// procedure, and what the sender gets back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"
#include "webview/internal.h"
#include "webview/webview_host.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 100;

class HostWindowProc : public ::testing::Test {
protected:
    void SetUp() override {
        webview::EnsureEngineStarted();
        standinClearAnswers();
        ASSERT_TRUE(host.BindWindow(window.get(), false));
        PumpMessages();
        Clear();
    }
    void TearDown() override {
        host.UnbindWindow();
        standinClearAnswers();
    }
    void Clear() {
        standinClearLog();
        window.received.clear();
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageW(window.get(), message, wParam, lParam);
    }
    std::string V() { return Id(host.GetViewHandle()); }

    TestWindow window{kLeft, kTop, 300, 200};
    WebViewHost host;
};

struct InputCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* engineFunction;
    const char* engineArguments;  // after the view
};

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

const InputCase kInputCases[] = {
    {"key down, first press", WM_KEYDOWN, 'A', 0x001E0001, "wkeFireKeyDownEvent", "65, 0, false"},
    {"key down, held and extended", WM_KEYDOWN, VK_RIGHT, 0x414D0001, "wkeFireKeyDownEvent", "39, 16640, false"},
    {"key up", WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001), "wkeFireKeyUpEvent", "65, 16384, false"},
    {"character", WM_CHAR, 0x4E2D, 0x00000001, "wkeFireKeyPressEvent", "20013, 0, false"},
    {"move with Ctrl, Shift and the left button", WM_MOUSEMOVE, MK_CONTROL | MK_SHIFT | MK_LBUTTON, Point(10, 20),
     "wkeFireMouseEvent", "512, 10, 20, 13"},
    {"move left of the window", WM_MOUSEMOVE, 0, Point(-20, 30), "wkeFireMouseEvent", "512, -20, 30, 0"},
    {"all five mouse flags and others", WM_MOUSEMOVE, 0xFFFF, Point(1, 2), "wkeFireMouseEvent", "512, 1, 2, 31"},
    {"left double-click", WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, 6), "wkeFireMouseEvent", "515, 5, 6, 1"},
    {"middle double-click", WM_MBUTTONDBLCLK, MK_MBUTTON, Point(5, 6), "wkeFireMouseEvent", "521, 5, 6, 16"},
    {"right double-click", WM_RBUTTONDBLCLK, MK_RBUTTON, Point(5, 6), "wkeFireMouseEvent", "518, 5, 6, 2"},
    {"context menu from the keyboard", WM_CONTEXTMENU, 0, -1, "wkeFireContextMenuEvent", "-1, -1, 0"},
    {"context menu at a screen point", WM_CONTEXTMENU, 0, Point(kLeft + 50, kTop + 30), "wkeFireContextMenuEvent",
     "50, 30, 0"},
    {"wheel down at a screen point", WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)),
     Point(kLeft + 60, kTop + 40), "wkeFireMouseWheelEvent", "60, 40, -120, 4"},
};

class HostInput : public HostWindowProc, public ::testing::WithParamInterface<std::tuple<InputCase, bool>> {};

// Handled by the engine: swallowed with 0. Not handled: passed on unchanged.
TEST_P(HostInput, ReachesTheEngineAndIsSwallowedOnlyWhenHandled) {
    const auto& [input, handled] = GetParam();
    standinSetAnswer(input.engineFunction, handled ? "1" : "0");
    window.answers[input.message] = 77;
    const LRESULT result = Send(input.message, input.wParam, input.lParam);

    EXPECT_THAT(EngineCalls(input.engineFunction),
                ElementsAre(std::string(input.engineFunction) + "(" + V() + ", " + input.engineArguments + ")"));
    EXPECT_EQ(result, handled ? 0 : 77);
    bool passedOnUnchanged = false;
    for (const Received& r : window.received)
        if (r.message == input.message && r.wParam == input.wParam && r.lParam == input.lParam)
            passedOnUnchanged = true;
    EXPECT_EQ(passedOnUnchanged, !handled);
}

INSTANTIATE_TEST_SUITE_P(Messages, HostInput, ::testing::Combine(::testing::ValuesIn(kInputCases), ::testing::Bool()),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param).name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name + (std::get<1>(info.param) ? "_handled" : "_not_handled");
                         });

TEST_F(HostWindowProc, PressTakesFocusAndCaptureReleaseGivesCaptureBack) {
    SetFocus(nullptr);
    Clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 4));
    EXPECT_THAT(EngineLogWithoutLookups(),
                ElementsAre("wkeSetFocus(" + V() + ")", "wkeFireMouseEvent(" + V() + ", 513, 3, 4, 1)"));
    EXPECT_EQ(GetCapture(), window.get());
    EXPECT_EQ(GetFocus(), window.get());

    Clear();
    Send(WM_LBUTTONUP, 0, Point(3, 4));
    EXPECT_THAT(EngineLogWithoutLookups(), ElementsAre("wkeFireMouseEvent(" + V() + ", 514, 3, 4, 0)"));
    EXPECT_EQ(GetCapture(), nullptr);

    // With the focus already here only the capture is taken; a release of another button
    // releases it too.
    Clear();
    Send(WM_RBUTTONDOWN, MK_RBUTTON, Point(7, 8));
    EXPECT_THAT(EngineLogWithoutLookups(), ElementsAre("wkeFireMouseEvent(" + V() + ", 516, 7, 8, 2)"));
    EXPECT_EQ(GetCapture(), window.get());
    Send(WM_MBUTTONUP, 0, Point(7, 8));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HostWindowProc, DoubleClickTakesNeitherFocusNorCapture) {
    SetFocus(nullptr);
    Clear();
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(3, 4));
    EXPECT_THAT(EngineLogWithoutLookups(), ElementsAre("wkeFireMouseEvent(" + V() + ", 515, 3, 4, 1)"));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NE(GetFocus(), window.get());
}

TEST_F(HostWindowProc, FocusChangesAreSwallowed) {
    EXPECT_EQ(Send(WM_SETFOCUS, 0, 0), 0);
    EXPECT_EQ(Send(WM_KILLFOCUS, 0, 0), 0);
    EXPECT_THAT(EngineLogWithoutLookups(), ElementsAre("wkeSetFocus(" + V() + ")", "wkeKillFocus(" + V() + ")"));
    EXPECT_FALSE(window.Got(WM_SETFOCUS));
    EXPECT_FALSE(window.Got(WM_KILLFOCUS));
}

TEST_F(HostWindowProc, EraseBackgroundAnswersOneAndStopsHere) {
    EXPECT_EQ(Send(WM_ERASEBKGND, 0, 0), 1);
    EXPECT_FALSE(window.Got(WM_ERASEBKGND));
    EXPECT_TRUE(EngineLogWithoutLookups().empty());
}

TEST_F(HostWindowProc, SizeResizesTheViewAndGoesOn) {
    window.answers[WM_SIZE] = 5;
    EXPECT_EQ(Send(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0)), 5);
    EXPECT_EQ(Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80)), 5);
    EXPECT_THAT(EngineLogWithoutLookups(),
                ElementsAre("wkeResize(" + V() + ", 0, 0)", "wkeRepaintIfNeeded(" + V() + ")",
                            "wkeResize(" + V() + ", 120, 80)", "wkeRepaintIfNeeded(" + V() + ")"));
    EXPECT_TRUE(window.Got(WM_SIZE));
}

TEST_F(HostWindowProc, SetCursorAsksTheEngineWithoutThePosition) {
    for (const char* handled : {"1", "0"}) {
        Clear();
        standinSetAnswer("wkeFireWindowsMessage", handled);
        window.answers[WM_SETCURSOR] = 9;
        const LRESULT result =
            Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window.get()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const std::vector<std::string> calls = EngineCalls("wkeFireWindowsMessage");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].rfind("wkeFireWindowsMessage(" + V() + ", " + Id(window.get()) + ", 32, 0, 0, ", 0), 0u)
            << calls[0];
        EXPECT_EQ(result, handled[0] == '1' ? 0 : 9);
        EXPECT_EQ(window.Got(WM_SETCURSOR), handled[0] == '0');
    }
}

TEST_F(HostWindowProc, OtherMessagesGoOnUnchangedAfterOneKeyLookup) {
    window.answers[WM_USER + 5] = 1234;
    EXPECT_EQ(Send(WM_USER + 5, 11, 22), 1234);
    EXPECT_THAT(EngineLog(), ElementsAre("wkeGetUserKeyValue(" + V() + ", \"kxOldPorc\")"));
}

// With the frame behaviours off (the default), hit tests and size queries cost a second look-up
// and reach the window's own procedure untouched.
TEST_F(HostWindowProc, HitTestAndSizeQueryGoOnWhileTheFrameBehavioursAreOff) {
    window.answers[WM_NCHITTEST] = HTCAPTION;
    EXPECT_EQ(Send(WM_NCHITTEST, 0, Point(kLeft + 2, kTop + 2)), HTCAPTION);
    MINMAXINFO info{};
    info.ptMaxSize = {1, 2};
    Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxSize.x, 1);
    EXPECT_EQ(info.ptMaxSize.y, 2);
    EXPECT_TRUE(window.Got(WM_NCHITTEST));
    EXPECT_TRUE(window.Got(WM_GETMINMAXINFO));
    EXPECT_THAT(EngineLog(), ElementsAre("wkeGetUserKeyValue(" + V() + ", \"kxOldPorc\")",
                                         "wkeGetUserKeyValue(" + V() + ", \"kxIsZoom\")",
                                         "wkeGetUserKeyValue(" + V() + ", \"kxOldPorc\")",
                                         "wkeGetUserKeyValue(" + V() + ", \"kxMaxRect\")"));
}

TEST_F(HostWindowProc, DestroyReachesTheWindowFirstThenUnbinds) {
    window.answers[WM_DESTROY] = 4321;
    const std::string v = V();
    EXPECT_EQ(Send(WM_DESTROY, 0, 0), 4321);
    ASSERT_TRUE(window.Got(WM_DESTROY));
    int destroyAt = -1;
    for (const Received& r : window.received)
        if (r.message == WM_DESTROY) destroyAt = r.engineLogSize;
    const std::vector<std::string> log = EngineLog();
    ASSERT_EQ(log.back(), "wkeDestroyWebView(" + v + ")");
    for (int i = 0; i < destroyAt; ++i) EXPECT_EQ(log[i].find("wkeDestroyWebView"), std::string::npos);
    EXPECT_EQ(host.GetViewHandle(), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window.get(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(TestWindow::Procedure()));
}

TEST(HostWndProcWithoutHost, AnswersAsTheDefaultProcedure) {
    TestWindow window;
    SetWindowTextW(window.get(), L"abc");
    SetWindowLongPtrW(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(webview::HostWndProc));
    EXPECT_EQ(SendMessageW(window.get(), WM_GETTEXTLENGTH, 0, 0), 3);
    SetWindowLongPtrW(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TestWindow::Procedure()));
}

}  // namespace
