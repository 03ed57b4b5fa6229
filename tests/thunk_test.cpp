// Callback thunks, executed for real: the engine side calls with the C convention, the routine
// is __stdcall.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "webview/internal.h"

namespace {

using Word = std::uint32_t;

std::vector<Word> g_received;

std::int64_t __stdcall SevenArguments(Word a, Word b, Word c, Word d, Word e, Word f, Word g) {
    g_received = {a, b, c, d, e, f, g};
    return (static_cast<std::int64_t>(0x12345678) << 32) | 0x9ABCDEF0u;
}

Word __stdcall TwoArguments(Word a, Word b) {
    g_received = {a, b};
    return a + b;
}

// Calls the thunk as the engine does and measures the stack pointer around the call.
__attribute__((noinline)) std::intptr_t CallSeven(wkeCallback thunk, std::int64_t* result) {
    std::intptr_t before = 0;
    std::intptr_t after = 0;
    asm volatile("mov %%esp, %0" : "=r"(before));
    *result =
        reinterpret_cast<std::int64_t(__cdecl*)(Word, Word, Word, Word, Word, Word, Word)>(thunk)(1, 2, 3, 4, 5, 6, 7);
    asm volatile("mov %%esp, %0" : "=r"(after));
    return after - before;
}

__attribute__((noinline)) std::intptr_t CallTwo(wkeCallback thunk, Word* result) {
    std::intptr_t before = 0;
    std::intptr_t after = 0;
    asm volatile("mov %%esp, %0" : "=r"(before));
    *result = reinterpret_cast<Word(__cdecl*)(Word, Word)>(thunk)(40, 2);
    asm volatile("mov %%esp, %0" : "=r"(after));
    return after - before;
}

std::vector<BYTE> Code(wkeCallback thunk, int size) {
    const BYTE* bytes = static_cast<const BYTE*>(thunk);
    return std::vector<BYTE>(bytes, bytes + size);
}

void AppendWord(std::vector<BYTE>& code, Word value) {
    for (int i = 0; i < 4; ++i) code.push_back(static_cast<BYTE>(value >> (8 * i)));
}

TEST(CallbackThunk, HasTheSizeOfItsArguments) {
    EXPECT_EQ(webview::ThunkSize(2), 24);
    EXPECT_EQ(webview::ThunkSize(7), 54);
}

TEST(CallbackThunk, IsExactlyTheDocumentedCode) {
    for (int n : {0, 2, 7}) {
        wkeCallback thunk = webview::MakeCallbackThunk(reinterpret_cast<const void*>(TwoArguments), n);
        ASSERT_NE(thunk, nullptr);
        std::vector<BYTE> expected = {0x55, 0x8B, 0xEC, 0xB8};
        AppendWord(expected, static_cast<Word>(reinterpret_cast<std::uintptr_t>(TwoArguments)));
        for (int i = 1; i <= n; ++i) {
            expected.push_back(0xFF);
            expected.push_back(0xB5);
            AppendWord(expected, static_cast<Word>(4 * (n - i + 1) + 4));
        }
        for (BYTE b : {0xFF, 0xD0, 0x5D, 0xC3}) expected.push_back(b);
        EXPECT_EQ(static_cast<int>(expected.size()), webview::ThunkSize(n));
        EXPECT_EQ(Code(thunk, webview::ThunkSize(n)), expected) << n << " arguments";
        webview::FreeCallbackThunk(thunk);
    }
}

TEST(CallbackThunk, IsExecutableButNotWritable) {
    wkeCallback thunk = webview::MakeCallbackThunk(reinterpret_cast<const void*>(TwoArguments), 2);
    ASSERT_NE(thunk, nullptr);
    MEMORY_BASIC_INFORMATION memory{};
    ASSERT_NE(VirtualQuery(thunk, &memory, sizeof memory), 0u);
    EXPECT_EQ(memory.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
    webview::FreeCallbackThunk(thunk);
}

TEST(CallbackThunk, PassesSevenArgumentsInOrderAndA64BitResultWithTheStackBalanced) {
    wkeCallback thunk = webview::MakeCallbackThunk(reinterpret_cast<const void*>(SevenArguments), 7);
    ASSERT_NE(thunk, nullptr);
    std::int64_t result = 0;
    EXPECT_EQ(CallSeven(thunk, &result), 0);
    EXPECT_EQ(g_received, (std::vector<Word>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(result, 0x123456789ABCDEF0);
    webview::FreeCallbackThunk(thunk);
}

TEST(CallbackThunk, PassesTwoArgumentsAndA32BitResultWithTheStackBalanced) {
    wkeCallback thunk = webview::MakeCallbackThunk(reinterpret_cast<const void*>(TwoArguments), 2);
    ASSERT_NE(thunk, nullptr);
    Word result = 0;
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(CallTwo(thunk, &result), 0);
    EXPECT_EQ(g_received, (std::vector<Word>{40, 2}));
    EXPECT_EQ(result, 42u);
    webview::FreeCallbackThunk(thunk);
}

}  // namespace
