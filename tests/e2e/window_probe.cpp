// Looks at Quillora's windows from another process, for the end-to-end tests. Each command
// prints what it finds, one fact a line:
//   info                  MainWindow's rectangle, styles, owner and children in z-order
//   box <seconds>         waits for a message box and prints its text
//   menu <seconds>        waits for a popup menu and prints its rectangle
//   cursor                the cursor position
//   above <seconds>       shows a window over MainWindow for that long, then tells whether
//                         MainWindow ended up above it
//   tray-delete           takes MainWindow's tray icon away, as a restarted taskbar knows no
//                         icons
//   taskbar-created       tells MainWindow that the taskbar has been created again
//   close                 asks MainWindow to close, as the system does at the end of a session
//   button-face           the system's button-face colour as r,g,b
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindMain() { return FindWindowW(L"QuilloraMainWindow", nullptr); }

void PrintRect(const char* name, HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int Info() {
    HWND main = FindMain();
    if (!main) {
        std::printf("main none\n");
        return 1;
    }
    PrintRect("main", main);
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(main, GWL_EXSTYLE);
    std::printf("visible %d\n", IsWindowVisible(main) ? 1 : 0);
    std::printf("layered %d\n", (exStyle & WS_EX_LAYERED) ? 1 : 0);
    std::printf("topmost %d\n", (exStyle & WS_EX_TOPMOST) ? 1 : 0);
    std::printf("appwindow %d\n", (exStyle & WS_EX_APPWINDOW) ? 1 : 0);
    std::printf("caption %d\n", (style & WS_CAPTION) == WS_CAPTION ? 1 : 0);
    std::printf("sysmenu %d\n", (style & WS_SYSMENU) ? 1 : 0);
    HWND owner = GetWindow(main, GW_OWNER);
    std::printf("owner-toolwindow %d\n", owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? 1 : 0);
    std::printf("owner-visible %d\n", owner && IsWindowVisible(owner) ? 1 : 0);
    wchar_t title[64] = {};
    GetWindowTextW(main, title, 64);
    std::printf("title %ls\n", title);
    int index = 0;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
        std::printf("child %d %ld %ld %ld %ld transparent %d visible %d\n", index, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) ? 1 : 0,
                    IsWindowVisible(child) ? 1 : 0);
    }
    return 0;
}

HWND WaitForClass(const wchar_t* className, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (lstrcmpW(name, className) == 0 && IsWindowVisible(window)) return window;
        }
        Sleep(50);
    }
    return nullptr;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Static") == 0) {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        if (*text) std::printf("text %s\n", text);
    }
    return TRUE;
}

int Box(int seconds) {
    HWND box = WaitForClass(L"#32770", seconds);
    if (!box) {
        std::printf("box none\n");
        return 1;
    }
    EnumChildWindows(box, PrintStatic, 0);
    return 0;
}

int Menu(int seconds) {
    HWND menu = WaitForClass(L"#32768", seconds);
    if (!menu) {
        std::printf("menu none\n");
        return 1;
    }
    PrintRect("menu", menu);
    return 0;
}

int Cursor() {
    POINT p{};
    GetCursorPos(&p);
    std::printf("cursor %ld %ld\n", p.x, p.y);
    return 0;
}

// Is `window` above `other` in the z-order?
bool Above(HWND window, HWND other) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == window) return true;
        if (w == other) return false;
    }
    return false;
}

int AboveCover(int seconds) {
    HWND main = FindMain();
    if (!main) return 1;
    RECT r{};
    GetWindowRect(main, &r);
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    cls.lpszClassName = L"QuilloraTestCover";
    RegisterClassW(&cls);
    HWND cover = CreateWindowExW(0, cls.lpszClassName, L"cover", WS_POPUP | WS_VISIBLE, r.left + 100, r.top + 100, 300,
                                 200, nullptr, nullptr, cls.hInstance, nullptr);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    std::printf("covered %d\n", Above(cover, main) ? 1 : 0);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    bool wasTopmost = false;
    while (GetTickCount() - start < static_cast<DWORD>(seconds) * 1000) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        if (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) wasTopmost = true;
        Sleep(10);
    }
    std::printf("was-topmost %d\n", wasTopmost ? 1 : 0);
    std::printf("topmost %d\n", (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    std::printf("raised %d\n", Above(main, cover) ? 1 : 0);
    DestroyWindow(cover);
    return 0;
}

int TrayDelete() {
    HWND main = FindMain();
    if (!main) return 1;
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = main;
    icon.uID = 100;
    std::printf("deleted %d\n", Shell_NotifyIconW(NIM_DELETE, &icon) ? 1 : 0);
    return 0;
}

int TaskbarCreated() {
    HWND main = FindMain();
    if (!main) return 1;
    return PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0) ? 0 : 1;
}

int Close() {
    HWND main = FindMain();
    return main && PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
}

int ButtonFace() {
    const COLORREF colour = GetSysColor(COLOR_BTNFACE);
    std::printf("button-face %d,%d,%d\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* command = argc > 1 ? argv[1] : "";
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    if (std::strcmp(command, "info") == 0) return Info();
    if (std::strcmp(command, "box") == 0) return Box(seconds);
    if (std::strcmp(command, "menu") == 0) return Menu(seconds);
    if (std::strcmp(command, "cursor") == 0) return Cursor();
    if (std::strcmp(command, "above") == 0) return AboveCover(seconds);
    if (std::strcmp(command, "tray-delete") == 0) return TrayDelete();
    if (std::strcmp(command, "taskbar-created") == 0) return TaskbarCreated();
    if (std::strcmp(command, "close") == 0) return Close();
    if (std::strcmp(command, "button-face") == 0) return ButtonFace();
    std::printf("usage: window_probe info | box <s> | menu <s> | cursor | above <s> | tray-delete | taskbar-created\n");
    return 2;
}
