// Page-event subscriptions: one callback thunk per event kind and view, kept under its view key.
#include "engine/engine.h"
#include "webview/internal.h"
#include "webview/view_keys.h"
#include "webview/webview_host.h"

namespace {

using Subscribe = void (*)(wkeWebView view, wkeCallback callback, void* param);

struct PageEvent {
    const char* key;
    Subscribe subscribe;  // null where the engine has no call to unsubscribe with
};

// In the order in which ReleaseAllEvents visits them.
constexpr PageEvent kPageEvents[] = {
    {"kxOnTitleChange", wkeOnTitleChanged},
    {"kxOnUrlChange", wkeOnURLChanged},
    {"kxOnUrlChange2", wkeOnURLChanged2},
    {"kxOnAlertBox", wkeOnAlertBox},
    {"kxOnConfirmBox", wkeOnConfirmBox},
    {"kxOnPromptBox", wkeOnPromptBox},
    {"kxOnNavigation", wkeOnNavigation},
    {"kxOnCreateView", wkeOnCreateView},
    {"kxOnDocumentReady", wkeOnDocumentReady},
    {"kxOnDocumentReady2", wkeOnDocumentReady2},
    {"kxOnLoadingFinish", wkeOnLoadingFinish},
    {"kxOnDownload", wkeOnDownload},
    {"kxOnConsole", wkeOnConsole},
    {"kxOnLoadUrlBegin", wkeOnLoadUrlBegin},
    {"kxOnLoadUrlEnd", wkeOnLoadUrlEnd},
    {view_keys::kPaintThunk, wkeOnPaintUpdated},
    {"kxOnDidCreateScriptContext", wkeOnDidCreateScriptContext},
    {"kxOnWillReleaseScriptContext", wkeOnWillReleaseScriptContext},
    {"kxOnResponse", wkeNetOnResponse},
    {"kxOnMouseOverUrlChanged", wkeOnMouseOverUrlChanged},
    {"kxOnWillMediaLoad", wkeOnWillMediaLoad},
    {"kxOnShowDevtools", nullptr},
    {"kxOnNetGetFavicon", nullptr},
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
