// SPDX-License-Identifier: Zlib
// GameApplication: construction order (window first, then the error box), the error box text,
// and the checks on the loop's link to the application, so that their reports name this file.
#include "quill_mark/game/qm_game_application.h"

#include "quill_mark/game/implementation/qmi_game_application_handler.h"

namespace Quillmark::Game
{

GameApplication::GameApplication()
    : Application::RealtimeApplication(qmImplementation::theGameApplicationHandler)
{
    qmImplementation::GameApplicationHandler& handler = qmImplementation::theGameApplicationHandler;
    qmTriggerErrorIf(handler.gameApplication != nullptr,
                     "qmInternalError: GameApplication has already been set.");
    handler.gameApplication = this;
    Open();
    Core::Error::AddErrorHandler(*this);
}

GameApplication::~GameApplication()
{
    Core::Error::RemoveErrorHandler(*this);
}

void GameApplication::RunGame(GameScene& firstScene)
{
    qmImplementation::pendingScene = &firstScene;
    Run();
}

void GameApplication::OnErrorTriggered(const std::string& message)
{
    const std::string line = std::to_string(Core::Error::GetLastErrorLine());
    const std::string text = message + "\n\n" + Core::Error::GetLastErrorFile() + "  LINE: " + line;
    OpenMessageBox("Error Condition Triggered", text);
}

}  // namespace Quillmark::Game

namespace qmImplementation
{

void CheckGameApplicationIsSet(const Quillmark::Game::GameApplication* gameApplication)
{
    qmTriggerErrorIf(gameApplication == nullptr,
                     "qmInternalError: Game Application has not been set.");
}

}  // namespace qmImplementation
