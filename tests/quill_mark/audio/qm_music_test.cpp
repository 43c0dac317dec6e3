// SPDX-License-Identifier: Zlib
// Music streams on OpenAL Soft's null backend, in real time: play, pause, resume and stop with the
// position kept, a bounded queue of decoded audio, and a damaged file stopping its own stream only.
#include "quill_mark/audio/qm_music.h"

#include "ogg_test_files.h"
#include "quill_mark/audio/implementation/qmi_audio_manager_state.h"
#include "quill_mark/audio/implementation/qmi_music_stream.h"

using Quillmark::Audio::Music;

TEST(Music, PlayPauseResumeAndStopKeepOrResetThePositionAsHeard)
{
    TemporaryFolder folder;
    RecordingErrorHandler errors;
    const std::string path = SweepTrack(folder, "sweep", 1.0);
    Music music(path);
    ASSERT_TRUE(music.IsOpen());
    EXPECT_NEAR(music.GetDuration(), 1.0, 1e-4);
    music.Play();
    UpdateFor(0.3);
    music.Pause();
    const float paused = music.GetPosition();
    EXPECT_GT(paused, 0.15f);
    EXPECT_LT(paused, 0.6f);
    UpdateFor(0.2);
    EXPECT_EQ(music.GetPosition(), paused);
    EXPECT_TRUE(music.IsPaused());
    music.Resume();
    UpdateFor(0.1);
    EXPECT_GT(music.GetPosition(), paused);
    music.Stop();
    EXPECT_FALSE(music.IsPlaying());
    EXPECT_EQ(music.GetPosition(), 0.0f);

    // Moved while stopped, it starts there; played out, it stops and goes back to the start.
    music.SetPosition(0.75f);
    EXPECT_NEAR(music.GetPosition(), 0.75, 1e-4);
    music.Play();
    EXPECT_NEAR(music.GetPosition(), 0.75, 0.05);
    ASSERT_TRUE(PollUntil([&] { return theAudioManager.Update(), !music.IsPlaying(); }, 2.0));
    EXPECT_EQ(music.GetPosition(), 0.0f);
    EXPECT_EQ(errors.messages, std::vector<std::string>{});
}

TEST(Music, ALongTrackHoldsAboutASecondOfDecodedAudioAndLoopsBackToItsStart)
{
    TemporaryFolder folder;
    const std::string path = SweepTrack(folder, "long", 20.0);
    qmImplementation::MusicStream stream(path);
    stream.SetLooping(true);
    stream.Play();
    std::size_t most = 0;
    PollUntil(
        [&] {
            return theAudioManager.Update(), most = std::max(most, stream.GetDecodedBytesHeld()),
                                             false;
        },
        0.6);
    // Four quarter-second buffers at 22050 Hz mono, and their decoding block.
    EXPECT_LE(most, std::size_t(5 * 22050 / 4 * 2));
    EXPECT_GE(most, std::size_t(4 * 22050 / 4 * 2));
    // Near the end a looping track wraps round to the start.
    stream.SetPosition(19.9f);
    UpdateFor(0.3);
    EXPECT_LT(stream.GetPosition(), 1.0f);
    EXPECT_EQ(stream.GetState(), qmImplementation::MusicStream::State::kPlaying);
}

TEST(Music, ADamagedTrackStopsItsOwnStreamOnlyAndNoStreamTakesAPlayersPlace)
{
    TemporaryFolder folder;
    RecordingErrorHandler errors;
    const std::string path = SweepTrack(folder, "sweep", 4.0);
    const std::string bytes = QuillmarkTest::ReadBytes(path);
    // Cut inside the audio pages, after the headers.
    const std::string cutPath = folder.Write("cut.ogg", bytes.substr(0, bytes.size() / 2));

    Music good(path), cut(cutPath), missing(folder.File("missing.ogg"));
    good.SetLooping(true);
    cut.SetLooping(true);
    good.Play();
    cut.Play();
    missing.Play();
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.IsPlaying());
    // All 16 places for sounds are free beside three streams.
    const AudioHandle tone = folder.Sound("tone.wav", ToneFile(3.0));
    for (int i = 0; i < 16; ++i)
        EXPECT_NE(theAudioManager.PlaySound(tone, true).channel, 0u) << "play " << i;

    ASSERT_TRUE(PollUntil([&] { return theAudioManager.Update(), !cut.IsPlaying(); }, 3.0));
    EXPECT_TRUE(good.IsPlaying());
    EXPECT_EQ(LiveSources().size(), 16u + 3u);
    UpdateFor(0.2);
    EXPECT_FALSE(cut.IsPlaying()) << "a damaged loop does not start again";
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[0], "qmExternalError: Failed to open music file, \"" +
                                      folder.File("missing.ogg") + "\".");
    EXPECT_EQ(errors.messages[1].rfind(
                  "qmDataError: Music \"" + cutPath + "\" is damaged or cut short after ", 0),
              0u)
        << errors.messages[1];
}
