// The game clock and Stopwatch on the scripted counter, which moves only when told: time is
// counted from initialisation at the counter's frequency, each stopwatch between its own readings.
#include "quill_mark/game/qm_game_clock.h"

#include <gtest/gtest.h>

#include "quill_mark/platform/scripted/qmi_scripted_platform.h"

namespace Scripted = qmImplementation::ScriptedPlatform;
namespace Game = Quillmark::Game;

TEST(GameClock, ElapsedTimeAndStopwatchesFollowTheCounter)
{
    Scripted::SetCounterFrequency(3000);
    Scripted::AdvanceCounter(123456);
    Game::InitializeClock();
    Game::Stopwatch frame, slow;
    frame.Start();
    slow.Start();
    Scripted::AdvanceCounter(4500);
    frame.Update();
    EXPECT_EQ(Game::GetElapsedTime(), 1.5);
    Scripted::AdvanceCounter(1500);
    frame.Update();
    slow.Update();  // covers both advances, though the clock was updated in between
    EXPECT_DOUBLE_EQ(frame.GetDeltaTime(), 0.5);
    EXPECT_DOUBLE_EQ(slow.GetDeltaTime(), 2.0);
    // A counter without a frequency keeps the clock at 0 rather than dividing by it.
    Scripted::SetCounterFrequency(0);
    Game::InitializeClock();
    Scripted::AdvanceCounter(10);
    Game::UpdateClock();
    EXPECT_EQ(Game::GetElapsedTime(), 0.0);
}
