// SPDX-License-Identifier: Zlib
// What is really heard: OpenAL Soft's wave backend writes the mix (mono, 16-bit, 22050 Hz) in real
// time to QM_CAPTURE_FILE, where the played sounds are followed, or nothing once output is silent.
#include <cstdlib>
#include <initializer_list>

#include "audio_test_files.h"
#include "support/captured_sound.h"

namespace
{

constexpr double kRate = 22050;

// The 441 Hz tone in pieces of the given seconds, sounding and silent by turns, sounding first.
std::string Beeps(std::initializer_list<double> pieces)
{
    std::string samples;
    bool sounding = true;
    for (const double seconds : pieces)
    {
        for (int i = 0; i < static_cast<int>(seconds * kRate); ++i)
            samples +=
                Le(sounding ? std::uint32_t(std::lround(26214 * std::sin(M_PI * i / 25))) : 0, 2);
        sounding = !sounding;
    }
    return Wav(1, int(kRate), 16, Chunk("data", samples));
}

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

}  // namespace

TEST(AudioCapture, SinglePlaysAreHeardToTheirEndAndALoopRepeatsItsWholeSoundEachTime)
{
    if (std::getenv("QM_CAPTURE_FILE") == nullptr)
        GTEST_SKIP() << "needs the capture environment CTest gives it";
    TemporaryFolder folder;
    // Two beeps of 0.05 s, 0.05 s apart; the second play at half the volume.
    const AudioHandle twice = folder.Sound("twice.wav", Beeps({0.05, 0.05, 0.05}));
    for (float volume : {1.0f, 0.5f})
    {
        theAudioManager.PlaySound(twice, false).SetVolume(volume);
        ASSERT_TRUE(PollUntil([] { return theAudioManager.Update(), LiveSources().empty(); }));
    }
    // A beep of 0.04 s and 0.06 s of silence, looped for six of its periods.
    const AudioController loop =
        theAudioManager.PlaySound(folder.Sound("loop.wav", Beeps({0.04, 0.06})), true);
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
