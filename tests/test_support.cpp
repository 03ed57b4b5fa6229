#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"QuilloraTestWindow";

// The tests fire every frame themselves: the stand-in's own preview frames stay off.
class PreviewOff : public ::testing::Environment {
public:
    void SetUp() override { standinSetPreview(false); }
};
[[maybe_unused]] ::testing::Environment* const g_previewOff = ::testing::AddGlobalTestEnvironment(new PreviewOff);

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<TestWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self) {
        self->received.push_back({message, wParam, lParam, standinLogSize()});
        auto answer = self->answers.find(message);
        if (answer != self->answers.end()) return answer->second;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ATOM RegisterTestClass() {
    static ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassW(&windowClass);
    }();
    return atom;
}

}  // namespace

std::vector<std::string> EngineLogWithoutLookups() {
    std::vector<std::string> log;
    for (const std::string& entry : EngineLog())
        if (entry.rfind("wkeGetUserKeyValue(", 0) != 0) log.push_back(entry);
    return log;
}

TestWindow::TestWindow(int x, int y, int width, int height, DWORD exStyle, DWORD style) {
    RegisterTestClass();
    window_ = CreateWindowExW(exStyle, kClassName, L"test", style, x, y, width, height, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
}

bool TestWindow::Got(UINT message) const {
    for (const Received& r : received)
        if (r.message == message) return true;
    return false;
}

WNDPROC TestWindow::Procedure() { return RecordingProcedure; }

void PumpMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (ms) Sleep(10);
    } while (GetTickCount() - start < ms);
}
