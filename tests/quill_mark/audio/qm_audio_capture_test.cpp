// SPDX-License-Identifier: Zlib
// What is really heard: OpenAL Soft's wave backend writes the mix (mono, 16-bit, 22050 Hz) in real
// time to QM_CAPTURE_FILE, where sounds and music (whole, across refills, loops and a pause) are
// followed, or nothing once output is silent.
#include <cstdlib>

#include "ogg_test_files.h"
#include "quill_mark/audio/qm_music.h"
#include "support/captured_sound.h"

using Quillmark::Audio::Music;

namespace
{

constexpr double kRate = 22050;

struct Burst
{
    std::size_t begin, end;
    int peak;
};

// Rereads the capture until it holds `count` runs louder than 300 (100 quieter samples or more
// apart), then 0.1 s of silence.
std::vector<Burst> WaitForBursts(std::size_t count)
{
    std::vector<Burst> bursts;
    PollUntil(
        [&]
        {
            const std::vector<std::int16_t> samples =
                QuillmarkTest::ReadCapturedSamples(std::getenv("QM_CAPTURE_FILE"));
            bursts.clear();
            std::size_t i = 0;
            for (; i < samples.size(); ++i)
            {
                const std::int16_t sample = samples[i];
                if (std::abs(sample) <= 300)
                    continue;
                if (bursts.empty() || i - bursts.back().end >= 100)
                    bursts.push_back({i, i, 0});
                bursts.back().end = i + 1;
                bursts.back().peak = std::max(bursts.back().peak, std::abs(sample));
            }
            return bursts.size() >= count && i > bursts.back().end + 2205;
        });
    return bursts;
}

// Music is captured at its tracks' own rate, so nothing is resampled: captures line up with the
// first sample the reference has that is not 0.
std::vector<std::int16_t> FromFirstSound(std::vector<std::int16_t> samples)
{
    std::size_t first = 0;
    while (first < samples.size() && samples[first] == 0)
        ++first;
    samples.erase(samples.begin(), samples.begin() + std::ptrdiff_t(first));
    return samples;
}

std::vector<std::int16_t> SettledCapture()
{
    std::vector<std::int16_t> samples;
    PollUntil(
        [&]
        {
            samples = QuillmarkTest::ReadCapturedSamples(std::getenv("QM_CAPTURE_FILE"));
            std::size_t last = samples.size();
            while (last > 0 && samples[last - 1] == 0)
                --last;
            return last > 0 && samples.size() - last > 2205;
        });
    while (!samples.empty() && samples.back() == 0)
        samples.pop_back();
    return FromFirstSound(samples);
}

// How many samples differ by more than one step (the mixer's float round trip may round).
std::size_t Mismatches(const std::vector<std::int16_t>& heard,
                       const std::vector<std::int16_t>& expected)
{
    std::size_t wrong = heard.size() > expected.size() ? heard.size() - expected.size()
                                                       : expected.size() - heard.size();
    for (std::size_t i = 0; i < std::min(heard.size(), expected.size()); ++i)
        wrong += std::abs(heard[i] - expected[i]) > 1 ? 1 : 0;
    return wrong;
}

// Each test skipped outside the capture environment, with a folder and a report recorder.
class Captured : public testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("QM_CAPTURE_FILE") == nullptr)
            GTEST_SKIP() << "needs the capture environment CTest gives it";
    }
    TemporaryFolder folder;
    RecordingErrorHandler errors;
};
using AudioCapture = Captured;
using AudioSilentOutput = Captured;
using MusicCapture = Captured;

}  // namespace

