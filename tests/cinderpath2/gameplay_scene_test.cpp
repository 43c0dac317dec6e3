// SPDX-License-Identifier: Zlib
// The gameplay scene stepped directly on the game's data: "explosion" plays within one step, and
// reopening, which spawns at once but keeps the shortened interval and the unsimulated frame time.
#include "cinderpath2/gameplay_scene.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cinderpath2/game_data_fixture.h"
#include "quill_mark/application/implementation/qmi_input_state.h"
#include "quill_mark/game/implementation/qmi_game_application_handler.h"

namespace
{

using QuillmarkTest::SoundsStarted;

class GameplaySceneTest : public QuillmarkTest::GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        scene = std::make_unique<Cinderpath2::GameplayScene>();  // after the data, as in the game
    }
    void StepUntil(int step)
    {
        for (; mStep < step; ++mStep)
        {
            const std::size_t before = scene->GetSpawnedEntities().size();
            scene->OnSimulate();
            if (scene->GetSpawnedEntities().size() != before)
                spawnSteps.push_back(mStep + 1);
        }
    }
    // Circles fly on for ever, so far away is farther than any of them gets in these tests.
    void MovePlayerTo(int x, int y)
    {
        Quillmark::Application::SetMousePosition(x, y);
        scene->OnUpdate(0.01f);
    }

    std::unique_ptr<Cinderpath2::GameplayScene> scene;
    int mStep = 0;
    std::vector<int> spawnSteps;
};

TEST_F(GameplaySceneTest, EveryCircleOverlappingInTheSameStepPlaysTheEvent)
{
    // Away until both early circles are inside the player's reach at the centre, then there.
    scene->OnOpen();
    MovePlayerTo(-1000000, -1000000);
    StepUntil(160);
    EXPECT_EQ(SoundsStarted(), 0u);
    MovePlayerTo(640, 360);
    StepUntil(161);
    EXPECT_EQ(SoundsStarted(), 2u);
}

TEST_F(GameplaySceneTest, ReopeningSpawnsAtOnceButKeepsTheIntervalAndTheUnsimulatedTime)
{
    MovePlayerTo(-1000000, -1000000);
    scene->OnOpen();
    StepUntil(300);
    ASSERT_EQ(spawnSteps, (std::vector<int>{1, 2, 98, 193, 286}));
    // Opened by the game loop: the timer is back at -1, so the first step spawns; 0.005 s of the
    // frame is left over, and opening again keeps it, so 0.006 s more makes a second step.
    for (const float frameTime : {0.015f, 0.006f})
    {
        qmImplementation::pendingScene = scene.get();
        qmImplementation::theGameApplicationHandler.StepScene(frameTime);
    }
    EXPECT_EQ(scene->GetSpawnedEntities().size(), 7u);
    EXPECT_NEAR(scene->GetTimeAccumulator(), 0.001f, 0.0001f);
    // Still below 0, so the next step spawns too; then the interval every spawn so far shortened.
    spawnSteps.clear();
    mStep = 302;
    StepUntil(400);
    EXPECT_EQ(spawnSteps, (std::vector<int>{303, 369}));
}

}  // namespace
