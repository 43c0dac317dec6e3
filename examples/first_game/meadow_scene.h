// SPDX-License-Identifier: Zlib
// The first game's one scene: a firefly in the dark, music in a loop and the count of catches in
// the corner. A left click on the firefly catches it: it chirps, the count goes up and it flies off
// to a new place. Releasing Escape quits. A frame limit above 0 ends the game after that many
// frames, for automated runs.
#pragma once

#include "firefly.h"
#include "quill_mark/audio/qm_music.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/game/qm_game_scene.h"
#include "quill_mark/graphics/qm_font.h"
#include "quill_mark/graphics/qm_text.h"

namespace FirstGame
{

class MeadowScene : public Quillmark::Game::GameScene
{
public:
    MeadowScene(Quillmark::Game::GameApplication& application, int frameLimit);
    ~MeadowScene() override;

    // The firefly greets the player and the music starts when the scene starts.
    void OnOpen() override;
    void OnClose() override;
    void OnUpdate(float frameTime) override;

    int GetFrameCount() const { return mFrameCount; }
    int GetCaughtCount() const { return mCaught; }

private:
    void Catch();

    Quillmark::Game::GameApplication& mApplication;
    int mFrameLimit;
    int mFrameCount = 0;
    int mCaught = 0;
    Firefly mFirefly;
    Quillmark::Graphics::Font mFont;
    Quillmark::Graphics::Text mScore;
    Quillmark::Audio::Music mMusic;
};

}  // namespace FirstGame
