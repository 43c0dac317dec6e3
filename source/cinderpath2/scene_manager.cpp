// SPDX-License-Identifier: Zlib
// The scene manager's lifetime checks and the fallbacks after them: reports never stop the game,
// so each misuse is answered with the soundest thing left to do (see the comments below).
#include "cinderpath2/scene_manager.h"

#include "cinderpath2/gameplay_scene.h"
#include "quill_mark/core/qm_error.h"

namespace Cinderpath2
{

SceneManager* theSceneManager = nullptr;

namespace
{

// Every manager made since the last Destroy, the current one last. A second Create may run
// inside a scene hook while the loop still holds a scene of the replaced manager, so replaced
// managers and their scenes live on until Destroy.
std::vector<std::unique_ptr<SceneManager>> theOwnedSceneManagers;

// What GetScene hands out when it has no scene to give (no manager, or an identifier out of
// range), after its report: an empty scene that draws and does nothing, so a caller that goes on
// regardless runs a blank screen instead of touching freed or missing memory.
class EmptyScene : public Quillmark::Game::GameScene, private Quillmark::Core::Noncopyable
{
public:
    ~EmptyScene() override = default;
};

Quillmark::Game::GameScene& TheEmptyScene()
{
    static EmptyScene emptyScene;
    return emptyScene;
}

}  // namespace

void SceneManager::Create(Quillmark::Game::GameApplication& gameApplication)
{
    qmTriggerErrorIf(
        theSceneManager != nullptr,
        "Expected theSceneManager to be null when calling create, seems create has been called twice.");
    theOwnedSceneManagers.emplace_back(new SceneManager(gameApplication));
    theSceneManager = theOwnedSceneManagers.back().get();
}

void SceneManager::Destroy()
{
    qmTriggerErrorIf(
        theSceneManager == nullptr,
        "Expected theSceneManager to be a valid pointer when calling destroy, seems destroy has been called twice, or without create.");
    theSceneManager = nullptr;
    while (!theOwnedSceneManagers.empty())
    {
        theOwnedSceneManagers.pop_back();
    }
}

Quillmark::Game::GameScene& SceneManager::GetScene(const SceneIdentifier& sceneIdentifier)
{
    qmTriggerErrorIf(
        theSceneManager == nullptr,
        "Expected theSceneManager to be created and valid before ChangeToScene is called.");
    if (theSceneManager == nullptr)
    {
        return TheEmptyScene();
    }
    const std::vector<std::unique_ptr<Quillmark::Game::GameScene>>& scenes =
        theSceneManager->mScenes;
    const bool inRange = static_cast<unsigned int>(sceneIdentifier) < scenes.size();
    qmTriggerErrorIf(
        !inRange,
        "Expected a valid sceneIdentifier, out of range.  Was the scene added to manager?");
    if (!inRange || scenes[sceneIdentifier] == nullptr)
    {
        return TheEmptyScene();
    }
    return *scenes[sceneIdentifier];
}

void SceneManager::QuitGame()
{
    qmTriggerErrorIf(
        theSceneManager == nullptr,
        "Expected theSceneManager to be created and valid before ChangeToScene is called.");
    // Without a manager there is no application to close: the report is all that happens.
    if (theSceneManager != nullptr)
    {
        theSceneManager->mGameApplication.Close();
    }
}

SceneManager::SceneManager(Quillmark::Game::GameApplication& gameApplication)
    : mGameApplication(gameApplication)
{
    // Indexed by SceneIdentifier.
    mScenes.push_back(std::make_unique<GameplayScene>());
}

SceneManager::~SceneManager()
{
    while (!mScenes.empty())
    {
        mScenes.pop_back();
    }
}

}  // namespace Cinderpath2
