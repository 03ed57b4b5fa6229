// The stand-in engine's own interface for tests: its call log, scripted answers and events.
// These exports have names of their own (no "wke" prefix); tests bind them by name like the rest.
#pragma once

#include <cstdint>

#include "engine/wke.h"

// clang-format off
#define STANDIN_FUNCTIONS(X)                                                                       \
    /* Every wke call, in order: "wkeResize(1, 300, 200)". Texts are quoted: "..." as given,       \
       L"..." decoded from UTF-16 to UTF-8; a null text is null. */                                \
    X(int, standinLogSize, (), ())                                                                 \
    X(const char*, standinLogEntry, (int index), (index))                                          \
    X(void, standinClearLog, (), ())                                                               \
    /* Recording can be paused, for benchmarks that measure the host and not the log. */         \
    X(void, standinSetLogging, (bool enabled), (enabled))                                          \
    /* Scripted answers, by function name: "0"/"1" for flags, numbers, "x,y,w,h" for the caret,  \
       UTF-8 for texts. */                                                                         \
    X(void, standinSetAnswer, (const char* function, const char* value), (function, value))        \
    X(void, standinClearAnswers, (), ())                                                           \
    /* Back to "not initialized", as in a fresh process. */                                        \
    X(void, standinResetEngine, (), ())                                                            \
    X(int, standinViewCount, (), ())                                                               \
    X(void*, standinViewBits, (wkeWebView view), (view))                                           \
    /* The routine subscribed for an event (its wke function name) and its user value. */          \
    X(wkeCallback, standinSubscription, (wkeWebView view, const char* event, void** param),        \
      (view, event, param))                                                                        \
    /* Calls the routine subscribed for an event with (view, user value, extra...); extraCount     \
       must be the event's argument count less two. Answers the routine's 64-bit result. */        \
    X(std::int64_t, standinFire,                                                                   \
      (wkeWebView view, const char* event, const std::uint32_t* extra, int extraCount),            \
      (view, event, extra, extraCount))                                                            \
    /* The preview frames about once a second while a view has a host window (on by default). */ \
    X(void, standinSetPreview, (bool enabled), (enabled))                                          \
    /* Calls the paint-updated routine with the view's own device context; false if none. */      \
    X(bool, standinPaintFrame, (wkeWebView view, int x, int y, int cx, int cy), (view, x, y, cx, cy))
// clang-format on
