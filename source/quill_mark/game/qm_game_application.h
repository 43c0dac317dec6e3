// SPDX-License-Identifier: Zlib
// The game application: opens the window when it is constructed, shows every reported error in a
// message box while it exists, and runs the game loop on a scene. One per process: the loop's
// handler keeps a pointer to the first one for the rest of the run.
#pragma once

#include <string>

#include "quill_mark/application/qm_realtime_application.h"
#include "quill_mark/core/qm_error.h"

namespace Quillmark::Game
{

class GameScene;

// Length of one simulation step, in seconds.
constexpr float kFixedTimeStep = 0.01f;
// The frame time given to a scene is cut to this (1/30 s), so a stalled frame does not turn
// into a burst of steps.
constexpr float kMaximumFrameTime = 1.0f / 30.0f;
// Most simulation steps in one frame; what is left carries over to the next frame.
constexpr int kMaximumStepsPerFrame = 5;

class GameApplication : public Application::RealtimeApplication,
                        public Core::Error::ErrorHandlerInterface
{
public:
    // Opens the window (the clock starts and the window is cleared to black), then registers
    // itself as an error handler. A second GameApplication in the same process is reported.
    GameApplication();
    // Stops being an error handler; the window is left as it is.
    ~GameApplication() override;

    // The scene becomes current at the start of the first frame; returns when the message loop
    // ends (window closed, or Close() called from the game). The scene is not owned: it must
    // outlive the run.
    void RunGame(GameScene& firstScene);

    // Shows the message, the file and the line of the report in a modal box.
    void OnErrorTriggered(const std::string& message) override;
};

}  // namespace Quillmark::Game
