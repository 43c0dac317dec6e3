// SPDX-License-Identifier: Zlib
// The player's circle: where it starts, its colour and size on screen, and its growth per fixed
// step up to twice its size. Following the cursor is the end-to-end test's.
#include "cinderpath2/player_entity.h"

#include <gtest/gtest.h>

#include "cinderpath2/game_data_fixture.h"
#include "quill_mark/game/implementation/qmi_drawing_2d.h"

namespace
{

using Cinderpath2::PlayerEntity;
using PlayerEntityTest = QuillmarkTest::GameDataTest;

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
