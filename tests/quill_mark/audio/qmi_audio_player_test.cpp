// SPDX-License-Identifier: Zlib
// One play's volume and pitch: the bounds (0 and 1 are volumes; a pitch must be above 0) and
// values outside them, which are reported and still handed to OpenAL as given.
#include "quill_mark/audio/implementation/qmi_audio_player.h"

#include "audio_test_files.h"

using Strings = std::vector<std::string>;

TEST(AudioPlayer, VolumeAndPitchOutsideTheirBoundsAreReportedAndStillApplied)
{
    TemporaryFolder folder;
    const AudioHandle tone = folder.Sound("tone.wav", ToneFile(1));
    const std::string volume =
        "qmExternalError: Expected volume to remain within range: (0.0f <= volume <= 1.0f).";
    const std::string pitch = "qmExternalError: Expected pitch to remain a positive value.";
    // OpenAL itself refuses a negative gain, so that play keeps its gain of 1.
    const struct
    {
        float volume, pitch;
        Strings reports;
        float gain, appliedPitch;
    } cases[] = {{0.0f, 0.0001f, {}, 0.0f, 0.0001f},
                 {1.0f, 2.0f, {}, 1.0f, 2.0f},
                 {1.01f, 1.0f, {volume}, 1.01f, 1.0f},
                 {-0.01f, 1.0f, {volume}, 1.0f, 1.0f},
                 {0.5f, 0.0f, {pitch}, 0.5f, 0.0f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE("volume " + std::to_string(c.volume) + ", pitch " + std::to_string(c.pitch));
        const AudioController play = theAudioManager.PlaySound(tone, true);
        RecordingErrorHandler errors;
        play.SetVolume(c.volume);
        play.SetPitch(c.pitch);
        EXPECT_EQ(errors.messages, c.reports);
        const SourceProbe source = LiveSources().back();
        EXPECT_EQ(source.gain, c.gain);
        EXPECT_EQ(source.pitch, c.appliedPitch);
    }
}
