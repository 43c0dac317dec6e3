// SPDX-License-Identifier: Zlib
// Animations from grid to screen on real textures: both grid builders' arithmetic and checks;
// sheet files (a complete one, where each stopping fault leaves the manager, skipped faults'
// reports in file order, reloading); and the frame a player shows as its time is scripted.
#include "quill_mark/graphics/qm_sprite_manager.h"
#include "quill_mark/graphics/qm_animated_sprite.h"
#include "quill_mark/graphics/qm_animation_player.h"

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

class SpriteManagerTest : public QuillmarkTest::GraphicsTest
{
protected:
    std::string WriteSheet(const std::string& members)
    {
        return WriteText("sheet.json",
                         "{\"texture\": \"" + WritePng(128, 64) + "\", " + members + "}");
    }
    Strings FramesOf(const std::string& sheet, const std::string& animation)
    {
        return Rectangles(manager.GetSpriteSheet(sheet).GetAnimations().at(animation).GetFrames());
    }
    Strings Sequences(const std::string& sheet)
    {
        Strings stored;
        for (const auto& [name, sequence] : manager.GetSpriteSheet(sheet).GetAnimations())
            stored.push_back(name + ":" + std::to_string(sequence.GetFrames().size()));
        return stored;
    }

    SpriteManager manager;
};

// The player's script: each step's action or update, then the frame on show.
const Rgba kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255};

struct Step
{
    void (AnimationPlayer::*action)();
    float seconds;
    Rgba shows;
    bool finished;
};
constexpr auto kPause = &AnimationPlayer::Pause;
constexpr auto kResume = &AnimationPlayer::Resume;
constexpr auto kRestart = &AnimationPlayer::Restart;

// Four frames at 4 per second: 0.25 s each, 1 s a round. Comment times are time played so far.
const std::vector<Step> kLooping = {
    {nullptr, 0.0f, kRed, false},   {nullptr, 0.3f, kGreen, false},  // 0.3
    {kPause, 0.0f, kGreen, false},  {nullptr, 0.4f, kGreen, false},  // paused: still 0.3
    {kResume, 0.0f, kGreen, false}, {nullptr, 0.5f, kWhite, false},  // 0.8, the last frame
    {nullptr, 0.3f, kRed, false},                                    // 1.1: round two
    {nullptr, 2.5f, kBlue, false},                                   // 3.6: rounds skipped
    {kPause, 0.0f, kBlue, false},   {kRestart, 0.0f, kRed, false},   // restart also resumes
    {nullptr, 0.3f, kGreen, false},
};
const std::vector<Step> kOnce = {
    {nullptr, 0.9f, kWhite, false},  // 0.9, the last frame
    {nullptr, 0.2f, kWhite, true},   // 1.1: ended, resting on the last frame
    {nullptr, 1.0f, kWhite, true},  {kRestart, 0.0f, kRed, false}, {nullptr, 0.6f, kBlue, false},
};

using AnimationPlayerTest = QuillmarkTest::DrawingTest;

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