TEST_F(AudioCapture, SinglePlaysAreHeardToTheirEndAndALoopRepeatsItsWholeSoundEachTime)
{
    // Two beeps of 0.05 s, 0.05 s apart; the second play at half the volume.
    const AudioHandle twice = folder.Sound("twice.wav", QuillmarkTest::Beeps({0.05, 0.05, 0.05}));
    for (float volume : {1.0f, 0.5f})
    {
        theAudioManager.PlaySound(twice, false).SetVolume(volume);
        ASSERT_TRUE(PollUntil([] { return theAudioManager.Update(), LiveSources().empty(); }));
    }
    // A beep of 0.04 s and 0.06 s of silence, looped for six of its periods.
    const AudioController loop = theAudioManager.PlaySound(
        folder.Sound("loop.wav", QuillmarkTest::Beeps({0.04, 0.06})), true);
    UpdateFor(0.6);
    loop.SetVolume(0.0f);
    EXPECT_EQ(LiveSources().size(), 1u);

    const std::vector<Burst> bursts = WaitForBursts(7);
    ASSERT_GE(bursts.size(), 7u);
    const auto length = [](const Burst& burst) { return double(burst.end - burst.begin) / kRate; };
    const auto gap = [&](std::size_t i)
    { return double(bursts[i].begin - bursts[i - 1].begin) / kRate; };
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(length(bursts[i]), 0.05, 0.01) << "beep " << i;
    EXPECT_NEAR(gap(1), 0.1, 0.005);
    EXPECT_NEAR(gap(3), 0.1, 0.005);
    EXPECT_GT(bursts[0].peak, 20000);
    EXPECT_NEAR(double(bursts[2].peak) / bursts[0].peak, 0.5, 0.05);
    // A loop's restart may come a frame and a mix late; its last beep may be cut by the silencing.
    for (std::size_t i = 5; i < bursts.size(); ++i)
    {
        EXPECT_NEAR(length(bursts[i - 1]), 0.04, 0.01) << "loop beep " << i - 4;
        EXPECT_GE(gap(i), 0.095) << "loop beep " << i - 3;
        EXPECT_LE(gap(i), 0.25) << "loop beep " << i - 3;
    }
    EXPECT_LT(double(bursts.back().end - bursts[4].begin) / kRate, 1.0);
}

// The silent output a headless replay plays to: plays start, take their places and run as on the
// device, but nothing of them reaches the device that was open before.
TEST_F(AudioSilentOutput, PlaysGoOnWhileNothingReachesTheDevice)
{
    const AudioHandle tone = folder.Sound("tone.wav", ToneFile(0.15));
    ASSERT_TRUE(theAudioManager.UseSilentOutput());
    errors.messages.clear();
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

TEST_F(MusicCapture, AStreamedTrackSoundsExactlyAsItsFileDecodes)
{
    const std::string path = SweepTrack(folder, "track", 1.2);
    Music music(path);
    music.Play();
    ASSERT_TRUE(PollUntil([&] { return theAudioManager.Update(), !music.IsPlaying(); }));
    const std::vector<std::int16_t> expected = FromFirstSound(DecodeWhole(path));
    EXPECT_EQ(Mismatches(SettledCapture(), expected), 0u) << "of " << expected.size();
    EXPECT_EQ(errors.messages, std::vector<std::string>{});
}

TEST_F(MusicCapture, ALoopGoesFromItsLastSampleStraightToItsFirst)
{
    const std::string path = SweepTrack(folder, "track", 0.3);
    Music music(path);
    music.SetLooping(true);
    music.Play();
    // Well past two seams, then stopped on a buffer boundary's far side.
    UpdateFor(0.8);
    music.Stop();
    const std::vector<std::int16_t> once = DecodeWhole(path);
    const std::vector<std::int16_t> heard = SettledCapture();
    std::vector<std::int16_t> loops = once;
    while (loops.size() < heard.size())
        loops.insert(loops.end(), once.begin(), once.end());
    loops = FromFirstSound(loops);
    loops.resize(heard.size());
    ASSERT_GT(heard.size(), 2 * once.size());
    EXPECT_EQ(Mismatches(heard, loops), 0u) << "of " << heard.size();
}

TEST_F(MusicCapture, APauseLeavesASilenceAndTheTrackGoesOnFromWhereItStopped)
{
    const std::string path = SweepTrack(folder, "track", 1.0);
    Music music(path);
    music.Play();
    UpdateFor(0.35);
    music.Pause();
    const float paused = music.GetPosition();
    UpdateFor(0.3);
    EXPECT_EQ(music.GetPosition(), paused);
    music.Resume();
    ASSERT_TRUE(PollUntil([&] { return theAudioManager.Update(), !music.IsPlaying(); }));

    std::vector<std::int16_t> heard = SettledCapture();
    // The longest run of silence is the pause; without it the track is heard whole.
    std::size_t gapStart = 0, gapLength = 0;
    for (std::size_t i = 0, run = 0; i < heard.size(); ++i)
    {
        run = heard[i] == 0 ? run + 1 : 0;
        if (run > gapLength)
        {
            gapLength = run;
            gapStart = i + 1 - run;
        }
    }
    EXPECT_GT(gapLength, std::size_t(0.2 * 22050));
    EXPECT_NEAR(double(gapStart) / 22050, paused, 0.1);
    heard.erase(heard.begin() + std::ptrdiff_t(gapStart),
                heard.begin() + std::ptrdiff_t(gapStart + gapLength));
    EXPECT_EQ(Mismatches(heard, FromFirstSound(DecodeWhole(path))), 0u);
}
