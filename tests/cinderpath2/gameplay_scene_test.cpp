// SPDX-License-Identifier: Zlib
// The game's scene and circles stepped directly on its data: the collision test at its bounds,
// the player's look and growth, "explosion" played within one step, and reopening, which spawns at
// once but keeps the shortened interval and the unsimulated frame time.
#include "cinderpath2/gameplay_scene.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cinderpath2/basic_entity.h"
#include "cinderpath2/game_data_fixture.h"
#include "cinderpath2/player_entity.h"
#include "quill_mark/application/implementation/qmi_input_state.h"
#include "quill_mark/game/implementation/qmi_drawing_2d.h"
#include "quill_mark/game/implementation/qmi_game_application_handler.h"

namespace
{

using Cinderpath2::BasicEntity;
using Cinderpath2::PlayerEntity;
using BasicEntityTest = QuillmarkTest::GameDataTest;
using PlayerEntityTest = QuillmarkTest::GameDataTest;
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

TEST_F(BasicEntityTest, CirclesCollideOnlyWhenCloserThanTheirRadiiTogether)
{
    // Offsets of b from a; touching is not overlapping, and on a slant the distance decides, not
    // either axis (127.84 and 128.22 apart).
    const struct
    {
        float radiusA, dx, dy;
        bool collide;
    } rows[] = {{64, 127.9f, 0, true},      {64, 128, 0, false}, {64, 76.7f, 102.3f, true},
                {64, 76.9f, 102.6f, false}, {64, 0, 0, true},    {128, 0, -191.9f, true},
                {128, 0, -192, false}};
    for (const auto& row : rows)
    {
        BasicEntity a, b;
        a.SetPosition(100, 100);
        a.SetRadius(row.radiusA);
        b.SetPosition(100 + row.dx, 100 + row.dy);
        EXPECT_EQ(a.IsCollidingWith(b), row.collide)
            << row.radiusA << " " << row.dx << " " << row.dy;
        EXPECT_EQ(b.IsCollidingWith(a), row.collide) << "the other way round";
    }
}

// The circle drawn alone: azure at its centre and `inside` pixels below it, not `outside` below.
void ExpectAzureDisc(PlayerEntity& player, int inside, int outside)
{
    QuillmarkTest::ClearFrame();
    qmImplementation::BeginDrawing2D();
    player.Render();
    qmImplementation::EndDrawing2D();
    const QuillmarkTest::PixelImage image = QuillmarkTest::PixelImage::ReadFramebuffer();
    const QuillmarkTest::Rgba azure{0, 170, 255, 255};
    EXPECT_EQ(image.At(640, 360), azure);
    EXPECT_EQ(image.At(640, 360 + inside), azure);
    EXPECT_EQ(image.At(640, 360 + outside), QuillmarkTest::Rgba{}) << "radius " << player.radius;
}

TEST_F(PlayerEntityTest, StartsAzureInTheMiddleAndGrowsFourPixelsPerSecondToTwiceItsSize)
{
    PlayerEntity player;
    ExpectAzureDisc(player, 62, 66);  // the sheet's disc, 128 pixels across at scale 1
    for (int step = 1; step <= 1600; ++step)
    {
        player.Simulate();
        ASSERT_NEAR(player.radius, 64.0 + 0.04 * step, 0.002) << "step " << step;
    }
    // The first float not below 128 in this arithmetic; from then on it stays.
    for (int step = 0; step < 1000; ++step)
        player.Simulate();
    EXPECT_EQ(player.radius, 128.00146f);
    ExpectAzureDisc(player, 122, 130);
}

}  // namespace
