// The web engine's C interface, as node.dll exports it.
//
// Every function uses the C calling convention (the caller removes the arguments); every argument
// occupies one 32-bit stack slot on the i686 build, except the 64-bit script value. Handles are
// opaque and pointer-sized.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#define WKE_CALL __cdecl

typedef struct wkeViewTag* wkeWebView;
typedef struct wkeFrameTag* wkeWebFrameHandle;
typedef struct wkeExecStateTag* wkeExecState;
typedef struct wkeStringTag* wkeString;
typedef std::int64_t wkeJsValue;

// The address of a routine that the engine calls with the C convention and a fixed number of
// 32-bit arguments, the subscription's user value second. The host passes callback thunks here.
typedef void* wkeCallback;

struct wkeSettings;

struct wkeRect {
    int x;
    int y;
    int w;
    int h;
};

// The proxy record of wkeSetViewProxy: texts are UTF-8 and NUL-terminated.
#pragma pack(push, 1)
struct wkeProxy {
    std::int32_t type;
    char hostname[100];
    std::uint16_t port;
    char username[50];
    char password[50];
    std::uint16_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(wkeProxy) == 208, "the engine reads a 208-byte proxy record");
static_assert(offsetof(wkeProxy, hostname) == 4 && offsetof(wkeProxy, port) == 104 &&
                  offsetof(wkeProxy, username) == 106 && offsetof(wkeProxy, password) == 156,
              "proxy record layout");

// The engine returns wkeRect (16 bytes) by value. Its compiler passes a hidden pointer to the
// result as the first argument, leaves it on the stack for the caller to remove like the others,
// and hands the pointer back in EAX. wkeGetCaretRect is declared in exactly that form, so every
// compiler we build with calls it the same way.

