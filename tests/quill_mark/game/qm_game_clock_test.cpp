// The game clock and Stopwatch on the scripted performance counter, which starts at a large
// count and moves only when told: elapsed time is measured from the start count, in seconds of
// the counter's own frequency, and each stopwatch sees the time between its own readings.
#include "quill_mark/game/qm_game_clock.h"

#include <gtest/gtest.h>

#include "quill_mark/platform/scripted/qmi_scripted_platform.h"

namespace Scripted = qmImplementation::ScriptedPlatform;
using Quillmark::Game::GetElapsedTime;
using Quillmark::Game::Stopwatch;

TEST(GameClock, ElapsedTimeCountsFromInitialisationAtTheCounterFrequency)
{
    Scripted::SetCounterFrequency(3000);
    Scripted::AdvanceCounter(123456);
    Quillmark::Game::InitializeClock();
    EXPECT_EQ(GetElapsedTime(), 0.0);

    Scripted::AdvanceCounter(4500);
    EXPECT_EQ(GetElapsedTime(), 0.0) << "the clock moves only when it is updated";
    Quillmark::Game::UpdateClock();
    EXPECT_EQ(GetElapsedTime(), 1.5);

    // Initialising again starts from the counter's present value.
    Quillmark::Game::InitializeClock();
    EXPECT_EQ(GetElapsedTime(), 0.0);

    // A counter without a frequency keeps the clock at 0 rather than dividing by it.
    Scripted::SetCounterFrequency(0);
    Quillmark::Game::InitializeClock();
    Scripted::AdvanceCounter(10);
    Quillmark::Game::UpdateClock();
    EXPECT_EQ(GetElapsedTime(), 0.0);
}

TEST(GameClock, StopwatchesMeasureBetweenTheirOwnReadings)
{
    Quillmark::Game::InitializeClock();
    Stopwatch frame;
    Stopwatch slow;
    frame.Start();
    slow.Start();
    EXPECT_EQ(frame.GetDeltaTime(), 0.0);

    Scripted::AdvanceCounterSeconds(0.25);
    frame.Update();
    EXPECT_DOUBLE_EQ(frame.GetDeltaTime(), 0.25);
    Scripted::AdvanceCounterSeconds(0.5);
    frame.Update();
    EXPECT_DOUBLE_EQ(frame.GetDeltaTime(), 0.5);
    // The other stopwatch covers both advances, though the clock was updated in between.
    slow.Update();
    EXPECT_DOUBLE_EQ(slow.GetDeltaTime(), 0.75);

    // Start measures what the clock moved since its own previous update.
    Scripted::AdvanceCounterSeconds(2.0);
    slow.Start();
    EXPECT_DOUBLE_EQ(slow.GetDeltaTime(), 2.0);
    frame.Update();
    EXPECT_DOUBLE_EQ(frame.GetDeltaTime(), 2.0);
}