TEST_F(SpriteManagerTest, ACompleteFileLoadsExactlyItsFramesListsAndSequences)
{
    ASSERT_TRUE(manager.LoadSpriteSheetFromFile(
        "heroes", WriteSheet(R"("sprite_width": 32, "sprite_height": 16,
        "sprites": [{"name": "idle", "x": 0, "y": 0, "animations": ["idle", "blink"]}, {"name": "blink", "x": 32, "y": 0},
                    {"name": "banner", "x": 0, "y": 32, "width": 128}, {"name": "whole", "width": 128.0, "height": 64}],
        "animations": [{"name": "look", "frames": ["blink", "idle"]},
            {"name": "walk", "frames": {"width": 32, "height": 32, "start": 2, "count": 3}},
            {"name": "wave", "frames": {"width": 32, "height": 32, "locationX": 32, "frames": [1, 0, 1, 2]}},
            {"name": "back", "frames": {"width": 32, "height": 32, "frames": [5, 0]}}])")));
    EXPECT_EQ(errors.messages, Strings{});
    const SpriteSheet& sheet = manager.GetSpriteSheet("heroes");
    Strings frames;
    for (const auto& [name, frame] : sheet.GetSpriteFrames())
        frames.push_back(name + " " + Rectangle(frame) +
                         (frame.texture == sheet.GetTexture() ? "" : " other"));
    // A size that is not an integer falls back to the sheet's default.
    EXPECT_EQ(frames, (Strings{"banner 0,32 128x16", "blink 32,0 32x16", "idle 0,0 32x16",
                               "whole 0,0 32x64"}));
    EXPECT_EQ(sheet.GetFrameNameAnimations().size(), 1u);
    EXPECT_EQ(sheet.GetFrameNameAnimations().at("idle"), (Strings{"idle", "blink"}));
    EXPECT_EQ(Sequences("heroes"), (Strings{"back:2", "look:2", "walk:3", "wave:4"}));
    EXPECT_EQ(FramesOf("heroes", "look"), (Strings{"32,0 32x16", "0,0 32x16"}));
    EXPECT_EQ(FramesOf("heroes", "walk"), (Strings{"64,0 32x32", "96,0 32x32", "0,32 32x32"}));
    EXPECT_EQ(FramesOf("heroes", "wave"),
              (Strings{"64,0 32x32", "32,0 32x32", "64,0 32x32", "96,0 32x32"}));
    EXPECT_EQ(FramesOf("heroes", "back"), (Strings{"32,32 32x32", "0,0 32x32"}));

    const Sprite sprite = manager.GetSprite("heroes", "banner");  // a centred white copy
    EXPECT_EQ(Rectangle(sprite.GetFrame()), "0,32 128x16");
    EXPECT_EQ(sprite.GetOrigin().x, 64.0f);
    EXPECT_EQ(sprite.GetOrigin().y, 8.0f);
    EXPECT_EQ(sprite.GetColor().GetArgb(), 0xFFFFFFFFu);
    EXPECT_EQ(manager.GetSprite("heroes", "Banner").GetFrame().texture, kInvalidTexture);
    EXPECT_EQ(errors.messages,
              Strings{"qmExternalError: Sprite with name Banner does not exist on sprite sheet."});

    // Loaded again into the same name: frames and name lists are replaced, sequences stay.
    errors.messages.clear();
    ASSERT_TRUE(manager.LoadSpriteSheetFromFile(
        "heroes", WriteSheet(R"("sprites": [{"name": "idle", "x": 64, "width": 32, "height": 32,
        "animations": ["blink"]}, {"name": "blink"}],
        "animations": [{"name": "walk", "frames": {"width": 32, "height": 32, "start": 0, "count": 1}}])")));
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "qmExternalError: Attempting to add sprite frame idle which already exists on sprite sheet.",
            "qmExternalError: Attempting to add animation idle which already exists on sprite sheet.",
            "qmExternalError: Attempting to add sprite frame blink which already exists on sprite sheet.",
            "qmExternalError: Attempting to add animation walk which already exists on sprite sheet."}));
    EXPECT_EQ(Rectangle(sheet.GetSpriteFrame("idle")), "64,0 32x32");
    EXPECT_EQ(sheet.GetFrameNameAnimations().at("idle"), Strings{"blink"});
    EXPECT_EQ(FramesOf("heroes", "walk"), (Strings{"64,0 32x32", "96,0 32x32", "0,32 32x32"}));
}

TEST_F(SpriteManagerTest, FaultsOfTheWholeFileStopTheLoadBeforeAnythingIsStored)
{
    const std::string png = WritePng(128, 64), missing = mFolder + "/missing.png";
    const std::string noData =
        "qmDataError: Expected sprite sheet data to be a structure of information.  Sheet: s";
    const std::string noSprites =
        "qmDataError: Expected sprite sheet to have an array named: sprites. Sheet: \"s\"";
    const std::pair<std::string, Strings> cases[] = {
        {"", {"Was unable to load json file: " + mFolder + "/none.json\n", noData}},
        {"[1, 2]", {noData}},
        {"{\"texture\": \"" + png + "\"}", {noSprites}},
        // The JSON reader keeps no empty containers: an empty list is a missing one.
        {"{\"texture\": \"" + png + "\", \"sprites\": []}", {noSprites}},
        {"{\"texture\": \"" + png + "\", \"sprites\": {\"name\": \"a\"}}", {noSprites}},
        {"{\"texture\": \"" + png +
             "\", \"sprites\": [{\"name\": \"a\"}], \"animations\": {\"k\": 1}}",
         {"qmDataError: \"animations\" must be an array if included in sprite object. Sheet: \"s\""}},
    };
    for (const auto& [text, reports] : cases)
    {
        SCOPED_TRACE(text);
        errors.messages.clear();
        const std::string path =
            text.empty() ? mFolder + "/none.json" : WriteText("bad.json", text);
        EXPECT_FALSE(manager.LoadSpriteSheetFromFile("s", path));
        EXPECT_EQ(errors.messages, reports);
        errors.messages.clear();
        manager.GetSprite("s", "a");
        EXPECT_EQ(errors.messages, Strings{"SpriteSheet with name s does not exist."});
    }
    // An undecodable image: the sheet loads on an empty texture; only the texture manager reports.
    errors.messages.clear();
    EXPECT_TRUE(manager.LoadSpriteSheetFromFile(
        "m", WriteText("m.json",
                       "{\"texture\": \"" + missing + "\", \"sprites\": [{\"name\": \"a\"}]}")));
    manager.GetSprite("m", "a");
    EXPECT_EQ(
        errors.messages,
        (Strings{"qmExternalError: Texture \"" + missing + "\" could not be loaded from file.",
                 "qmInternalError: Invalid imageData passed to OnCreateTexture()"}));
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
            "Expected this MagicValue to be an StructureType or a NilType.\n",
            "qmDataError: Expected each sprite_frame object to have a name. Sheet: t",
            "qmDataError: Expected sprite_frame animations item to be an array if it exists. Sprite \"b\" on Sheet: \"u\""}));
    const SpriteSheet& sheet = manager.GetSpriteSheet("s");
    EXPECT_EQ(sheet.GetSpriteFrames().size(), 1u);
    EXPECT_EQ(sheet.GetFrameNameAnimations().count("a"), 1u);
    EXPECT_TRUE(sheet.GetAnimations().empty());
    EXPECT_EQ(manager.GetSpriteSheet("u").GetSpriteFrames().count("b"), 1u);
}

