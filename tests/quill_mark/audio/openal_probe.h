// Test support: looks at the OpenAL sources that exist right now, the real output of every play,
// and waits (with a generous cap) for the mixer to move on, never asserting how fast it does.
#pragma once

#include <AL/al.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace QuillmarkTest
{

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

// Calls `step` every few milliseconds until it answers true; false when the cap ran out first.
inline bool PollUntil(const std::function<bool()>& step, double capSeconds = 10.0)
{
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(capSeconds);
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (step())
        {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

// Calls `step` every few milliseconds for the given time.
inline void RepeatFor(double seconds, const std::function<void()>& step)
{
    PollUntil(
        [&step]
        {
            step();
            return false;
        },
        seconds);
}

}  // namespace QuillmarkTest
