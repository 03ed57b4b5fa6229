// WebViewHost: one engine view bound to a window that somebody else created.
#pragma once

#include <windows.h>

#include "engine/wke.h"
#include "webview/text.h"

class WebViewHost {
public:
    WebViewHost() = default;
    // Does nothing: neither unbinds nor destroys the view.
    virtual ~WebViewHost();
    // A new object driving the same engine view (the handle is shared, not owned).
    virtual WebViewHost* Copy() const;

    // Every message of the bound window passes through here first.
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Fills the system's maximize query from the stored rectangle; true when nothing was applied.
    virtual bool ApplyMaxRect(HWND window, MINMAXINFO* info);
    // The sizing hit-test code of a screen point (the lParam of WM_NCHITTEST).
    virtual LRESULT HitTestBorders(HWND window, LPARAM lParam);
    // Ends every page-event subscription, the frame presentation among them.
    virtual void ReleaseAllEvents();
    // Creates a view inside `window` and wires the two together; false when nothing was bound.
    virtual bool BindWindow(HWND window, bool transparent);
    virtual void SetViewHandle(wkeWebView view);
    // Restores the window, releases the subscriptions and destroys the view.
    virtual void UnbindWindow();
    virtual HWND GetHostWindow();
    // The position and size the window takes when it is maximized.
    virtual void SetMaxRect(int left, int top, int width, int height);
    // Turns the 5-pixel resize borders on or off.
    virtual void SetResizable(bool on);

    virtual wkeWebView GetViewHandle();
    virtual text::HostText GetSource();
    virtual void SetDebugConfig(const char* name, const char* value);
    virtual void SetDebugConfigUtf8(const char* name, const char* value);
    virtual void SetNavigationToNewWindowEnable(bool enable);
    virtual void SetMouseEnabled(bool enable);
    virtual void SetTouchEnabled(bool enable);
    virtual void SetNpapiPluginsEnabled(bool enable);
    virtual void SetHeadlessEnabled(bool enable);
    virtual void SetDragEnable(bool enable);
    virtual void SetDragDropEnable(bool enable);
    virtual void SetMemoryCacheEnable(bool enable);
    virtual void SetViewProxy(int type, const char* host, int port, const char* user = nullptr,
                              const char* password = nullptr);
    virtual text::HostText GetName();
    virtual void SetName(const char* name);
    virtual void Sleep();
    virtual void Wake();
    virtual bool IsAwake();
    virtual void SetUserAgent(const char* userAgent);
    virtual void SetUserAgentW(text::BufferRef userAgent);
    virtual text::HostText GetUserAgent();
    virtual void LoadW(text::BufferRef address);
    // Loads a URL or file path given as host text (code page 936).
    virtual void Load(const char* address);
    virtual void LoadURLW(text::BufferRef url);
    virtual void LoadURL(const char* url);
    virtual void LoadHTMLW(text::BufferRef html);
    virtual void LoadHTML(const char* html);
    virtual void LoadHtmlWithBaseUrl(const char* html, const char* baseUrl);
    virtual void LoadHtmlWithBaseUrlUtf8(const char* html, const char* baseUrl);
    virtual void LoadFileW(text::BufferRef path);
    virtual void LoadFile(const char* path);
    virtual void PostURLW(text::BufferRef url, text::BufferRef data);
    virtual void PostURL(const char* url, text::BufferRef data);
    virtual text::HostText GetURLUtf8();
    virtual text::HostText GetURL();
    virtual bool IsLoading();
    virtual bool IsLoadingSucceeded();
    virtual bool IsLoadingFailed();
    virtual bool IsLoadingCompleted();
    virtual bool IsDocumentReady();
    virtual void StopLoading();
    virtual void Reload();
    virtual text::HostText GetTitle();
    virtual text::Utf16Buffer GetTitleW();
    virtual int GetWidth();
    virtual int GetHeight();
    virtual int GetContentWidth();
    virtual int GetContentHeight();
    virtual bool CanGoBack();
    virtual bool GoBack();
    virtual bool CanGoForward();
    virtual bool GoForward();
    virtual void EditorSelectAll();
    virtual void EditorUnSelect();
    virtual void EditorCopy();
    virtual void EditorCut();
    virtual void EditorPaste();
    virtual void EditorDelete();
    virtual void EditorUndo();
    virtual void EditorRedo();
    virtual text::HostText GetCookie();
    virtual text::Utf16Buffer GetCookieW();
    virtual void SetCookie(const char* url, const char* cookie);
    virtual void SetCookieEnabled(bool enable);
    virtual bool IsCookieEnabled();
    virtual void SetCookieJarPathW(text::BufferRef path);
    virtual void SetCookieJarPath(const char* path);
    virtual void SetCookieJarFullPathW(text::BufferRef path);
    virtual void SetCookieJarFullPath(const char* path);
    virtual void SetLocalStorageFullPathW(text::BufferRef path);
    virtual void SetLocalStorageFullPath(const char* path);
    virtual void SetMediaVolume(float volume);
    virtual float GetMediaVolume();
    virtual void SetFocus();
    virtual void KillFocus();
    virtual wkeJsValue RunJSW(text::BufferRef script);
    virtual wkeJsValue RunJS(const char* script);
    virtual wkeJsValue RunJSUtf8(const char* script);
    virtual wkeJsValue RunJsByFrameUtf8(wkeWebFrameHandle frame, const char* script, bool inClosure = false);
    virtual wkeJsValue RunJsByFrame(wkeWebFrameHandle frame, const char* script, bool inClosure = false);
    virtual void WebFrameGetMainWorldScriptContext(wkeWebFrameHandle frame, int context);
    virtual wkeExecState GlobalExec();
    virtual void SetZoomFactor(float factor);
    virtual float GetZoomFactor();
    virtual void SetEditable(bool editable);
    virtual int GetCursorInfoType();
    virtual void SetUserKeyValue(const char* key, int value);
    virtual int GetUserKeyValue(const char* key);
    // Hands the engine the files of a drag, at a point of the view and of the screen.
    virtual void SetDragFiles(int x, int y, int screenX, int screenY, const char* const* fileNames, int count);
    virtual wkeWebFrameHandle WebFrameGetMainFrame();
    virtual void SetCspCheckEnable(bool enable);
    virtual void SetViewNetInterface(const char* netInterface);
    virtual bool IsMainFrame(wkeWebFrameHandle frame);
    virtual bool IsWebRemoteFrame(wkeWebFrameHandle frame);
    // The whole page as a 32-bit top-down BMP file; empty without a view.
    virtual text::ByteBuffer CapturePageBitmap();
    virtual void GC(int intervalSeconds);
    virtual void SetDeviceParameter(const char* device, const char* paramText = nullptr, int paramInt = 0,
                                    float paramFloat = 0.0f);
    virtual void AddPluginDirectory(const char* path);
    virtual void AddPluginDirectoryW(text::BufferRef path);
    virtual wkeExecState GetGlobalExecByFrame(wkeWebFrameHandle frame);
    virtual void InsertCSSByFrame(wkeWebFrameHandle frame, const char* css);
    virtual void SetResourceGc(int intervalSeconds);
    virtual text::HostText GetFrameUrl(wkeWebFrameHandle frame);
    virtual bool IsProcessingUserGesture();

