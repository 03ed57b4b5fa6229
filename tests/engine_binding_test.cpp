// Binding the engine by name, seen from fresh child processes and in this one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/binding.h"
#include "engine/engine.h"
#include "tests/child_process.h"
#include "tests/standin_client.h"

using ::testing::HasSubstr;

namespace {

constexpr DWORD kFatalExitCode = 0xFFFFFFFF;

std::string Narrow(const std::wstring& wide) { return std::string(wide.begin(), wide.end()); }

std::wstring Probe(const std::wstring& subdirectory) {
    return ProgramDirectory() + subdirectory + L"binding_probe.exe";
}

TEST(EngineBinding, BindsOnFirstCallFromBesideTheProgramAndKeepsTheAddress) {
    // Run from another directory, so the engine can only be found through the program's own.
    const ChildRun run = RunChild(Probe(L""), L"first-call", ProgramDirectory() + L"nolib");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output,
              "lookups 0\n"
              "initialized 0\n"
              "lookups 1\n"
              "initialized 1\n"
              "lookups 2\n"
              "engine " +
                  Narrow(ProgramDirectory()) + "node.dll\n");
}

TEST(EngineBinding, FallsBackToTheSystemSearch) {
    // Nothing beside this copy of the probe; its current directory holds the engine.
    const ChildRun run = RunChild(Probe(L"nolib\\"), L"first-call", ProgramDirectory());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_THAT(run.output, HasSubstr("engine " + Narrow(ProgramDirectory()) + "node.dll\n"));
}

TEST(EngineBinding, MissingLibraryShowsTheBoxAndExitsWithMinusOne) {
    const ChildRun run = RunChild(Probe(L"nolib\\"), L"wake", ProgramDirectory() + L"nolib");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, kFatalExitCode);
    EXPECT_THAT(run.messageBoxText, HasSubstr("node.dll"));
    EXPECT_THAT(run.messageBoxText, HasSubstr("wkeIsInitialize"));
    EXPECT_EQ(run.output, "");
}

TEST(EngineBinding, MissingFunctionShowsTheBoxAndExitsWithMinusOne) {
    const ChildRun run = RunChild(Probe(L"lacking\\"), L"wake", ProgramDirectory() + L"lacking");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, kFatalExitCode);
    EXPECT_THAT(run.messageBoxText, HasSubstr("node.dll"));
    EXPECT_THAT(run.messageBoxText, HasSubstr(STANDIN_LACKING_FUNCTION));
    EXPECT_EQ(run.output, "initialized 0\n");  // the functions it has were bound and called
}

TEST(EngineBinding, SecondCallLooksNothingUp) {
    wkeIsInitialize();
    const std::size_t before = engine::LookupCount();
    wkeIsInitialize();
    EXPECT_EQ(engine::LookupCount(), before);
}

// Reads the stack pointer around repeated calls: a caller and engine that disagree on who removes
// the hidden result pointer leave it 4 bytes off per call.
__attribute__((noinline)) std::intptr_t StackDriftOverCaretCalls(wkeWebView view, wkeRect* rect, wkeRect** returned,
                                                                 int calls) {
    std::intptr_t before = 0;
    std::intptr_t after = 0;
    asm volatile("mov %%esp, %0" : "=r"(before));
    for (int i = 0; i < calls; ++i) *returned = wkeGetCaretRect(rect, view);
    asm volatile("mov %%esp, %0" : "=r"(after));
    return after - before;
}

TEST(EngineBinding, CaretRectComesBackByValueWithTheStackBalanced) {
    wkeWebView view = wkeCreateWebView();
    ASSERT_NE(view, nullptr);
    standinSetAnswer("wkeGetCaretRect", "100,40,2,18");
    wkeRect rect{-1, -1, -1, -1};
    wkeRect* returned = nullptr;
    EXPECT_EQ(StackDriftOverCaretCalls(view, &rect, &returned, 100), 0);
    EXPECT_EQ(returned, &rect);
    EXPECT_EQ(rect.x, 100);
    EXPECT_EQ(rect.y, 40);
    EXPECT_EQ(rect.w, 2);
    EXPECT_EQ(rect.h, 18);
    standinClearAnswers();
    wkeDestroyWebView(view);
}

}  // namespace
