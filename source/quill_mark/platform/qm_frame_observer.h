// SPDX-License-Identifier: Zlib
// Where the game loop tells whoever watches the run that a frame has ended, with a checksum of
// the simulation as the frame left it, and learns whether its frames are drawn at all. A platform
// layer that records or replays a session watches; in a plain run nobody does, and the loop then
// computes no checksum. A headless replay turns drawing off, as nobody sees the picture.
#pragma once

#include <cstdint>

namespace Quillmark::Platform
{

// Called after every game-loop frame, once the scene was simulated, updated and drawn.
using FrameObserver = void (*)(std::uint32_t sceneChecksum);

// Null stops the observing. One observer at a time: the layer that answers the seam.
void SetFrameObserver(FrameObserver observer);
FrameObserver GetFrameObserver();

// On unless turned off. Drawing changes nothing in the simulation, so a run that skips it takes
// the same course, provided nothing reported while drawing (a report opens a message box).
void SetFramesDrawn(bool drawn);
bool AreFramesDrawn();

}  // namespace Quillmark::Platform
