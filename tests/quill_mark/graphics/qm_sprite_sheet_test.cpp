// Sprite sheets: the three name tables with their different duplicate rules, the texture checks
// on frames, and what a lookup of a missing name yields.
#include "quill_mark/graphics/qm_sprite_sheet.h"

#include <gtest/gtest.h>

#include "sprite_sheet_test_fixture.h"

using namespace Quillmark::Graphics;
using Strings = std::vector<std::string>;

namespace
{

const char kDuplicateAnimation[] =
    "qmExternalError: Attempting to add animation walk which already exists on sprite sheet.";

class SpriteSheetTableTest : public QuillmarkTest::SpriteSheetTest
{
};

}  // namespace

TEST_F(SpriteSheetTableTest, EachTableHasItsOwnDuplicateRuleAndNamesNeverClashAcrossTables)
{
    const TextureHandle texture = MakeTexture();
    SpriteSheet sheet(texture);
    sheet.AddSpriteFrame("walk", CreateSpriteFrame(texture, 0, 0, 32, 32));
    sheet.AddAnimation("walk", AnimationSequence(texture, 32, 32, 0, 2u, 0, 0));
    sheet.AddAnimation("walk", Strings{"a", "b"});
    EXPECT_TRUE(errors.messages.empty());

    // Frames and name lists: reported, the new one replaces the old.
    sheet.AddSpriteFrame("walk", CreateSpriteFrame(texture, 32, 0, 32, 32));
    sheet.AddAnimation("walk", Strings{"c"});
    // Sequences: reported, the first one stays.
    sheet.AddAnimation("walk", AnimationSequence(texture, 32, 32, 4, 1u, 0, 0));
    EXPECT_EQ(errors.messages,
              (Strings{"qmExternalError: Attempting to add sprite frame walk which already exists "
                       "on sprite sheet.",
                       kDuplicateAnimation, kDuplicateAnimation}));
    EXPECT_EQ(Rectangle(sheet.GetSpriteFrame("walk")), "32,0 32x32");
    EXPECT_EQ(sheet.GetFrameNameAnimations().at("walk"), Strings{"c"});
    EXPECT_EQ(Rectangles(sheet.GetAnimations().at("walk").GetFrames()),
              (Strings{"0,0 32x32", "32,0 32x32"}));
}

TEST_F(SpriteSheetTableTest, FramesAreCheckedAgainstTheTextureOfTheMomentAndStoredAnyway)
{
    const TextureHandle texture = MakeTexture();
    const TextureHandle other = MakeTexture(16, 16);
    SpriteSheet sheet(kInvalidTexture);
    sheet.AddSpriteFrame("a", CreateSpriteFrame(texture, 0, 0, 32, 32));
    EXPECT_EQ(errors.messages,
              (Strings{"qmExternalError: Cannot add sprite a without setting a texture first.",
                       "qmExternalError: Cannot add sprite a with different texture than sheet."}));

    errors.messages.clear();
    sheet.SetTexture(texture);
    sheet.AddSpriteFrame("b", CreateSpriteFrame(texture, 0, 0, 32, 32));
    EXPECT_TRUE(errors.messages.empty());
    sheet.SetTexture(other);
    sheet.AddSpriteFrame("c", CreateSpriteFrame(texture, 0, 0, 32, 32));
    EXPECT_EQ(errors.messages,
              Strings{"qmExternalError: Cannot add sprite c with different texture than sheet."});
    // Stored frames keep the texture they were made on.
    EXPECT_EQ(sheet.GetSpriteFrame("a").texture, texture);
    EXPECT_EQ(sheet.GetSpriteFrames().size(), 3u);
    // Sequences carry their own texture and are not compared with the sheet's.
    errors.messages.clear();
    sheet.AddAnimation("run", AnimationSequence(texture, 32, 32, 0, 1u, 0, 0));
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(SpriteSheetTableTest, MissingNamesAreCaseSensitiveReportedAndGiveAnEmptyFrame)
{
    const TextureHandle texture = MakeTexture();
    SpriteSheet sheet(texture);
    sheet.AddSpriteFrame("player", CreateSpriteFrame(texture, 0, 0, 32, 32));
    const SpriteFrame& missing = sheet.GetSpriteFrame("Player");
    EXPECT_EQ(errors.messages,
              Strings{"qmExternalError: Sprite with name Player does not exist on sprite sheet."});
    EXPECT_EQ(missing.texture, kInvalidTexture);
    EXPECT_EQ(missing.width, 0.0f);
    // The empty frame is not an entry of the sheet: the lookup adds nothing.
    EXPECT_EQ(sheet.GetSpriteFrames().size(), 1u);
}