// clang-format off
// X(result, name, parameters, arguments): the 130 functions of node.dll.
#define WKE_FUNCTIONS(X)                                                                            \
    /* Start-up and views */                                                                        \
    X(void, wkeInitialize, (), ())                                                                  \
    X(void, wkeInitializeEx, (const wkeSettings* settings), (settings))                             \
    X(bool, wkeIsInitialize, (), ())                                                                \
    X(wkeWebView, wkeCreateWebView, (), ())                                                         \
    X(void, wkeDestroyWebView, (wkeWebView view), (view))                                           \
    X(void, wkeSetHandle, (wkeWebView view, HWND window), (view, window))                           \
    X(HWND, wkeGetHostHWND, (wkeWebView view), (view))                                              \
    X(void, wkeSetTransparent, (wkeWebView view, bool transparent), (view, transparent))            \
    X(void, wkeSetUserKeyValue, (wkeWebView view, const char* key, void* value), (view, key, value)) \
    X(void*, wkeGetUserKeyValue, (wkeWebView view, const char* key), (view, key))                   \
    X(void, wkeSetName, (wkeWebView view, const char* name), (view, name))                          \
    X(const char*, wkeGetName, (wkeWebView view), (view))                                           \
    X(void, wkeSleep, (wkeWebView view), (view))                                                    \
    X(void, wkeWake, (wkeWebView view), (view))                                                     \
    X(bool, wkeIsAwake, (wkeWebView view), (view))                                                  \
    X(void, wkeGC, (wkeWebView view, int intervalSeconds), (view, intervalSeconds))                 \
    X(void, wkeSetResourceGc, (wkeWebView view, int intervalSeconds), (view, intervalSeconds))      \
    /* Image */                                                                                     \
    X(void, wkeResize, (wkeWebView view, int width, int height), (view, width, height))             \
    X(int, wkeGetWidth, (wkeWebView view), (view))                                                  \
    X(int, wkeGetHeight, (wkeWebView view), (view))                                                 \
    X(int, wkeGetContentWidth, (wkeWebView view), (view))                                           \
    X(int, wkeGetContentHeight, (wkeWebView view), (view))                                          \
    X(void, wkeRepaintIfNeeded, (wkeWebView view), (view))                                          \
    X(HDC, wkeGetViewDC, (wkeWebView view), (view))                                                 \
    X(void, wkePaint, (wkeWebView view, void* bits, int pitch), (view, bits, pitch))                \
    X(wkeRect*, wkeGetCaretRect, (wkeRect * result, wkeWebView view), (result, view))               \
    X(int, wkeGetCursorInfoType, (wkeWebView view), (view))                                         \
    /* Input and focus */                                                                           \
    X(bool, wkeFireKeyDownEvent, (wkeWebView view, unsigned virtualKey, unsigned flags, bool systemKey), \
      (view, virtualKey, flags, systemKey))                                                         \
    X(bool, wkeFireKeyUpEvent, (wkeWebView view, unsigned virtualKey, unsigned flags, bool systemKey), \
      (view, virtualKey, flags, systemKey))                                                         \
    X(bool, wkeFireKeyPressEvent, (wkeWebView view, unsigned charCode, unsigned flags, bool systemKey), \
      (view, charCode, flags, systemKey))                                                           \
    X(bool, wkeFireMouseEvent, (wkeWebView view, unsigned message, int x, int y, unsigned flags),   \
      (view, message, x, y, flags))                                                                 \
    X(bool, wkeFireMouseWheelEvent, (wkeWebView view, int x, int y, int delta, unsigned flags),     \
      (view, x, y, delta, flags))                                                                   \
    X(bool, wkeFireContextMenuEvent, (wkeWebView view, int x, int y, unsigned flags), (view, x, y, flags)) \
    X(bool, wkeFireWindowsMessage,                                                                  \
      (wkeWebView view, HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result),  \
      (view, window, message, wParam, lParam, result))                                              \
    X(void, wkeSetFocus, (wkeWebView view), (view))                                                 \
    X(void, wkeKillFocus, (wkeWebView view), (view))                                                \
    /* Loading and navigation */                                                                    \
    X(void, wkeLoadW, (wkeWebView view, const wchar_t* address), (view, address))                   \
    X(void, wkeLoadURLW, (wkeWebView view, const wchar_t* url), (view, url))                        \
    X(void, wkeLoadHTMLW, (wkeWebView view, const wchar_t* html), (view, html))                     \
    X(void, wkeLoadHtmlWithBaseUrl, (wkeWebView view, const char* html, const char* baseUrl),       \
      (view, html, baseUrl))                                                                        \
    X(void, wkeLoadFileW, (wkeWebView view, const wchar_t* path), (view, path))                     \
    X(void, wkePostURLW, (wkeWebView view, const wchar_t* url, const char* postData, int postLength), \
      (view, url, postData, postLength))                                                            \
    X(const char*, wkeGetURL, (wkeWebView view), (view))                                            \
    X(const char*, wkeGetFrameUrl, (wkeWebView view, wkeWebFrameHandle frame), (view, frame))       \
    X(const char*, wkeGetSource, (wkeWebView view), (view))                                         \
    X(const wchar_t*, wkeGetTitleW, (wkeWebView view), (view))                                      \
    X(bool, wkeIsLoading, (wkeWebView view), (view))                                                \
    X(bool, wkeIsLoadingSucceeded, (wkeWebView view), (view))                                       \
    X(bool, wkeIsLoadingFailed, (wkeWebView view), (view))                                          \
    X(bool, wkeIsLoadingCompleted, (wkeWebView view), (view))                                       \
    X(bool, wkeIsDocumentReady, (wkeWebView view), (view))                                          \
    X(void, wkeStopLoading, (wkeWebView view), (view))                                              \
    X(void, wkeReload, (wkeWebView view), (view))                                                   \
    X(bool, wkeCanGoBack, (wkeWebView view), (view))                                                \
    X(bool, wkeGoBack, (wkeWebView view), (view))                                                   \
    X(bool, wkeCanGoForward, (wkeWebView view), (view))                                             \
    X(bool, wkeGoForward, (wkeWebView view), (view))                                                \
    /* Editing */                                                                                   \
    X(void, wkeEditorSelectAll, (wkeWebView view), (view))                                          \
    X(void, wkeEditorUnSelect, (wkeWebView view), (view))                                           \
    X(void, wkeEditorCopy, (wkeWebView view), (view))                                               \
    X(void, wkeEditorCut, (wkeWebView view), (view))                                                \
    X(void, wkeEditorPaste, (wkeWebView view), (view))                                              \
    X(void, wkeEditorDelete, (wkeWebView view), (view))                                             \
    X(void, wkeEditorUndo, (wkeWebView view), (view))                                               \
    X(void, wkeEditorRedo, (wkeWebView view), (view))                                               \
    X(void, wkeSetEditable, (wkeWebView view, bool editable), (view, editable))                     \
    /* Cookies and storage */                                                                       \
    X(const char*, wkeGetCookie, (wkeWebView view), (view))                                         \
    X(const wchar_t*, wkeGetCookieW, (wkeWebView view), (view))                                     \
    X(void, wkeSetCookie, (wkeWebView view, const char* url, const char* cookie), (view, url, cookie)) \
    X(void, wkeSetCookieEnabled, (wkeWebView view, bool enabled), (view, enabled))                  \
    X(bool, wkeIsCookieEnabled, (wkeWebView view), (view))                                          \
    X(void, wkeSetCookieJarPath, (wkeWebView view, const wchar_t* path), (view, path))              \
    X(void, wkeSetCookieJarFullPath, (wkeWebView view, const wchar_t* path), (view, path))          \
    X(void, wkeSetLocalStorageFullPath, (wkeWebView view, const wchar_t* path), (view, path))       \
    /* Settings */                                                                                  \
    X(void, wkeSetDebugConfig, (wkeWebView view, const char* name, const char* value), (view, name, value)) \
    X(void, wkeSetNavigationToNewWindowEnable, (wkeWebView view, bool enable), (view, enable))      \
    X(void, wkeSetMouseEnabled, (wkeWebView view, bool enable), (view, enable))                     \
    X(void, wkeSetTouchEnabled, (wkeWebView view, bool enable), (view, enable))                     \
    X(void, wkeSetNpapiPluginsEnabled, (wkeWebView view, bool enable), (view, enable))              \
    X(void, wkeSetHeadlessEnabled, (wkeWebView view, bool enable), (view, enable))                  \
    X(void, wkeSetDragEnable, (wkeWebView view, bool enable), (view, enable))                       \
    X(void, wkeSetDragDropEnable, (wkeWebView view, bool enable), (view, enable))                   \
    X(void, wkeSetMemoryCacheEnable, (wkeWebView view, bool enable), (view, enable))                \
    X(void, wkeSetCspCheckEnable, (wkeWebView view, bool enable), (view, enable))                   \
    X(void, wkeSetViewProxy, (wkeWebView view, const wkeProxy* proxy), (view, proxy))               \
    X(void, wkeSetViewNetInterface, (wkeWebView view, const char* netInterface), (view, netInterface)) \
    X(void, wkeSetUserAgentW, (wkeWebView view, const wchar_t* userAgent), (view, userAgent))       \
    X(const char*, wkeGetUserAgent, (wkeWebView view), (view))                                      \
    X(void, wkeSetMediaVolume, (wkeWebView view, float volume), (view, volume))                     \
    X(float, wkeGetMediaVolume, (wkeWebView view), (view))                                          \
    X(void, wkeSetZoomFactor, (wkeWebView view, float factor), (view, factor))                      \
    X(float, wkeGetZoomFactor, (wkeWebView view), (view))                                           \
    X(void, wkeSetDeviceParameter,                                                                  \
      (wkeWebView view, const char* device, const char* paramText, int paramInt, float paramFloat), \
      (view, device, paramText, paramInt, paramFloat))                                              \
    X(void, wkeAddPluginDirectory, (wkeWebView view, const wchar_t* path), (view, path))            \
    X(void, wkeSetDragFiles,                                                                        \
      (wkeWebView view, const POINT* clientPoint, const POINT* screenPoint, wkeString* files, int count), \
      (view, clientPoint, screenPoint, files, count))                                               \
    X(wkeString, wkeCreateStringW, (const wchar_t* text, std::size_t length), (text, length))       \
    /* Script and frames */                                                                         \
    X(wkeJsValue, wkeRunJS, (wkeWebView view, const char* script), (view, script))                  \
    X(wkeJsValue, wkeRunJSW, (wkeWebView view, const wchar_t* script), (view, script))              \
    X(wkeJsValue, wkeRunJsByFrame,                                                                  \
      (wkeWebView view, wkeWebFrameHandle frame, const char* script, bool inClosure),               \
      (view, frame, script, inClosure))                                                             \
    X(wkeExecState, wkeGlobalExec, (wkeWebView view), (view))                                       \
    X(wkeExecState, wkeGetGlobalExecByFrame, (wkeWebView view, wkeWebFrameHandle frame), (view, frame)) \
    X(wkeWebFrameHandle, wkeWebFrameGetMainFrame, (wkeWebView view), (view))                        \
    X(void, wkeWebFrameGetMainWorldScriptContext, (wkeWebView view, wkeWebFrameHandle frame, int context), \
      (view, frame, context))                                                                       \
    X(bool, wkeIsMainFrame, (wkeWebView view, wkeWebFrameHandle frame), (view, frame))              \
    X(bool, wkeIsWebRemoteFrame, (wkeWebView view, wkeWebFrameHandle frame), (view, frame))         \
    X(void, wkeInsertCSSByFrame, (wkeWebView view, wkeWebFrameHandle frame, const char* css),       \
      (view, frame, css))                                                                           \
    X(bool, wkeIsProcessingUserGesture, (wkeWebView view), (view))                                  \
    X(void, wkeShowDevtools, (wkeWebView view, const wchar_t* path, wkeCallback callback, void* param), \
      (view, path, callback, param))                                                                \
    /* Page events: (view, callback, user value) */                                                 \
    X(void, wkeOnTitleChanged, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnURLChanged, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnURLChanged2, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnAlertBox, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnConfirmBox, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnPromptBox, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnNavigation, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnCreateView, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnDocumentReady, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnDocumentReady2, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnLoadingFinish, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnDownload, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnConsole, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnLoadUrlBegin, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnLoadUrlEnd, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnPaintUpdated, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeOnDidCreateScriptContext, (wkeWebView view, wkeCallback callback, void* param),      \
      (view, callback, param))                                                                      \
    X(void, wkeOnWillReleaseScriptContext, (wkeWebView view, wkeCallback callback, void* param),    \
      (view, callback, param))                                                                      \
    X(void, wkeOnMouseOverUrlChanged, (wkeWebView view, wkeCallback callback, void* param),         \
      (view, callback, param))                                                                      \
    X(void, wkeOnWillMediaLoad, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(void, wkeNetOnResponse, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param)) \
    X(int, wkeNetGetFavicon, (wkeWebView view, wkeCallback callback, void* param), (view, callback, param))
// clang-format on
