// The gameplay scene stepped directly on the game's own data: plays of the "explosion" event within
// one step, reopening, and a spawn drawn with no direction. Spawn positions and the long-run
// schedule are checked on the whole game (whole_game_test.cpp).
#include "cinderpath2/gameplay_scene.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cinderpath2/game_data_fixture.h"
#include "cinderpath2/random_watcher.h"
#include "quill_mark/application/implementation/qmi_input_state.h"

namespace
{

using Cinderpath2::BasicEntity;
using Cinderpath2::GameplayScene;
using QuillmarkTest::RandomWatcher;

constexpr int kDrawsPerSpawn = 2;
constexpr int kDrawsPerExplosion = 3;
// Circles fly on for ever, so "away" has to be farther than any of them gets in these tests.
constexpr int kFarAway = -1000000;

class GameplaySceneTest : public QuillmarkTest::GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        mScene = std::make_unique<GameplayScene>();  // after the data, as the program entry does
        mWatcher.Restart();
        mScene->OnOpen();
    }

    // One fixed step; records whether it spawned and how many times it played the event.
    void Step()
    {
        ++mStep;
        const std::size_t before = mScene->GetSpawnedEntities().size();
        mScene->OnSimulate();
        const int spawned = static_cast<int>(mScene->GetSpawnedEntities().size() - before);
        ASSERT_LE(spawned, 1) << "more than one spawn in step " << mStep;
        if (spawned == 1)
        {
            mSpawnSteps.push_back(mStep);
        }
        const int draws = mWatcher.DrawsSinceLastLook();
        ASSERT_GE(draws, 0) << "lost the random sequence in step " << mStep;
        const int playDraws = draws - kDrawsPerSpawn * spawned;
        ASSERT_EQ(playDraws % kDrawsPerExplosion, 0) << "step " << mStep;
        for (int play = 0; play < playDraws / kDrawsPerExplosion; ++play)
        {
            mExplosionSteps.push_back(mStep);
        }
    }

    void StepUntil(int step)
    {
        while (mStep < step && !HasFatalFailure())
        {
            Step();
        }
    }

    // The player goes where the cursor is at the next update.
    void MovePlayerTo(int x, int y)
    {
        Quillmark::Application::SetMousePosition(x, y);
        mScene->OnUpdate(0.01f);
    }

    std::unique_ptr<GameplayScene> mScene;
    RandomWatcher mWatcher;
    int mStep = 0;
    std::vector<int> mSpawnSteps;
    std::vector<int> mExplosionSteps;
};

TEST_F(GameplaySceneTest, EveryCircleOverlappingInTheSameStepPlaysTheEvent)
{
    // Away until both early circles are inside the player's reach at the centre, then there.
    MovePlayerTo(kFarAway, kFarAway);
    StepUntil(160);
    EXPECT_TRUE(mExplosionSteps.empty());
    MovePlayerTo(640, 360);
    Step();
    EXPECT_EQ(mExplosionSteps, (std::vector<int>{161, 161}));
}

TEST_F(GameplaySceneTest, ReopeningSpawnsAtOnceButKeepsTheShortenedInterval)
{
    MovePlayerTo(kFarAway, kFarAway);
    StepUntil(300);
    ASSERT_EQ(mSpawnSteps, (std::vector<int>{1, 2, 98, 193, 286}));
    mScene->OnOpen();
    StepUntil(400);
    // Twice at once after opening (the timer is back at -1), then on with the shortened
    // interval: 0.85 s after the second, not the 1 s of a fresh scene.
    ASSERT_GE(mSpawnSteps.size(), 8u);
    EXPECT_EQ(mSpawnSteps[5], 301);
    EXPECT_EQ(mSpawnSteps[6], 302);
    EXPECT_LT(mSpawnSteps[7] - mSpawnSteps[6], 90);
}

TEST_F(GameplaySceneTest, ACircleDrawnWithNoDirectionStaysInTheCentre)
{
    // A state whose next two draws are both 16384, i.e. 0.5 each: direction (0, 0).
    std::uint32_t state = 0;
    bool found = false;
    for (std::uint32_t high = 0; high < 2 && !found; ++high)
    {
        for (std::uint32_t low = 0; low < 65536 && !found; ++low)
        {
            const std::uint32_t candidate = (high << 31) | (16384u << 16) | low;
            if (RandomWatcher::Output(RandomWatcher::Next(candidate)) == 16384)
            {
                state = candidate;
                found = true;
            }
        }
    }
    ASSERT_TRUE(found);
    // Step back one draw: the inverse of 214013 modulo 2^32 undoes the multiplication.
    std::uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i)
    {
        inverse *= 2u - 214013u * inverse;
    }
    qmImplementation::ScriptedPlatform::RestartRandomSequence((state - 2531011u) * inverse);

    MovePlayerTo(kFarAway, kFarAway);
    mScene->OnSimulate();
    ASSERT_EQ(mScene->GetSpawnedEntities().size(), 1u);
    const BasicEntity& still = mScene->GetSpawnedEntities().front();
    EXPECT_EQ(still.GetPosition().x, 640.0f);
    EXPECT_EQ(still.GetPosition().y, 360.0f);
    EXPECT_EQ(still.velocity.x, 0.0f);
    EXPECT_EQ(still.velocity.y, 0.0f);
    for (int step = 0; step < 50; ++step)
    {
        mScene->OnSimulate();
    }
    EXPECT_EQ(still.GetPosition().x, 640.0f);
    EXPECT_EQ(still.GetPosition().y, 360.0f);
}

}  // namespace
