// Test support: counts the numbers drawn from the shared random sequence since the last look,
// without disturbing it (2 per spawned entity, 3 per "explosion" event: sound, volume, pitch). A
// look draws two numbers, finds them in a model of the generator and puts the sequence back.
#pragma once

#include <cstdint>

#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"

namespace QuillmarkTest
{

class RandomWatcher
{
public:
    // The generator the platform implements: a linear congruential sequence of 15-bit results.
    static std::uint32_t Next(std::uint32_t state) { return state * 214013u + 2531011u; }
    static int Output(std::uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFF); }

    // Restarts the sequence at its start state, as at program start.
    void Restart()
    {
        mState = 1;
        qmImplementation::ScriptedPlatform::RestartRandomSequence(mState);
    }

    // Numbers drawn since the previous look (or the restart); -1 if the sequence could not be
    // found within the next 4096 draws.
    int DrawsSinceLastLook()
    {
        const int first = CrtRand();
        const int second = CrtRand();
        std::uint32_t state = mState;
        for (int draws = 0; draws < 4096; ++draws)
        {
            const std::uint32_t next = Next(state);
            if (Output(next) == first && Output(Next(next)) == second)
            {
                qmImplementation::ScriptedPlatform::RestartRandomSequence(state);
                mState = state;
                return draws;
            }
            state = next;
        }
        return -1;
    }

private:
    std::uint32_t mState = 1;
};

}  // namespace QuillmarkTest
