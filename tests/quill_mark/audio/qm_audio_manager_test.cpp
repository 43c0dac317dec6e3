// The audio manager's bookkeeping as a game sees it: handles by path, the 16 places for plays and
// when they are freed, controllers that reach exactly their own play, and channel identifiers.
#include "audio_test_files.h"
#include "quill_mark/audio/implementation/qmi_audio_manager_state.h"

namespace
{

bool IsEmpty(const AudioController& controller)
{
    return controller.audioHandle == 0 && controller.channel == 0;
}

// Whether the controller reaches a play: an out-of-range volume is reported only by a player.
bool Reaches(const AudioController& controller)
{
    RecordingErrorHandler errors;
    controller.SetVolume(2.0f);
    return errors.messages ==
           std::vector<std::string>{
               "qmExternalError: Expected volume to remain within range: (0.0f <= volume <= 1.0f)."};
}

}  // namespace

TEST(AudioManager, HandlesCountUpInLoadOrderAndAreSharedByPath)
{
    TemporaryFolder folder;
    const std::string missing = folder.File("missing.wav");
    RecordingErrorHandler errors;
    EXPECT_EQ(folder.Sound("a.wav", ToneFile(0.01)), 1u);
    EXPECT_EQ(folder.Sound("b.wav", ToneFile(0.01)), 2u);
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(folder.File("a.wav")), 1u);
    EXPECT_TRUE(errors.messages.empty());
    // A file that fails to load is reported once and still takes the next handle.
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(missing), 3u);
    EXPECT_EQ(errors.messages.size(), 5u);  // the file's own reports, once (see AudioData)
    EXPECT_EQ(theAudioManager.CreateSoundFromFile(missing), 3u);
    EXPECT_EQ(errors.messages.size(), 5u);
    // Handles never loaded play nothing; 0 is the caller's fault and is looked up all the same.
    errors.messages.clear();
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(4, false)));
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(0, false)));
    const char* unknown = "qmError: Unable to find audio handle to play, was it unloaded?";
    EXPECT_EQ(
        errors.messages,
        (std::vector<std::string>{
            unknown, "qmExternalError: Attempting to play an invalid audio handle.", unknown}));
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
    {
        ASSERT_EQ(theAudioManager.PlaySound(tone, true).channel, channel);
    }
    const AudioController over[] = {theAudioManager.PlaySound(blip, false),
                                    theAudioManager.PlaySound(missing, true),
                                    theAudioManager.PlaySound(empty, true)};
    // The seventeenth play is dropped without a word.
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, false)));
    ASSERT_TRUE(PollUntil([] { return LiveSources().at(13).state == AL_STOPPED; }));
    EXPECT_NE(LiveSources().at(14).state, AL_PLAYING);
    EXPECT_NE(LiveSources().at(15).state, AL_PLAYING);
    // Plays that are over keep their places until the next update.
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, false)));
    theAudioManager.Update();
    for (const AudioController& finished : over)
        EXPECT_FALSE(Reaches(finished)) << finished.channel;
    EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, 17u);
    EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, 18u);
    EXPECT_EQ(theAudioManager.PlaySound(tone, true).channel, 19u);
    EXPECT_TRUE(IsEmpty(theAudioManager.PlaySound(tone, true)));
    EXPECT_EQ(LiveSources().size(), 16u);
    EXPECT_TRUE(errors.messages.empty());
}

TEST(AudioManager, ControllersReachTheirOwnPlayAcrossTheChannelRollOver)
{
    TemporaryFolder folder;
    const AudioHandle one = folder.Sound("1.wav", ToneFile(1));
    const AudioHandle two = folder.Sound("2.wav", ToneFile(1));
    qmImplementation::AudioManagerState::Of(theAudioManager).channelCounter = 0xFFFFFFFEu;
    RecordingErrorHandler errors;
    const AudioController a = theAudioManager.PlaySound(one, true);
    EXPECT_EQ(a.channel, 0xFFFFFFFFu);
    EXPECT_TRUE(errors.messages.empty());
    const AudioController b = theAudioManager.PlaySound(one, true);
    const AudioController c = theAudioManager.PlaySound(two, true);
    // The identifier rolls over once, with a report, and skips 0.
    EXPECT_EQ(b.channel, 1u);
    EXPECT_EQ(c.channel, 2u);
    EXPECT_EQ(errors.messages,
              std::vector<std::string>{"qmInternalError: Audio Channel Identifier Rolled Over."});
    b.SetVolume(0.25f);
    c.SetPitch(0.5f);
    std::vector<std::pair<float, float>> seen;
    for (const SourceProbe& source : LiveSources())
    {
        seen.emplace_back(source.gain, source.pitch);
    }
    EXPECT_EQ(seen,
              (std::vector<std::pair<float, float>>{{1.0f, 1.0f}, {0.25f, 1.0f}, {1.0f, 0.5f}}));
    EXPECT_FALSE(Reaches(AudioController{two, a.channel}));  // the channel plays another sound
    EXPECT_TRUE(Reaches(AudioController{0, c.channel}));     // a handle of 0 matches any sound
    EXPECT_FALSE(Reaches(AudioController{one, 999}));
    EXPECT_TRUE(Reaches(b));
}
