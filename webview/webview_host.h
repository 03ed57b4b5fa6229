// WebViewHost: one engine view bound to a window that somebody else created.
#pragma once

#include <windows.h>

#include "engine/wke.h"

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
    // Loads a URL or file path given as host text (code page 936).
    virtual void Load(const char* address);

protected:
    WebViewHost(const WebViewHost&) = default;
    WebViewHost& operator=(const WebViewHost&) = default;

private:
    wkeWebView view_ = nullptr;
};
