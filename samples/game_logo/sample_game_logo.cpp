// SPDX-License-Identifier: Zlib
// Runs the game application without a scene of its own: the loop falls back to the default
// scene, which shows the framework's logo in the middle of the window until the window is closed.
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/session/qm_session.h"

namespace
{

int ShowLogo()
{
    Quillmark::Game::GameApplication application;
    application.SetWindowTitle("Quillmark Logo");
    application.Run();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    return Quillmark::Session::RunSession(argc, argv, "QuillmarkLogo", ShowLogo);
}
