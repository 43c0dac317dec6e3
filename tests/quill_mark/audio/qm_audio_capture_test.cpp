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
#include "openal_probe.h"
#include "quill_mark/audio/qm_audio_manager.h"

using Quillmark::Audio::AudioController;
using Quillmark::Audio::AudioHandle;
using Quillmark::Audio::theAudioManager;

namespace
{

constexpr int kRate = 22050;
constexpr int kSilence = 300;  // |sample| at or below this is taken as silence

struct Burst
{
    std::size_t begin;
    std::size_t end;
};

// The samples written so far: everything after the capture's data chunk header (its sizes are
// only filled in when the device closes).
std::vector<std::int16_t> CapturedSamples()
{
    const char* path = std::getenv("QM_CAPTURE_FILE");
    std::ifstream file(path == nullptr ? "" : path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::size_t offset = 12;
    while (offset + 8 <= bytes.size() && bytes.compare(offset, 4, "data") != 0)
    {
        const auto* size = reinterpret_cast<const unsigned char*>(bytes.data() + offset + 4);
        offset +=
            8 + (size[0] | size[1] << 8 | size[2] << 16 | static_cast<std::size_t>(size[3]) << 24);
    }
    std::vector<std::int16_t> samples;
    for (std::size_t at = offset + 8; at + 1 < bytes.size(); at += 2)
    {
        samples.push_back(
            static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8)));
    }
    return samples;
}

// Stretches of sound separated by at least `gap` silent samples.
std::vector<Burst> FindBursts(const std::vector<std::int16_t>& samples, std::size_t gap = 100)
{
    std::vector<Burst> bursts;
    std::size_t lastLoud = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        if (std::abs(samples[i]) <= kSilence)
        {
            continue;
        }
        if (bursts.empty() || i - lastLoud > gap)
        {
            bursts.push_back(Burst{i, i + 1});
        }
        bursts.back().end = i + 1;
        lastLoud = i;
    }
    return bursts;
}

// Root mean square over the middle half, away from the ramps at either end.
double MiddleRms(const std::vector<std::int16_t>& samples, const Burst& burst)
{
    const std::size_t length = burst.end - burst.begin;
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = burst.begin + length / 4; i < burst.end - length / 4; ++i, ++count)
    {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return count == 0 ? 0.0 : std::sqrt(sum / count);
}

double Frequency(const std::vector<std::int16_t>& samples, const Burst& burst)
{
    int rises = 0;
    for (std::size_t i = burst.begin + 1; i < burst.end; ++i)
    {
        rises += samples[i - 1] < 0 && samples[i] >= 0 ? 1 : 0;
    }
    return rises * static_cast<double>(kRate) / (burst.end - burst.begin);
}

// Services the plays each frame until every source is gone.
bool UpdateUntilAllReleased()
{
    return QuillmarkTest::PollUntil(
        []
        {
            theAudioManager.Update();
            return QuillmarkTest::LiveSources().empty();
        });
}

// The writer buffers its output: wait until the capture holds `count` bursts followed by silence.
std::vector<std::int16_t> WaitForCapture(std::size_t count)
{
    std::vector<std::int16_t> samples;
    QuillmarkTest::PollUntil(
        [&]
        {
            samples = CapturedSamples();
            const auto bursts = FindBursts(samples);
            return bursts.size() >= count && samples.size() > bursts.back().end + kRate / 10;
        });
    return samples;
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
        ASSERT_NE(alcGetCurrentContext(), nullptr);
    }

    QuillmarkTest::TemporaryFolder folder;
};

}  // namespace

TEST_F(AudioCapture, PlaysAreHeardOnceEachAtTheVolumeSet)
{
    const double seconds = 0.15;
    const AudioHandle tone = theAudioManager.CreateSoundFromFile(
        folder.Write("tone.wav", QuillmarkTest::ToneFile(seconds)));

    theAudioManager.PlaySound(tone, false);
    ASSERT_TRUE(UpdateUntilAllReleased());
    const AudioController half = theAudioManager.PlaySound(tone, false);
    half.SetVolume(0.5f);
    ASSERT_TRUE(UpdateUntilAllReleased());

    const std::vector<std::int16_t> samples = WaitForCapture(2);
    const std::vector<Burst> bursts = FindBursts(samples);
    ASSERT_EQ(bursts.size(), 2u);
    for (const Burst& burst : bursts)
    {
        // The whole sound and nothing more, at its own pitch.
        EXPECT_NEAR(static_cast<double>(burst.end - burst.begin), seconds * kRate, 0.02 * kRate);
        EXPECT_NEAR(Frequency(samples, burst), 441.0, 15.0);
    }
    const double full = MiddleRms(samples, bursts[0]);
    EXPECT_GT(full, 0.2 * 0.8 * 32767.0 / std::sqrt(2.0));
    EXPECT_NEAR(MiddleRms(samples, bursts[1]) / full, 0.5, 0.05);
}

TEST_F(AudioCapture, LoopingPlayStartsAgainEachTimeItEnds)
{
    const double seconds = 0.05;
    const AudioHandle tone = theAudioManager.CreateSoundFromFile(
        folder.Write("loop.wav", QuillmarkTest::ToneFile(seconds)));
    const AudioController loop = theAudioManager.PlaySound(tone, true);
    QuillmarkTest::RepeatFor(0.4, [] { theAudioManager.Update(); });
    // A looping play never ends on its own; silence it so the capture settles.
    loop.SetVolume(0.0f);
    EXPECT_EQ(QuillmarkTest::LiveSources().size(), 1u);

    const std::vector<std::int16_t> samples = WaitForCapture(1);
    std::size_t sounding = 0;
    for (const Burst& burst : FindBursts(samples))
    {
        sounding += burst.end - burst.begin;
    }
    // Well over four times the sound's own length was heard in 0.4 seconds.
    EXPECT_GT(sounding, static_cast<std::size_t>(4 * seconds * kRate));
    EXPECT_LT(sounding, static_cast<std::size_t>(0.5 * kRate));
}
