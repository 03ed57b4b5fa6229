// Quillora's benchmarks: each figure is a ratio of two costs measured side by side in this run,
// with the absolute times beside it. Runs under Wine like the tests, and on Windows.
//   bench            frame, GDI objects, message, thunk and idle figures
//   bench startup    process start to the first frame on screen, against a minimal program
//   bench minimal    the minimal program itself: a layered window that pushes one frame
//   bench soak <frames> <cycles>
//                    frames through the real path and bind/unbind cycles, with GDI objects and
//                    private bytes sampled along the way; fails when they grow
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "shell/main_window.h"
#include "shell/process.h"
#include "tests/gdi_count.h"
#include "tests/standin_client.h"
#include "webview/handles.h"
#include "webview/internal.h"
#include "webview/webview_host.h"

namespace {

constexpr int kWidth = 1115;
constexpr int kHeight = 721;
constexpr COLORREF kFaceColour = RGB(250, 245, 232);
constexpr std::uint32_t kFacePixel = 0xFFFAF5E8;  // the same colour, opaque BGRA

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figure {
    double median;  // seconds per operation
    double low;
    double high;
};

// `rounds` measurements of `count` operations each: the median and the spread per operation.
Figure Measure(int rounds, int count, const std::function<void()>& operation) {
    std::vector<double> perOperation;
    for (int round = 0; round < rounds; ++round) {
        const double start = Now();
        for (int i = 0; i < count; ++i) operation();
        perOperation.push_back((Now() - start) / count);
    }
    std::sort(perOperation.begin(), perOperation.end());
    return {perOperation[perOperation.size() / 2], perOperation.front(), perOperation.back()};
}

std::string Time(double seconds) {
    char text[64];
    if (seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else if (seconds >= 1e-6)
        std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
    else
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    return text;
}

void Row(const char* what, const Figure& measured, const Figure& against, const char* goal) {
    std::printf("| %-44s | %10s (%s .. %s) | %10s | %5.2fx | %s |\n", what, Time(measured.median).c_str(),
                Time(measured.low).c_str(), Time(measured.high).c_str(), Time(against.median).c_str(),
                measured.median / against.median, goal);
}

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePlainWindow(int width, int height, DWORD exStyle) {
    static ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PlainProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuilloraBench";
        return RegisterClassW(&windowClass);
    }();
    (void)atom;
    return CreateWindowExW(exStyle, L"QuilloraBench", L"bench", WS_POPUP | WS_VISIBLE, 100, 100, width, height, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

void FillView(wkeWebView view, int width, int height) {
    auto* pixels = static_cast<std::uint32_t*>(standinViewBits(view));
    for (int i = 0; i < width * height; ++i) pixels[i] = (i % width) < width / 2 ? kFacePixel : 0x80402010;
}

void Frames() {
    HWND window = CreatePlainWindow(kWidth, kHeight, 0);
    WebViewHost host;
    host.BindWindow(window, true);
    wkeWebView view = host.GetViewHandle();
    FillView(view, kWidth, kHeight);
    HDC viewDC = wkeGetViewDC(view);
    Pump();

    const Figure hosted = Measure(9, 10, [&] { standinPaintFrame(view, 0, 0, kWidth, kHeight); });
    const Figure bare = Measure(9, 10, [&] {
        WindowDC windowDC(window);
        SIZE size{kWidth, kHeight};
        POINT source{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, windowDC.get(), nullptr, &size, viewDC, &source, 0, &blend, ULW_ALPHA);
    });
    std::vector<std::uint8_t> from(static_cast<std::size_t>(kWidth) * kHeight * 4, 1), to(from.size());
    const Figure copy = Measure(9, 10, [&] { std::memcpy(to.data(), from.data(), from.size()); });

    // The fallback: an image UpdateLayeredWindow refuses, so the frame goes through a memory DC.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject refused(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC refusedDC(CreateCompatibleDC(nullptr));
    SelectedObject selected(refusedDC.get(), refused.get());
    const std::uint32_t extra[] = {static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(refusedDC.get())), 0, 0,
                                   kWidth, kHeight};
    const Figure fallback = Measure(5, 5, [&] { standinFire(view, "wkeOnPaintUpdated", extra, 5); });
    const Figure usual = Measure(5, 5, [&] { standinPaintFrame(view, 0, 0, kWidth, kHeight); });

    std::printf("| %-44s | %-33s | %10s | %6s | %s |\n", "measured", "median (spread) per operation", "against",
                "ratio", "goal");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(35, '-').c_str(),
                std::string(12, '-').c_str(), std::string(8, '-').c_str(), std::string(18, '-').c_str());
    Row("frame: PresentFrame via thunk vs bare ULW", hosted, bare, "<= 1.05x");
    Row("frame: bare ULW vs memcpy of one frame", bare, copy, "floor");
    Row("frame: fallback path vs usual path", fallback, usual, "report");
    host.UnbindWindow();
    DestroyWindow(window);
}

void GdiObjectsPerFrame() {
    HWND window = CreatePlainWindow(64, 64, 0);
    WebViewHost host;
    host.BindWindow(window, true);
    wkeWebView view = host.GetViewHandle();
    FillView(view, 64, 64);
    standinPaintFrame(view, 0, 0, 64, 64);
    constexpr int kFrames = 10000;
    const long before = CountGdiObjects();
    for (int i = 0; i < kFrames; ++i) standinPaintFrame(view, 0, 0, 64, 64);
    const long after = CountGdiObjects();
    std::printf("| %-44s | %33ld | %10d | %6s | %s |\n", "GDI objects left after 10,000 usual frames", after - before,
                kFrames, "", "0");
    host.UnbindWindow();
    DestroyWindow(window);
}

volatile std::uint32_t g_sink;
WNDPROC g_plainPrevious = nullptr;
LRESULT CALLBACK PassThrough(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(g_plainPrevious, window, message, wParam, lParam);
}

void Messages() {
    HWND hosted = CreatePlainWindow(300, 200, 0);
    WebViewHost host;
    host.BindWindow(hosted, false);
    HWND plain = CreatePlainWindow(300, 200, 0);
    g_plainPrevious =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(plain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PassThrough)));
    Pump();
    // The stand-in's call log would be measured too: it is paused, leaving its key store.
    standinSetLogging(false);
    constexpr int kCount = 20000;
    const Figure throughHost = Measure(7, kCount, [&] { SendMessageW(hosted, WM_USER, 1, 2); });
    const Figure throughPlain = Measure(7, kCount, [&] { SendMessageW(plain, WM_USER, 1, 2); });
    Row("message passed on: host vs bare subclass", throughHost, throughPlain, "<= 1.5x");
    const Figure mouse = Measure(7, 2000, [&] { SendMessageW(hosted, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)); });
    // What the host itself adds: the window property and the engine's key look-up per message.
    const Figure property = Measure(7, kCount, [&] { g_sink = GetPropA(hosted, "wkeEThis") != nullptr; });
    const Figure lookup =
        Measure(7, kCount, [&] { g_sink = wkeGetUserKeyValue(host.GetViewHandle(), "kxOldPorc") != nullptr; });
    standinSetLogging(true);
    Row("WM_MOUSEMOVE to the engine vs bare subclass", mouse, throughPlain, "report");
    Row("  of which GetPropA (a wineserver call here)", property, throughPlain, "");
    Row("  of which the stand-in's key look-up", lookup, throughPlain, "");
    std::printf("| %-44s | %33.0f | %10s | %6s | %s |\n", "  messages per second passed on by the host",
                1.0 / throughHost.median, "", "", "");
    host.UnbindWindow();
    DestroyWindow(hosted);
    DestroyWindow(plain);
}

