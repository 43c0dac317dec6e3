// SPDX-License-Identifier: Zlib
// The framework's one window: opens it with an OpenGL context, runs a message loop that never
// waits and calls the application handler once per iteration, sets the caption and shows modal
// message boxes. The window and its state are process-wide: one application at a time.
#pragma once

#include <string>

#include "quill_mark/application/qm_application_handler_interface.h"
#include "quill_mark/core/qm_noncopyable.h"

namespace Quillmark::Application
{

class RealtimeApplication : private Quillmark::Core::Noncopyable
{
public:
    // Stores the handler (not owned); opens nothing.
    explicit RealtimeApplication(ApplicationHandlerInterface& applicationHandler);
    // Does not close the window.
    ~RealtimeApplication() = default;

    void Open();
    // Returns when the loop ends: the window was closed or Close() was called from a callback.
    void Run();
    // Destroys the context and the window; may be called from inside a callback during Run().
    void Close();
    // False when Open() could not make the window (no window system, say): Run() then returns
    // at once. True from a successful Open() until Close().
    bool HasWindow() const;

    void SetWindowTitle(const std::string& title);
    // A modal box owned by the window with a single confirm button; true if it was confirmed.
    // Blocks, loop and all, until the box is closed.
    bool OpenMessageBox(const std::string& title, const std::string& message);

private:
    ApplicationHandlerInterface& applicationHandler;
};

}  // namespace Quillmark::Application
