// SPDX-License-Identifier: Zlib
// Start-up order matters: the game application opens the window and its OpenGL context before
// the sprite sheet creates its texture, and the scene manager exists before the loop starts.
// Missing or broken data files are reported by their loaders and the game runs on regardless.
#include "cinderpath2/game_entry.h"

#include "cinderpath2/scene_manager.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/graphics/qm_sprite_manager.h"

namespace Cinderpath2
{

int RunCinderpath2()
{
    Quillmark::Game::GameApplication gameApplication;
    // Without a window the game cannot be played; it still goes through its steps, so every
    // fault is reported, and then says so in its exit code.
    const bool hasWindow = gameApplication.HasWindow();
    gameApplication.SetWindowTitle("Cinderpath2");

    Quillmark::Graphics::theSpriteManager.LoadSpriteSheetFromFile("prototyping_sheet",
                                                                  "data/prototyping_sheet.json");
    Quillmark::Audio::theAudioManager.LoadEventTable("audio_events",
                                                     "data/audio/audio_events.json");

    SceneManager::Create(gameApplication);
    gameApplication.RunGame(SceneManager::GetScene(kGameplayScene));
    SceneManager::Destroy();
    return hasWindow ? 0 : 1;
}

}  // namespace Cinderpath2
