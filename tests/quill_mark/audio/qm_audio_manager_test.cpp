// SPDX-License-Identifier: Zlib
// The audio manager's bookkeeping: handles by path, the 16 places for plays and when they are
// freed, controllers reaching exactly their own play, channel identifiers, and a play's bounds.
#include "audio_test_files.h"
#include "quill_mark/audio/implementation/qmi_audio_manager_state.h"
#include "quill_mark/audio/implementation/qmi_audio_player.h"

using Strings = std::vector<std::string>;

namespace
{

// Whether the controller reaches a play: an out-of-range volume is reported only by a player.
bool Reaches(const AudioController& controller)
{
    RecordingErrorHandler errors;
    controller.SetVolume(2.0f);
    return !errors.messages.empty();
}

}  // namespace

TEST(AudioManager, HandlesCountUpInLoadOrderAndAreSharedByPath)
{
    TemporaryFolder folder;
    EXPECT_EQ(folder.Sound("a.wav", ToneFile(0.01)), 1u);
    EXPECT_EQ(folder.Sound("b.wav", ToneFile(0.01)), 2u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(folder.File("a.wav")), 1u);
    // A file that fails to load still takes the next handle, and is read only once.
    RecordingErrorHandler errors;
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(folder.File("missing.wav")), 3u);
    errors.messages.clear();
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(folder.File("missing.wav")), 3u);
    // Handles never loaded play nothing; 0 is the caller's fault and is looked up all the same.
    EXPECT_EQ(theAudioManager.PlaySound(0, false).channel, 0u);
    EXPECT_EQ(theAudioManager.PlaySound(4, false).channel, 0u);
    const char* unknown = "qmError: Unable to find audio handle to play, was it unloaded?";
    EXPECT_EQ(errors.messages,
              (Strings{"qmExternalError: Attempting to play an invalid audio handle.", unknown,
                       unknown}));
}

TEST(AudioManager, SixteenPlacesAreSharedAndOnlyUpdateFreesThem)
{
    TemporaryFolder folder;
    const AudioHandle tone = folder.Sound("t.wav", ToneFile(3));
    const AudioHandle blip = folder.Sound("b.wav", ToneFile(0.05));
    // Sounds without samples (a missing file, an empty data chunk) start nothing, even looping.
    const AudioHandle missing = theAudioManager.CreateSoundFromFile(folder.File("missing.wav"));
    const AudioHandle empty = folder.Sound("e.wav", Wav(1, 8000, 8, Chunk("data", "")));
    RecordingErrorHandler errors;
    for (std::uint32_t channel = 1; channel <= 13; ++channel)
        ASSERT_EQ(theAudioManager.PlaySound(tone, true).channel, channel);
    const AudioController over[] = {theAudioManager.PlaySound(blip, false),
                                    theAudioManager.PlaySound(missing, true),
                                    theAudioManager.PlaySound(empty, true)};
    // The seventeenth play is dropped silently; finished plays keep their places until Update.
    EXPECT_EQ(theAudioManager.PlaySound(tone, false).channel, 0u);
    ASSERT_TRUE(PollUntil([] { return LiveSources().at(13).state == AL_STOPPED; }));
    EXPECT_EQ(theAudioManager.PlaySound(tone, false).channel, 0u);
    theAudioManager.Update();
    for (const AudioController& finished : over)
        EXPECT_FALSE(Reaches(finished)) << finished.channel;
    for (std::uint32_t channel = 17; channel <= 19; ++channel)
        EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, channel);
    EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, 0u);
    EXPECT_EQ(LiveSources().size(), 16u);
    // The missing file's play is the one OpenAL refuses: no samples, and no format to hold them.
    EXPECT_EQ(errors.messages, Strings{"qmInternalError: Could not set audio data in buffer."});
}

TEST(AudioManager, ControllersReachTheirOwnPlayAcrossTheChannelRollOver)
{
    TemporaryFolder folder;
    const AudioHandle one = folder.Sound("1.wav", ToneFile(1));
    const AudioHandle two = folder.Sound("2.wav", ToneFile(1));
    qmImplementation::AudioManagerState::Of(theAudioManager).channelCounter = 0xFFFFFFFEu;
    RecordingErrorHandler errors;
    const AudioController a = theAudioManager.PlaySound(one, true);
    const AudioController b = theAudioManager.PlaySound(one, true);
    const AudioController c = theAudioManager.PlaySound(two, true);
    EXPECT_EQ(a.channel, 0xFFFFFFFFu);
    EXPECT_EQ(b.channel, 1u);
    EXPECT_EQ(c.channel, 2u);
    EXPECT_EQ(errors.messages, Strings{"qmInternalError: Audio Channel Identifier Rolled Over."});
    b.SetVolume(0.25f);
    c.SetPitch(0.5f);
    std::vector<std::pair<float, float>> seen;
    for (const SourceProbe& source : LiveSources())
        seen.emplace_back(source.gain, source.pitch);
    EXPECT_EQ(seen, (std::vector<std::pair<float, float>>{{1, 1}, {0.25f, 1}, {1, 0.5f}}));
    EXPECT_FALSE(Reaches(AudioController{two, a.channel}));  // the channel plays another sound
    EXPECT_TRUE(Reaches(AudioController{0, c.channel}));     // a handle of 0 matches any sound
    EXPECT_FALSE(Reaches(AudioController{one, 999}));
}

// One play's volume and pitch: 0 and 1 are volumes and a pitch must be above 0; values outside
// are reported and still handed to OpenAL as given.
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
