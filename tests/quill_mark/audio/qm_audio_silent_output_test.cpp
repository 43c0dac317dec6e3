// SPDX-License-Identifier: Zlib
// The silent output a headless replay plays to: once chosen, plays start, take their places and
// run as on the device, but nothing of them reaches the device that was open before.
#include <cstdlib>

#include "audio_test_files.h"
#include "support/captured_sound.h"

TEST(AudioSilentOutput, PlaysGoOnWhileNothingReachesTheDevice)
{
    if (std::getenv("QM_CAPTURE_FILE") == nullptr)
        GTEST_SKIP() << "needs the capture environment CTest gives it";
    TemporaryFolder folder;
    const AudioHandle tone = folder.Sound("tone.wav", ToneFile(0.15));
    ASSERT_TRUE(theAudioManager.UseSilentOutput());

    RecordingErrorHandler errors;
    const AudioController play = theAudioManager.PlaySound(tone, false);
    EXPECT_NE(play.channel, 0u);
    ASSERT_EQ(LiveSources().size(), 1u);
    EXPECT_EQ(LiveSources()[0].state, AL_PLAYING);
    UpdateFor(0.3);
    EXPECT_TRUE(errors.messages.empty());

    // The device that was open wrote its file to the end when the silent one took its place.
    const std::vector<std::int16_t> samples =
        QuillmarkTest::ReadCapturedSamples(std::getenv("QM_CAPTURE_FILE"));
    int loudest = 0;
    for (std::int16_t sample : samples)
        loudest = std::max(loudest, std::abs(int(sample)));
    EXPECT_LE(loudest, 300);
}
