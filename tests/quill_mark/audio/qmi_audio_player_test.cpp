// One play on its own OpenAL source: the range checks of volume and pitch, when a play counts as
// finished, and that players of one sound share nothing.
#include "quill_mark/audio/implementation/qmi_audio_player.h"

#include <gtest/gtest.h>

#include <memory>

#include "audio_test_files.h"
#include "openal_probe.h"
#include "quill_mark/audio/implementation/qmi_audio_data.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "support/recording_error_handler.h"

using qmImplementation::AudioData;
using qmImplementation::AudioPlayer;
using QuillmarkTest::LiveSources;
using QuillmarkTest::RecordingErrorHandler;

namespace
{

class AudioPlayerTest : public testing::Test
{
protected:
    // Players need the device and context the audio manager opens at start-up.
    void SetUp() override { ASSERT_NE(&Quillmark::Audio::theAudioManager, nullptr); }

    QuillmarkTest::TemporaryFolder folder;
};

}  // namespace

TEST_F(AudioPlayerTest, VolumeAndPitchChecksAreInclusiveAndStillPassTheValueOn)
{
    AudioData sound(folder.Write("tone.wav", QuillmarkTest::ToneFile(0.5)));
    RecordingErrorHandler errors;
    AudioPlayer player(1);
    player.Play(sound, true);
    player.SetVolume(0.0f);
    player.SetVolume(1.0f);
    player.SetPitch(0.0001f);
    EXPECT_TRUE(errors.messages.empty());

    player.SetVolume(1.01f);
    EXPECT_FLOAT_EQ(LiveSources().at(0).gain, 1.01f);
    player.SetVolume(-0.01f);
    player.SetPitch(0.0f);
    player.SetPitch(-1.0f);
    EXPECT_EQ(errors.messages.size(), 4u);
    EXPECT_EQ(errors.Count("qmExternalError: Expected volume to remain within range: (0.0f <= "
                           "volume <= 1.0f)."),
              2);
    EXPECT_EQ(errors.Count("qmExternalError: Expected pitch to remain a positive value."), 2);
}

TEST_F(AudioPlayerTest, OnlyPlaysThatEndedOrHaveNothingToPlayAreFinished)
{
    AudioData blip(folder.Write("blip.wav", QuillmarkTest::ToneFile(0.02)));
    AudioData missing(folder.File("missing.wav"));
    AudioData empty(
        folder.Write("empty.wav", QuillmarkTest::WavBuilder::Canonical(1, 8000, 8, "")));
    RecordingErrorHandler errors;
    AudioPlayer once(1);
    AudioPlayer looping(2);
    once.Play(blip, false);
    looping.Play(blip, true);
    EXPECT_FALSE(once.IsFinished());
    ASSERT_TRUE(QuillmarkTest::PollUntil([&] { return once.Update(); }));
    // The loop has ended several times meanwhile and was started again every time.
    QuillmarkTest::RepeatFor(0.2, [&] { ASSERT_FALSE(looping.Update()); });

    // Without samples nothing is queued and the play is over at once, even when looping.
    for (AudioData* silent : {&missing, &empty})
    {
        AudioPlayer player(3);
        player.Play(*silent, true);
        EXPECT_TRUE(player.Update());
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(AudioPlayerTest, PlayersOfOneSoundFillTheirOwnBuffersAndEndIndependently)
{
    AudioData sound(folder.Write("tone.wav", QuillmarkTest::ToneFile(0.3)));
    auto first = std::make_unique<AudioPlayer>(1);
    AudioPlayer second(2);
    first->Play(sound, true);
    second.Play(sound, true);
    first->SetPitch(0.5f);
    auto sources = LiveSources();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].state, AL_PLAYING);
    EXPECT_EQ(sources[1].state, AL_PLAYING);
    EXPECT_NE(sources[0].pitch, sources[1].pitch);

    // Releasing one deletes its own source and buffer; the other keeps sounding.
    first.reset();
    sources = LiveSources();
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0].state, AL_PLAYING);
    EXPECT_FALSE(second.Update());
}
