// Page-event subscriptions: one callback thunk per event kind and view, kept under its view key.
#include "engine/engine.h"
#include "webview/internal.h"
#include "webview/text.h"
#include "webview/view_keys.h"
#include "webview/webview_host.h"

namespace {

using Subscribe = void (*)(wkeWebView view, wkeCallback callback, void* param);

struct PageEvent {
    const char* key;
    Subscribe subscribe;  // null where the engine has no call to unsubscribe with
    int arguments;        // that the engine passes to the routine, the user value second
};

// Their places in kPageEvents.
enum Event {
    kTitleChange,
    kUrlChange,
    kUrlChange2,
    kAlertBox,
    kConfirmBox,
    kPromptBox,
    kNavigation,
    kCreateView,
    kDocumentReady,
    kDocumentReady2,
    kLoadingFinish,
    kDownload,
    kConsole,
    kLoadUrlBegin,
    kLoadUrlEnd,
    kPaintUpdate,
    kDidCreateScriptContext,
    kWillReleaseScriptContext,
    kResponse,
    kMouseOverUrlChanged,
    kWillMediaLoad,
    kShowDevtools,
    kNetGetFavicon,
};

// In the order in which ReleaseAllEvents visits them.
constexpr PageEvent kPageEvents[] = {
    {"kxOnTitleChange", wkeOnTitleChanged, 3},
    {"kxOnUrlChange", wkeOnURLChanged, 3},
    {"kxOnUrlChange2", wkeOnURLChanged2, 4},
    {"kxOnAlertBox", wkeOnAlertBox, 3},
    {"kxOnConfirmBox", wkeOnConfirmBox, 3},
    {"kxOnPromptBox", wkeOnPromptBox, 5},
    {"kxOnNavigation", wkeOnNavigation, 4},
    {"kxOnCreateView", wkeOnCreateView, 5},
    {"kxOnDocumentReady", wkeOnDocumentReady, 2},
    {"kxOnDocumentReady2", wkeOnDocumentReady2, 3},
    {"kxOnLoadingFinish", wkeOnLoadingFinish, 5},
    {"kxOnDownload", wkeOnDownload, 3},
    {"kxOnConsole", wkeOnConsole, 7},
    {"kxOnLoadUrlBegin", wkeOnLoadUrlBegin, 4},
    {"kxOnLoadUrlEnd", wkeOnLoadUrlEnd, 6},
    {view_keys::kPaintThunk, wkeOnPaintUpdated, 7},
    {"kxOnDidCreateScriptContext", wkeOnDidCreateScriptContext, 6},
    {"kxOnWillReleaseScriptContext", wkeOnWillReleaseScriptContext, 5},
    {"kxOnResponse", wkeNetOnResponse, 4},
    {"kxOnMouseOverUrlChanged", wkeOnMouseOverUrlChanged, 3},
    {"kxOnWillMediaLoad", wkeOnWillMediaLoad, 4},
    {"kxOnShowDevtools", nullptr, 2},
    {"kxOnNetGetFavicon", nullptr, 4},
};

}  // namespace

void WebViewHost::ReleaseAllEvents() {
    if (!view_) return;
    for (const PageEvent& event : kPageEvents) {
        auto thunk = static_cast<wkeCallback>(view_keys::Get(view_, event.key));
        if (!thunk) continue;
        if (event.subscribe) event.subscribe(view_, nullptr, nullptr);
        webview::FreeCallbackThunk(thunk);
        view_keys::Set(view_, event.key, nullptr);
    }
}

wkeCallback WebViewHost::Resubscribe(int event, const void* routine) {
    const PageEvent& entry = kPageEvents[event];
    if (auto previous = static_cast<wkeCallback>(view_keys::Get(view_, entry.key)))
        webview::FreeCallbackThunk(previous);
    wkeCallback thunk = webview::MakeCallbackThunk(routine, entry.arguments);
    view_keys::Set(view_, entry.key, thunk);
    return thunk;
}

// Without a thunk the engine must not keep the one just freed: it is told to drop the event.
void WebViewHost::SubscribePageEvent(int event, const void* routine, void* userValue) {
    if (!view_) return;
    wkeCallback thunk = Resubscribe(event, routine);
    kPageEvents[event].subscribe(view_, thunk, thunk ? userValue : nullptr);
}

