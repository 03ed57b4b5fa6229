// The host's bookkeeping, kept in each engine view's user key-value store (a key never set reads
// as 0), and the one window property that leads from a window to its host.
#pragma once

#include "engine/engine.h"

namespace view_keys {

constexpr char kHostWindow[] = "kxhWnd";
constexpr char kPreviousProcedure[] = "kxOldPorc";
constexpr char kPaintThunk[] = "kxOnPaintUpdate";
constexpr char kMaxRect[] = "kxMaxRect";
constexpr char kResizable[] = "kxIsZoom";

inline void* Get(wkeWebView view, const char* key) { return wkeGetUserKeyValue(view, key); }
inline void Set(wkeWebView view, const char* key, void* value) { wkeSetUserKeyValue(view, key, value); }

}  // namespace view_keys

// Window property of the host window: its WebViewHost.
constexpr char kHostProperty[] = "wkeEThis";
