// Sprite-sheet files end to end: a complete file loading into exactly the expected frames, name
// lists and sequences; where each stopping fault leaves the manager; the faults that are reported
// and skipped, with their quoting exactly as printed; reloading; sprites by name; bounded counts.
#include "quill_mark/graphics/qm_sprite_manager.h"

#include <gtest/gtest.h>

#include "sprite_sheet_test_fixture.h"

using namespace Quillmark::Graphics;
using Strings = std::vector<std::string>;

namespace
{

const char kGrid[] = R"("width": 32, "height": 32)";
const char kUnknownSheet[] = "SpriteSheet with name s does not exist.";

class SpriteManagerTest : public QuillmarkTest::SpriteSheetTest
{
protected:
    void SetUp() override
    {
        SpriteSheetTest::SetUp();
        mTexturePath = WritePng(128, 64);
    }

    // A sheet file on the 128 x 64 texture; `members` follow the texture member.
    std::string WriteSheet(const std::string& members, const std::string& name = "sheet.json")
    {
        return WriteText(name, "{\"texture\": \"" + mTexturePath + "\", " + members + "}");
    }

    // The manager holds no sheet of that name (GetSprite reports it, and makes none).
    bool HasNoSheet(const SpriteManager& manager, const std::string& sheetName)
    {
        const int before = errors.Count("SpriteSheet with name " + sheetName + " does not exist.");
        manager.GetSprite(sheetName, "a");
        return errors.Count("SpriteSheet with name " + sheetName + " does not exist.") ==
               before + 1;
    }

    static Strings FramesOf(const SpriteSheet& sheet, const std::string& animation)
    {
        return Rectangles(sheet.GetAnimations().at(animation).GetFrames());
    }

    std::string mTexturePath;
    SpriteManager manager;
};

}  // namespace

