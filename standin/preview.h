// The preview: while a view has a host window, the stand-in draws a plain analog clock into the
// view about once a second and hands each frame to the paint-updated routine, so the whole path
// of a frame through the host runs here. It draws no page: it only shows that frames arrive.
#pragma once

#include "standin/state.h"

namespace standin {

void SetPreviewEnabled(bool enabled);
// Starts or stops a view's frames to follow its host window.
void UpdatePreview(wkeWebView view);
void StopPreview(wkeWebView view);
void ForgetPreview(wkeWebView view);
// Remembers what the view was asked to load: the preview shows whether that file exists.
void PreviewLoaded(wkeWebView view, const wchar_t* address);
// Draws the view's current frame and hands it to its paint-updated routine.
void PaintPreviewFrame(wkeWebView view);

}  // namespace standin
