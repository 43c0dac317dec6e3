// What is really heard: these tests run with OpenAL Soft's wave backend writing the mix (mono,
// 16-bit, 22050 Hz) to the file named by QM_CAPTURE_FILE, and look for the played samples in it.
// The backend mixes in real time, so every sound here is a fraction of a second long.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio_test_files.h"
#include "quill_mark/audio/qm_audio_manager.h"

using Quillmark::Audio::AudioController;
using Quillmark::Audio::AudioHandle;
using Quillmark::Audio::theAudioManager;
using namespace QuillmarkTest;

namespace
{

constexpr int kRate = 22050;
constexpr int kSilence = 300;  // |sample| at or below this is taken as silence

struct Burst
{
    std::size_t begin;
    std::size_t end;
};

// The samples written so far: everything after the data chunk's header (the writer fills in its
// sizes only when the device closes).
std::vector<std::int16_t> CapturedSamples()
{
    std::ifstream file(std::getenv("QM_CAPTURE_FILE"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const auto byte = [&bytes](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    std::size_t at = 12;
    while (at + 8 <= bytes.size() && bytes.compare(at, 4, "data") != 0)
    {
        at += 8 + (byte(at + 4) | byte(at + 5) << 8 | byte(at + 6) << 16 |
                   static_cast<std::size_t>(byte(at + 7)) << 24);
    }
    std::vector<std::int16_t> samples;
    for (at += 8; at + 1 < bytes.size(); at += 2)
    {
        samples.push_back(static_cast<std::int16_t>(byte(at) | byte(at + 1) << 8));
    }
    return samples;
}

// Stretches of sound separated by more than 100 silent samples.
std::vector<Burst> FindBursts(const std::vector<std::int16_t>& samples)
{
    std::vector<Burst> bursts;
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        if (std::abs(samples[i]) > kSilence)
        {
            if (bursts.empty() || i - bursts.back().end >= 100)
            {
                bursts.push_back(Burst{i, i});
            }
            bursts.back().end = i + 1;
        }
    }
    return bursts;
}

// Root mean square over the middle half, away from the ramps at either end.
double MiddleRms(const std::vector<std::int16_t>& samples, const Burst& burst)
{
    const std::size_t quarter = (burst.end - burst.begin) / 4;
    double sum = 0.0;
    for (std::size_t i = burst.begin + quarter; i < burst.end - quarter; ++i)
    {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return std::sqrt(sum / static_cast<double>(burst.end - burst.begin - 2 * quarter));
}

// The writer buffers its output: wait until the capture holds `count` bursts and then silence.
std::vector<std::int16_t> WaitForCapture(std::size_t count)
{
    std::vector<std::int16_t> samples;
    PollUntil(
        [&]
        {
            samples = CapturedSamples();
            const auto bursts = FindBursts(samples);
            return bursts.size() >= count && samples.size() > bursts.back().end + kRate / 10;
        });
    return samples;
}

bool UpdateUntilAllReleased()
{
    return PollUntil([] { return theAudioManager.Update(), LiveSources().empty(); });
}

class AudioCapture : public testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("QM_CAPTURE_FILE") == nullptr)
        {
            GTEST_SKIP() << "needs the capture environment CTest gives it";
        }
    }

    TemporaryFolder folder;
};

}  // namespace

TEST_F(AudioCapture, PlaysAreHeardOnceEachAtTheVolumeSet)
{
    const double seconds = 0.15;
    const AudioHandle tone =
        theAudioManager.CreateSoundFromFile(folder.Write("tone.wav", ToneFile(seconds)));
    theAudioManager.PlaySound(tone, false);
    ASSERT_TRUE(UpdateUntilAllReleased());
    theAudioManager.PlaySound(tone, false).SetVolume(0.5f);
    ASSERT_TRUE(UpdateUntilAllReleased());

    const std::vector<std::int16_t> samples = WaitForCapture(2);
    const std::vector<Burst> bursts = FindBursts(samples);
    ASSERT_EQ(bursts.size(), 2u);
    for (const Burst& burst : bursts)
    {
        // The whole sound and nothing more.
        EXPECT_NEAR(static_cast<double>(burst.end - burst.begin), seconds * kRate, 0.02 * kRate);
    }
    const double full = MiddleRms(samples, bursts[0]);
    EXPECT_GT(full, 0.2 * 0.8 * 32767.0 / std::sqrt(2.0));
    EXPECT_NEAR(MiddleRms(samples, bursts[1]) / full, 0.5, 0.05);
}

TEST_F(AudioCapture, LoopingPlayStartsAgainEachTimeItEnds)
{
    const double seconds = 0.05;
    const AudioHandle tone =
        theAudioManager.CreateSoundFromFile(folder.Write("loop.wav", ToneFile(seconds)));
    const AudioController loop = theAudioManager.PlaySound(tone, true);
    PollUntil([] { return theAudioManager.Update(), false; }, 0.4);
    // A looping play never ends on its own; silence it so the capture settles.
    loop.SetVolume(0.0f);
    EXPECT_EQ(LiveSources().size(), 1u);

    std::size_t sounding = 0;
    for (const Burst& burst : FindBursts(WaitForCapture(1)))
    {
        sounding += burst.end - burst.begin;
    }
    // Well over four times the sound's own length was heard in 0.4 seconds.
    EXPECT_GT(sounding, static_cast<std::size_t>(4 * seconds * kRate));
    EXPECT_LT(sounding, static_cast<std::size_t>(0.5 * kRate));
}
