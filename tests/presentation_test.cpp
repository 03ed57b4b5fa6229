// Frames from the engine reach the screen: pushed to a layered window, or invalidated and then
// painted from the view by WM_PAINT. The stand-in engine calls PresentFrame through the thunk.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/test_support.h"
#include "webview/handles.h"
#include "webview/internal.h"
#include "webview/webview_host.h"

using ::testing::ElementsAre;

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 100;
constexpr std::uint32_t kOpaqueRed = 0xFFFF0000;
constexpr std::uint32_t kOpaqueBlue = 0xFF0000FF;
constexpr std::uint32_t kTransparent = 0x00000000;

void Fill(wkeWebView view, int width, int height, std::uint32_t (*colourAt)(int x, int y)) {
    auto* pixels = static_cast<std::uint32_t*>(standinViewBits(view));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * width + x] = colourAt(x, y);
}

COLORREF PixelOf(HWND window, int x, int y) {
    WindowDC dc(window);
    return GetPixel(dc.get(), x, y);
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A 24-bit DIB section: UpdateLayeredWindow refuses per-pixel alpha from it.
class ThreeByteImage {
public:
    ThreeByteImage(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc_.reset(CreateCompatibleDC(nullptr));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
    }
    ~ThreeByteImage() { SelectObject(dc_.get(), previous_); }
    HDC dc() const { return dc_.get(); }

private:
    GdiObject bitmap_;
    MemoryDC dc_;
    HGDIOBJ previous_ = nullptr;
};

class Presentation : public ::testing::Test {
protected:
    void Bind(bool transparent) {
        webview::EnsureEngineStarted();
        ASSERT_TRUE(host.BindWindow(window.get(), transparent));
        view = host.GetViewHandle();
        PumpMessages();
    }
    void TearDown() override { host.UnbindWindow(); }

    void PaintFrameWith(HDC dc, int x, int y, int cx, int cy) {
        const std::uint32_t extra[] = {static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(dc)),
                                       static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                                       static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy)};
        standinFire(view, "wkeOnPaintUpdated", extra, 5);
    }

    TestWindow window{kLeft, kTop, 300, 200};
    WebViewHost host;
    wkeWebView view = nullptr;
};

TEST_F(Presentation, LayeredWindowGetsTheWholeImageAtItsOwnPosition) {
    Bind(true);
    wkeResize(view, 320, 240);  // the engine's image no longer matches the window
    Fill(view, 320, 240, [](int x, int) { return x < 160 ? kOpaqueRed : kTransparent; });
    ASSERT_TRUE(standinPaintFrame(view, 5, 5, 10, 10));  // a small update still pushes everything
    PumpMessages(100);

    const RECT rect = WindowRect(window.get());
    EXPECT_EQ(rect.left, kLeft);
    EXPECT_EQ(rect.top, kTop);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.bottom - rect.top, 240);
    WindowDC screen(nullptr);
    EXPECT_EQ(GetPixel(screen.get(), kLeft + 150, kTop + 230), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(screen.get(), kLeft + 10, kTop + 10), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(screen.get(), kLeft + 170, kTop + 10), RGB(255, 0, 0));
}

TEST_F(Presentation, WindowThatIsNotLayeredOnlyGetsTheRectangleInvalidated) {
    Bind(false);
    ValidateRect(window.get(), nullptr);
    const RECT before = WindowRect(window.get());
    ASSERT_TRUE(standinPaintFrame(view, 10, 20, 30, 40));
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(window.get(), &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.top, 20);
    EXPECT_EQ(update.right, 40);
    EXPECT_EQ(update.bottom, 60);
    const RECT after = WindowRect(window.get());
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(Presentation, PathFollowsTheStyleFrameByFrame) {
    Bind(true);
    SetWindowLongW(window.get(), GWL_EXSTYLE, GetWindowLongW(window.get(), GWL_EXSTYLE) & ~WS_EX_LAYERED);
    PumpMessages();
    ValidateRect(window.get(), nullptr);
    standinPaintFrame(view, 1, 2, 3, 4);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(window.get(), &update, FALSE));

    SetWindowLongW(window.get(), GWL_EXSTYLE, GetWindowLongW(window.get(), GWL_EXSTYLE) | WS_EX_LAYERED);
    wkeResize(view, 250, 150);
    standinPaintFrame(view, 0, 0, 1, 1);
    const RECT rect = WindowRect(window.get());
    EXPECT_EQ(rect.right - rect.left, 250);
    EXPECT_EQ(rect.bottom - rect.top, 150);
}

