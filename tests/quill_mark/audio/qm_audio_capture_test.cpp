// What is really heard: these tests run with OpenAL Soft's wave backend writing the mix (mono,
// 16-bit, 22050 Hz) to the file named by QM_CAPTURE_FILE, and look for the played samples in it.
// The backend mixes in real time, so every sound here is a fraction of a second long.
#include "audio_test_files.h"
#include "support/captured_sound.h"

namespace
{

struct Burst
{
    std::size_t begin, end;
    int peak;
};

// Rereads the buffered capture (its data size is set only at close) until it holds `count` runs
// louder than 300, apart by 100 quieter samples or more, and then 0.1 s of silence.
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

TEST(AudioCapture, VolumeScalesTheAmplitudeAndALoopStartsAgainEachTimeItEnds)
{
    if (std::getenv("QM_CAPTURE_FILE") == nullptr)
        GTEST_SKIP() << "needs the capture environment CTest gives it";
    TemporaryFolder folder;
    const AudioHandle tone = folder.Sound("tone.wav", ToneFile(0.15));
    for (float volume : {1.0f, 0.5f})
    {
        theAudioManager.PlaySound(tone, false).SetVolume(volume);
        ASSERT_TRUE(PollUntil([] { return theAudioManager.Update(), LiveSources().empty(); }));
    }
    const AudioController loop =
        theAudioManager.PlaySound(folder.Sound("loop.wav", ToneFile(0.05)), true);
    PollUntil([] { return theAudioManager.Update(), false; }, 0.4);
    // A looping play never ends on its own; silence it so the capture settles.
    loop.SetVolume(0.0f);
    EXPECT_EQ(LiveSources().size(), 1u);

    const std::vector<Burst> bursts = WaitForBursts(3);
    ASSERT_GE(bursts.size(), 3u);
    // Each single play is heard once, whole and nothing more, the second at half the amplitude.
    EXPECT_NEAR(double(bursts[0].end - bursts[0].begin), 0.15 * 22050, 0.02 * 22050);
    EXPECT_NEAR(double(bursts[1].end - bursts[1].begin), 0.15 * 22050, 0.02 * 22050);
    EXPECT_GT(bursts[0].peak, 20000);
    EXPECT_NEAR(double(bursts[1].peak) / bursts[0].peak, 0.5, 0.05);
    // The loop was heard for well over four times its own length in 0.4 seconds, and stopped
    // sounding once silenced (the bound leaves room for a loaded machine's late wake-ups).
    std::size_t sounding = 0;
    for (std::size_t i = 2; i < bursts.size(); ++i)
        sounding += bursts[i].end - bursts[i].begin;
    EXPECT_GT(sounding, std::size_t(4 * 0.05 * 22050));
    EXPECT_LT(sounding, std::size_t(1.5 * 22050));
}