std::uint32_t __stdcall Routine(std::uint32_t a, std::uint32_t b, std::uint32_t c) { return a + b + c; }

void Thunks() {
    using Cdecl = std::uint32_t(__cdecl*)(std::uint32_t, std::uint32_t, std::uint32_t);
    using Stdcall = std::uint32_t(__stdcall*)(std::uint32_t, std::uint32_t, std::uint32_t);
    auto thunk = reinterpret_cast<Cdecl>(webview::MakeCallbackThunk(reinterpret_cast<const void*>(Routine), 3));
    volatile Stdcall direct = Routine;
    constexpr int kCount = 1000000;
    const Figure throughThunk = Measure(7, kCount, [&] { g_sink = thunk(1, 2, 3); });
    const Figure straight = Measure(7, kCount, [&] { g_sink = direct(1, 2, 3); });
    Row("call through a thunk vs direct __stdcall call", throughThunk, straight, "report");
    webview::FreeCallbackThunk(reinterpret_cast<wkeCallback>(thunk));
}

DWORD WINAPI StopAfter(void* thread) {
    ::Sleep(12000);
    PostThreadMessageW(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(thread)), WM_QUIT, 0, 0);
    return 0;
}

unsigned long g_takenAtStart = 0;
unsigned long g_takenAtEnd = 0;

DWORD WINAPI CountIdle(void*) {
    ::Sleep(2000);
    g_takenAtStart = shell::MessagesTaken();
    ::Sleep(10000);
    g_takenAtEnd = shell::MessagesTaken();
    return 0;
}

// The program's own window and message loop, with an engine that produces no frames.
void Idle() {
    shell::StartProcess(GetModuleHandleW(nullptr));
    shell::CreateHost();
    shell::LoadMainWindow(GetModuleHandleW(nullptr));
    const auto thread = reinterpret_cast<void*>(static_cast<std::uintptr_t>(GetCurrentThreadId()));
    CloseHandle(CreateThread(nullptr, 0, StopAfter, thread, 0, nullptr));
    HANDLE counter = CreateThread(nullptr, 0, CountIdle, nullptr, 0, nullptr);
    shell::RunMessageLoop();
    WaitForSingleObject(counter, INFINITE);
    CloseHandle(counter);
    std::printf("| %-44s | %33.1f | %10s | %6s | %s |\n", "idle wake-ups per second (no frames, 10 s)",
                (g_takenAtEnd - g_takenAtStart) / 10.0, "", "", "0");
    shell::DestroyMainWindow();
}