void WebViewHost::OnTitleChanged(const void* routine, void* userValue) {
    SubscribePageEvent(kTitleChange, routine, userValue);
}
void WebViewHost::OnURLChanged(const void* routine, void* userValue) {
    SubscribePageEvent(kUrlChange, routine, userValue);
}
void WebViewHost::OnURLChanged2(const void* routine, void* userValue) {
    SubscribePageEvent(kUrlChange2, routine, userValue);
}
void WebViewHost::OnAlertBox(const void* routine, void* userValue) {
    SubscribePageEvent(kAlertBox, routine, userValue);
}
void WebViewHost::OnConfirmBox(const void* routine, void* userValue) {
    SubscribePageEvent(kConfirmBox, routine, userValue);
}
void WebViewHost::OnPromptBox(const void* routine, void* userValue) {
    SubscribePageEvent(kPromptBox, routine, userValue);
}
void WebViewHost::OnNavigation(const void* routine, void* userValue) {
    SubscribePageEvent(kNavigation, routine, userValue);
}
void WebViewHost::OnCreateView(const void* routine, void* userValue) {
    SubscribePageEvent(kCreateView, routine, userValue);
}
void WebViewHost::OnDocumentReady(const void* routine, void* userValue) {
    SubscribePageEvent(kDocumentReady, routine, userValue);
}
void WebViewHost::OnDocumentReady2(const void* routine, void* userValue) {
    SubscribePageEvent(kDocumentReady2, routine, userValue);
}
void WebViewHost::OnLoadingFinish(const void* routine, void* userValue) {
    SubscribePageEvent(kLoadingFinish, routine, userValue);
}
void WebViewHost::OnDownload(const void* routine, void* userValue) {
    SubscribePageEvent(kDownload, routine, userValue);
}
void WebViewHost::OnConsole(const void* routine, void* userValue) { SubscribePageEvent(kConsole, routine, userValue); }
void WebViewHost::OnLoadUrlBegin(const void* routine, void* userValue) {
    SubscribePageEvent(kLoadUrlBegin, routine, userValue);
}
void WebViewHost::OnLoadUrlEnd(const void* routine, void* userValue) {
    SubscribePageEvent(kLoadUrlEnd, routine, userValue);
}
void WebViewHost::OnDidCreateScriptContext(const void* routine, void* userValue) {
    SubscribePageEvent(kDidCreateScriptContext, routine, userValue);
}
void WebViewHost::OnWillReleaseScriptContext(const void* routine, void* userValue) {
    SubscribePageEvent(kWillReleaseScriptContext, routine, userValue);
}
void WebViewHost::NetOnResponse(const void* routine, void* userValue) {
    SubscribePageEvent(kResponse, routine, userValue);
}
void WebViewHost::OnMouseOverUrlChanged(const void* routine, void* userValue) {
    SubscribePageEvent(kMouseOverUrlChanged, routine, userValue);
}
void WebViewHost::OnWillMediaLoad(const void* routine, void* userValue) {
    SubscribePageEvent(kWillMediaLoad, routine, userValue);
}

// Both devtools methods keep their thunk under one key: one devtools subscription per view.
void WebViewHost::ShowDevtoolsW(const void* routine, text::BufferRef path, void* userValue) {
    if (!view_) return;
    if (wkeCallback thunk = Resubscribe(kShowDevtools, routine)) wkeShowDevtools(view_, path.units(), thunk, userValue);
}

void WebViewHost::ShowDevtools(const void* routine, const char* path, void* userValue) {
    if (!view_) return;
    if (wkeCallback thunk = Resubscribe(kShowDevtools, routine))
        wkeShowDevtools(view_, text::TextToUtf16(path).units(), thunk, userValue);
}

int WebViewHost::NetGetFavicon(const void* routine, void* userValue) {
    if (!view_) return 0;
    wkeCallback thunk = Resubscribe(kNetGetFavicon, routine);
    return thunk ? wkeNetGetFavicon(view_, thunk, userValue) : 0;
}
