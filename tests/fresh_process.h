// Tests that need a process of their own (what happens at the first engine call, say) are named
// FreshProcess.*: the suite skips them, and a parent test runs each in a new copy of this program.
#pragma once

#include <gtest/gtest.h>

#include <string>

bool InFreshProcess();

// Runs the test FreshProcess.<name> in a child process; true when it ran and passed.
::testing::AssertionResult PassesInFreshProcess(const std::string& name);

struct ChildRun;
// Runs the test FreshProcess.<name> in a child process and tells what became of it, for tests
// whose process ends on its own.
ChildRun RunFreshProcess(const std::string& name);

#define FRESH_PROCESS_ONLY() \
    if (!InFreshProcess()) GTEST_SKIP() << "runs in a fresh process of its own"
