// SPDX-License-Identifier: Zlib
// The game's cost as play goes on, and its start-up.
// Frames: the real gameplay scene, advanced to 0, 10, 30 and 60 minutes of game time, then timed
// per frame (three fixed steps, the audio update, the scene's update and its drawing, finished
// on the GPU); spawned entities are never removed, so the cost per frame grows with play while
// the cost per entity should stay flat.
// Start-up: from spawning the process to its first presented frame, for the game and for a bare
// program that only opens an SDL window with an OpenGL context, measured alike in the same run.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cinderpath2/gameplay_scene.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/game/implementation/qmi_drawing_2d.h"
#include "quill_mark/graphics/qm_sprite_manager.h"
#include "support/gl_test_context.h"

extern char** environ;

namespace
{

constexpr long long kStepsPerMinute = 6000;  // fixed steps of 0.01 s
constexpr int kStepsPerFrame = 3;            // a 1/30 s frame

// One gameplay scene for all frame benchmarks, advanced only forwards: the 60-minute case
// continues from the 30-minute one instead of replaying the whole hour.
class GameWorld
{
public:
    GameWorld()
    {
        Quillmark::Graphics::theSpriteManager.LoadSpriteSheetFromFile(
            "prototyping_sheet", "data/prototyping_sheet.json");
        Quillmark::Audio::theAudioManager.LoadEventTable("audio_events",
                                                         "data/audio/audio_events.json");
        mScene = std::make_unique<Cinderpath2::GameplayScene>();
        mScene->OnOpen();
    }

    bool IsValid() const { return mContext.IsValid(); }

    void AdvanceTo(long long steps)
    {
        while (mSteps < steps)
        {
            Step();
            // The loop releases finished sounds once per frame.
            if (mSteps % kStepsPerFrame == 0)
            {
                Quillmark::Audio::theAudioManager.Update();
            }
        }
    }

    void Frame()
    {
        for (int i = 0; i < kStepsPerFrame; ++i)
        {
            Step();
        }
        Quillmark::Audio::theAudioManager.Update();
        mScene->OnUpdate(1.0f / 30.0f);
        QuillmarkTest::ClearFrame();
        qmImplementation::BeginDrawing2D();
        mScene->OnRender();
        qmImplementation::EndDrawing2D();
        glFinish();
    }

    long long Steps() const { return mSteps; }
    std::size_t Entities() const { return mScene->GetSpawnedEntities().size() + 1; }

private:
    void Step()
    {
        mScene->OnSimulate();
        ++mSteps;
    }

    QuillmarkTest::GlTestContext mContext;
    std::unique_ptr<Cinderpath2::GameplayScene> mScene;
    long long mSteps = 0;
};

GameWorld& World()
{
    static GameWorld world;
    return world;
}

void BM_GameFrame(benchmark::State& state)
{
    GameWorld& world = World();
    if (!world.IsValid())
    {
        state.SkipWithError("no OpenGL context (no display?)");
        return;
    }
    world.AdvanceTo(state.range(0) * kStepsPerMinute);
    const std::size_t entities = world.Entities();
    for (auto _ : state)
    {
        world.Frame();
    }
    state.counters["entities"] = static_cast<double>(entities);
    // Seconds per frame divided by the entities in it: flat if the work per entity is constant.
    state.counters["per_entity"] = benchmark::Counter(
        static_cast<double>(entities),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GameFrame)
    ->ArgName("minutes")
    ->Arg(0)
    ->Arg(10)
    ->Arg(30)
    ->Arg(60)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.5);

double MonotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// Seconds from spawning the program to its first buffer swap; negative on failure.
double MeasureStartUp(const std::string& program)
{
    const std::string marker = "/tmp/qm_first_present_" + std::to_string(getpid());
    std::remove(marker.c_str());
    std::vector<std::string> variables = {"LD_PRELOAD=" QM_FIRST_PRESENT_PROBE,
                                          "QM_FIRST_PRESENT_FILE=" + marker};
    std::vector<char*> environment;
    for (std::string& variable : variables)
    {
        environment.push_back(variable.data());
    }
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        environment.push_back(*entry);
    }
    environment.push_back(nullptr);
    std::vector<char> path(program.begin(), program.end());
    path.push_back('\0');
    char* arguments[] = {path.data(), nullptr};

    const double start = MonotonicSeconds();
    pid_t pid = 0;
    if (posix_spawn(&pid, path.data(), nullptr, nullptr, arguments, environment.data()) != 0)
    {
        return -1.0;
    }
    // A deadline only so that a program that never presents cannot stall the benchmark run.
    const double deadline = start + 60.0;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0)
    {
        if (MonotonicSeconds() > deadline)
        {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1.0;
        }
        usleep(1000);
    }
    long long presentedAt = 0;
    std::ifstream(marker) >> presentedAt;
    std::remove(marker.c_str());
    return presentedAt > 0 ? presentedAt * 1e-9 - start : -1.0;
}

void BM_StartUp(benchmark::State& state)
{
    double gameTotal = 0.0;
    double baselineTotal = 0.0;
    int runs = 0;
    for (auto _ : state)
    {
        // Alternating keeps slow drifts of the machine from favouring one side.
        const bool gameFirst = runs % 2 == 0;
        const double first = MeasureStartUp(gameFirst ? QM_GAME_PROGRAM : QM_BASELINE_PROGRAM);
        const double second = MeasureStartUp(gameFirst ? QM_BASELINE_PROGRAM : QM_GAME_PROGRAM);
        const double game = gameFirst ? first : second;
        const double baseline = gameFirst ? second : first;
        if (game < 0.0 || baseline < 0.0)
        {
            state.SkipWithError("a program did not present a frame");
            return;
        }
        state.SetIterationTime(game);
        gameTotal += game;
        baselineTotal += baseline;
        ++runs;
    }
    state.counters["game_ms"] = gameTotal / runs * 1000.0;
    state.counters["baseline_ms"] = baselineTotal / runs * 1000.0;
    state.counters["ratio"] = gameTotal / baselineTotal;
}
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // The game and its data files are found from the repository root, as when it is played.
    if (chdir(QM_SOURCE_DIR_PATH) != 0)
    {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
