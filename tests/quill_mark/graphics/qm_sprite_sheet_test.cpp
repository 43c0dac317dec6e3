// Sprite sheets: the three name tables with their different duplicate rules, the texture checks
// on frames, and what a lookup of a missing name yields.
#include "quill_mark/graphics/qm_sprite_sheet.h"

#include "graphics_test_fixture.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::Strings;

class SpriteSheetTableTest : public QuillmarkTest::GraphicsTest
{
};

TEST_F(SpriteSheetTableTest, EachTableHasItsOwnDuplicateRuleAndNamesNeverClashAcrossTables)
{
    const TextureHandle texture = MakeTexture();
    SpriteSheet sheet(texture);
    sheet.AddSpriteFrame("walk", CreateSpriteFrame(texture, 0, 0, 32, 32));
    sheet.AddAnimation("walk", AnimationSequence(texture, 32, 32, 0, 2u, 0, 0));
    sheet.AddAnimation("walk", Strings{"a", "b"});
    EXPECT_TRUE(errors.messages.empty());
    // Frames and name lists: reported, the new one replaces the old; sequences: the first stays.
    sheet.AddSpriteFrame("walk", CreateSpriteFrame(texture, 32, 0, 32, 32));
    sheet.AddAnimation("walk", Strings{"c"});
    sheet.AddAnimation("walk", AnimationSequence(texture, 32, 32, 4, 1u, 0, 0));
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "qmExternalError: Attempting to add sprite frame walk which already exists on sprite sheet.",
            "qmExternalError: Attempting to add animation walk which already exists on sprite sheet.",
            "qmExternalError: Attempting to add animation walk which already exists on sprite sheet."}));
    EXPECT_EQ(Rectangle(sheet.GetSpriteFrame("walk")), "32,0 32x32");
    EXPECT_EQ(sheet.GetFrameNameAnimations().at("walk"), Strings{"c"});
    EXPECT_EQ(Rectangles(sheet.GetAnimations().at("walk").GetFrames()),
              (Strings{"0,0 32x32", "32,0 32x32"}));

    errors.messages.clear();  // lookups are case-sensitive and add nothing
    EXPECT_EQ(sheet.GetSpriteFrame("Walk").texture, kInvalidTexture);
    EXPECT_EQ(errors.messages,
              Strings{"qmExternalError: Sprite with name Walk does not exist on sprite sheet."});
    EXPECT_EQ(sheet.GetSpriteFrames().size(), 1u);
}

TEST_F(SpriteSheetTableTest, FramesAreCheckedAgainstTheTextureOfTheMomentAndStoredAnyway)
{
    const TextureHandle texture = MakeTexture();
    SpriteSheet sheet(kInvalidTexture);
    sheet.AddSpriteFrame("a", CreateSpriteFrame(texture, 0, 0, 32, 32));
    sheet.SetTexture(texture);
    sheet.AddSpriteFrame("b", CreateSpriteFrame(texture, 0, 0, 32, 32));
    sheet.SetTexture(MakeTexture(16, 16));
    sheet.AddSpriteFrame("c", CreateSpriteFrame(texture, 0, 0, 32, 32));
    sheet.AddAnimation("run", AnimationSequence(texture, 32, 32, 0, 1u, 0, 0));  // not compared
    EXPECT_EQ(errors.messages,
              (Strings{"qmExternalError: Cannot add sprite a without setting a texture first.",
                       "qmExternalError: Cannot add sprite a with different texture than sheet.",
                       "qmExternalError: Cannot add sprite c with different texture than sheet."}));
    EXPECT_EQ(sheet.GetSpriteFrame("a").texture, texture);
    EXPECT_EQ(sheet.GetSpriteFrames().size(), 3u);
}
