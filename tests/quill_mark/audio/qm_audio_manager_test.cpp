// The audio manager's bookkeeping as a game sees it: handles by path, the 16 places for plays and
// when they are freed, controllers that reach exactly their own play, and channel identifiers.
#include "quill_mark/audio/qm_audio_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_test_files.h"
#include "support/recording_error_handler.h"

using Quillmark::Audio::AudioController;
using Quillmark::Audio::AudioHandle;
using Quillmark::Audio::theAudioManager;
using namespace QuillmarkTest;

namespace
{

const std::string kVolumeRange =
    "qmExternalError: Expected volume to remain within range: (0.0f <= volume <= 1.0f).";

bool IsEmpty(const AudioController& controller)
{
    return controller.audioHandle == 0 && controller.channel == 0;
}

// Whether the controller reaches a play: an out-of-range volume is reported only by a player.
bool Reaches(const AudioController& controller)
{
    RecordingErrorHandler errors;
    controller.SetVolume(2.0f);
    return errors.Count(kVolumeRange) == 1;
}

}  // namespace

TEST(AudioManager, HandlesCountUpInLoadOrderAndAreSharedByPath)
{
    TemporaryFolder folder;
    const std::string a = folder.Write("a.wav", ToneFile(0.01));
    const std::string missing = folder.File("missing.wav");
    RecordingErrorHandler errors;
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(a), 1u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(folder.Write("b.wav", ToneFile(0.01))), 2u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(a), 1u);
    EXPECT_TRUE(errors.messages.empty());
    // A file that fails to load is reported once and still takes the next handle.
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(missing), 3u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(missing), 3u);
    EXPECT_EQ(errors.Count("qmExternalError: Failed to load audio file, \"" + missing + "\"."), 1);
    // Unknown handles are reported and start nothing.
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(4, false)));
    EXPECT_EQ(errors.Count("qmError: Unable to find audio handle to play, was it unloaded?"), 1);
    EXPECT_TRUE(LiveSources().empty());
}

TEST(AudioManager, SixteenPlacesAreSharedAndOnlyUpdateFreesThem)
{
    TemporaryFolder folder;
    const AudioHandle tone =
        theAudioManager.CreateSoundFromFile(folder.Write("t.wav", ToneFile(3)));
    const AudioHandle blip =
        theAudioManager.CreateSoundFromFile(folder.Write("b.wav", ToneFile(0.05)));
    // Sounds without samples (a missing file, an empty data chunk) start nothing, even looping.
    const AudioHandle missing = theAudioManager.CreateSoundFromFile(folder.File("missing.wav"));
    const AudioHandle empty =
        theAudioManager.CreateSoundFromFile(folder.Write("e.wav", Wav(1, 8000, 8, "")));
    RecordingErrorHandler errors;
    for (int i = 0; i < 13; ++i)
    {
        ASSERT_EQ(theAudioManager.PlaySound(tone, true).channel, static_cast<std::uint32_t>(i + 1));
    }
    const std::vector<AudioController> over{theAudioManager.PlaySound(blip, false),
                                            theAudioManager.PlaySound(missing, true),
                                            theAudioManager.PlaySound(empty, true)};
    EXPECT_EQ(over.back().channel, 16u);
    // The seventeenth play is dropped without a word.
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, false)));
    EXPECT_TRUE(errors.messages.empty());
    ASSERT_TRUE(PollUntil([] { return LiveSources().at(13).state == AL_STOPPED; }));
    EXPECT_NE(LiveSources().at(14).state, AL_PLAYING);
    EXPECT_NE(LiveSources().at(15).state, AL_PLAYING);
    // Plays that are over keep their places until the next update.
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, false)));
    theAudioManager.Update();
    for (const AudioController& play : over)
    {
        EXPECT_FALSE(Reaches(play));
    }
    EXPECT_EQ(LiveSources().size(), 13u);
    for (std::uint32_t channel : {17u, 18u, 19u})
    {
        EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, channel);
    }
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, true)));
    EXPECT_TRUE(errors.messages.empty());
}

TEST(AudioManager, ControllersReachTheirOwnPlayAndNothingElse)
{
    TemporaryFolder folder;
    const AudioHandle one = theAudioManager.CreateSoundFromFile(folder.Write("1.wav", ToneFile(1)));
    const AudioHandle two = theAudioManager.CreateSoundFromFile(folder.Write("2.wav", ToneFile(1)));
    const AudioController a = theAudioManager.PlaySound(one, true);
    const AudioController b = theAudioManager.PlaySound(one, true);
    const AudioController c = theAudioManager.PlaySound(two, true);
    b.SetVolume(0.25f);
    c.SetPitch(0.5f);
    const auto sources = LiveSources();
    ASSERT_EQ(sources.size(), 3u);
    const float expected[3][2] = {{1.0f, 1.0f}, {0.25f, 1.0f}, {1.0f, 0.5f}};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_FLOAT_EQ(sources[i].gain, expected[i][0]);
        EXPECT_FLOAT_EQ(sources[i].pitch, expected[i][1]);
    }
    EXPECT_FALSE(Reaches(AudioController{two, a.channel}));  // the channel plays another sound
    EXPECT_TRUE(Reaches(AudioController{0, c.channel}));     // a handle of 0 matches any sound
    EXPECT_FALSE(Reaches(AudioController{}));
    EXPECT_FALSE(Reaches(AudioController{one, 999}));
}

TEST(AudioManager, ChannelIdentifiersRollOverOnceAndSkipZero)
{
    TemporaryFolder folder;
    const AudioHandle tone =
        theAudioManager.CreateSoundFromFile(folder.Write("t.wav", ToneFile(1)));
    theAudioManager.SetChannelCounterForTesting(0xFFFFFFFEu);
    RecordingErrorHandler errors;
    EXPECT_EQ(theAudioManager.PlaySound(tone, false).channel, 0xFFFFFFFFu);
    EXPECT_TRUE(errors.messages.empty());
    const AudioController wrapped = theAudioManager.PlaySound(tone, false);
    EXPECT_EQ(wrapped.channel, 1u);
    EXPECT_EQ(errors.messages,
              std::vector<std::string>{"qmInternalError: Audio Channel Identifier Rolled Over."});
    EXPECT_EQ(theAudioManager.PlaySound(tone, false).channel, 2u);
    EXPECT_TRUE(Reaches(wrapped));
}