TEST_F(SpriteManagerTest, AnimationFaultsAreReportedInFileOrderAndSkipped)
{
    EXPECT_TRUE(manager.LoadSpriteSheetFromFile(
        "s", WriteSheet(R"("sprite_width": 32, "sprite_height": 32, "sprites": [{"name": "a"}],
        "animations": [{"frames": ["a"]}, {"name": "n1"}, {"name": "n2", "frames": 7}, {"name": "n3", "frames": ["a", 5]},
            {"name": "n4", "frames": {"start": 0, "count": 1}}, {"name": "n5", "frames": {"width": 32, "height": 32}}])")));
    const std::string kind =
        "qmDataError: Expected animation frames to be an array or mapped structure. Sheet: s";
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "ValueType does not match array value type.\n",  // the JSON reader's, for ["a", 5]
            "qmDataError: Expected each animation object to have a name. Sheet: s",
            "qmDataError: Expected each animation object to have frames. Animation: \"n1\" on Sheet: \"s\"",
            kind, kind,
            "qmDataError: Expected each item in Animation \"n3\" frames array to be a string. Sheet: \"s\"",
            "qmExternalError: Sprite with name 5 does not exist on sprite sheet.",
            "qmExternalErro: Expected frame texture to be the same as the texture of sequence.",
            "qmDataError: Expected each mapped animation object to have a width. Animation: \"n4\" on Sheet: s",
            "qmDataError: Expected each mapped animation object to have a height. Animation: \"n4\" on Sheet: s",
            "qmDataError: Expected each mapped animation object to have a start frame. Animation: \"n5\" on Sheet: \"s\"",
            "qmDataError: Expected each mapped animation object to have a frame count. Animation: \"n5\" on Sheet: \"s\""}));
    EXPECT_EQ(Sequences("s"), (Strings{":1", "n3:2", "n4:1", "n5:0"}));
}

TEST_F(SpriteManagerTest, MappedFramesOfTheWrongKindAndNegativeCountsAreBounded)
{
    // A count of -1 reaches the grid as 4294967295, and is cut to the grid's 8 frames.
    EXPECT_TRUE(manager.LoadSpriteSheetFromFile(
        "s", WriteSheet(R"("sprites": [{"name": "a"}], "animations": [
            {"name": "n6", "frames": {"width": 32, "height": 32, "frames": 3}}, {"name": "n7", "frames": {"width": 32, "height": 32, "frames": {"k": 1}}},
            {"name": "negative", "frames": {"width": 32, "height": 32, "start": 0, "count": -1}}])")));
    const std::string notArray =
        "qmDataError: Expected mapped animation object with frames item being an array: s";
    EXPECT_EQ(errors.messages,
              (Strings{notArray, notArray,
                       "qmExternalError: Expected this MagicValue to be an ArrayType.\n",
                       QuillmarkTest::kCutToGrid}));
    // A structure in place of the index array is read as one: index 0 per member.
    EXPECT_EQ(Sequences("s"), (Strings{"n6:0", "n7:1", "negative:8"}));
}

TEST_F(AnimationPlayerTest, TheFrameOnShowFollowsTheTimePlayedLoopingOrOnce)
{
    // One row of four 32 x 32 frames: red, green, blue, white.
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 32; ++y)
        for (const Rgba& colour : {kRed, kGreen, kBlue, kWhite})
            for (int x = 0; x < 32; ++x)
                pixels.insert(pixels.end(), {colour.red, colour.green, colour.blue, colour.alpha});
    const std::string sheet = WriteText(
        "strip.json", "{\"texture\": \"" + WritePng(128, 32, 4, pixels) +
                          "\", \"sprites\": [{\"name\": \"strip\"}], \"animations\": [{\"name\": "
                          "\"cycle\", \"frames\": {\"width\": 32, \"height\": 32, \"start\": 0, "
                          "\"count\": 4}}]}");
    ASSERT_TRUE(theSpriteManager.LoadSpriteSheetFromFile("strip", sheet));
    for (const bool looping : {true, false})
    {
        AnimationPlayer player(theSpriteManager.GetSpriteSheet("strip"), "cycle", 4.0f, looping);
        player.SetPosition(100.0f, 100.0f);
        const std::vector<Step>& script = looping ? kLooping : kOnce;
        for (std::size_t i = 0; i < script.size(); ++i)
        {
            const Step& step = script[i];
            step.action != nullptr ? (player.*step.action)() : player.Update(step.seconds);
            const char* name = looping ? "looping" : "once";
            EXPECT_EQ(DrawAlone(player).At(100, 100), step.shows) << name << ", step " << i;
            EXPECT_EQ(player.IsFinished(), step.finished) << name << ", step " << i;
        }
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}
