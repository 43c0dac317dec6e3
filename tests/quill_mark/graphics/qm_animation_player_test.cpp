// SPDX-License-Identifier: Zlib
// An animation from a sprite sheet played on screen: scripted updates, pauses and restarts, each
// followed by a read of the pixel the animation draws, so the frame on show is the one checked.
#include "quill_mark/graphics/qm_animation_player.h"

#include "graphics_test_fixture.h"
#include "quill_mark/graphics/qm_sprite_manager.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::Rgba;

namespace
{

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