TEST_F(SpriteManagerTest, ACompleteFileLoadsExactlyItsFramesListsAndSequences)
{
    const std::string path = WriteSheet(std::string(R"(
        "sprite_width": 32, "sprite_height": 32,
        "sprites": [
            {"name": "idle", "x": 0, "y": 0, "animations": ["idle", "blink"]},
            {"name": "blink", "x": 32, "y": 0},
            {"name": "banner", "x": 0, "y": 32, "width": 128}
        ],
        "animations": [
            {"name": "look", "frames": ["blink", "idle"]},
            {"name": "walk", "frames": {)") +
                                        kGrid + R"(, "start": 2, "count": 3}},
            {"name": "wave", "frames": {)" +
                                        kGrid + R"(, "locationX": 32, "frames": [0, 1, 0]}},
            {"name": "back", "frames": {)" +
                                        kGrid + R"(, "frames": [5, 0]}}
        ])");
    ASSERT_TRUE(manager.LoadSpriteSheetFromFile("heroes", path));
    EXPECT_EQ(errors.messages, Strings{});

    const SpriteSheet& sheet = manager.GetSpriteSheet("heroes");
    Strings frames;
    for (const auto& [name, frame] : sheet.GetSpriteFrames())
    {
        frames.push_back(name + " " + Rectangle(frame));
        EXPECT_EQ(frame.texture, sheet.GetTexture());
    }
    EXPECT_EQ(frames, (Strings{"banner 0,32 128x32", "blink 32,0 32x32", "idle 0,0 32x32"}));
    EXPECT_EQ(sheet.GetFrameNameAnimations().size(), 1u);
    EXPECT_EQ(sheet.GetFrameNameAnimations().at("idle"), (Strings{"idle", "blink"}));
    EXPECT_EQ(sheet.GetAnimations().size(), 4u);
    EXPECT_EQ(FramesOf(sheet, "look"), (Strings{"32,0 32x32", "0,0 32x32"}));
    EXPECT_EQ(FramesOf(sheet, "walk"), (Strings{"64,0 32x32", "96,0 32x32", "0,32 32x32"}));
    EXPECT_EQ(FramesOf(sheet, "wave"), (Strings{"32,0 32x32", "64,0 32x32", "32,0 32x32"}));
    EXPECT_EQ(FramesOf(sheet, "back"), (Strings{"32,32 32x32", "0,0 32x32"}));
}

TEST_F(SpriteManagerTest, DefaultSizesComeFromTheTextureUnlessGivenAsIntegers)
{
    const std::string path = WriteSheet(R"(
        "sprite_width": 32.5,
        "sprites": [
            {"name": "whole"},
            {"name": "cut", "x": 12.9, "width": 16, "height": 16.0},
            {"name": "off", "x": 1}
        ])");
    EXPECT_TRUE(manager.LoadSpriteSheetFromFile("s", path));
    const SpriteSheet& sheet = manager.GetSpriteSheet("s");
    EXPECT_EQ(Rectangle(sheet.GetSpriteFrame("whole")), "0,0 128x64");
    EXPECT_EQ(Rectangle(sheet.GetSpriteFrame("cut")), "12,0 16x64");
    // A whole-texture frame fits only at (0, 0): reported, and stored all the same.
    EXPECT_EQ(Rectangle(sheet.GetSpriteFrame("off")), "1,0 128x64");
    EXPECT_EQ(errors.messages,
              Strings{"qmExternalError: Expected frameX location to allow frame (width) to fit on "
                      "texture."});
}

TEST_F(SpriteManagerTest, FaultsOfTheWholeFileStopTheLoadBeforeAnythingIsStored)
{
    const struct
    {
        std::string text;
        std::string message;
    } cases[] = {
        {"[1, 2]",
         "qmDataError: Expected sprite sheet data to be a structure of information.  Sheet: s"},
        {"{\"texture\": \"" + mTexturePath + "\"}",
         "qmDataError: Expected sprite sheet to have an array named: sprites. Sheet: \"s\""},
        {"{\"texture\": \"" + mTexturePath + "\", \"sprites\": {\"name\": \"a\"}}",
         "qmDataError: Expected sprite sheet to have an array named: sprites. Sheet: \"s\""},
        {"{\"texture\": \"" + mTexturePath +
             "\", \"sprites\": [{\"name\": \"a\"}], \"animations\": {\"name\": \"b\"}}",
         "qmDataError: \"animations\" must be an array if included in sprite object. Sheet: "
         "\"s\""},
    };
    for (const auto& c : cases)
    {
        errors.messages.clear();
        EXPECT_FALSE(manager.LoadSpriteSheetFromFile("s", WriteText("bad.json", c.text))) << c.text;
        EXPECT_EQ(errors.messages, Strings{c.message}) << c.text;
        EXPECT_TRUE(HasNoSheet(manager, "s")) << c.text;
    }
    errors.messages.clear();
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile("s", (mFolder + "/" + "missing.json")));
    EXPECT_EQ(errors.Count("qmDataError: Expected sprite sheet data to be a structure of "
                           "information.  Sheet: s"),
              1);
    EXPECT_TRUE(HasNoSheet(manager, "s"));

    // An image that cannot be decoded leaves a texture without pixels: no sheet is made on it.
    errors.messages.clear();
    const std::string image = (mFolder + "/" + "missing.png");
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile(
        "s", WriteText("sheet.json", "{\"texture\": \"" + image +
                                         "\", \"sprites\": [{\"name\": "
                                         "\"a\"}]}")));
    EXPECT_EQ(errors.Count("Was unable to load texture: " + image + "\n"), 1);
    EXPECT_TRUE(HasNoSheet(manager, "s"));
}

TEST_F(SpriteManagerTest, AStoppingSpriteKeepsTheFramesBeforeItAndBuildsNoSequences)
{
    const std::string nameless = WriteSheet(R"(
        "sprites": [{"name": "a", "animations": ["a"]}, {"x": 1}, {"y": 2}, {"name": "c"}],
        "animations": [{"name": "run", "frames": ["a"]}])");
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile("s", nameless));
    EXPECT_EQ(errors.messages,
              Strings{"qmDataError: Expected each sprite_frame object to have a name. Sheet: s"});
    const SpriteSheet& sheet = manager.GetSpriteSheet("s");
    EXPECT_EQ(sheet.GetSpriteFrames().size(), 1u);
    EXPECT_EQ(sheet.GetFrameNameAnimations().count("a"), 1u);
    EXPECT_TRUE(sheet.GetAnimations().empty());

    // A sprite that is not an object has no name either.
    errors.messages.clear();
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile("t", WriteSheet(R"("sprites": [7, 8])")));
    EXPECT_EQ(errors.messages,
              Strings{"qmDataError: Expected each sprite_frame object to have a name. Sheet: t"});

    errors.messages.clear();
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile(
        "u", WriteSheet(R"("sprites": [{"name": "b", "animations": "b"}])")));
    EXPECT_EQ(errors.messages,
              Strings{"qmDataError: Expected sprite_frame animations item to be an "
                      "array if it exists. Sprite \"b\" on Sheet: \"u\""});
    EXPECT_EQ(manager.GetSpriteSheet("u").GetSpriteFrames().count("b"), 1u);
}

