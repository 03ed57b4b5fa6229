#include "tests/fresh_process.h"

#include <windows.h>

#include "tests/child_process.h"

namespace {
constexpr wchar_t kFreshVariable[] = L"QUILLORA_FRESH_PROCESS";
}

bool InFreshProcess() { return GetEnvironmentVariableW(kFreshVariable, nullptr, 0) > 0; }

ChildRun RunFreshProcess(const std::string& name) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::wstring filter = L"--gtest_filter=FreshProcess." + std::wstring(name.begin(), name.end());
    SetEnvironmentVariableW(kFreshVariable, L"1");
    ChildRun run = RunChild(program, filter, ProgramDirectory());
    SetEnvironmentVariableW(kFreshVariable, nullptr);
    return run;
}

::testing::AssertionResult PassesInFreshProcess(const std::string& name) {
    const ChildRun run = RunFreshProcess(name);
    if (run.finished && run.exitCode == 0 && run.output.find("[  PASSED  ] 1 test") != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "FreshProcess." << name << " in a child process:\n" << run.output;
}
