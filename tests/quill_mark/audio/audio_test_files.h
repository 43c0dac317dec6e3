// SPDX-License-Identifier: Zlib
// Test support for the audio suites: the shared WAV builders (tests/support/wav_files.h), a
// private temporary folder per test that loads sounds, and a look at the OpenAL sources alive now.
#pragma once

#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "quill_mark/audio/qm_audio_manager.h"
#include "support/recording_error_handler.h"
#include "support/wav_files.h"

using namespace Quillmark::Audio;
using QuillmarkTest::RecordingErrorHandler;

using QuillmarkTest::Chunk;
using QuillmarkTest::Le;
using QuillmarkTest::ToneFile;
using QuillmarkTest::Wav;

struct TemporaryFolder : QuillmarkTest::TemporaryFolder
{
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

// Keeps the audio manager serviced for that long, as the game loop would.
inline void UpdateFor(double seconds)
{
    PollUntil([] { return theAudioManager.Update(), false; }, seconds);
}
