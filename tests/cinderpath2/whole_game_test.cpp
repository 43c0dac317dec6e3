// The whole game as the program entry runs it, on the scripted platform layer (clock, cursor and
// keys driven by the test), watched step by step through a probe entity; plays and spawns are
// counted through the shared random sequence (see RandomWatcher).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "cinderpath2/game_entry.h"
#include "cinderpath2/gameplay_scene.h"
#include "cinderpath2/random_watcher.h"
#include "cinderpath2/scene_manager.h"
#include "quill_mark/game/qm_entity.h"
#include "quill_mark/graphics/qm_texture_manager.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"
#include "support/gl_test_context.h"
#include "support/recording_error_handler.h"

namespace
{

namespace Scripted = qmImplementation::ScriptedPlatform;
using Cinderpath2::GameplayScene;
using Cinderpath2::SceneManager;

constexpr int kStepsPerMinute = 6000;
constexpr double kFrameSeconds = 1.0 / 30.0;
constexpr LONG kCentreX = 640;
constexpr LONG kCentreY = 360;

// Calls back in every fixed step; added after the player, it sees the scene as the previous step
// left it.
class StepProbe : public Quillmark::Game::Entity
{
public:
    explicit StepProbe(std::function<void(int step)> onStep) : mOnStep(std::move(onStep)) {}
    ~StepProbe() override = default;
    void OnSimulate() override { mOnStep(++mSteps); }
    int Steps() const { return mSteps; }

private:
    std::function<void(int step)> mOnStep;
    int mSteps = 0;
};

class WholeGameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // The scripted layer has no OpenGL: the sheet's texture is loaded here with a real context,
        // and the game's own load then finds it by its path.
        {
            QuillmarkTest::GlTestContext context;
            ASSERT_TRUE(context.IsValid()) << context.Error();
            ASSERT_NE(Quillmark::Graphics::theTextureManager.CreateTextureFromFile(
                          "data/prototyping_sheet.png"),
                      Quillmark::Graphics::kInvalidTexture);
        }
        Scripted::SetCallLogCapacity(0);
        mWatcher.Restart();
    }

    // Each iteration: a 1/30 s frame, the cursor set, then the script; closes a runaway game.
    void RunGame(std::function<void(std::int64_t iteration)> script, std::int64_t limit)
    {
        Scripted::SetIterationHook(
            [this, script, limit](std::int64_t iteration)
            {
                if (iteration == 0)
                {
                    mScene = dynamic_cast<GameplayScene*>(
                        &SceneManager::GetScene(Cinderpath2::kGameplayScene));
                    ASSERT_NE(mScene, nullptr);
                    mScene->AddEntity(mProbe);
                }
                Scripted::AdvanceCounterSeconds(kFrameSeconds);
                Scripted::SetCursorClientPosition(kCentreX, kCentreY);
                script(iteration);
                if (iteration >= limit)
                {
                    Scripted::PostUserClose();
                }
            });
        EXPECT_EQ(Cinderpath2::RunCinderpath2(), 0);
        mScene = nullptr;
        // Every report would also have opened an error box.
        EXPECT_EQ(Scripted::GetMessageBoxCount(), 0);
        EXPECT_TRUE(mErrors.messages.empty()) << mErrors.messages.front();
    }

    // Called for step n with the scene as step n - 1 left it.
    void Watch(int step)
    {
        const int finished = step - 1;
        const std::size_t count = mScene->GetSpawnedEntities().size();
        const int spawned = static_cast<int>(count - mSpawnedBefore);
        mSpawnedBefore = count;
        if (spawned == 1)
        {
            mSpawnSteps.push_back(finished);
        }
        if (finished == 1 || finished == 2)
        {
            const Cinderpath2::BasicEntity& newest = mScene->GetSpawnedEntities().back();
            mFirstPositions.push_back(newest.GetPosition().x);
            mFirstPositions.push_back(newest.GetPosition().y);
        }
        const int draws = mWatcher.DrawsSinceLastLook();
        const int plays = draws < 0 ? -1 : (draws - 2 * spawned);
        if (spawned > 1 || plays < 0 || plays % 3 != 0)
        {
            ++mUnexpectedSteps;
            return;
        }
        for (int play = 0; play < plays / 3; ++play)
        {
            mExplosionSteps.push_back(finished);
        }
    }

    QuillmarkTest::RecordingErrorHandler mErrors;
    QuillmarkTest::RandomWatcher mWatcher;
    StepProbe mProbe{[this](int step) { Watch(step); }};
    GameplayScene* mScene = nullptr;
    std::size_t mSpawnedBefore = 0;
    std::vector<int> mSpawnSteps;
    std::vector<int> mExplosionSteps;
    std::vector<float> mFirstPositions;
    int mUnexpectedSteps = 0;
};

