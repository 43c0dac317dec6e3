// SPDX-License-Identifier: Zlib
// What the web layer asks of the page itself, in JavaScript: the canvas, the title, the next
// animation frame and the message dialog. The page keeps a small status record beside the
// program, Module.quillmark (frames presented, dialogs shown, whether one is open), which the
// page's own script and its tests read.
#pragma once

#include "quill_mark/platform/web/qmi_web_input.h"

namespace qmImplementation::WebLayer::Page
{

// False when the page has no canvas for the program (Module.canvas).
bool HasCanvas();
// The canvas's own pixel size is the window's client size.
CanvasPlacement MeasureCanvas();
void SetCanvasSize(int width, int height);
void ShowCanvas();
void SetTitle(const char* title);
bool HasFocus();
// From now on the page's WebGL contexts answer the state queries of the attribute stack
// (blend factors, clear colour, write masks, depth test) themselves, without waiting for the GPU.
void KeepGlState();

// Hands control back to the browser until its next animation frame: the picture drawn so far
// is presented, the page's events are delivered, and no core is kept busy meanwhile.
void WaitForNextFrame();

// Shows a modal dialog and returns once a button is pressed: 1 for OK, 2 for Cancel (Escape
// answers Cancel, or OK when there is none), 0 when the page cannot show one.
int ShowDialog(const char* text, const char* caption, bool hasCancel);

}  // namespace qmImplementation::WebLayer::Page
