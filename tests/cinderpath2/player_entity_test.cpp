// The player's circle: where it starts, its colour, following the cursor (also off-window), and
// its growth per fixed step up to radius 128.
#include "cinderpath2/player_entity.h"

#include <gtest/gtest.h>

#include "cinderpath2/game_data_fixture.h"
#include "quill_mark/application/implementation/qmi_input_state.h"
#include "support/gl_test_context.h"

namespace
{

using Cinderpath2::BasicEntity;
using Cinderpath2::PlayerEntity;
using QuillmarkTest::GameDataTest;

class PlayerEntityTest : public GameDataTest
{
};

// The disc drawn alone: azure at both sample points inside, not at the one outside.
void ExpectAzureDisc(PlayerEntity& player, int inside, int outside)
{
    QuillmarkTest::ClearFrame();
    QuillmarkTest::Begin2DDrawing();
    player.Render();
    QuillmarkTest::End2DDrawing();
    const QuillmarkTest::PixelImage image = QuillmarkTest::PixelImage::ReadFramebuffer();
    const QuillmarkTest::Rgba azure{0, 170, 255, 255};
    EXPECT_EQ(image.At(640, 360), azure);
    EXPECT_EQ(image.At(640, 360 + inside), azure);
    EXPECT_FALSE(image.At(640, 360 + outside) == azure);
}

TEST_F(PlayerEntityTest, StartsAzureInTheMiddleOfTheWindow)
{
    PlayerEntity player;
    EXPECT_EQ(player.GetPosition().x, 640.0f);
    EXPECT_EQ(player.GetPosition().y, 360.0f);
    EXPECT_EQ(player.radius, 64.0f);
    ExpectAzureDisc(player, 62, 66);
}
TEST_F(PlayerEntityTest, FollowsTheCursorEvenOutsideTheWindow)
{
    PlayerEntity player;
    Quillmark::Application::SetMousePosition(-40, 900);
    player.Update(0.016f);
    EXPECT_EQ(player.GetPosition().x, -40.0f);
    EXPECT_EQ(player.GetPosition().y, 900.0f);

    // Off-window it still collides: a circle placed there overlaps it.
    BasicEntity other;
    other.SetPosition(-40.0f, 1000.0f);
    EXPECT_TRUE(player.IsCollidingWith(other));
    // Fixed steps do not move it; it has no velocity.
    player.Simulate();
    EXPECT_EQ(player.GetPosition().x, -40.0f);
    EXPECT_EQ(player.GetPosition().y, 900.0f);
}

TEST_F(PlayerEntityTest, GrowsFourPixelsOfRadiusPerSecondUpToTwiceItsSize)
{
    PlayerEntity player;
    for (int step = 1; step <= 1600; ++step)
    {
        player.Simulate();
        ASSERT_NEAR(player.radius, 64.0 + 0.04 * step, 0.002) << "step " << step;
    }
    // The first float not below 128 in this arithmetic; from then on it stays.
    player.Simulate();
    EXPECT_EQ(player.radius, 128.00146f);
    for (int step = 0; step < 1000; ++step)
    {
        player.Simulate();
    }
    EXPECT_EQ(player.radius, 128.00146f);

    ExpectAzureDisc(player, 122, 130);  // the drawn disc grew with it
}

}  // namespace
