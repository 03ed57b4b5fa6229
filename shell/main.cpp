// Quillora: a desktop clock whose face is a web page, drawn by the web engine with per-pixel
// transparency into one borderless window.
#include <windows.h>

#include "engine/binding.h"
#include "shell/main_window.h"
#include "shell/process.h"

namespace {

void MakeProcessDpiAware() {
    using SetProcessDpiAware = BOOL(WINAPI*)();
    static SetProcessDpiAware bound = nullptr;
    engine::Bound(bound, "user32.dll", "SetProcessDPIAware", engine::SearchOrder::SystemOnly)();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    shell::StartProcess(instance);
    shell::CreateHost();
    shell::AtExit(shell::FreeHostAtExit);
    MakeProcessDpiAware();
    shell::LoadMainWindow(instance);
    if (IsWindow(shell::MainWindow())) shell::RunMessageLoop();
    shell::ExitProgram(0);
}
