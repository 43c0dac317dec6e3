// The scene manager's lifetime checks and the fallbacks after them: reports never stop the game,
// so each misuse is answered with the soundest thing left to do (see the comments below).
#include "scenes/scene_manager.h"

#include "quill_mark/core/qm_error.h"
#include "scenes/gameplay_scene.h"

namespace Cinderpath2
{

SceneManager* theSceneManager = nullptr;

namespace
{

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
    // clang-format off
    qmTriggerErrorIf(theSceneManager != nullptr, "Expected theSceneManager to be null when calling create, seems create has been called twice.");
    // clang-format on
    // A second Create replaces the manager. The earlier one and its scenes are deleted rather
    // than dropped, so the replacement leaks nothing.
    SceneManager* previous = theSceneManager;
    theSceneManager = nullptr;
    if (previous != nullptr)
    {
        delete previous;
    }
    theSceneManager = new SceneManager(gameApplication);
}

void SceneManager::Destroy()
{
    // clang-format off
    qmTriggerErrorIf(theSceneManager == nullptr, "Expected theSceneManager to be a valid pointer when calling destroy, seems destroy has been called twice, or without create.");
    // clang-format on
    SceneManager* manager = theSceneManager;
    theSceneManager = nullptr;
    if (manager != nullptr)
    {
        delete manager;
    }
}

Quillmark::Game::GameScene& SceneManager::GetScene(const SceneIdentifier& sceneIdentifier)
{
    // clang-format off
    qmTriggerErrorIf(theSceneManager == nullptr, "Expected theSceneManager to be created and valid before ChangeToScene is called.");
    // clang-format on
    if (theSceneManager == nullptr)
    {
        return TheEmptyScene();
    }
    const std::vector<Quillmark::Game::GameScene*>& scenes = theSceneManager->mScenes;
    const bool inRange = static_cast<unsigned int>(sceneIdentifier) < scenes.size();
    // clang-format off
    qmTriggerErrorIf(!inRange, "Expected a valid sceneIdentifier, out of range.  Was the scene added to manager?");
    // clang-format on
    if (!inRange || scenes[sceneIdentifier] == nullptr)
    {
        return TheEmptyScene();
    }
    return *scenes[sceneIdentifier];
}

void SceneManager::QuitGame()
{
    // clang-format off
    qmTriggerErrorIf(theSceneManager == nullptr, "Expected theSceneManager to be created and valid before ChangeToScene is called.");
    // clang-format on
    // Without a manager there is no application to close: the report is all that happens.
    if (theSceneManager != nullptr)
    {
        theSceneManager->mGameApplication.Close();
    }
}

SceneManager::SceneManager(Quillmark::Game::GameApplication& gameApplication)
    : mScenes(1, nullptr), mGameApplication(gameApplication)
{
    mScenes[kGameplayScene] = new GameplayScene();
}

SceneManager::~SceneManager()
{
    for (auto scene = mScenes.rbegin(); scene != mScenes.rend(); ++scene)
    {
        delete *scene;
        *scene = nullptr;
    }
}

}  // namespace Cinderpath2
