#include "shell/process.h"

#include <ole2.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/binding.h"
#include "shell/main_window.h"
#include "shell/window_class.h"

namespace shell {
namespace {

constexpr UINT kFatalExitCode = static_cast<UINT>(-1);
constexpr wchar_t kOwnerClass[] = L"QuilloraOwner";
constexpr std::size_t kMaxExitRoutines = 8;

HWND g_owner = nullptr;
WebViewHost* g_host = nullptr;
ExitRoutine g_exitRoutines[kMaxExitRoutines];
std::size_t g_exitRoutineCount = 0;
bool g_exiting = false;

void RunExitRoutines() {
    for (std::size_t i = 0; i < g_exitRoutineCount; ++i) g_exitRoutines[i]();
    g_exitRoutineCount = 0;
}

// Steps shared by every way the process ends, after MainWindow is gone.
[[noreturn]] void FinishTeardown(UINT exitCode) {
    RunExitRoutines();
    engine::FreeBoundLibraries();
    if (g_owner) DestroyWindow(g_owner);
    OleUninitialize();
    ExitProcess(exitCode);
}

}  // namespace

void* Allocate(std::size_t bytes) {
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
    if (!block) FailOutOfMemory(bytes);
    return block;
}

void FailOutOfMemory(std::size_t bytes) {
    g_exiting = true;
    g_exitRoutineCount = 0;  // the host may be in any state: it is not freed
    char text[128];
    std::snprintf(text, sizeof text, "Out of memory: a request for %lu bytes failed.",
                  static_cast<unsigned long>(bytes));
    MessageBoxA(nullptr, text, "Quillora", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    DestroyMainWindow();
    FinishTeardown(kFatalExitCode);
}

text::HostText GetRunDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* slash = std::strrchr(path, '\\');
    const std::size_t length = slash ? static_cast<std::size_t>(slash - path) : 0;
    char* copy = static_cast<char*>(Allocate(length + 1));
    std::memcpy(copy, path, length);
    return text::HostText(HeapBlock(copy));
}

text::HostText JoinTexts(std::size_t count, ...) {
    std::va_list texts;
    va_start(texts, count);
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char* part = va_arg(texts, const char*);
        if (part) total += std::strlen(part);
    }
    va_end(texts);

    char* joined = static_cast<char*>(Allocate(total + 1));
    char* at = joined;
    va_start(texts, count);
    for (std::size_t i = 0; i < count; ++i) {
        const char* part = va_arg(texts, const char*);
        if (!part) continue;
        const std::size_t length = std::strlen(part);
        std::memcpy(at, part, length);
        at += length;
    }
    va_end(texts);
    return text::HostText(HeapBlock(joined));
}

void AtExit(ExitRoutine routine) {
    for (std::size_t i = 0; i < g_exitRoutineCount; ++i)
        if (g_exitRoutines[i] == routine) return;
    if (g_exitRoutineCount < kMaxExitRoutines) g_exitRoutines[g_exitRoutineCount++] = routine;
}

void StartProcess(HINSTANCE instance) {
    OleInitialize(nullptr);
    const text::HostText directory = GetRunDirectory();
    SetCurrentDirectoryA(directory.c_str());

    RegisterShellClass(instance, kOwnerClass, DefWindowProcW, 0);
    g_owner = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

HWND OwnerWindow() { return g_owner; }

WebViewHost* Host() { return g_host; }

void CreateHost() { g_host = new (Allocate(sizeof(WebViewHost))) WebViewHost; }

void FreeHostAtExit() {
    if (!g_host) return;
    g_host->~WebViewHost();
    HeapFree(GetProcessHeap(), 0, g_host);
    g_host = nullptr;
}

bool Exiting() { return g_exiting; }

void ExitProgram(UINT exitCode) {
    g_exiting = true;
    DestroyMainWindow();
    FinishTeardown(exitCode);
}

}  // namespace shell
