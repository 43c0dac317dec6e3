// Test support for the audio suites: WAV files built byte by byte (malformed on purpose when
// wanted), a private temporary folder per test, and a look at the OpenAL sources alive right now.
#pragma once

#include <AL/al.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace QuillmarkTest
{

inline std::string Le(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
    {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

inline std::string Fmt(int channels, int rate, int bits)
{
    const int align = channels * bits / 8;
    return "fmt " + Le(16, 4) + Le(1, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) +
           Le(align, 2) + Le(bits, 2);
}

// The size is written as given, so a chunk can claim more than it holds.
inline std::string Chunk(const char* id, const std::string& payload, std::uint32_t size)
{
    return id + Le(size, 4) + payload;
}

inline std::string Chunk(const char* id, const std::string& payload)
{
    return Chunk(id, payload, static_cast<std::uint32_t>(payload.size()));
}

// The RIFF size is left 0: the reader never uses it.
inline std::string Wav(const std::string& chunks)
{
    return std::string("RIFF\0\0\0\0WAVE", 12) + chunks;
}

inline std::string Wav(int channels, int rate, int bits, const std::string& samples)
{
    return Wav(Fmt(channels, rate, bits) + Chunk("data", samples));
}

// A 16-bit mono 441 Hz tone at 22050 Hz and 0.8 of full scale.
inline std::string ToneFile(double seconds)
{
    std::string samples;
    for (int i = 0; i < static_cast<int>(seconds * 22050); ++i)
    {
        const long value = std::lround(0.8 * 32767.0 * std::sin(2.0 * M_PI * 441.0 * i / 22050));
        samples += Le(static_cast<std::uint32_t>(value), 2);
    }
    return Wav(1, 22050, 16, samples);
}

class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qm_audio_XXXXXX").string();
        path = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path, ignored); }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::string Write(const std::string& name, const std::string& contents) const
    {
        std::ofstream(File(name), std::ios::binary) << contents;
        return File(name);
    }

    std::filesystem::path path;
    std::error_code ignored;
};

struct SourceProbe
{
    ALuint id;
    float gain;
    float pitch;
    ALint state;
};

// Every source the context holds, in id order (OpenAL Soft numbers them from 1 up).
inline std::vector<SourceProbe> LiveSources()
{
    std::vector<SourceProbe> sources;
    for (ALuint id = 1; id <= 1024; ++id)
    {
        if (alIsSource(id) == AL_TRUE)
        {
            SourceProbe probe{id, 0.0f, 0.0f, 0};
            alGetSourcef(id, AL_GAIN, &probe.gain);
            alGetSourcef(id, AL_PITCH, &probe.pitch);
            alGetSourcei(id, AL_SOURCE_STATE, &probe.state);
            sources.push_back(probe);
        }
    }
    return sources;
}

// Calls `step` every few milliseconds until it answers true (false when the cap ran out first);
// the cap is generous, as nothing here checks how fast the mixer is.
inline bool PollUntil(const std::function<bool()>& step, double capSeconds = 10.0)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(capSeconds);
    while (std::chrono::steady_clock::now() < end)
    {
        if (step())
        {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

}  // namespace QuillmarkTest
