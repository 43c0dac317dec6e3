// The scene manager on the scripted platform layer: one gameplay scene per manager, a report for
// every misuse and sound behaviour after it. Without data files spawned circles report their
// missing sheet, so only the manager's own reports are counted where circles spawn.
#include "cinderpath2/scene_manager.h"

#include <gtest/gtest.h>

#include "cinderpath2/gameplay_scene.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"
#include "support/recording_error_handler.h"

namespace
{

namespace Scripted = qmImplementation::ScriptedPlatform;
using Cinderpath2::GameplayScene;
using Cinderpath2::kGameplayScene;
using Cinderpath2::SceneManager;
using Cinderpath2::theSceneManager;

const char* const kCreateTwice =
    "Expected theSceneManager to be null when calling create, seems create has been called twice.";
const char* const kDestroyTwice =
    "Expected theSceneManager to be a valid pointer when calling destroy, seems destroy has been "
    "called twice, or without create.";
const char* const kNoManager =
    "Expected theSceneManager to be created and valid before ChangeToScene is called.";
const char* const kOutOfRange =
    "Expected a valid sceneIdentifier, out of range.  Was the scene added to manager?";

class SceneManagerTest : public testing::Test
{
protected:
    QuillmarkTest::RecordingErrorHandler errors;
    Quillmark::Game::GameApplication application;
};

TEST_F(SceneManagerTest, HoldsOneGameplaySceneAndQuitGameClosesTheWindow)
{
    SceneManager::Create(application);
    Quillmark::Game::GameScene& scene = SceneManager::GetScene(kGameplayScene);
    EXPECT_NE(dynamic_cast<GameplayScene*>(&scene), nullptr);
    EXPECT_EQ(&SceneManager::GetScene(kGameplayScene), &scene);
    const HWND window = Scripted::GetLatestWindow();
    SceneManager::QuitGame();
    EXPECT_TRUE(Scripted::GetWindowInfo(window).destroyed);
    SceneManager::Destroy();
    EXPECT_EQ(theSceneManager, nullptr);
    SceneManager::Destroy();  // a second destroy only reports
    EXPECT_EQ(theSceneManager, nullptr);
    EXPECT_EQ(errors.Count(kDestroyTwice), 1);
    EXPECT_EQ(errors.Count(kCreateTwice), 0);
}

TEST_F(SceneManagerTest, ASecondCreateReportsAndStartsAFreshScene)
{
    SceneManager::Create(application);
    auto& first = dynamic_cast<GameplayScene&>(SceneManager::GetScene(kGameplayScene));
    for (int step = 0; step < 5; ++step)
    {
        first.OnSimulate();
    }
    ASSERT_EQ(first.GetSpawnedEntities().size(), 2u);

    SceneManager::Create(application);
    EXPECT_EQ(errors.Count(kCreateTwice), 1);
    auto& second = dynamic_cast<GameplayScene&>(SceneManager::GetScene(kGameplayScene));
    EXPECT_TRUE(second.GetSpawnedEntities().empty());
    SceneManager::Destroy();
    EXPECT_EQ(errors.Count(kDestroyTwice), 0);
}

TEST_F(SceneManagerTest, WithoutAManagerGetSceneAndQuitGameReportAndHarmNothing)
{
    Quillmark::Game::GameScene& scene = SceneManager::GetScene(kGameplayScene);
    EXPECT_EQ(errors.Count(kNoManager), 1);
    // What is handed out can be run without effect.
    scene.OnSimulate();
    scene.OnUpdate(0.01f);
    scene.OnRender();
    SceneManager::QuitGame();
    EXPECT_EQ(errors.Count(kNoManager), 2);
    EXPECT_FALSE(Scripted::GetWindowInfo(Scripted::GetLatestWindow()).destroyed);
}

TEST_F(SceneManagerTest, AnUnknownIdentifierIsReported)
{
    SceneManager::Create(application);
    const auto unknown = static_cast<Cinderpath2::SceneIdentifier>(1);
    Quillmark::Game::GameScene& scene = SceneManager::GetScene(unknown);
    EXPECT_EQ(errors.Count(kOutOfRange), 1);
    EXPECT_NE(&scene, &SceneManager::GetScene(kGameplayScene));
    SceneManager::GetScene(static_cast<Cinderpath2::SceneIdentifier>(-1));
    EXPECT_EQ(errors.Count(kOutOfRange), 2);
    SceneManager::Destroy();
}

}  // namespace
