// SPDX-License-Identifier: Zlib
// Animation sequences on a real 128 x 64 texture: both grid builders' arithmetic, their checks
// (never dividing by a reported zero) and the bounded count.
#include "quill_mark/graphics/qm_animated_sprite.h"

#include "graphics_test_fixture.h"

using namespace Quillmark::Graphics;
using namespace QuillmarkTest;

namespace
{

const char kNoColumn[] = "qmInternalError: Expected textureFrameColumns to be at least 1.";
const char kNoRow[] = "qmInternalError: Expected textureFrameRows to be at least 1.";
const char kWidthRange[] =
    "qmExternalError: Expected parameter frameWidth to be within range: (1 <= frameWidth <= textureWidth).";
const char kHeightRange[] =
    "qmExternalError: Expected parameter frameHeight to be within range: (1 <= frameHeight <= textureHeight).";
const char kLocationX[] =
    "qmExternalError: Expected parameter locationX to allow enough room for at least one column of frames.";
const char kLocationY[] =
    "qmExternalError: Expected parameter locationY to allow enough room for at least one row of frames.";
const char kBadTexture[] = "qmExternalError: Expected parameter texture to be a valid texture.";

// Frames of 32 x 32 unless a case says otherwise, given as their top-left corners.
Strings Corners(const AnimationSequence& sequence)
{
    Strings corners;
    for (const SpriteFrame& frame : sequence.GetFrames())
        corners.push_back(std::to_string(int(frame.x)) + "," + std::to_string(int(frame.y)));
    return corners;
}

using AnimationSequenceTest = QuillmarkTest::GraphicsTest;

}  // namespace

TEST_F(AnimationSequenceTest, GridsWalkRowByRowWrapPastTheLastRowAndReportBadSizes)
{
    const TextureHandle t = MakeTexture(), none = kInvalidTexture;
    const Strings all = {"0,0", "32,0", "64,0", "96,0", "0,32", "32,32", "64,32", "96,32"};
    Strings allAndOneMore = all;
    allAndOneMore.push_back("0,64");
    const Strings pastTheEdge = {kLocationX, kOffGridX, kOffTextureX, kOffGridX, kOffTextureX};
    const struct
    {
        TextureHandle texture;
        PixelSpace width, height, start;
        std::uint32_t count;
        PixelSpace x, y;
        Strings corners, reports;
    } counted[] = {
        {t, 32, 32, 0, 8, 0, 0, all, {}},
        // Index 8 is past the last row: reported by the grid and the frame maker, kept anyway.
        {t, 32, 32, 6, 3, 0, 0, {"64,32", "96,32", "0,64"}, {kOffGridY, kOffTextureY}},
        // A count just past the grid is built as asked, the extra frame with its reports.
        {t, 32, 32, 0, 9, 0, 0, allAndOneMore, {kOffGridY, kOffTextureY}},
        // Three whole columns fit right of x = 32, so index 3 starts the second row.
        {t, 32, 32, 0, 4, 32, 0, {"32,0", "64,0", "96,0", "32,32"}, {}},
        // Positions keep their low 16 bits: row 16383 lies at 524256, stored as 65504, and row
        // 2048 at 65536 lands back on the texture at 0, reported by the grid alone.
        {t, 32, 32, 65535, 2, 0, 0, {"96,65504", "0,0"}, {kOffGridY, kOffTextureY}},
        {t, 32, 32, 8192, 1, 0, 0, {"0,0"}, {kOffGridY}},
        {t, 32, 32, 3, 0, 0, 0, {}, {}},
        {t, 0, 32, 0, 4, 0, 0, {}, {kWidthRange, kNoColumn}},
        {t, 129, 32, 0, 1, 0, 0, {}, {kWidthRange, kNoColumn}},  // the room test would wrap
        {t, 32, 32, 0, 1, 100, 40, {}, {kLocationX, kLocationY, kNoColumn, kNoRow}},
        // A corner beyond the edge wraps to a huge column (or row) count: frames past it, reported.
        {t, 32, 32, 0, 2, 200, 0, {"200,0", "232,0"}, pastTheEdge},
        {t, 32, 32, 1, 1, 0, 100, {"32,100"}, {kLocationY, kOffGridY, kOffTextureY}},
        {none, 1, 1, 0, 1, 0, 0, {}, {kBadTexture, kWidthRange, kHeightRange, kNoColumn, kNoRow}},
        // A negative count from a data file arrives as 4294967295: only absurd counts are cut.
        {t, 32, 32, 0, 0xFFFFFFFFu, 0, 0, all, {kCutToGrid}},
    };
    for (const auto& c : counted)
    {
        SCOPED_TRACE("start " + std::to_string(c.start) + ", count " + std::to_string(c.count));
        errors.messages.clear();
        const AnimationSequence sequence(c.texture, c.width, c.height, c.start, c.count, c.x, c.y);
        EXPECT_EQ(Corners(sequence), c.corners);
        EXPECT_EQ(errors.messages, c.reports);
    }
    errors.messages.clear();
    EXPECT_EQ(Corners(AnimationSequence(t, 32, 32, {5, 0, 65537, -65535}, 0, 0)),
              (Strings{"32,32", "0,0", "32,0", "32,0"}));
    EXPECT_EQ(Corners(AnimationSequence(t, 32, 32, std::vector<std::int32_t>{}, 0, 0)), Strings{});
    EXPECT_EQ(Corners(AnimationSequence(t, 32, 0, {1, 2}, 0, 0)), Strings{});
    EXPECT_EQ(errors.messages, (Strings{kHeightRange, kNoRow}));
}
