// SPDX-License-Identifier: Zlib
// The scene the game loop runs while no scene is current: the built-in logo, centred in the
// window. The logo is made on the scene's first update, when the OpenGL context exists, so the
// scene itself can be a static object.
#pragma once

#include <cstddef>

#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/qm_game_scene.h"

namespace Quillmark::Graphics
{
class Sprite;
}

namespace qmImplementation
{

class DefaultScene : public Quillmark::Game::GameScene, private Quillmark::Core::Noncopyable
{
public:
    ~DefaultScene() override;

    // Nothing: the logo does not move.
    void OnSimulate() override;
    // Creates the logo on the first call; the scene's graphics need no update.
    void OnUpdate(float frameTime) override;

    // The logo sprite, or null before the first update.
    const Quillmark::Graphics::Sprite* GetLogo() const { return mLogo; }

private:
    Quillmark::Graphics::Sprite* mLogo = nullptr;
};

extern DefaultScene theDefaultScene;

// The logo's PNG file, built into the program's read-only data.
extern const unsigned char kLogoImage[];
extern const std::size_t kLogoImageSize;

}  // namespace qmImplementation
