// Sprite-sheet files end to end: a complete file loading into exactly the expected frames; where
// each stopping fault leaves the manager; skipped faults with their quoting as printed; reloading.
#include "quill_mark/graphics/qm_sprite_manager.h"

#include "graphics_test_fixture.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::Strings;

namespace
{

class SpriteManagerTest : public QuillmarkTest::GraphicsTest
{
protected:
    // A sheet file on a 128 x 64 texture; `members` follow the texture member.
    std::string WriteSheet(const std::string& members)
    {
        return WriteText("sheet.json",
                         "{\"texture\": \"" + WritePng(128, 64) + "\", " + members + "}");
    }
    // The manager holds no sheet of that name (GetSprite reports it, and makes none).
    bool HasNoSheet(const std::string& sheet)
    {
        const std::string message = "SpriteSheet with name " + sheet + " does not exist.";
        const int before = errors.Count(message);
        manager.GetSprite(sheet, "a");
        return errors.Count(message) == before + 1;
    }
    Strings FramesOf(const std::string& sheet, const std::string& animation)
    {
        return Rectangles(manager.GetSpriteSheet(sheet).GetAnimations().at(animation).GetFrames());
    }

    SpriteManager manager;
};

}  // namespace

TEST_F(SpriteManagerTest, ACompleteFileLoadsExactlyItsFramesListsAndSequences)
{
    ASSERT_TRUE(manager.LoadSpriteSheetFromFile(
        "heroes", WriteSheet(R"("sprite_width": 32, "sprite_height": 32,
        "sprites": [{"name": "idle", "x": 0, "y": 0, "animations": ["idle", "blink"]}, {"name": "blink", "x": 32, "y": 0},
                    {"name": "banner", "x": 0, "y": 32, "width": 128}, {"name": "whole", "sprite_width": 5, "width": 128.0, "height": 64}],
        "animations": [{"name": "look", "frames": ["blink", "idle"]},
            {"name": "walk", "frames": {"width": 32, "height": 32, "start": 2, "count": 3}},
            {"name": "wave", "frames": {"width": 32, "height": 32, "locationX": 32, "frames": [0, 1, 0]}},
            {"name": "back", "frames": {"width": 32, "height": 32, "frames": [5, 0]}}])")));
    EXPECT_EQ(errors.messages, Strings{});
    const SpriteSheet& sheet = manager.GetSpriteSheet("heroes");
    Strings frames;
    for (const auto& [name, frame] : sheet.GetSpriteFrames())
        frames.push_back(name + " " + Rectangle(frame) +
                         (frame.texture == sheet.GetTexture() ? "" : " other"));
    EXPECT_EQ(frames, (Strings{"banner 0,32 128x32", "blink 32,0 32x32", "idle 0,0 32x32",
                               "whole 0,0 32x64"}))
        << "a non-integer size falls back to the sheet's default";
    EXPECT_EQ(sheet.GetFrameNameAnimations().size(), 1u);
    EXPECT_EQ(sheet.GetFrameNameAnimations().at("idle"), (Strings{"idle", "blink"}));
    EXPECT_EQ(sheet.GetAnimations().size(), 4u);
    EXPECT_EQ(FramesOf("heroes", "look"), (Strings{"32,0 32x32", "0,0 32x32"}));
    EXPECT_EQ(FramesOf("heroes", "walk"), (Strings{"64,0 32x32", "96,0 32x32", "0,32 32x32"}));
    EXPECT_EQ(FramesOf("heroes", "wave"), (Strings{"32,0 32x32", "64,0 32x32", "32,0 32x32"}));
    EXPECT_EQ(FramesOf("heroes", "back"), (Strings{"32,32 32x32", "0,0 32x32"}));

    const Sprite sprite = manager.GetSprite("heroes", "banner");  // a centred white copy
    EXPECT_EQ(Rectangle(sprite.GetFrame()), "0,32 128x32");
    EXPECT_EQ(sprite.GetOrigin().x, 64.0f);
    EXPECT_EQ(sprite.GetColor().GetArgb(), 0xFFFFFFFFu);
    EXPECT_EQ(manager.GetSprite("heroes", "Banner").GetFrame().texture, kInvalidTexture);
    EXPECT_EQ(errors.messages,
              Strings{"qmExternalError: Sprite with name Banner does not exist on sprite sheet."});
}

TEST_F(SpriteManagerTest, FaultsOfTheWholeFileStopTheLoadBeforeAnythingIsStored)
{
    const std::string png = WritePng(128, 64), missing = mFolder + "/missing.png";
    const std::pair<std::string, std::string> cases[] = {
        {"[1, 2]",
         "qmDataError: Expected sprite sheet data to be a structure of information.  Sheet: s"},
        {"{\"texture\": \"" + png + "\"}",
         "qmDataError: Expected sprite sheet to have an array named: sprites. Sheet: \"s\""},
        {"{\"texture\": \"" + png + "\", \"sprites\": {\"name\": \"a\"}}",
         "qmDataError: Expected sprite sheet to have an array named: sprites. Sheet: \"s\""},
        {"{\"texture\": \"" + png +
             "\", \"sprites\": [{\"name\": \"a\"}], \"animations\": {\"name\": \"b\"}}",
         "qmDataError: \"animations\" must be an array if included in sprite object. Sheet: \"s\""},
        // An image that cannot be decoded leaves a texture without pixels: no sheet is made on it.
        {"{\"texture\": \"" + missing + "\", \"sprites\": [{\"name\": \"a\"}]}",
         "Was unable to load texture: " + missing + "\n"},
        {"",
         "qmDataError: Expected sprite sheet data to be a structure of information.  Sheet: s"}};
    for (const auto& [text, message] : cases)
    {
        errors.messages.clear();
        const std::string path =
            text.empty() ? mFolder + "/none.json" : WriteText("bad.json", text);
        EXPECT_FALSE(manager.LoadSpriteSheetFromFile("s", path)) << text;
        EXPECT_EQ(errors.Count(message), 1) << text;
        EXPECT_TRUE(HasNoSheet("s")) << text;
    }
}

TEST_F(SpriteManagerTest, AStoppingSpriteKeepsTheFramesBeforeItAndBuildsNoSequences)
{
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile(
        "s", WriteSheet(R"("sprites": [{"name": "a", "animations": ["a"]}, {"x": 1}, {"name": "c"}],
        "animations": [{"name": "run", "frames": ["a"]}])")));
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile("t", WriteSheet(R"("sprites": [7, 8])")));
    EXPECT_FALSE(manager.LoadSpriteSheetFromFile(
        "u", WriteSheet(R"("sprites": [{"name": "b", "animations": "b"}])")));
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "qmDataError: Expected each sprite_frame object to have a name. Sheet: s",
            "qmDataError: Expected each sprite_frame object to have a name. Sheet: t",
            "qmDataError: Expected sprite_frame animations item to be an array if it exists. Sprite \"b\" on Sheet: \"u\""}));
    const SpriteSheet& sheet = manager.GetSpriteSheet("s");
    EXPECT_EQ(sheet.GetSpriteFrames().size(), 1u);
    EXPECT_EQ(sheet.GetFrameNameAnimations().count("a"), 1u);
    EXPECT_TRUE(sheet.GetAnimations().empty());
    EXPECT_EQ(manager.GetSpriteSheet("u").GetSpriteFrames().count("b"), 1u);
}

