// SPDX-License-Identifier: Zlib
// The game clock: seconds since the clock was initialised, read from the platform's performance
// counter and kept in double precision. Stopwatch measures the time between its own readings.
// The clock only moves when it is updated; nothing here sleeps or waits.
#pragma once

namespace Quillmark::Game
{

// Reads the counter frequency and takes the current count as the start; elapsed time 0.
void InitializeClock();
// Elapsed time := (counter - start count) / frequency.
void UpdateClock();
// Seconds from the start count to the latest UpdateClock.
double GetElapsedTime();

class Stopwatch
{
public:
    // Updates the clock; the delta time is what the clock moved since its previous update.
    void Start();
    // Updates the clock; the delta time is the time since this stopwatch's previous reading.
    void Update();
    double GetDeltaTime() const { return mDeltaTime; }

private:
    double mLastTime = 0.0;
    double mDeltaTime = 0.0;
};

}  // namespace Quillmark::Game
