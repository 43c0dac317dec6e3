// SPDX-License-Identifier: Zlib
// The circle test at its boundaries. A circle's motion shows in the whole game's schedule of
// explosions, and what it draws on the player's circle.
#include "cinderpath2/basic_entity.h"

#include <gtest/gtest.h>

#include "cinderpath2/game_data_fixture.h"

namespace
{

using Cinderpath2::BasicEntity;
using BasicEntityTest = QuillmarkTest::GameDataTest;

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

}  // namespace
