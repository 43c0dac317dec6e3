// SPDX-License-Identifier: Zlib
// A checksum of a scene's entities as the simulation left them, so that two runs of the same
// session can be compared frame by frame. It covers what the simulation moves (positions, depths,
// the active and visible switches, and the scale and rotation of sprites), not colours or frames.
#pragma once

#include <cstdint>

namespace Quillmark::Game
{
class GameScene;
}

namespace qmImplementation
{

// Over the entities in order and, for each, its own graphics one level down; sprites add their
// scale and rotation.
std::uint32_t ChecksumOfScene(const Quillmark::Game::GameScene& scene);

}  // namespace qmImplementation
