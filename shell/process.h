// Process-wide state of the shell: the run directory, the hidden owner window, the global host,
// the exit routines, and the end of the process.
#pragma once

#include <windows.h>

#include <cstddef>

#include "webview/text.h"
#include "webview/webview_host.h"

namespace shell {

// The shell's allocations come from the process heap; an exhausted heap ends the program.
void* Allocate(std::size_t bytes);
[[noreturn]] void FailOutOfMemory(std::size_t bytes);

// A copy of the directory of the program's file, without a trailing backslash.
text::HostText GetRunDirectory();
// The texts one after the other, a null text counting as empty.
text::HostText JoinTexts(std::size_t count, ...);

using ExitRoutine = void (*)();
void AtExit(ExitRoutine routine);

// Prepares the process: heap, OLE, run directory as current directory, owner window.
void StartProcess(HINSTANCE instance);
HWND OwnerWindow();
WebViewHost* Host();
void CreateHost();
void FreeHostAtExit();

// True from the moment ExitProgram starts: no handler of the shell runs after that.
bool Exiting();
// Runs the teardown and ends the process: from the quit handler, inside MainWindow's procedure,
// and after the message loop has ended. It does not return.
[[noreturn]] void ExitProgram(UINT exitCode);

}  // namespace shell
