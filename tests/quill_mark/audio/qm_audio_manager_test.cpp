// The audio manager's bookkeeping as a game sees it: handles by path, the 16 places for plays and
// when they are freed, controllers that reach exactly their own play, and channel identifiers.
#include "quill_mark/audio/qm_audio_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_test_files.h"
#include "openal_probe.h"
#include "support/recording_error_handler.h"

using Quillmark::Audio::AudioController;
using Quillmark::Audio::AudioHandle;
using Quillmark::Audio::theAudioManager;
using QuillmarkTest::LiveSources;
using QuillmarkTest::RecordingErrorHandler;
using QuillmarkTest::TemporaryFolder;

namespace
{

const std::string kVolumeRange =
    "qmExternalError: Expected volume to remain within range: (0.0f <= volume <= 1.0f).";
const std::string kInvalidHandle = "qmExternalError: Attempting to play an invalid audio handle.";
const std::string kUnknownHandle = "qmError: Unable to find audio handle to play, was it unloaded?";
const std::string kRolledOver = "qmInternalError: Audio Channel Identifier Rolled Over.";

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

TEST(AudioManager, StartsWithTheDeviceOpenAndHandlesCountUpByPath)
{
    ASSERT_NE(alcGetCurrentContext(), nullptr);
    TemporaryFolder folder;
    const std::string a = folder.Write("a.wav", QuillmarkTest::ToneFile(0.01));
    const std::string b = folder.Write("b.wav", QuillmarkTest::ToneFile(0.01));
    RecordingErrorHandler errors;
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(a), 1u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(b), 2u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(a), 1u);
    EXPECT_TRUE(errors.messages.empty());
    // A file that fails to load is reported once and still takes the next handle.
    const std::string missing = folder.File("missing.wav");
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(missing), 3u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(missing), 3u);
    EXPECT_EQ(errors.Count("qmExternalError: Failed to load audio file, \"" + missing + "\"."), 1);
    // The same file under another spelling of its path is another sound.
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(folder.File("./a.wav")), 4u);
}

TEST(AudioManager, UnknownHandlesAreReportedAndStartNothing)
{
    TemporaryFolder folder;
    const AudioHandle tone =
        theAudioManager.CreateSoundFromFile(folder.Write("tone.wav", QuillmarkTest::ToneFile(0.5)));
    RecordingErrorHandler errors;
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(0, false)));
    EXPECT_EQ(errors.messages, (std::vector<std::string>{kInvalidHandle, kUnknownHandle}));
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone + 1, true)));
    EXPECT_EQ(errors.Count(kUnknownHandle), 2);
    EXPECT_TRUE(LiveSources().empty());
    // No channel identifier was spent on them.
    EXPECT_EQ(theAudioManager.PlaySound(tone, false).channel, 1u);
}

TEST(AudioManager, SixteenPlacesAreSharedAndOnlyUpdateFreesThem)
{
    TemporaryFolder folder;
    const AudioHandle tone =
        theAudioManager.CreateSoundFromFile(folder.Write("tone.wav", QuillmarkTest::ToneFile(3.0)));
    const AudioHandle blip = theAudioManager.CreateSoundFromFile(
        folder.Write("blip.wav", QuillmarkTest::ToneFile(0.05)));
    const AudioHandle silent = theAudioManager.CreateSoundFromFile(folder.File("missing.wav"));

    RecordingErrorHandler errors;
    for (int i = 0; i < 14; ++i)
    {
        ASSERT_EQ(theAudioManager.PlaySound(tone, true).channel, static_cast<std::uint32_t>(i + 1));
    }
    const AudioController blipPlay = theAudioManager.PlaySound(blip, false);
    const AudioController silentPlay = theAudioManager.PlaySound(silent, true);
    EXPECT_EQ(silentPlay.channel, 16u);

    // The seventeenth play is dropped without a word.
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, false)));
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(LiveSources().size(), 16u);

    // Sounds that are over (the blip has ended, the silent one never started) keep their places
    // until the next update.
    ASSERT_TRUE(QuillmarkTest::PollUntil(
        []
        {
            int stopped = 0;
            for (const auto& source : LiveSources())
            {
                stopped += source.state == AL_STOPPED ? 1 : 0;
            }
            return stopped == 1;
        }));
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, false)));

    theAudioManager.Update();
    EXPECT_FALSE(Reaches(blipPlay));
    EXPECT_FALSE(Reaches(silentPlay));
    EXPECT_EQ(LiveSources().size(), 14u);
    EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, 17u);
    EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, 18u);
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, true)));
    EXPECT_EQ(LiveSources().size(), 16u);
    EXPECT_TRUE(errors.messages.empty());
}

TEST(AudioManager, ControllersReachTheirOwnPlayAndNothingElse)
{
    TemporaryFolder folder;
    const AudioHandle first = theAudioManager.CreateSoundFromFile(
        folder.Write("first.wav", QuillmarkTest::ToneFile(0.5)));
    const AudioHandle second = theAudioManager.CreateSoundFromFile(
        folder.Write("second.wav", QuillmarkTest::ToneFile(0.5)));

    // One sound played twice at once: consecutive channels, two players.
    const AudioController a = theAudioManager.PlaySound(first, true);
    const AudioController b = theAudioManager.PlaySound(first, true);
    const AudioController c = theAudioManager.PlaySound(second, true);
    EXPECT_EQ(a.channel + 1, b.channel);
    EXPECT_EQ(b.audioHandle, first);

    b.SetVolume(0.25f);
    c.SetPitch(0.5f);
    const auto sources = LiveSources();
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_FLOAT_EQ(sources[0].gain, 1.0f);
    EXPECT_FLOAT_EQ(sources[1].gain, 0.25f);
    EXPECT_FLOAT_EQ(sources[2].gain, 1.0f);
    EXPECT_FLOAT_EQ(sources[0].pitch, 1.0f);
    EXPECT_FLOAT_EQ(sources[1].pitch, 1.0f);
    EXPECT_FLOAT_EQ(sources[2].pitch, 0.5f);

    RecordingErrorHandler errors;
    EXPECT_FALSE(Reaches(AudioController{second, a.channel}));  // the channel plays another sound
    EXPECT_TRUE(Reaches(AudioController{0, c.channel}));        // a handle of 0 matches any sound
    EXPECT_FALSE(Reaches(AudioController{}));
    EXPECT_FALSE(Reaches(AudioController{first, 999}));
    // Copies are the same play; the controller owns nothing.
    const AudioController copy = c;
    EXPECT_TRUE(Reaches(copy));
    EXPECT_EQ(errors.messages.size(), 2u);
}

TEST(AudioManager, ChannelIdentifiersRollOverOnceAndSkipZero)
{
    TemporaryFolder folder;
    const AudioHandle tone =
        theAudioManager.CreateSoundFromFile(folder.Write("tone.wav", QuillmarkTest::ToneFile(0.2)));
    theAudioManager.SetChannelCounterForTesting(0xFFFFFFFEu);
    RecordingErrorHandler errors;
    EXPECT_EQ(theAudioManager.PlaySound(tone, false).channel, 0xFFFFFFFFu);
    EXPECT_TRUE(errors.messages.empty());
    const AudioController wrapped = theAudioManager.PlaySound(tone, false);
    EXPECT_EQ(wrapped.channel, 1u);
    EXPECT_EQ(errors.messages, std::vector<std::string>{kRolledOver});
    EXPECT_EQ(theAudioManager.PlaySound(tone, false).channel, 2u);
    EXPECT_TRUE(Reaches(wrapped));
}
