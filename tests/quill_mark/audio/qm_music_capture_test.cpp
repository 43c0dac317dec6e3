// SPDX-License-Identifier: Zlib
// What a music stream really sounds like: the wave backend's capture (at the tracks' own rate, so
// nothing is resampled) holds what the whole file decodes to, across refills, loops and a pause.
#include "ogg_test_files.h"
#include "quill_mark/audio/qm_music.h"
#include "support/captured_sound.h"

using Quillmark::Audio::Music;

namespace
{

// The first sample the reference has that is not 0, so captures line up with it.
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

class MusicCapture : public testing::Test
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

}  // namespace

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