TEST_F(SpriteManagerTest, AnimationFaultsAreReportedWithTheirOwnQuotingAndSkippedAndCountsBounded)
{
    EXPECT_TRUE(manager.LoadSpriteSheetFromFile(
        "s", WriteSheet(R"("sprite_width": 32, "sprite_height": 32, "sprites": [{"name": "a"}],
        "animations": [{"frames": ["a"]}, {"name": "n1"}, {"name": "n2", "frames": 7}, {"name": "n3", "frames": ["a", 5]},
            {"name": "n4", "frames": {"start": 0, "count": 1}}, {"name": "n5", "frames": {"width": 32, "height": 32}},
            {"name": "n6", "frames": {"width": 32, "height": 32, "frames": 3}}, {"name": "n7", "frames": {"width": 32, "height": 32, "frames": {"k": 1}}},
            {"name": "negative", "frames": {"width": 32, "height": 32, "start": 0, "count": -1}},
            {"name": "enormous", "frames": {"width": 32, "height": 32, "start": 3, "count": 2000000000}},
            {"name": "pixels", "frames": {"width": 1, "height": 1, "start": 0, "count": -5}}])")));
    const std::pair<std::string, int> expected[] = {
        {"qmDataError: Expected each animation object to have a name. Sheet: s", 1},
        {"qmDataError: Expected each animation object to have frames. Animation: \"n1\" on Sheet: \"s\"",
         1},
        {"qmDataError: Expected animation frames to be an array or mapped structure. Sheet: s",
         2},  // n1 and n2
        {"qmDataError: Expected each item in Animation \"n3\" frames array to be a string. Sheet: \"s\"",
         1},
        {"qmExternalError: Sprite with name 5 does not exist on sprite sheet.", 1},
        {"qmExternalErro: Expected frame texture to be the same as the texture of sequence.", 1},
        {"qmDataError: Expected each mapped animation object to have a width. Animation: \"n4\" on Sheet: s",
         1},
        {"qmDataError: Expected each mapped animation object to have a height. Animation: \"n4\" on Sheet: s",
         1},
        {"qmDataError: Expected each mapped animation object to have a start frame. Animation: \"n5\" on Sheet: \"s\"",
         1},
        {"qmDataError: Expected each mapped animation object to have a frame count. Animation: \"n5\" on Sheet: \"s\"",
         1},
        {"qmDataError: Expected mapped animation object with frames item being an array: s",
         2},  // n6 and n7
        {"qmExternalError: Expected parameter frameCount to be at most the number of frames on the grid (8); the sequence is cut to that many frames.",
         2}};
    for (const auto& [message, count] : expected)
        EXPECT_EQ(errors.Count(message), count) << message;
    Strings stored;
    for (const auto& [name, sequence] : manager.GetSpriteSheet("s").GetAnimations())
        stored.push_back(name + ":" + std::to_string(sequence.GetFrames().size()));
    EXPECT_EQ(stored, (Strings{":1", "enormous:8", "n3:2", "n4:1", "n5:0", "n6:0", "n7:0",
                               "negative:8", "pixels:8192"}));
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
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "qmExternalError: Attempting to add sprite frame a which already exists on sprite sheet.",
            "qmExternalError: Attempting to add animation a which already exists on sprite sheet.",
            "qmExternalError: Attempting to add animation run which already exists on sprite sheet."}));
    EXPECT_EQ(Rectangle(manager.GetSpriteSheet("s").GetSpriteFrame("a")), "64,0 32x32");
    EXPECT_EQ(FramesOf("s", "run"), Strings{"0,0 32x32"});
}
