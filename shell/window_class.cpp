#include "shell/window_class.h"

namespace shell {

bool RegisterShellClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style) {
    WNDCLASSW windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace shell
