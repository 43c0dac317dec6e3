// Animation sequences on a real 128 x 64 texture: the grid arithmetic of both grid builders,
// their checks (which must never divide by a reported zero), the bound on the frame count, and
// the texture checks of AddFrame.
#include "quill_mark/graphics/qm_animated_sprite.h"

#include <gtest/gtest.h>

#include "sprite_sheet_test_fixture.h"

using namespace Quillmark::Graphics;
using Strings = std::vector<std::string>;

namespace
{

const char kFrameYGrid[] =
    "qmInternalError: Expected frameY to be on texture with enough space for frame.";
const char kFrameYSprite[] =
    "qmExternalError: Expected frameY location to allow frame (height) to fit on texture.";
const char kNoColumn[] = "qmInternalError: Expected textureFrameColumns to be at least 1.";
const char kNoRow[] = "qmInternalError: Expected textureFrameRows to be at least 1.";

class AnimationSequenceTest : public QuillmarkTest::SpriteSheetTest
{
};

}  // namespace

TEST_F(AnimationSequenceTest, StartAndCountWalkTheGridRowByRowAndWrapPastTheLastRow)
{
    const TextureHandle texture = MakeTexture();
    const AnimationSequence all(texture, 32, 32, 0, 8u, 0, 0);
    EXPECT_EQ(Rectangles(all.GetFrames()),
              (Strings{"0,0 32x32", "32,0 32x32", "64,0 32x32", "96,0 32x32", "0,32 32x32",
                       "32,32 32x32", "64,32 32x32", "96,32 32x32"}));
    EXPECT_EQ(all.GetFrames()[5].uvLeft, 0.25f);
    EXPECT_EQ(all.GetFrames()[5].uvBottom, 1.0f);
    EXPECT_TRUE(errors.messages.empty());

    // Index 8 is past the last row: reported by the grid and by the frame maker, kept all the same.
    const AnimationSequence wrapped(texture, 32, 32, 6, 3u, 0, 0);
    EXPECT_EQ(Rectangles(wrapped.GetFrames()),
              (Strings{"64,32 32x32", "96,32 32x32", "0,64 32x32"}));
    EXPECT_EQ(errors.messages, (Strings{kFrameYGrid, kFrameYSprite}));

    errors.messages.clear();
    EXPECT_TRUE(AnimationSequence(texture, 32, 32, 3, 0u, 0, 0).GetFrames().empty());
    EXPECT_TRUE(AnimationSequence(texture, 32, 32, {}, 0, 0).GetFrames().empty());
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(AnimationSequenceTest, IndexListsAndGridLocationsPlaceFramesAndTakeIndicesModulo65536)
{
    const TextureHandle texture = MakeTexture();
    // Three whole columns fit right of x = 32, so index 3 starts the second row.
    const AnimationSequence shifted(texture, 32, 32, 0, 4u, 32, 0);
    EXPECT_EQ(Rectangles(shifted.GetFrames()),
              (Strings{"32,0 32x32", "64,0 32x32", "96,0 32x32", "32,32 32x32"}));

    const AnimationSequence listed(texture, 32, 32, {5, 0, 65537, -65535}, 0, 0);
    EXPECT_EQ(Rectangles(listed.GetFrames()),
              (Strings{"32,32 32x32", "0,0 32x32", "32,0 32x32", "32,0 32x32"}));

    // A start near the top of the 16-bit range wraps to the first grid frames.
    const AnimationSequence rolled(texture, 32, 32, 65535, 2u, 0, 0);
    EXPECT_EQ(Rectangles(rolled.GetFrames()).back(), "0,0 32x32");
    EXPECT_EQ(errors.Count(kFrameYGrid), 1);  // index 65535 is far below the texture
}

TEST_F(AnimationSequenceTest, ZeroOrOversizedGridsAreReportedAndGiveEmptySequences)
{
    const TextureHandle texture = MakeTexture();
    const char widthRange[] =
        "qmExternalError: Expected parameter frameWidth to be within range: (1 <= frameWidth <= "
        "textureWidth).";
    const char heightRange[] =
        "qmExternalError: Expected parameter frameHeight to be within range: (1 <= frameHeight "
        "<= textureHeight).";
    const char noRoomX[] =
        "qmExternalError: Expected parameter locationX to allow enough room for at least one "
        "column of frames.";
    const char noRoomY[] =
        "qmExternalError: Expected parameter locationY to allow enough room for at least one row "
        "of frames.";

    EXPECT_TRUE(AnimationSequence(texture, 0, 32, 0, 4u, 0, 0).GetFrames().empty());
    EXPECT_EQ(errors.messages, (Strings{widthRange, kNoColumn}));

    errors.messages.clear();
    EXPECT_TRUE(AnimationSequence(texture, 32, 0, {1, 2}, 0, 0).GetFrames().empty());
    EXPECT_EQ(errors.messages, (Strings{heightRange, kNoRow}));

    // Wider than the texture: no room report (the room test would wrap), and no column.
    errors.messages.clear();
    EXPECT_TRUE(AnimationSequence(texture, 129, 32, 0, 1u, 0, 0).GetFrames().empty());
    EXPECT_EQ(errors.messages, (Strings{widthRange, kNoColumn}));

    errors.messages.clear();
    EXPECT_TRUE(AnimationSequence(texture, 32, 32, 0, 1u, 100, 40).GetFrames().empty());
    EXPECT_EQ(errors.messages, (Strings{noRoomX, noRoomY, kNoColumn, kNoRow}));

    errors.messages.clear();
    EXPECT_TRUE(AnimationSequence(kInvalidTexture, 1, 1, 0, 1u, 0, 0).GetFrames().empty());
    EXPECT_EQ(errors.messages,
              (Strings{"qmExternalError: Expected parameter texture to be a valid texture.",
                       widthRange, heightRange, kNoColumn, kNoRow}));
}

TEST_F(AnimationSequenceTest, CountsBeyondTheGridAreCutToTheGridWithOneReport)
{
    const TextureHandle texture = MakeTexture();
    const std::string cut =
        "qmExternalError: Expected parameter frameCount to be at most the number of frames on the "
        "grid (8); the sequence is cut to that many frames.";
    // A negative count from a data file arrives as 4294967295.
    const AnimationSequence huge(texture, 32, 32, 0, 0xFFFFFFFFu, 0, 0);
    EXPECT_EQ(huge.GetFrames().size(), 8u);
    EXPECT_EQ(errors.messages, Strings{cut});

    const AnimationSequence tiny(MakeTexture(1, 1), 1, 1, 0, 2000000000u, 0, 0);
    EXPECT_EQ(tiny.GetFrames().size(), 1u);
    EXPECT_EQ(errors.messages.size(), 2u);
}

TEST_F(AnimationSequenceTest, AddFrameReportsTextureFaultsAndAppendsTheFrameAnyway)
{
    const TextureHandle texture = MakeTexture();
    const TextureHandle other = MakeTexture(16, 16);
    const char noTexture[] =
        "qmExternalError: Expected texture handle to be valid before a frame is added.";
    const char otherTexture[] =
        "qmExternalErro: Expected frame texture to be the same as the texture of sequence.";

    AnimationSequence sequence(texture);
    sequence.AddFrame(CreateSpriteFrame(other, 0, 0, 8, 8));
    EXPECT_EQ(errors.messages, Strings{otherTexture});
    sequence.AddFrame(0, 32, 32, 32);
    // Re-adding the sequence's own frames while it grows must copy them safely.
    for (int i = 0; i < 40; ++i)
    {
        sequence.AddFrame(sequence.GetFrames()[1]);
    }
    EXPECT_EQ(sequence.GetFrames().size(), 42u);
    EXPECT_EQ(Rectangle(sequence.GetFrames()[0]), "0,0 8x8");
    EXPECT_EQ(Rectangle(sequence.GetFrames().back()), "0,32 32x32");
    EXPECT_EQ(errors.messages.size(), 1u);

    errors.messages.clear();
    AnimationSequence unbound(kInvalidTexture);
    unbound.AddFrame(CreateSpriteFrame(texture, 0, 0, 32, 32));
    EXPECT_EQ(errors.messages,
              (Strings{"qmExternalError: Expected parameter texture to be a valid texture.",
                       noTexture, otherTexture}));
    EXPECT_EQ(unbound.GetFrames().size(), 1u);
}
