// The whole game as the program entry runs it, on the scripted platform layer (clock, cursor and
// keys driven by the test), watched step by step through a probe entity: the spawn schedule over
// an hour, where the first circles start, the explosions with their cooldown, and quitting.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "cinderpath2/game_data_fixture.h"
#include "cinderpath2/game_entry.h"
#include "cinderpath2/gameplay_scene.h"
#include "cinderpath2/scene_manager.h"
#include "quill_mark/game/qm_entity.h"
#include "quill_mark/graphics/qm_texture_manager.h"

namespace
{

namespace Scripted = qmImplementation::ScriptedPlatform;
using Cinderpath2::GameplayScene;

constexpr int kStepsPerMinute = 6000;

// Called in every fixed step after the player, so it sees the scene as the previous step left it.
class StepProbe : public Quillmark::Game::Entity
{
public:
    explicit StepProbe(std::function<void(int step)> onStep) : mOnStep(std::move(onStep)) {}
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
        QuillmarkTest::GlTestContext context;
        ASSERT_TRUE(context.IsValid()) << context.Error();
        ASSERT_NE(Quillmark::Graphics::theTextureManager.CreateTextureFromFile(
                      "data/prototyping_sheet.png"),
                  Quillmark::Graphics::kInvalidTexture);
        Scripted::SetCallLogCapacity(0);
    }

    // Each iteration: a 1/30 s frame, the cursor in the centre, then the script; a game still
    // running at `limit` is closed.
    void RunGame(std::function<void(std::int64_t iteration)> script, std::int64_t limit)
    {
        Scripted::SetIterationHook(
            [this, script, limit](std::int64_t iteration)
            {
                if (iteration == 0)
                {
                    mScene = dynamic_cast<GameplayScene*>(
                        &Cinderpath2::SceneManager::GetScene(Cinderpath2::kGameplayScene));
                    mScene->AddEntity(mProbe);
                }
                Scripted::AdvanceCounterSeconds(1.0 / 30.0);
                Scripted::SetCursorClientPosition(640, 360);
                script(iteration);
                if (iteration >= limit)
                    Scripted::PostUserClose();
            });
        EXPECT_EQ(Cinderpath2::RunCinderpath2(), 0);
        // Every report would also have opened an error box.
        EXPECT_EQ(mErrors.messages, std::vector<std::string>{});
        EXPECT_EQ(Scripted::GetMessageBoxCount(), 0);
    }

    // For step n, with the scene as step n - 1 left it.
    void Watch(int step)
    {
        const std::size_t spawned = mScene->GetSpawnedEntities().size();
        if (spawned > mSpawnedBefore)
            mSpawnSteps.insert(mSpawnSteps.end(), spawned - mSpawnedBefore, step - 1);
        mSpawnedBefore = spawned;
        if (step == 2 || step == 3)  // the newest circle, before its first move
            mFirstPositions.push_back(mScene->GetSpawnedEntities().back().GetPosition());
        const std::uint32_t sounds = QuillmarkTest::SoundsStarted();
        mExplosionSteps.insert(mExplosionSteps.end(), sounds - mSoundsBefore, step - 1);
        mSoundsBefore = sounds;
    }

    QuillmarkTest::RecordingErrorHandler mErrors;
    StepProbe mProbe{[this](int step) { Watch(step); }};
    GameplayScene* mScene = nullptr;
    std::size_t mSpawnedBefore = 0;
    std::uint32_t mSoundsBefore = 0;
    std::vector<int> mSpawnSteps, mExplosionSteps;
    std::vector<Quillmark::Graphics::Vector2> mFirstPositions;
};

TEST_F(WholeGameTest, OneHourWithTheCursorHeldInTheCentre)
{
    std::int64_t escapeReleased = -1;
    RunGame(
        [&](std::int64_t iteration)
        {
            if (escapeReleased < 0 && mProbe.Steps() >= 60 * kStepsPerMinute)
            {
                escapeReleased = iteration + 1;
                Scripted::PostKeyDown(VK_ESCAPE);
            }
            else if (iteration == escapeReleased)
                Scripted::PostKeyUp(VK_ESCAPE);
        },
        60 * kStepsPerMinute / 3 + 1000);
    // The frame that saw the release was the last.
    EXPECT_EQ(Scripted::GetIterationCount(), escapeReleased + 1);

    // Spawns: one in each of the first two steps, then ever more often...
    ASSERT_GE(mSpawnSteps.size(), 30u);
    EXPECT_EQ(std::vector<int>(mSpawnSteps.begin(), mSpawnSteps.begin() + 7),
              (std::vector<int>{1, 2, 98, 193, 286, 376, 463}));
    // ...and at the interval's floor from the 22nd on: about 126 a minute to the end.
    for (std::size_t i = 22; i < mSpawnSteps.size(); ++i)
    {
        const int gap = mSpawnSteps[i] - mSpawnSteps[i - 1];
        ASSERT_TRUE(gap == 47 || gap == 48) << "gap " << gap << " before spawn " << i + 1;
    }
    int lastMinute = 0;
    for (int step : mSpawnSteps)
        lastMinute += step > 59 * kStepsPerMinute && step <= 60 * kStepsPerMinute ? 1 : 0;
    EXPECT_GE(lastMinute, 126);
    EXPECT_LE(lastMinute, 127);

    // The first two start where the first four draws (41, 18467, 6334, 26500) put them, on the
    // ring of 600 pixels around the centre, opposite the direction they fly in.
    ASSERT_EQ(mFirstPositions.size(), 2u);
    EXPECT_NEAR(mFirstPositions[0].x, 1235.185f, 0.01f);
    EXPECT_NEAR(mFirstPositions[0].y, 284.141f, 0.01f);
    const double dx = (6334 / 32768.0 - 0.5) * 2.0, dy = (26500 / 32768.0 - 0.5) * 2.0;
    EXPECT_NEAR(mFirstPositions[1].x, 640.0 - dx / std::hypot(dx, dy) * 600.0, 0.01);
    EXPECT_NEAR(mFirstPositions[1].y, 360.0 - dy / std::hypot(dx, dy) * 600.0, 0.01);

    // The first explosion in step 157, the next once the two-second cooldown has run out; from
    // then on plays (one per circle overlapping in that step) at least 201 steps apart. Plays
    // that found all 16 places taken start no sound and are not seen here.
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
                Scripted::PostKeyDown(VK_ESCAPE);
            else if (iteration == 20)
                Scripted::PostKeyDown(VK_ESCAPE, true);  // held: the keyboard repeats
            else if (iteration == 40)
                Scripted::PostKeyUp(VK_ESCAPE);
        },
        1000);
    EXPECT_EQ(Scripted::GetIterationCount(), 41);
    EXPECT_TRUE(Scripted::GetWindowInfo(Scripted::GetLatestWindow()).destroyed);
}

}  // namespace