// Process start to the first frame on the screen: the face colour at the window's centre.
double StartUntilFacePixel(const std::wstring& commandLine, int x, int y) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    WindowDC screen(nullptr);
    const double start = Now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    double seen = -1;
    while (Now() - start < 60) {
        if (GetPixel(screen.get(), x, y) == kFaceColour) {
            seen = Now() - start;
            break;
        }
        ::Sleep(5);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    ::Sleep(500);
    return seen;
}

void Startup() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring directory(self);
    directory.resize(directory.find_last_of(L'\\') + 1);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2 + 557 + 276;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2 + 360 + 14;
    std::vector<double> program, minimal;
    for (int round = 0; round < 5; ++round) {
        program.push_back(StartUntilFacePixel(L"\"" + directory + L"Quillora.exe\"", x, y));
        minimal.push_back(StartUntilFacePixel(L"\"" + std::wstring(self) + L"\" minimal", x, y));
    }
    std::sort(program.begin(), program.end());
    std::sort(minimal.begin(), minimal.end());
    const Figure p{program[2], program.front(), program.back()};
    const Figure m{minimal[2], minimal.front(), minimal.back()};
    Row("start-up to first frame: Quillora vs minimal", p, m, "<= 1.3x");
}

// A layered window of the clock's size and place that pushes one frame of the face colour.
int Minimal() {
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreatePlainWindow(kWidth, kHeight, WS_EX_LAYERED);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject image(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::fill_n(static_cast<std::uint32_t*>(bits), kWidth * kHeight, kFacePixel);
    MemoryDC dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), image.get());
    WindowDC windowDC(window);
    SIZE size{kWidth, kHeight};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, windowDC.get(), nullptr, &size, dc.get(), &source, 0, &blend, ULW_ALPHA);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

// The process's committed private memory, summed over its address space (Wine leaves the
// private-bytes counter of GetProcessMemoryInfo at 0).
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    if (counters.PrivateUsage) return counters.PrivateUsage;
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const BYTE* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize < at) break;
    }
    return total;
}

struct Sample {
    long gdiObjects;
    DWORD userObjects;
    SIZE_T privateBytes;
};

Sample Take() { return {CountGdiObjects(), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), PrivateBytes()}; }

void Print(const char* when, const Sample& sample) {
    std::printf("| %-28s | %11ld | %12lu | %15lu |\n", when, sample.gdiObjects, sample.userObjects,
                static_cast<unsigned long>(sample.privateBytes));
}

// Flat: no GDI object more, and the private bytes within 1 MiB of the first sample, which is
// taken after a warm-up (the first allocations of the stand-in and the C runtime come before).
int Soak(int frames, int cycles) {
    constexpr SIZE_T kAllowedGrowth = 1 << 20;
    constexpr int kSoakWidth = 320;
    constexpr int kSoakHeight = 240;
    standinSetLogging(false);
    HWND window = CreatePlainWindow(kSoakWidth, kSoakHeight, 0);
    WebViewHost host;
    std::printf("| %-28s | %11s | %12s | %15s |\n", "soak", "GDI objects", "USER objects", "private bytes");
    std::printf("|%s|%s|%s|%s|\n", std::string(30, '-').c_str(), std::string(13, '-').c_str(),
                std::string(14, '-').c_str(), std::string(17, '-').c_str());
    host.BindWindow(window, true);
    wkeWebView view = host.GetViewHandle();
    FillView(view, kSoakWidth, kSoakHeight);
    for (int i = 0; i < 10; ++i) standinPaintFrame(view, 0, 0, kSoakWidth, kSoakHeight);
    const Sample start = Take();
    Print("start", start);
    Sample last = start;
    char label[64];
    for (int i = 1; i <= frames; ++i) {
        standinPaintFrame(view, 0, 0, kSoakWidth, kSoakHeight);
        if (i % (frames / 4 > 0 ? frames / 4 : 1) == 0) {
            std::snprintf(label, sizeof label, "after %d frames", i);
            Print(label, last = Take());
        }
    }
    host.UnbindWindow();
    for (int i = 1; i <= cycles; ++i) {
        host.BindWindow(window, true);
        host.UnbindWindow();
        if (i % (cycles / 4 > 0 ? cycles / 4 : 1) == 0) {
            std::snprintf(label, sizeof label, "after %d bind cycles", i);
            Print(label, last = Take());
        }
    }
    DestroyWindow(window);
    // The view's own image goes with the view: fewer objects at the end is no leak.
    const bool flat = last.gdiObjects <= start.gdiObjects && last.privateBytes <= start.privateBytes + kAllowedGrowth;
    std::printf("%s\n", flat ? "flat" : "GROWING");
    return flat ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "minimal") return Minimal();
    standinSetPreview(false);
    webview::EnsureEngineStarted();
    if (mode == "startup") {
        Startup();
        return 0;
    }
    if (mode == "soak") return Soak(argc > 2 ? std::atoi(argv[2]) : 100000, argc > 3 ? std::atoi(argv[3]) : 1000);
    Frames();
    GdiObjectsPerFrame();
    Messages();
    Thunks();
    Idle();
    return 0;
}
