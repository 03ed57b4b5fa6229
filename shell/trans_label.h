// TransLabel: a child window that shows one line of text over whatever lies beneath it.
#pragma once

#include <windows.h>

namespace shell {

HWND CreateTransLabel(HWND parent, int id, int x, int y, int width, int height);

}  // namespace shell