TEST_F(SpriteManagerTest, AnimationFaultsAreReportedWithTheirOwnQuotingAndSkipped)
{
    const std::string path = WriteSheet(std::string(R"(
        "sprite_width": 32, "sprite_height": 32,
        "sprites": [{"name": "a"}],
        "animations": [
            {"frames": ["a"]},
            {"name": "n1"},
            {"name": "n2", "frames": 7},
            {"name": "n3", "frames": ["a", 5]},
            {"name": "n4", "frames": {"start": 0, "count": 1}},
            {"name": "n5", "frames": {)") +
                                        kGrid + R"(}},
            {"name": "n6", "frames": {)" +
                                        kGrid + R"(, "frames": 3}},
            {"name": "n7", "frames": {)" +
                                        kGrid + R"(, "frames": {"k": 1}}}
        ])");
    EXPECT_TRUE(manager.LoadSpriteSheetFromFile("s", path));

    const Strings expected = {
        "qmDataError: Expected each animation object to have a name. Sheet: s",
        "qmDataError: Expected each animation object to have frames. Animation: \"n1\" on Sheet: "
        "\"s\"",
        "qmDataError: Expected each item in Animation \"n3\" frames array to be a string. Sheet: "
        "\"s\"",
        "qmExternalError: Sprite with name 5 does not exist on sprite sheet.",
        "qmExternalErro: Expected frame texture to be the same as the texture of sequence.",
        "qmDataError: Expected each mapped animation object to have a width. Animation: \"n4\" on "
        "Sheet: s",
        "qmDataError: Expected each mapped animation object to have a height. Animation: \"n4\" on "
        "Sheet: s",
        "qmDataError: Expected each mapped animation object to have a start frame. Animation: "
        "\"n5\" on Sheet: \"s\"",
        "qmDataError: Expected each mapped animation object to have a frame count. Animation: "
        "\"n5\" on Sheet: \"s\"",
    };
    for (const std::string& message : expected)
        EXPECT_EQ(errors.Count(message), 1) << message;
    EXPECT_EQ(errors.Count("qmDataError: Expected animation frames to be an array or mapped "
                           "structure. Sheet: s"),
              2);  // n1 (no frames at all) and n2
    EXPECT_EQ(
        errors.Count("qmDataError: Expected mapped animation object with frames item being an "
                     "array: s"),
        2);  // n6 and n7

    const SpriteSheet& sheet = manager.GetSpriteSheet("s");
    Strings stored;
    for (const auto& [name, sequence] : sheet.GetAnimations())
    {
        stored.push_back(name + ":" + std::to_string(sequence.GetFrames().size()));
    }
    EXPECT_EQ(stored, (Strings{":1", "n3:2", "n4:1", "n5:0", "n6:0", "n7:0"}));
}

TEST_F(SpriteManagerTest, ReloadingReportsEveryNameReplacesFramesAndListsAndKeepsSequences)
{
    const auto version = [&](int x, int start)
    {
        return WriteSheet(
            R"("sprite_width": 32, "sprite_height": 32, "sprites": [{"name": "a", "x": )" +
            std::to_string(x) + R"(, "animations": ["a"]}], "animations": [
            {"name": "run", "frames": {"width": 32, "height": 32, "start": )" +
            std::to_string(start) + R"(, "count": 1}}])");
    };
    ASSERT_TRUE(manager.LoadSpriteSheetFromFile("s", version(0, 0)));
    EXPECT_TRUE(errors.messages.empty());
    ASSERT_TRUE(manager.LoadSpriteSheetFromFile("s", version(64, 5)));
    EXPECT_EQ(errors.messages,
              (Strings{"qmExternalError: Attempting to add sprite frame a which already exists on "
                       "sprite sheet.",
                       "qmExternalError: Attempting to add animation a which already exists on "
                       "sprite sheet.",
                       "qmExternalError: Attempting to add animation run which already exists on "
                       "sprite sheet."}));
    const SpriteSheet& sheet = manager.GetSpriteSheet("s");
    EXPECT_EQ(Rectangle(sheet.GetSpriteFrame("a")), "64,0 32x32");
    EXPECT_EQ(FramesOf(sheet, "run"), Strings{"0,0 32x32"});
}

TEST_F(SpriteManagerTest, SpritesAreCentredWhiteCopiesAndUnknownNamesGiveAnEmptySprite)
{
    ASSERT_TRUE(theSpriteManager.LoadSpriteSheetFromFile(
        "s", WriteSheet(R"("sprites": [{"name": "bar", "y": 32, "height": 32}])")));
    const Sprite sprite = theSpriteManager.GetSprite("s", "bar");
    EXPECT_EQ(Rectangle(sprite.GetFrame()), "0,32 128x32");
    EXPECT_EQ(sprite.GetOrigin().x, 64.0f);
    EXPECT_EQ(sprite.GetOrigin().y, 16.0f);
    EXPECT_EQ(sprite.GetColor().GetArgb(), 0xFFFFFFFFu);
    EXPECT_TRUE(errors.messages.empty());

    const Sprite missing = theSpriteManager.GetSprite("S", "bar");
    EXPECT_EQ(errors.messages, Strings{"SpriteSheet with name S does not exist."});
    EXPECT_EQ(missing.GetFrame().texture, kInvalidTexture);
    EXPECT_EQ(missing.GetFrame().width, 0.0f);
    theSpriteManager.GetSprite("s", "Bar");
    EXPECT_EQ(errors.messages.back(),
              "qmExternalError: Sprite with name Bar does not exist on sprite sheet.");
}

TEST_F(SpriteManagerTest, NegativeOrEnormousCountsLoadAsSequencesBoundedByTheGrid)
{
    const std::string path = WriteSheet(std::string(R"("sprites": [{"name": "a"}], "animations": [
            {"name": "negative", "frames": {)") +
                                        kGrid + R"(, "start": 0, "count": -1}},
            {"name": "enormous", "frames": {)" +
                                        kGrid + R"(, "start": 3, "count": 2000000000}},
            {"name": "pixels", "frames": {"width": 1, "height": 1, "start": 0, "count": -5}}])");
    ASSERT_TRUE(manager.LoadSpriteSheetFromFile("s", path));
    const SpriteSheet& sheet = manager.GetSpriteSheet("s");
    EXPECT_EQ(sheet.GetAnimations().at("negative").GetFrames().size(), 8u);
    EXPECT_EQ(sheet.GetAnimations().at("enormous").GetFrames().size(), 8u);
    EXPECT_EQ(sheet.GetAnimations().at("pixels").GetFrames().size(), 8192u);
    EXPECT_EQ(
        errors.Count("qmExternalError: Expected parameter frameCount to be at most the number "
                     "of frames on the grid (8); the sequence is cut to that many frames."),
        2);
}
