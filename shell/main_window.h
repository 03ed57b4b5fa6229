// MainWindow: the program's only top-level window, its two labels and its message handling.
#pragma once

#include <windows.h>

namespace shell {

constexpr int kMainWidth = 1115;
constexpr int kMainHeight = 721;

// Creates MainWindow hidden, binds the view and loads the page, then shows it. False when the
// window could not be created.
bool LoadMainWindow(HINSTANCE instance);
HWND MainWindow();
// Destroys MainWindow with its children, if it exists.
void DestroyMainWindow();

// The shell's look at a message before it is translated and dispatched. True when the message
// must not be dispatched (the Tab hook of the host already did).
bool PreDispatch(const MSG& message);

// Runs until WM_QUIT.
void RunMessageLoop();
// How many messages the loop has taken from the queue: how often the thread woke.
unsigned long MessagesTaken();

void OnMainWindowCreated();
void OnLabelLeftDown(int x, int y, int keys);
void OnLabelRightDown(int x, int y, int keys);

}  // namespace shell