TEST_F(Presentation, RefusedImageGoesThroughAMemoryDC) {
    Bind(true);
    ThreeByteImage image(180, 90);
    PaintFrameWith(image.dc(), 0, 0, 10, 10);
    // Only the second UpdateLayeredWindow, from the compatible bitmap, can have sized the window.
    const RECT rect = WindowRect(window.get());
    EXPECT_EQ(rect.left, kLeft);
    EXPECT_EQ(rect.right - rect.left, 180);
    EXPECT_EQ(rect.bottom - rect.top, 90);
}

TEST_F(Presentation, ThousandFramesOnEachPathLeaveNoGdiObjects) {
    Bind(true);
    ThreeByteImage image(64, 64);
    wkeResize(view, 64, 64);
    PumpMessages();
    const long objects = CountGdiObjects();
    for (int i = 0; i < 1000; ++i) standinPaintFrame(view, 0, 0, 64, 64);
    EXPECT_EQ(CountGdiObjects(), objects) << "layered path";
    for (int i = 0; i < 1000; ++i) PaintFrameWith(image.dc(), 0, 0, 64, 64);
    EXPECT_EQ(CountGdiObjects(), objects) << "fallback path";
    SetWindowLongW(window.get(), GWL_EXSTYLE, GetWindowLongW(window.get(), GWL_EXSTYLE) & ~WS_EX_LAYERED);
    for (int i = 0; i < 1000; ++i) standinPaintFrame(view, 0, 0, 64, 64);
    PumpMessages();
    EXPECT_EQ(CountGdiObjects(), objects) << "invalidating path";
}

TEST(GdiObjectCount, SeesObjectsComeAndGo) {
    const long before = CountGdiObjects();
    HBITMAP bitmaps[5];
    for (HBITMAP& bitmap : bitmaps) bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(CountGdiObjects(), before + 5);
    for (HBITMAP bitmap : bitmaps) DeleteObject(bitmap);
    EXPECT_EQ(CountGdiObjects(), before);
}

class Painting : public Presentation {
protected:
    void SetUp() override {
        Bind(false);
        Fill(view, 300, 200, [](int, int) { return kOpaqueBlue; });
        InvalidateRect(window.get(), nullptr, TRUE);
        UpdateWindow(window.get());
        standinClearLog();
    }
};

TEST_F(Painting, CopiesTheUpdatedPartOfTheView) {
    ASSERT_EQ(PixelOf(window.get(), 200, 150), RGB(0, 0, 255));
    Fill(view, 300, 200, [](int, int) { return kOpaqueRed; });
    const RECT part{50, 40, 150, 120};
    InvalidateRect(window.get(), &part, TRUE);
    UpdateWindow(window.get());
    EXPECT_EQ(PixelOf(window.get(), 50, 40), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(window.get(), 149, 119), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(window.get(), 150, 119), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(window.get(), 49, 40), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(window.get(), 200, 150), RGB(0, 0, 255));
    EXPECT_THAT(EngineLogWithoutLookups(),
                ElementsAre("wkeRepaintIfNeeded(" + Id(view) + ")", "wkeGetViewDC(" + Id(view) + ")"));
}

// With nothing invalid, BeginPaint reports an empty rectangle and clips its DC to nothing, so no
// pixel can show the copy: the engine's log shows that the view was fetched for one.
TEST_F(Painting, EmptyUpdateRectangleStillCopies) {
    EXPECT_EQ(SendMessageW(window.get(), WM_PAINT, 0, 0), 0);
    EXPECT_THAT(EngineLogWithoutLookups(),
                ElementsAre("wkeRepaintIfNeeded(" + Id(view) + ")", "wkeGetViewDC(" + Id(view) + ")"));
    EXPECT_FALSE(window.Got(WM_PAINT));
}

}  // namespace
