// Test support for the audio suites: WAV files built byte by byte (malformed on purpose when
// wanted), a private temporary folder per test, and a look at the OpenAL sources alive right now.
#pragma once

#include <AL/al.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "quill_mark/audio/qm_audio_manager.h"
#include "support/recording_error_handler.h"

// Only the audio suites include this, so their helpers stand in the global namespace.
using Quillmark::Audio::AudioController;
using Quillmark::Audio::AudioHandle;
using Quillmark::Audio::theAudioManager;
using QuillmarkTest::RecordingErrorHandler;

inline std::string Le(std::uint32_t value, int bytes)
{
    const char raw[] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    return std::string(raw, static_cast<std::size_t>(bytes));
}

// A chunk claiming `size` bytes (its own length unless given), so it may claim more than it holds.
inline std::string Chunk(const char* id, const std::string& payload, std::int64_t size = -1)
{
    return id + Le(static_cast<std::uint32_t>(size < 0 ? payload.size() : size), 4) + payload;
}

// A RIFF file (its size left 0: the reader never uses it) with a PCM format chunk, then `rest`.
inline std::string Wav(int channels, int rate, int bits, const std::string& rest)
{
    const int align = channels * bits / 8;
    return std::string("RIFF\0\0\0\0WAVE", 12) +
           Chunk("fmt ", Le(1, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) +
                             Le(align, 2) + Le(bits, 2)) +
           rest;
}

// A 16-bit mono 441 Hz tone at 22050 Hz (50 samples a period) and 0.8 of full scale.
inline std::string ToneFile(double seconds)
{
    std::string samples;
    for (int i = 0; i < static_cast<int>(seconds * 22050); ++i)
        samples += Le(static_cast<std::uint32_t>(std::lround(26214 * std::sin(M_PI * i / 25))), 2);
    return Wav(1, 22050, 16, Chunk("data", samples));
}

struct TemporaryFolder
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qm_audio_XXXXXX").string();
    std::filesystem::path path{mkdtemp(pattern.data())};

    ~TemporaryFolder() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::string Write(const std::string& name, const std::string& contents) const
    {
        std::ofstream(File(name), std::ios::binary) << contents;
        return File(name);
    }
    AudioHandle Sound(const std::string& name, const std::string& contents) const
    {
        return theAudioManager.CreateSoundFromFile(Write(name, contents));
    }
};

struct SourceProbe
{
    ALuint id;
    float gain, pitch;
    ALint state;
};

// Every source the context holds, in id order (OpenAL Soft numbers them from 1 up).
inline std::vector<SourceProbe> LiveSources()
{
    std::vector<SourceProbe> sources;
    for (ALuint id = 1; id <= 1024; ++id)
        if (alIsSource(id) == AL_TRUE)
        {
            SourceProbe& source = sources.emplace_back(SourceProbe{id, 0, 0, 0});
            alGetSourcef(id, AL_GAIN, &source.gain);
            alGetSourcef(id, AL_PITCH, &source.pitch);
            alGetSourcei(id, AL_SOURCE_STATE, &source.state);
        }
    return sources;
}

// Calls `step` until it answers true; false if the (generous: speed is never checked) cap ran out.
inline bool PollUntil(const std::function<bool()>& step, double capSeconds = 10.0)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(capSeconds);
    while (!step())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
