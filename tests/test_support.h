// What the host tests share: real windows of the test's own class that record what reaches
// them, the engine log, and counting the process's GDI objects.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/gdi_count.h"
#include "tests/standin_client.h"

// A number as the stand-in engine writes handles and pointers in its log.
template <typename T>
std::string Id(T* pointer) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(pointer));
}

// The log without the host's key look-ups, which come with every message.
std::vector<std::string> EngineLogWithoutLookups();

// A message as the window's own procedure received it, and how long the engine log was then.
struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int engineLogSize;
};

// A visible popup window whose client area is its whole rectangle. Its procedure records every
// message and answers DefWindowProcW, or a value the test chose for that message.
class TestWindow {
public:
    explicit TestWindow(int x = 100, int y = 100, int width = 300, int height = 200, DWORD exStyle = 0,
                        DWORD style = WS_POPUP | WS_VISIBLE);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }
    void Destroy();

    std::vector<Received> received;
    std::map<UINT, LRESULT> answers;
    bool Got(UINT message) const;

    static WNDPROC Procedure();

private:
    HWND window_ = nullptr;
};

// Handles what is queued for this thread, for at most `ms` milliseconds.
void PumpMessages(DWORD ms = 0);
