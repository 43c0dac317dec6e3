// SPDX-License-Identifier: Zlib
// The page's side of the web layer, written in JavaScript inside the program (Emscripten's EM_JS):
// only what the browser's C interfaces do not offer. Two of these suspend the program until the
// browser answers (the next animation frame, a pressed dialog button); the program is built with
// Asyncify, which unwinds and later resumes the whole call stack around them.
#include "quill_mark/platform/web/qmi_web_page.h"

#include <emscripten.h>

namespace
{

// clang-format off
EM_JS(int, qmWebHasCanvas, (), {
    Module.quillmark = Module.quillmark || {frames: 0, dialogsShown: 0, dialogOpen: false};
    return Module.canvas ? 1 : 0;
});

// Borders are not part of the drawing: the client area starts inside them.
EM_JS(void, qmWebMeasureCanvas, (double* rect), {
    var canvas = Module.canvas;
    var box = canvas.getBoundingClientRect();
    var at = rect >> 3;
    HEAPF64[at] = box.left + canvas.clientLeft;
    HEAPF64[at + 1] = box.top + canvas.clientTop;
    HEAPF64[at + 2] = canvas.clientWidth;
    HEAPF64[at + 3] = canvas.clientHeight;
    HEAPF64[at + 4] = canvas.width;
    HEAPF64[at + 5] = canvas.height;
});

EM_JS(void, qmWebSetCanvasSize, (int width, int height), {
    Module.canvas.width = width;
    Module.canvas.height = height;
});

EM_JS(void, qmWebShowCanvas, (), {
    Module.canvas.style.visibility = "visible";
});

EM_JS(void, qmWebSetTitle, (const char* title), {
    document.title = UTF8ToString(title);
});

EM_JS(int, qmWebHasFocus, (), {
    return document.hasFocus() ? 1 : 0;
});

// The frame counter is what the page shows as the game's progress; it stops when the game does.
EM_ASYNC_JS(void, qmWebWaitForNextFrame, (), {
    Module.quillmark.frames++;
    await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); });
});

// A form in "dialog" mode closes the dialog with the pressed button's value; Escape closes it
// with an empty one.
EM_ASYNC_JS(int, qmWebShowDialog, (const char* text, const char* caption, int hasCancel), {
    if (typeof HTMLDialogElement !== "function") {
        return 0;
    }
    var dialog = document.createElement("dialog");
    dialog.className = "quillmark-message-box";
    var heading = document.createElement("h2");
    heading.textContent = UTF8ToString(caption);
    var message = document.createElement("p");
    message.textContent = UTF8ToString(text);
    message.style.whiteSpace = "pre-wrap";
    var form = document.createElement("form");
    form.method = "dialog";
    var labels = hasCancel ? ["OK", "Cancel"] : ["OK"];
    labels.forEach(function(label, index) {
        var button = document.createElement("button");
        button.value = String(index + 1);
        button.textContent = label;
        form.appendChild(button);
    });
    dialog.append(heading, message, form);
    document.body.appendChild(dialog);
    var status = Module.quillmark;
    status.dialogsShown++;
    status.dialogOpen = true;
    var answer = await new Promise(function(resolve) {
        dialog.addEventListener("close", function() { resolve(dialog.returnValue); });
        dialog.showModal();
    });
    dialog.remove();
    status.dialogOpen = false;
    if (answer === "1" || answer === "2") {
        return Number(answer);
    }
    return hasCancel ? 2 : 1;
});
// WebGL answers getParameter by waiting for the browser's GPU process to finish the work queued
// before it, several milliseconds a query in software; the attribute stack reads seven values
// a frame. So every WebGL context of the page keeps the values its setters were last given (from
// WebGL's initial state) and answers those seven queries itself; all other queries go to WebGL.
// qmAskWebGl is WebGL's own answer, for the page's tests to compare with.
EM_JS(void, qmWebKeepGlState, (), {
    [self.WebGLRenderingContext, self.WebGL2RenderingContext].forEach(function(type) {
        if (!type || type.prototype.qmKeepsState) return;
        var prototype = type.prototype, original = {};
        ["blendFunc", "blendFuncSeparate", "clearColor", "colorMask", "depthFunc", "depthMask",
         "getParameter"].forEach(function(name) { original[name] = prototype[name]; });
        function kept(context) {
            return context.qmState = context.qmState || {
                0x80C9: 1, 0x80C8: 0, 0x80CB: 1, 0x80CA: 0, 0x0C22: [0, 0, 0, 0],
                0x0C23: [true, true, true, true], 0x0B74: 0x0201, 0x0B72: true};
        }
        prototype.qmKeepsState = true;
        prototype.qmAskWebGl = original.getParameter;
        prototype.blendFunc = function(source, destination) {
            var state = kept(this);
            state[0x80C9] = state[0x80CB] = source;
            state[0x80C8] = state[0x80CA] = destination;
            original.blendFunc.call(this, source, destination);
        };
        prototype.blendFuncSeparate = function(sourceRgb, destinationRgb, sourceAlpha,
                                               destinationAlpha) {
            var state = kept(this);
            state[0x80C9] = sourceRgb;
            state[0x80C8] = destinationRgb;
            state[0x80CB] = sourceAlpha;
            state[0x80CA] = destinationAlpha;
            original.blendFuncSeparate.apply(this, arguments);
        };
        prototype.clearColor = function(red, green, blue, alpha) {
            kept(this)[0x0C22] = [red, green, blue, alpha];
            original.clearColor.apply(this, arguments);
        };
        prototype.colorMask = function(red, green, blue, alpha) {
            kept(this)[0x0C23] = [!!red, !!green, !!blue, !!alpha];
            original.colorMask.apply(this, arguments);
        };
        prototype.depthFunc = function(test) {
            kept(this)[0x0B74] = test;
            original.depthFunc.call(this, test);
        };
        prototype.depthMask = function(write) {
            kept(this)[0x0B72] = !!write;
            original.depthMask.call(this, write);
        };
        prototype.getParameter = function(name) {
            var state = kept(this);
            if (!(name in state)) return original.getParameter.call(this, name);
            var value = state[name];
            if (name === 0x0C22) return new Float32Array(value);
            return Array.isArray(value) ? value.slice() : value;
        };
    });
});
// clang-format on

}  // namespace

namespace qmImplementation::WebLayer::Page
{

bool HasCanvas()
{
    return qmWebHasCanvas() != 0;
}

CanvasPlacement MeasureCanvas()
{
    double measured[6] = {};
    qmWebMeasureCanvas(measured);
    return CanvasPlacement{measured[0],
                           measured[1],
                           measured[2],
                           measured[3],
                           static_cast<int>(measured[4]),
                           static_cast<int>(measured[5])};
}

void SetCanvasSize(int width, int height)
{
    qmWebSetCanvasSize(width, height);
}

void ShowCanvas()
{
    qmWebShowCanvas();
}

void SetTitle(const char* title)
{
    qmWebSetTitle(title);
}

void KeepGlState()
{
    qmWebKeepGlState();
}

bool HasFocus()
{
    return qmWebHasFocus() != 0;
}

void WaitForNextFrame()
{
    qmWebWaitForNextFrame();
}

int ShowDialog(const char* text, const char* caption, bool hasCancel)
{
    return qmWebShowDialog(text, caption, hasCancel ? 1 : 0);
}

}  // namespace qmImplementation::WebLayer::Page
