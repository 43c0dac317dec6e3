// Sprite frames made without a texture: reported, and every coordinate stays finite.
#include <gtest/gtest.h>

#include <cmath>

#include "quill_mark/graphics/qm_sprite.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Graphics;

TEST(CreateSpriteFrame, WithoutATextureReportsAndKeepsEveryCoordinateFinite)
{
    const char invalid[] =
        "qmExternalError: Expected texture handle to be valid when creating SpriteFrame.";
    QuillmarkTest::RecordingErrorHandler errors;
    const SpriteFrame whole = CreateSpriteFrame(kInvalidTexture, 0, 0, 0, 0);
    EXPECT_EQ(errors.messages, std::vector<std::string>{invalid});
    EXPECT_EQ(whole.width, 0.0f);
    EXPECT_EQ(whole.uvRight, 0.0f);

    errors.messages.clear();
    const SpriteFrame sized = CreateSpriteFrame(kInvalidTexture, 4, 2, 16, 8);
    // The handle, then both sizes and both positions against a texture of 0 by 0.
    EXPECT_EQ(errors.messages.size(), 5u);
    EXPECT_EQ(errors.Count(invalid), 1);
    EXPECT_EQ(sized.x, 4.0f);
    EXPECT_EQ(sized.width, 16.0f);
    for (float uv : {sized.uvLeft, sized.uvTop, sized.uvRight, sized.uvBottom})
        EXPECT_EQ(uv, 0.0f);  // also rules out NaN and infinity
}
