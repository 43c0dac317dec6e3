// SPDX-License-Identifier: Zlib
// The whole game as the program entry runs it, for an hour on the headless layer, watched through
// a probe entity: the spawn schedule, the first circles' starts, explosions and quitting.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "cinderpath2/game_data_fixture.h"
#include "cinderpath2/game_entry.h"
#include "cinderpath2/gameplay_scene.h"
#include "cinderpath2/scene_manager.h"
#include "quill_mark/game/qm_entity.h"
#include "quill_mark/graphics/qm_texture_manager.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

namespace
{

namespace Headless = qmImplementation::HeadlessLayer;
using namespace qmSeam;
constexpr int kStepsPerMinute = 6000;

// Called in every fixed step after the player, so it sees the scene as the previous step left it.
struct StepProbe : Quillmark::Game::Entity
{
    explicit StepProbe(std::function<void(int step)> onStep) : onStep(std::move(onStep)) {}
    void OnSimulate() override { onStep(++steps); }
    std::function<void(int step)> onStep;
    int steps = 0;
};

TEST(WholeGameTest, OneHourWithTheCursorHeldInTheCentreThenEscapeLetGo)
{
    Headless::Reset();
    {
        // The headless layer has no OpenGL: the sheet's texture is loaded here.
        QuillmarkTest::GlTestContext context;
        ASSERT_TRUE(context.IsValid()) << context.Error();
        Quillmark::Graphics::theTextureManager.CreateTextureFromFile("data/prototyping_sheet.png");
    }
    QuillmarkTest::RecordingErrorHandler errors;
    Cinderpath2::GameplayScene* scene = nullptr;
    std::vector<int> spawnSteps, explosionSteps;
    std::vector<Quillmark::Graphics::Vector2> firstPositions;
    StepProbe probe(
        [&](int step)
        {
            const std::size_t spawned = scene->GetSpawnedEntities().size();
            spawnSteps.resize(spawned, step - 1);
            if (step == 2 || step == 3)  // the newest circle, before its first move
                firstPositions.push_back(scene->GetSpawnedEntities().back().GetPosition());
            explosionSteps.resize(QuillmarkTest::SoundsStarted(), step - 1);
        });
    // Each iteration a 1/30 s frame with the cursor in the centre. After the hour: Escape down
    // and up within one frame leaves no trace; then down, held (the keyboard repeats) and let go.
    std::int64_t hourEnd = -1;
    Headless::SetIterationHook(
        [&](std::int64_t iteration)
        {
            if (iteration == 0)
            {
                scene = dynamic_cast<Cinderpath2::GameplayScene*>(
                    &Cinderpath2::SceneManager::GetScene(Cinderpath2::kGameplayScene));
                scene->AddEntity(probe);
            }
            Headless::AdvanceCounterSeconds(1.0 / 30.0);
            Headless::SetCursorClientPosition(640, 360);
            if (hourEnd < 0 && probe.steps >= 60 * kStepsPerMinute)
                hourEnd = iteration;
            const std::int64_t at = hourEnd < 0 ? -1 : iteration - hourEnd;
            if (at == 0 || at == 1)
                Headless::PostKeyDown(VK_ESCAPE);
            if (at == 0 || at == 3)
                Headless::PostKeyUp(VK_ESCAPE);
            if (at == 2)
                Headless::PostKeyDown(VK_ESCAPE, true);
            if (at == 1000)  // a game that does not quit is closed
                Headless::PostUserClose();
        });
    EXPECT_EQ(Cinderpath2::RunCinderpath2(), 0);
    EXPECT_EQ(Headless::GetIterationCount(), hourEnd + 4) << "the frame seeing the release ends it";
    EXPECT_EQ(errors.messages, std::vector<std::string>{});
    EXPECT_EQ(Headless::GetMessageBoxCount(), 0);

    // Spawns: one in each of the first two steps, then ever more often...
    ASSERT_GE(spawnSteps.size(), 30u);
    EXPECT_EQ(std::vector<int>(spawnSteps.begin(), spawnSteps.begin() + 7),
              (std::vector<int>{1, 2, 98, 193, 286, 376, 463}));
    // ...and at the interval's floor from the 22nd on: about 126 a minute to the end.
    int lastMinute = 0;
    for (std::size_t i = 22; i < spawnSteps.size(); ++i)
    {
        const int gap = spawnSteps[i] - spawnSteps[i - 1];
        ASSERT_TRUE(gap == 47 || gap == 48) << "gap " << gap << " before spawn " << i + 1;
        lastMinute += spawnSteps[i] > 59 * kStepsPerMinute && spawnSteps[i] <= 60 * kStepsPerMinute;
    }
    EXPECT_GE(lastMinute, 126);
    EXPECT_LE(lastMinute, 127);

    // The first four draws (41, 18467, 6334, 26500) place the first two on the 600-pixel ring
    // around the centre, opposite the direction they fly in.
    ASSERT_EQ(firstPositions.size(), 2u);
    EXPECT_NEAR(firstPositions[0].x, 1235.185f, 0.01f);
    EXPECT_NEAR(firstPositions[0].y, 284.141f, 0.01f);
    const double dx = (6334 / 32768.0 - 0.5) * 2.0, dy = (26500 / 32768.0 - 0.5) * 2.0;
    EXPECT_NEAR(firstPositions[1].x, 640.0 - dx / std::hypot(dx, dy) * 600.0, 0.01);
    EXPECT_NEAR(firstPositions[1].y, 360.0 - dy / std::hypot(dx, dy) * 600.0, 0.01);

    // The first explosion in step 157, the next after the two-second cooldown; then plays (one per
    // circle overlapping in that step) at least 201 steps apart.
    ASSERT_GE(explosionSteps.size(), 2u);
    EXPECT_EQ(explosionSteps[0], 157);
    EXPECT_EQ(explosionSteps[1], 358);
    for (std::size_t i = 1; i < explosionSteps.size(); ++i)
    {
        const int gap = explosionSteps[i] - explosionSteps[i - 1];
        ASSERT_TRUE(gap == 0 || gap >= 201) << "gap " << gap << " before play " << i + 1;
    }
}

}  // namespace
