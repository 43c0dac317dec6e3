// A chunk walk over RIFF/WAVE: "fmt " gives the layout, "data" the samples; other chunks are
// skipped by their stated (padded) size.
#include "e2e/captured_sound.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace QuillmarkTest
{

namespace
{

std::uint32_t Read32(const std::vector<char>& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
    {
        value =
            (value << 8) | static_cast<std::uint8_t>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::uint16_t Read16(const std::vector<char>& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[offset]) |
                                      (static_cast<std::uint8_t>(bytes[offset + 1]) << 8));
}

float SampleAt(const std::vector<char>& bytes, std::size_t offset, int bits, bool isFloat)
{
    if (isFloat && bits == 32)
    {
        const std::uint32_t raw = Read32(bytes, offset);
        float value = 0.0f;
        std::memcpy(&value, &raw, sizeof value);
        return std::fabs(value);
    }
    if (bits == 16)
    {
        return std::fabs(static_cast<std::int16_t>(Read16(bytes, offset)) / 32768.0f);
    }
    if (bits == 8)
    {
        return std::fabs((static_cast<std::uint8_t>(bytes[offset]) - 128) / 128.0f);
    }
    return 0.0f;
}

}  // namespace

double CapturedSound::FirstSoundAt(float threshold) const
{
    for (std::size_t i = 0; i < levels.size(); ++i)
    {
        if (levels[i] > threshold)
        {
            return static_cast<double>(i) / sampleRate;
        }
    }
    return -1.0;
}

float CapturedSound::Peak() const
{
    float peak = 0.0f;
    for (float level : levels)
    {
        peak = std::fmax(peak, level);
    }
    return peak;
}

bool ReadCapturedSound(const std::string& path, CapturedSound& sound)
{
    std::ifstream stream(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    {
        return false;
    }
    int channels = 0;
    int bits = 0;
    bool isFloat = false;
    std::size_t offset = 12;
    while (offset + 8 <= bytes.size())
    {
        const std::uint32_t size = Read32(bytes, offset + 4);
        const std::size_t body = offset + 8;
        if (std::memcmp(bytes.data() + offset, "fmt ", 4) == 0 && body + 16 <= bytes.size())
        {
            const std::uint16_t tag = Read16(bytes, body);
            channels = Read16(bytes, body + 2);
            sound.sampleRate = static_cast<int>(Read32(bytes, body + 4));
            bits = Read16(bytes, body + 14);
            // 3 is IEEE float; 0xFFFE names the real format in the first bytes of its GUID.
            const std::uint16_t format =
                tag == 0xFFFE && body + 26 <= bytes.size() ? Read16(bytes, body + 24) : tag;
            isFloat = format == 3;
        }
        else if (std::memcmp(bytes.data() + offset, "data", 4) == 0 && channels > 0 && bits > 0)
        {
            const std::size_t frameBytes = static_cast<std::size_t>(channels * bits / 8);
            // The writer may not have patched the size when it was stopped hard: take what is
            // there.
            const std::size_t end = std::min(bytes.size(), body + size);
            for (std::size_t frame = body; frame + frameBytes <= end; frame += frameBytes)
            {
                float level = 0.0f;
                for (int channel = 0; channel < channels; ++channel)
                {
                    const std::size_t at = frame + static_cast<std::size_t>(channel * bits / 8);
                    level = std::fmax(level, SampleAt(bytes, at, bits, isFloat));
                }
                sound.levels.push_back(level);
            }
            return sound.sampleRate > 0;
        }
        offset = body + size + (size & 1u);
    }
    return false;
}

}  // namespace QuillmarkTest
