// The scene manager on the scripted platform layer: one gameplay scene per manager, a report for
// every misuse and sound behaviour after it.
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
using Strings = std::vector<std::string>;

const char kNoManager[] =
    "Expected theSceneManager to be created and valid before ChangeToScene is called.";
const char kOutOfRange[] =
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
    errors.messages.clear();  // the player's sprite: no sheet is loaded in these tests
    Quillmark::Game::GameScene& scene = SceneManager::GetScene(kGameplayScene);
    EXPECT_NE(dynamic_cast<GameplayScene*>(&scene), nullptr);
    EXPECT_EQ(&SceneManager::GetScene(kGameplayScene), &scene);
    SceneManager::QuitGame();
    EXPECT_TRUE(Scripted::GetWindowInfo(Scripted::GetLatestWindow()).destroyed);
    SceneManager::Destroy();
    EXPECT_EQ(Cinderpath2::theSceneManager, nullptr);
    EXPECT_EQ(errors.messages, Strings{});
    SceneManager::Destroy();  // a second destroy only reports
    EXPECT_EQ(Cinderpath2::theSceneManager, nullptr);
    EXPECT_EQ(
        errors.messages,
        Strings{
            "Expected theSceneManager to be a valid pointer when calling destroy, seems destroy has been called twice, or without create."});
}

TEST_F(SceneManagerTest, ASecondCreateReportsAndStartsAFreshScene)
{
    SceneManager::Create(application);
    auto& first = dynamic_cast<GameplayScene&>(SceneManager::GetScene(kGameplayScene));
    for (int step = 0; step < 5; ++step)
        first.OnSimulate();
    ASSERT_EQ(first.GetSpawnedEntities().size(), 2u);
    errors.messages.clear();
    SceneManager::Create(application);
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "Expected theSceneManager to be null when calling create, seems create has been called twice.",
            "SpriteSheet with name prototyping_sheet does not exist."}));  // the new scene's player
    auto& second = dynamic_cast<GameplayScene&>(SceneManager::GetScene(kGameplayScene));
    EXPECT_TRUE(second.GetSpawnedEntities().empty());
    errors.messages.clear();
    SceneManager::Destroy();
    EXPECT_EQ(errors.messages, Strings{}) << "one manager left to destroy";
}

TEST_F(SceneManagerTest, MisuseWithoutAManagerOrSceneIsReportedAndHarmsNothing)
{
    Quillmark::Game::GameScene& scene = SceneManager::GetScene(kGameplayScene);
    // What is handed out can be run without effect.
    scene.OnSimulate();
    scene.OnUpdate(0.01f);
    scene.OnRender();
    SceneManager::QuitGame();
    EXPECT_FALSE(Scripted::GetWindowInfo(Scripted::GetLatestWindow()).destroyed);
    EXPECT_EQ(errors.messages, (Strings{kNoManager, kNoManager}));
    SceneManager::Create(application);
    errors.messages.clear();
    EXPECT_NE(&SceneManager::GetScene(static_cast<Cinderpath2::SceneIdentifier>(1)),
              &SceneManager::GetScene(kGameplayScene));
    SceneManager::GetScene(static_cast<Cinderpath2::SceneIdentifier>(-1));
    EXPECT_EQ(errors.messages, (Strings{kOutOfRange, kOutOfRange}));
    SceneManager::Destroy();
}

}  // namespace
