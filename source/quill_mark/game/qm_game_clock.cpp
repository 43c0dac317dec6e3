// SPDX-License-Identifier: Zlib
// The game clock on the platform's performance counter. The counts are kept as signed 64-bit
// integers and converted only in the division, so long runs lose no precision to the subtraction.
// A frequency of 0 (an uninitialised or broken counter) yields elapsed time 0 instead of a NaN.
#include "quill_mark/game/qm_game_clock.h"

#include <cstdint>

#include "quill_mark/platform/qmi_seam.h"

namespace Quillmark::Game
{

using qmSeam::LARGE_INTEGER;
using qmSeam::Calls::QueryPerformanceCounter;
using qmSeam::Calls::QueryPerformanceFrequency;

namespace
{

std::int64_t theCounterFrequency = 0;
std::int64_t theStartCount = 0;
double theElapsedTime = 0.0;

std::int64_t ReadCounter()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

}  // namespace

void InitializeClock()
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    theCounterFrequency = frequency.QuadPart;
    theStartCount = ReadCounter();
    theElapsedTime = 0.0;
    UpdateClock();
}

void UpdateClock()
{
    const std::int64_t counter = ReadCounter();
    if (theCounterFrequency == 0)
    {
        theElapsedTime = 0.0;
        return;
    }
    theElapsedTime =
        static_cast<double>(counter - theStartCount) / static_cast<double>(theCounterFrequency);
}

double GetElapsedTime()
{
    return theElapsedTime;
}

void Stopwatch::Start()
{
    const double before = theElapsedTime;
    UpdateClock();
    mLastTime = theElapsedTime;
    mDeltaTime = mLastTime - before;
}

void Stopwatch::Update()
{
    const double previous = mLastTime;
    UpdateClock();
    mLastTime = theElapsedTime;
    mDeltaTime = mLastTime - previous;
}

}  // namespace Quillmark::Game
