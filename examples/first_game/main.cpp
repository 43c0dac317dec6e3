// SPDX-License-Identifier: Zlib
// The first game's entry: opens the window, loads the sprite sheet and the sound events from
// data/ (relative to the working directory), and runs the meadow scene until the player quits.
// FIRST_GAME_FRAMES=N ends the game after N frames, for automated runs: reports then go only to
// standard output, since no one is there to close a message box, and make the exit status 1.
// The run goes through RunSession, so `first_game --record FILE` and `--replay FILE` work too.
#include <cstdlib>
#include <iostream>
#include <string>

#include "meadow_scene.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/core/qm_error.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/graphics/qm_sprite_manager.h"
#include "quill_mark/session/qm_session.h"

namespace
{

class ReportCounter : public Quillmark::Core::Error::ErrorHandlerInterface
{
public:
    void OnErrorTriggered(const std::string& /*message*/) override { ++count; }
    int count = 0;
};

// The whole game, from the window opening to its closing; returns the exit code.
int RunFirstGame()
{
    const char* frameLimit = std::getenv("FIRST_GAME_FRAMES");
    ReportCounter reports;
    Quillmark::Core::Error::AddErrorHandler(reports);

    // Opens the window and its OpenGL context, which the sprite sheet's texture needs; from here
    // on every report also opens a message box.
    Quillmark::Game::GameApplication application;
    application.SetWindowTitle("First Game");
    if (frameLimit != nullptr)
    {
        Quillmark::Core::Error::RemoveErrorHandler(application);
    }

    Quillmark::Graphics::theSpriteManager.LoadSpriteSheetFromFile("sprites", "data/sprites.json");
    Quillmark::Audio::theAudioManager.LoadEventTable("sounds", "data/audio/audio_events.json");

    FirstGame::MeadowScene scene(application, frameLimit != nullptr ? std::atoi(frameLimit) : 0);
    application.RunGame(scene);

    Quillmark::Core::Error::RemoveErrorHandler(reports);
    std::cout << "first_game: " << scene.GetFrameCount() << " frames, " << reports.count
              << " reports\n";
    return reports.count == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    return Quillmark::Session::RunSession(argc, argv, "FirstGame", RunFirstGame);
}
