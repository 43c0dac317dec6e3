// Where the game loop tells whoever watches the run that a frame has ended, with a checksum of
// the simulation as the frame left it. A platform layer that records or replays a session
// watches; in a plain run nobody does, and the loop then computes no checksum at all.
#pragma once

#include <cstdint>

namespace Quillmark::Platform
{

// Called after every game-loop frame, once the scene was simulated, updated and drawn.
using FrameObserver = void (*)(std::uint32_t sceneChecksum);

// Null stops the observing. One observer at a time: the layer that answers the seam.
void SetFrameObserver(FrameObserver observer);
FrameObserver GetFrameObserver();

}  // namespace Quillmark::Platform