int SpawnsBetween(const std::vector<int>& steps, int after, int upTo)
{
    int count = 0;
    for (int step : steps)
    {
        count += step > after && step <= upTo ? 1 : 0;
    }
    return count;
}

TEST_F(WholeGameTest, OneHourWithTheCursorHeldInTheCentre)
{
    std::int64_t escapePressed = -1;
    std::int64_t escapeReleased = -1;
    RunGame(
        [&](std::int64_t iteration)
        {
            if (escapePressed < 0 && mProbe.Steps() >= 60 * kStepsPerMinute)
            {
                escapePressed = iteration;
                Scripted::PostKeyDown(VK_ESCAPE);
            }
            else if (escapePressed >= 0 && iteration == escapePressed + 3)
            {
                Scripted::PostKeyDown(VK_ESCAPE, true);  // held: the keyboard repeats
            }
            else if (escapePressed >= 0 && iteration == escapePressed + 6)
            {
                escapeReleased = iteration;
                Scripted::PostKeyUp(VK_ESCAPE);
            }
        },
        60 * kStepsPerMinute / 3 + 1000);

    // Held for six frames without effect; the frame that saw the release was the last.
    ASSERT_GE(escapeReleased, 0);
    EXPECT_EQ(Scripted::GetIterationCount(), escapeReleased + 1);
    EXPECT_EQ(mUnexpectedSteps, 0);

    // Spawns: the first two at once, then ever more often...
    ASSERT_GE(mSpawnSteps.size(), 30u);
    EXPECT_EQ(std::vector<int>(mSpawnSteps.begin(), mSpawnSteps.begin() + 7),
              (std::vector<int>{1, 2, 98, 193, 286, 376, 463}));
    // ...and at the interval's floor from the 22nd on: about 126 a minute to the end.
    for (std::size_t i = 22; i < mSpawnSteps.size(); ++i)
    {
        const int gap = mSpawnSteps[i] - mSpawnSteps[i - 1];
        ASSERT_TRUE(gap == 47 || gap == 48) << "gap " << gap << " before spawn " << i + 1;
    }
    const int lastMinute = SpawnsBetween(mSpawnSteps, 59 * kStepsPerMinute, 60 * kStepsPerMinute);
    EXPECT_GE(lastMinute, 126);
    EXPECT_LE(lastMinute, 127);
    EXPECT_GT(mSpawnSteps.size(), 7500u);

    // The first two start where the first four draws (41, 18467, 6334, 26500) put them.
    ASSERT_EQ(mFirstPositions.size(), 4u);
    EXPECT_NEAR(mFirstPositions[0], 1235.185f, 0.01f);
    EXPECT_NEAR(mFirstPositions[1], 284.141f, 0.01f);
    const double dx = (6334 / 32768.0 - 0.5) * 2.0;
    const double dy = (26500 / 32768.0 - 0.5) * 2.0;
    EXPECT_NEAR(mFirstPositions[2], 640.0 - dx / std::hypot(dx, dy) * 600.0, 0.01);
    EXPECT_NEAR(mFirstPositions[3], 360.0 - dy / std::hypot(dx, dy) * 600.0, 0.01);

    // One explosion in step 157, then plays (one per overlapping circle) at least 201 steps apart.
    ASSERT_GE(mExplosionSteps.size(), 2u);
    EXPECT_EQ(mExplosionSteps[0], 157);
    EXPECT_EQ(mExplosionSteps[1], 358);
    for (std::size_t i = 1; i < mExplosionSteps.size(); ++i)
    {
        const int gap = mExplosionSteps[i] - mExplosionSteps[i - 1];
        ASSERT_TRUE(gap == 0 || gap >= 201) << "gap " << gap << " before play " << i + 1;
    }
}

TEST_F(WholeGameTest, EscapeEndsTheGameOnlyWhenItIsLetGo)
{
    RunGame(
        [&](std::int64_t iteration)
        {
            if (iteration == 5)
            {
                // Down and up before the frame: no trace in the input state.
                Scripted::PostKeyDown(VK_ESCAPE);
                Scripted::PostKeyUp(VK_ESCAPE);
            }
            else if (iteration == 10)
            {
                Scripted::PostKeyDown(VK_ESCAPE);
            }
            else if (iteration == 40)
            {
                Scripted::PostKeyUp(VK_ESCAPE);
            }
        },
        1000);
    EXPECT_EQ(Scripted::GetIterationCount(), 41);
    EXPECT_TRUE(Scripted::GetWindowInfo(Scripted::GetLatestWindow()).destroyed);
}

}  // namespace
