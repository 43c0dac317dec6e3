// The spawned circle: the circle test at its boundaries, straight-line motion per fixed step, and
// what it draws (the sheet's disc, 128 pixels across at radius 64, scaled with the radius).
#include "basic_entity.h"

#include <gtest/gtest.h>

#include <cmath>

#include "cinderpath2/game_data_fixture.h"
#include "support/gl_test_context.h"

namespace
{

using Cinderpath2::BasicEntity;
using QuillmarkTest::GameDataTest;

class BasicEntityTest : public GameDataTest
{
};

// Both directions of the test, since it must be symmetric.
bool Collide(const BasicEntity& a, const BasicEntity& b)
{
    const bool ab = a.IsCollidingWith(b);
    EXPECT_EQ(ab, b.IsCollidingWith(a));
    return ab;
}

TEST_F(BasicEntityTest, CirclesCollideOnlyWhenCloserThanTheirRadiiTogether)
{
    BasicEntity a;
    BasicEntity b;
    a.SetPosition(100.0f, 100.0f);

    b.SetPosition(227.9f, 100.0f);
    EXPECT_TRUE(Collide(a, b));
    b.SetPosition(228.0f, 100.0f);  // touching is not overlapping
    EXPECT_FALSE(Collide(a, b));
    // On a slant the distance itself decides, not either axis: 127.84 and 128.22 apart.
    b.SetPosition(100.0f + 76.7f, 100.0f + 102.3f);
    EXPECT_TRUE(Collide(a, b));
    b.SetPosition(100.0f + 76.9f, 100.0f + 102.6f);
    EXPECT_FALSE(Collide(a, b));
    // Same place: always overlapping.
    b.SetPosition(100.0f, 100.0f);
    EXPECT_TRUE(Collide(a, b));

    // A grown circle of radius 128 reaches a radius-64 one up to (not including) 192 away.
    a.SetRadius(128.0f);
    b.SetPosition(100.0f, 100.0f - 191.9f);
    EXPECT_TRUE(Collide(a, b));
    b.SetPosition(100.0f, 100.0f - 192.0f);
    EXPECT_FALSE(Collide(a, b));
}

TEST_F(BasicEntityTest, MovesByItsVelocityTimesTheFixedStepEachStep)
{
    BasicEntity entity;
    entity.SetPosition(10.0f, 20.0f);
    entity.velocity = Quillmark::Graphics::Vector2(300.0f, 0.0f);
    entity.Simulate();
    EXPECT_FLOAT_EQ(entity.GetPosition().x, 13.0f);
    EXPECT_FLOAT_EQ(entity.GetPosition().y, 20.0f);

    entity.velocity = Quillmark::Graphics::Vector2(-150.0f, 600.0f);
    for (int step = 0; step < 100; ++step)
    {
        entity.Simulate();
    }
    EXPECT_NEAR(entity.GetPosition().x, 13.0f - 150.0f, 0.01f);
    EXPECT_NEAR(entity.GetPosition().y, 20.0f + 600.0f, 0.01f);
    // A frame's update does not move it; only fixed steps do.
    entity.Update(0.5f);
    EXPECT_NEAR(entity.GetPosition().x, -137.0f, 0.01f);
}

// Drawn colour at a point of the window for one entity drawn alone.
QuillmarkTest::Rgba DrawnAt(BasicEntity& entity, int x, int y)
{
    QuillmarkTest::ClearFrame();
    QuillmarkTest::Begin2DDrawing();
    entity.Render();
    QuillmarkTest::End2DDrawing();
    return QuillmarkTest::PixelImage::ReadFramebuffer().At(x, y);
}

TEST_F(BasicEntityTest, DrawsAWhiteDiscAsLargeAsItsRadius)
{
    BasicEntity entity;
    entity.SetPosition(640.0f, 360.0f);
    const QuillmarkTest::Rgba white{255, 255, 255, 255};
    // Pixel centres 62.5 and 65.5 pixels from the entity's position, in four directions.
    EXPECT_EQ(DrawnAt(entity, 640 + 62, 360), white);
    EXPECT_EQ(DrawnAt(entity, 640 - 63, 360), white);
    EXPECT_EQ(DrawnAt(entity, 640, 360 + 62), white);
    EXPECT_FALSE(DrawnAt(entity, 640 + 65, 360) == white);
    EXPECT_FALSE(DrawnAt(entity, 640, 360 - 66) == white);
    // Nothing in the frame's corners: the circle is a disc, not its square frame.
    EXPECT_FALSE(DrawnAt(entity, 640 + 55, 360 + 55) == white);

    entity.SetRadius(32.0f);
    EXPECT_EQ(DrawnAt(entity, 640 + 30, 360), white);
    EXPECT_FALSE(DrawnAt(entity, 640 + 34, 360) == white);
    entity.SetRadius(128.0f);
    EXPECT_EQ(DrawnAt(entity, 640, 360 + 122), white);
    EXPECT_FALSE(DrawnAt(entity, 640, 360 + 130) == white);
}

}  // namespace
