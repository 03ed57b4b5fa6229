// The window classes of the shell: arrow cursor, no background brush, no class icon.
#pragma once

#include <windows.h>

namespace shell {

// True when the class is registered afterwards (by this call or an earlier one).
bool RegisterShellClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style);

}  // namespace shell
