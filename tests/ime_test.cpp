// Placing the input-method windows at the engine's caret. Wine does not hand back the forms a
// program sets, so the test watches the program's own calls into imm32.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <string>
#include <vector>

#include "tests/import_patch.h"
#include "tests/test_support.h"
#include "webview/internal.h"
#include "webview/webview_host.h"

using ::testing::ElementsAre;

namespace {

std::vector<std::string> g_calls;
CANDIDATEFORM g_candidate;
COMPOSITIONFORM g_composition;
HIMC g_context;
const ImportPatch* g_getContext;
const ImportPatch* g_releaseContext;

HIMC WINAPI GetContext(HWND window) {
    g_context = g_getContext->original<HIMC(WINAPI*)(HWND)>()(window);
    g_calls.push_back("ImmGetContext");
    return g_context;
}

BOOL WINAPI SetCandidate(HIMC context, CANDIDATEFORM* form) {
    g_calls.push_back(context == g_context ? "ImmSetCandidateWindow" : "ImmSetCandidateWindow on another context");
    g_candidate = *form;
    return TRUE;
}

BOOL WINAPI SetComposition(HIMC context, COMPOSITIONFORM* form) {
    g_calls.push_back(context == g_context ? "ImmSetCompositionWindow" : "ImmSetCompositionWindow on another context");
    g_composition = *form;
    return TRUE;
}

BOOL WINAPI ReleaseContext(HWND window, HIMC context) {
    g_calls.push_back(context == g_context ? "ImmReleaseContext" : "ImmReleaseContext of another context");
    return g_releaseContext->original<BOOL(WINAPI*)(HWND, HIMC)>()(window, context);
}

TEST(InputMethod, WindowsGoBelowTheCaretWhichStaysClear) {
    ImportPatch getContext("imm32.dll", "ImmGetContext", reinterpret_cast<const void*>(GetContext));
    ImportPatch setCandidate("imm32.dll", "ImmSetCandidateWindow", reinterpret_cast<const void*>(SetCandidate));
    ImportPatch setComposition("imm32.dll", "ImmSetCompositionWindow", reinterpret_cast<const void*>(SetComposition));
    ImportPatch releaseContext("imm32.dll", "ImmReleaseContext", reinterpret_cast<const void*>(ReleaseContext));
    ASSERT_TRUE(getContext.active() && setCandidate.active() && setComposition.active() && releaseContext.active());
    g_getContext = &getContext;
    g_releaseContext = &releaseContext;

    webview::EnsureEngineStarted();
    TestWindow window;
    WebViewHost host;
    ASSERT_TRUE(host.BindWindow(window.get(), false));
    standinSetAnswer("wkeGetCaretRect", "100,40,2,18");
    standinClearLog();
    g_calls.clear();
    SendMessageW(window.get(), WM_IME_STARTCOMPOSITION, 0, 0);

    EXPECT_THAT(g_calls,
                ElementsAre("ImmGetContext", "ImmSetCandidateWindow", "ImmSetCompositionWindow", "ImmReleaseContext"));
    EXPECT_EQ(g_candidate.dwIndex, 0u);
    EXPECT_EQ(g_candidate.dwStyle, static_cast<DWORD>(CFS_EXCLUDE));
    EXPECT_EQ(g_candidate.ptCurrentPos.x, 100);
    EXPECT_EQ(g_candidate.ptCurrentPos.y, 58);
    EXPECT_EQ(g_candidate.rcArea.left, 100);
    EXPECT_EQ(g_candidate.rcArea.top, 40);
    EXPECT_EQ(g_candidate.rcArea.right, 102);
    EXPECT_EQ(g_candidate.rcArea.bottom, 58);
    EXPECT_EQ(g_composition.dwStyle, static_cast<DWORD>(CFS_EXCLUDE));
    EXPECT_EQ(g_composition.ptCurrentPos.x, 100);
    EXPECT_EQ(g_composition.ptCurrentPos.y, 58);
    EXPECT_EQ(g_composition.rcArea.left, 100);
    EXPECT_EQ(g_composition.rcArea.bottom, 58);
    EXPECT_THAT(EngineLogWithoutLookups(), ElementsAre("wkeGetCaretRect(" + Id(host.GetViewHandle()) + ")"));
    EXPECT_TRUE(window.Got(WM_IME_STARTCOMPOSITION));  // passed on, so the composition still starts

    host.UnbindWindow();
    standinClearAnswers();
}

}  // namespace
