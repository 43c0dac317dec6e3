// SPDX-License-Identifier: Zlib
// The game's circles: the collision test at its boundaries, and the player's start, colour and
// size on screen and growth per step to twice its size. Their motion shows in the whole game's
// schedule, and following the cursor in the end-to-end test.
#include <gtest/gtest.h>

#include "cinderpath2/basic_entity.h"
#include "cinderpath2/game_data_fixture.h"
#include "cinderpath2/player_entity.h"
#include "quill_mark/game/implementation/qmi_drawing_2d.h"

namespace
{

using Cinderpath2::BasicEntity;
using Cinderpath2::PlayerEntity;
using BasicEntityTest = QuillmarkTest::GameDataTest;
using PlayerEntityTest = QuillmarkTest::GameDataTest;

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
