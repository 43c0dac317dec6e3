// The spawned circle: the circle test at its boundaries, straight-line motion per fixed step, and
// what it draws (the sheet's disc, 128 pixels across at radius 64, scaled with the radius).
#include "cinderpath2/basic_entity.h"

#include <gtest/gtest.h>

#include "cinderpath2/game_data_fixture.h"
#include "support/gl_test_context.h"

namespace
{

using Cinderpath2::BasicEntity;

class BasicEntityTest : public QuillmarkTest::GameDataTest
{
};

TEST_F(BasicEntityTest, CirclesCollideOnlyWhenCloserThanTheirRadiiTogether)
{
    // Offsets of b from a at (100, 100); touching is not overlapping, and on a slant the distance
    // decides, not either axis (127.84 and 128.22 apart).
    const struct
    {
        float radiusA, dx, dy;
        bool collide;
    } rows[] = {{64.0f, 127.9f, 0.0f, true},   {64.0f, 128.0f, 0.0f, false},
                {64.0f, 76.7f, 102.3f, true},  {64.0f, 76.9f, 102.6f, false},
                {64.0f, 0.0f, 0.0f, true},     {128.0f, 0.0f, -191.9f, true},
                {128.0f, 0.0f, -192.0f, false}};
    for (const auto& row : rows)
    {
        BasicEntity a;
        BasicEntity b;
        a.SetPosition(100.0f, 100.0f);
        a.SetRadius(row.radiusA);
        b.SetPosition(100.0f + row.dx, 100.0f + row.dy);
        EXPECT_EQ(a.IsCollidingWith(b), row.collide)
            << row.radiusA << " " << row.dx << " " << row.dy;
        EXPECT_EQ(b.IsCollidingWith(a), row.collide) << "not symmetric";
    }
}

TEST_F(BasicEntityTest, MovesByItsVelocityTimesTheFixedStepEachStep)
{
    BasicEntity entity;
    entity.SetPosition(10.0f, 20.0f);
    entity.velocity = Quillmark::Graphics::Vector2(300.0f, 0.0f);
    entity.Simulate();
    EXPECT_FLOAT_EQ(entity.GetPosition().x, 13.0f);
    entity.velocity = Quillmark::Graphics::Vector2(-150.0f, 600.0f);
    for (int step = 0; step < 100; ++step)
    {
        entity.Simulate();
    }
    entity.Update(0.5f);  // only fixed steps move it
    EXPECT_NEAR(entity.GetPosition().x, 13.0f - 150.0f, 0.01f);
    EXPECT_NEAR(entity.GetPosition().y, 20.0f + 600.0f, 0.01f);
}

TEST_F(BasicEntityTest, DrawsAWhiteDiscAsLargeAsItsRadius)
{
    // Pixels just inside and outside the disc (and a corner of its square frame) per radius.
    const struct
    {
        float radius;
        int dx, dy;
        bool white;
    } rows[] = {{64.0f, 62, 0, true},   {64.0f, -63, 0, true},  {64.0f, 0, 62, true},
                {64.0f, 65, 0, false},  {64.0f, 0, -66, false}, {64.0f, 55, 55, false},
                {32.0f, 30, 0, true},   {32.0f, 34, 0, false},  {128.0f, 0, 122, true},
                {128.0f, 0, 130, false}};
    const QuillmarkTest::Rgba white{255, 255, 255, 255};
    for (const auto& row : rows)
    {
        BasicEntity entity;
        entity.SetPosition(640.0f, 360.0f);
        entity.SetRadius(row.radius);
        QuillmarkTest::ClearFrame();
        QuillmarkTest::Begin2DDrawing();
        entity.Render();
        QuillmarkTest::End2DDrawing();
        const auto pixel =
            QuillmarkTest::PixelImage::ReadFramebuffer().At(640 + row.dx, 360 + row.dy);
        EXPECT_EQ(pixel == white, row.white) << row.radius << " " << row.dx << " " << row.dy;
    }
}

}  // namespace
