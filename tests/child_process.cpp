#include "tests/child_process.h"

#include <vector>

#include "webview/handles.h"

namespace {

using Handle = unique_any<HANDLE, CloseHandle>;

struct BoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (owner == search->processId && lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0) return TRUE;
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(context) += text;
    return TRUE;
}

void DrainPipe(HANDLE pipe, std::string& output) {
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &read, nullptr) || !read)
            return;
        for (DWORD i = 0; i < read; ++i)
            if (buffer[i] != '\r') output += buffer[i];
    }
}

}  // namespace

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L'\\') + 1);
}

ChildRun RunChild(const std::wstring& program, const std::wstring& arguments, const std::wstring& directory,
                  DWORD timeoutMs) {
    ChildRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    Handle reader(readEnd);
    Handle writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    std::vector<wchar_t> mutableCommandLine(commandLine.begin(), commandLine.end());
    mutableCommandLine.push_back(L'\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), mutableCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        directory.c_str(), &startup, &process))
        return run;
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    writer.reset();

    const DWORD start = GetTickCount();
    bool boxAnswered = false;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        DrainPipe(readEnd, run.output);
        if (!boxAnswered) {
            BoxSearch search{process.dwProcessId, nullptr};
            EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
            if (search.box) {
                EnumChildWindows(search.box, CollectStaticText, reinterpret_cast<LPARAM>(&run.messageBoxText));
                PostMessageW(search.box, WM_COMMAND, IDOK, 0);
                boxAnswered = true;
            }
        }
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
            DrainPipe(readEnd, run.output);
            return run;
        }
    }
    DrainPipe(readEnd, run.output);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    run.finished = true;
    return run;
}
