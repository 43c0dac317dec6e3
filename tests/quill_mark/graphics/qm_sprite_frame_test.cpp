// Sprite frames and origins that need no texture: where each anchor puts the origin, and what a
// frame made without a texture holds.
#include <gtest/gtest.h>

#include <cmath>

#include "quill_mark/graphics/qm_sprite.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::RecordingErrorHandler;

// clang-format off
const char kInvalidTextureMessage[] = "qmExternalError: Expected texture handle to be valid when creating SpriteFrame.";
// clang-format on

TEST(Sprite, AnchorsPlaceTheOriginOnTheFrameInUnscaledPixels)
{
    SpriteFrame frame;
    frame.width = 64.0f;
    frame.height = 32.0f;
    Sprite sprite(frame);
    EXPECT_EQ(sprite.GetOrigin().x, 32.0f);
    EXPECT_EQ(sprite.GetOrigin().y, 16.0f);

    sprite.SetScale(3.0f, 3.0f);  // the origin is in frame pixels, so scale does not enter
    const struct
    {
        int anchor;
        float x;
        float y;
    } cases[] = {{kAnchorTopLeft, 0, 0},
                 {kAnchorTopCenter, 32, 0},
                 {kAnchorTopRight, 64, 0},
                 {kAnchorCenterLeft, 0, 16},
                 {kAnchorCenterRight, 64, 16},
                 {kAnchorBottomLeft, 0, 32},
                 {kAnchorBottomCenter, 32, 32},
                 {kAnchorBottomRight, 64, 32},
                 {kAnchorCenter, 32, 16},
                 {9, 32, 16},
                 {-1, 32, 16}};
    for (const auto& c : cases)
    {
        sprite.SetOrigin(static_cast<AnchorLocation>(c.anchor));
        EXPECT_EQ(sprite.GetOrigin().x, c.x) << "anchor " << c.anchor;
        EXPECT_EQ(sprite.GetOrigin().y, c.y) << "anchor " << c.anchor;
    }
}

TEST(CreateSpriteFrame, WithoutATextureReportsAndKeepsEveryCoordinateFinite)
{
    RecordingErrorHandler errors;
    const SpriteFrame whole = CreateSpriteFrame(kInvalidTexture, 0, 0, 0, 0);
    EXPECT_EQ(errors.messages, std::vector<std::string>{kInvalidTextureMessage});
    EXPECT_EQ(whole.texture, kInvalidTexture);
    EXPECT_EQ(whole.width, 0.0f);
    EXPECT_EQ(whole.uvRight, 0.0f);
    EXPECT_EQ(whole.uvBottom, 0.0f);

    errors.messages.clear();
    const SpriteFrame sized = CreateSpriteFrame(kInvalidTexture, 4, 2, 16, 8);
    // The handle, then both sizes and both positions against a texture of 0 by 0.
    EXPECT_EQ(errors.messages.size(), 5u);
    EXPECT_EQ(errors.Count(kInvalidTextureMessage), 1);
    EXPECT_EQ(sized.x, 4.0f);
    EXPECT_EQ(sized.width, 16.0f);
    EXPECT_EQ(sized.height, 8.0f);
    for (float uv : {sized.uvLeft, sized.uvTop, sized.uvRight, sized.uvBottom})
    {
        EXPECT_TRUE(std::isfinite(uv));
        EXPECT_EQ(uv, 0.0f);
    }
}
