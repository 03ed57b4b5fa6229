// The host's own routines behind WebViewHost, shared between its files (and its tests).
#pragma once

#include <windows.h>

#include "engine/wke.h"

namespace webview {

// Starts the engine unless it runs already, and then installs the Tab hook.
void EnsureEngineStarted();
bool InstallTabHook();
LRESULT CALLBACK TabHookProc(int code, WPARAM wParam, LPARAM lParam);
// True when `message` is the Tab key-down that the hook has already dispatched, so that a message
// loop does not dispatch it a second time. Forgets the message once asked about it.
bool WasDispatchedByTabHook(const MSG& message);

void SubclassHostWindow(wkeWebView view, HWND window, void* host);
LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Generated code that lets the engine (C convention, `arguments` 32-bit arguments) call a
// __stdcall routine. 0 when the block cannot be allocated.
wkeCallback MakeCallbackThunk(const void* routine, int arguments);
void FreeCallbackThunk(wkeCallback thunk);
// The size of the thunk for `arguments` arguments.
constexpr int ThunkSize(int arguments) { return 12 + 6 * arguments; }

// The paint-updated handler: puts the engine's frame on the window.
void __stdcall PresentFrame(wkeWebView view, HWND window, HDC dc, int x, int y, int cx, int cy);

}  // namespace webview
