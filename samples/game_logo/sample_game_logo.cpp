// Runs the game application without a scene of its own: the loop falls back to the default
// scene, which shows the framework's logo in the middle of the window until the window is closed.
#include "quill_mark/game/qm_game_application.h"

int main()
{
    Quillmark::Game::GameApplication application;
    application.SetWindowTitle("Quillmark Logo");
    application.Run();
    return 0;
}