    // Page events. Each subscribes a __stdcall routine that takes the engine's arguments (the
    // user value second) and replaces the routine subscribed before for the same event.
    virtual void OnTitleChanged(const void* routine, void* userValue = nullptr);
    virtual void OnURLChanged(const void* routine, void* userValue = nullptr);
    virtual void OnURLChanged2(const void* routine, void* userValue = nullptr);
    virtual void OnAlertBox(const void* routine, void* userValue = nullptr);
    virtual void OnConfirmBox(const void* routine, void* userValue = nullptr);
    virtual void OnPromptBox(const void* routine, void* userValue = nullptr);
    virtual void OnNavigation(const void* routine, void* userValue = nullptr);
    virtual void OnCreateView(const void* routine, void* userValue = nullptr);
    virtual void OnDocumentReady(const void* routine, void* userValue = nullptr);
    virtual void OnDocumentReady2(const void* routine, void* userValue = nullptr);
    virtual void OnLoadingFinish(const void* routine, void* userValue = nullptr);
    virtual void OnDownload(const void* routine, void* userValue = nullptr);
    virtual void OnConsole(const void* routine, void* userValue = nullptr);
    virtual void OnLoadUrlBegin(const void* routine, void* userValue = nullptr);
    virtual void OnLoadUrlEnd(const void* routine, void* userValue = nullptr);
    virtual void OnDidCreateScriptContext(const void* routine, void* userValue = nullptr);
    virtual void OnWillReleaseScriptContext(const void* routine, void* userValue = nullptr);
    virtual void NetOnResponse(const void* routine, void* userValue = nullptr);
    virtual void OnMouseOverUrlChanged(const void* routine, void* userValue = nullptr);
    virtual void OnWillMediaLoad(const void* routine, void* userValue = nullptr);
    // Shows the engine's developer tools, with `routine` as their callback.
    virtual void ShowDevtoolsW(const void* routine, text::BufferRef path, void* userValue = nullptr);
    virtual void ShowDevtools(const void* routine, const char* path, void* userValue = nullptr);
    virtual int NetGetFavicon(const void* routine, void* userValue = nullptr);

protected:
    WebViewHost(const WebViewHost&) = default;
    WebViewHost& operator=(const WebViewHost&) = default;

private:
    // Replaces the thunk kept under the event's key and subscribes it; null when none was made.
    wkeCallback Resubscribe(int event, const void* routine);
    void SubscribePageEvent(int event, const void* routine, void* userValue);

    wkeWebView view_ = nullptr;
};
