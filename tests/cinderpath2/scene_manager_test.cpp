// SPDX-License-Identifier: Zlib
// The scene manager on the headless layer: one gameplay scene per manager, quitting closes the
// window, misuse is reported. No sheet is loaded, so each new player reports the missing sheet.
#include "cinderpath2/scene_manager.h"

#include <gtest/gtest.h>

#include "cinderpath2/gameplay_scene.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "support/recording_error_handler.h"

namespace
{

using Cinderpath2::kGameplayScene;
using Cinderpath2::SceneManager;
using Strings = std::vector<std::string>;

const char kNoSheet[] = "SpriteSheet with name prototyping_sheet does not exist.";

TEST(SceneManagerTest, EachMisuseIsReportedAndQuitGameClosesTheWindow)
{
    qmImplementation::HeadlessLayer::Reset();
    QuillmarkTest::RecordingErrorHandler errors;
    Quillmark::Game::GameApplication application;
    SceneManager::GetScene(kGameplayScene);
    SceneManager::Create(application);
    Quillmark::Game::GameScene& scene = SceneManager::GetScene(kGameplayScene);
    EXPECT_EQ(&SceneManager::GetScene(kGameplayScene), &scene);
    SceneManager::GetScene(static_cast<Cinderpath2::SceneIdentifier>(1));
    SceneManager::QuitGame();
    EXPECT_TRUE(qmImplementation::HeadlessLayer::GetWindowInfo(
                    qmImplementation::HeadlessLayer::GetLatestWindow())
                    .destroyed);
    SceneManager::Destroy();
    SceneManager::Destroy();
    EXPECT_EQ(Cinderpath2::theSceneManager, nullptr);
    SceneManager::QuitGame();
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "Expected theSceneManager to be created and valid before ChangeToScene is called.",
            kNoSheet,
            "Expected a valid sceneIdentifier, out of range.  Was the scene added to manager?",
            "Expected theSceneManager to be a valid pointer when calling destroy, seems destroy has been called twice, or without create.",
            "Expected theSceneManager to be created and valid before ChangeToScene is called."}));
}

TEST(SceneManagerTest, ASecondCreateReportsAndStartsAFreshScene)
{
    QuillmarkTest::RecordingErrorHandler errors;
    Quillmark::Game::GameApplication application;
    SceneManager::Create(application);
    auto& first = dynamic_cast<Cinderpath2::GameplayScene&>(SceneManager::GetScene(kGameplayScene));
    for (int step = 0; step < 5; ++step)
        first.OnSimulate();
    ASSERT_EQ(first.GetSpawnedEntities().size(), 2u);
    errors.messages.clear();
    SceneManager::Create(application);
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "Expected theSceneManager to be null when calling create, seems create has been called twice.",
            kNoSheet}));
    auto& second =
        dynamic_cast<Cinderpath2::GameplayScene&>(SceneManager::GetScene(kGameplayScene));
    EXPECT_TRUE(second.GetSpawnedEntities().empty());
    // The replaced scene may still be the one the loop runs: it lives on until Destroy.
    first.OnSimulate();
    EXPECT_EQ(first.GetSpawnedEntities().size(), 2u);
    errors.messages.clear();
    SceneManager::Destroy();
    EXPECT_EQ(errors.messages, Strings{}) << "one manager left to destroy";
}

}  // namespace
