// The game loop on the scripted platform: the performance counter is moved by exact amounts
// before each frame, so the frame times, the fixed steps and the order of the scene's hooks are
// fully determined. Also the error box that the game application shows while it exists.
#include "quill_mark/game/qm_game_application.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/game/qm_game_scene.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"
#include "support/recording_error_handler.h"

namespace Scripted = qmImplementation::ScriptedPlatform;
using Quillmark::Game::GameApplication;
using Quillmark::Game::GameScene;
using Quillmark::Game::kFixedTimeStep;
using Quillmark::Game::kMaximumFrameTime;

namespace
{

using Log = std::vector<std::string>;

// Notes every hook the loop calls, the steps of each frame and the frame times it was given.
class RecordingScene : public GameScene, public Quillmark::Core::Noncopyable
{
public:
    RecordingScene(std::string name, Log& log) : mName(std::move(name)), mLog(log) {}
    ~RecordingScene() override = default;

    void OnSimulate() override
    {
        mLog.push_back(mName + ".simulate");
        ++mStepsThisFrame;
        if (onSimulate)
        {
            onSimulate(mStepsThisFrame);
        }
    }
    void OnUpdate(float frameTime) override
    {
        mLog.push_back(mName + ".update");
        stepsPerFrame.push_back(mStepsThisFrame);
        frameTimes.push_back(frameTime);
        mStepsThisFrame = 0;
        if (onUpdate)
        {
            onUpdate();
        }
    }
    void OnRender() override { mLog.push_back(mName + ".render"); }
    void OnOpen() override
    {
        mLog.push_back(mName + ".open");
        GameScene::OnOpen();
    }
    void OnClose() override { mLog.push_back(mName + ".close"); }

    std::vector<int> stepsPerFrame;
    std::vector<float> frameTimes;
    std::function<void(int step)> onSimulate;
    std::function<void()> onUpdate;

private:
    std::string mName;
    Log& mLog;
    int mStepsThisFrame = 0;
};

// Notes each report with the file it names.
class FileRecorder : public QuillmarkTest::RecordingErrorHandler
{
public:
    void OnErrorTriggered(const std::string& message) override
    {
        reports.push_back(Quillmark::Core::Error::GetLastErrorFile() + ": " + message);
    }
    Log reports;
};

const std::string kApplicationFile = "source/quill_mark/game/qm_game_application.cpp";

// Runs the game on the scene for one frame per entry, the counter moved by that many seconds
// before each frame; the loop then ends through WM_QUIT, leaving the window open.
void RunFrames(GameApplication& application, GameScene& scene,
               const std::vector<double>& frameSeconds)
{
    const std::int64_t firstIteration = Scripted::GetIterationCount();
    Scripted::SetIterationHook(
        [frameSeconds, firstIteration](std::int64_t iteration)
        {
            const std::int64_t frame = iteration - firstIteration;
            if (frame < static_cast<std::int64_t>(frameSeconds.size()))
            {
                Scripted::AdvanceCounterSeconds(frameSeconds[frame]);
            }
            else
            {
                Scripted::PostWindowMessage(WM_QUIT);
            }
        });
    application.RunGame(scene);
    Scripted::SetIterationHook(nullptr);
}

}  // namespace

TEST(GameLoop, AccumulatorStepsInSinglePrecision)
{
    GameApplication application;
    Log log;
    RecordingScene scene("scene", log);

    // 0.025 s twice: two steps leave about 0.005 s; then 0.0100000016 is left after two more,
    // which is more than the float 0.01, so the second frame runs a third step.
    RunFrames(application, scene, {0.025, 0.025});
    EXPECT_EQ(scene.stepsPerFrame, (std::vector<int>{2, 3}));
    // What is left is exactly the single-precision remainder, about 0.000000002 s.
    float expected = 0.025f - kFixedTimeStep - kFixedTimeStep + 0.025f;
    expected = expected - kFixedTimeStep - kFixedTimeStep - kFixedTimeStep;
    EXPECT_EQ(scene.GetTimeAccumulator(), expected);
    EXPECT_GT(expected, 0.0f);
    EXPECT_EQ(scene.frameTimes, (std::vector<float>{0.025f, 0.025f}));
}

TEST(GameLoop, LongFrameIsCutToOneThirtiethAndExactStepRunsNothing)
{
    GameApplication application;
    Log log;
    RecordingScene scene("scene", log);

    // Half a second (a dragged window, say) gives the scene 1/30 s: three steps, about 0.0033 s
    // carried over. A fresh opening then empties the accumulator, and exactly 0.01 s is not more
    // than one step, so nothing runs until the next frame adds a little.
    RunFrames(application, scene, {0.5});
    EXPECT_EQ(scene.stepsPerFrame, std::vector<int>{3});
    EXPECT_EQ(scene.frameTimes, std::vector<float>{kMaximumFrameTime});
    EXPECT_NEAR(scene.GetTimeAccumulator(), kMaximumFrameTime - 3 * kFixedTimeStep, 1e-6f);

    RunFrames(application, scene, {0.01, 0.001});
    EXPECT_EQ(scene.stepsPerFrame, (std::vector<int>{3, 0, 1}));
    EXPECT_EQ(scene.frameTimes[1], 0.01f);
}

TEST(GameLoop, FiveStepLimitCarriesTheRestOver)
{
    Log log;
    RecordingScene scene("scene", log);
    qmImplementation::currentScene = &scene;
    qmImplementation::GameApplicationHandler& handler = qmImplementation::theGameApplicationHandler;

    // More than five steps can only pile up when a driver hands over a long frame itself.
    handler.StepScene(0.083f);
    EXPECT_EQ(scene.stepsPerFrame, std::vector<int>{5});
    EXPECT_NEAR(scene.GetTimeAccumulator(), 0.033f, 1e-6f);
    handler.StepScene(0.0f);
    handler.StepScene(0.0f);
    EXPECT_EQ(scene.stepsPerFrame, (std::vector<int>{5, 3, 0}));
}

TEST(GameLoop, SceneChangesAtTheStartOfAFrame)
{
    GameApplication application;
    Log log;
    RecordingScene first("first", log);
    RecordingScene second("second", log);

    RunFrames(application, first, {0.015});
    EXPECT_EQ(log, (Log{"first.open", "first.simulate", "first.update", "first.render"}));

    // The old scene is closed before the new one opens, and both happen before any step.
    log.clear();
    RunFrames(application, second, {0.015, 0.0});
    EXPECT_EQ(log, (Log{"first.close", "second.open", "second.simulate", "second.update",
                        "second.render", "second.update", "second.render"}));

    // The same scene again: it is closed and opened anew, and opening empties its accumulator.
    log.clear();
    RunFrames(application, second, {0.0});
    EXPECT_EQ(log, (Log{"second.close", "second.open", "second.update", "second.render"}));
    EXPECT_EQ(second.GetTimeAccumulator(), 0.0f);
}

TEST(GameLoop, AudioIsServicedBetweenTheStepsAndTheUpdate)
{
    GameApplication application;
    Log log;
    RecordingScene scene("scene", log);
    Quillmark::Audio::AudioManager& audio = Quillmark::Audio::theAudioManager;
    // A sound whose file is missing plays nothing, so the audio update releases its players at
    // once: a free place after the steps shows that the update ran, a full table that it did not.
    const Quillmark::Audio::AudioHandle silent = audio.CreateSoundFromFile("no/such/sound.wav");
    std::vector<std::uint32_t> channels;
    scene.onSimulate = [&](int step)
    {
        if (step == 1)
        {
            for (std::size_t play = 0; play < Quillmark::Audio::AudioManager::kMaximumActivePlayers;
                 ++play)
            {
                audio.PlaySound(silent, false);
            }
        }
        channels.push_back(audio.PlaySound(silent, false).channel);
    };
    scene.onUpdate = [&]() { channels.push_back(audio.PlaySound(silent, false).channel); };

    RunFrames(application, scene, {0.025});
    ASSERT_EQ(scene.stepsPerFrame, std::vector<int>{2});
    ASSERT_EQ(channels.size(), 3u);
    EXPECT_EQ(channels[0], 0u);
    EXPECT_EQ(channels[1], 0u);
    EXPECT_NE(channels[2], 0u);
}

TEST(GameLoop, ErrorDuringTheGameOpensOneBox)
{
    GameApplication application;
    Log log;
    RecordingScene scene("scene", log);
    int reportLine = 0;
    scene.onUpdate = [&]()
    {
        reportLine = __LINE__ + 1;
        qmTriggerError("qmError: Scene lost its %s.\n", "marbles");
    };

    RunFrames(application, scene, {0.02});
    ASSERT_EQ(Scripted::GetMessageBoxCount(), 1);
    const Scripted::MessageBoxRecord& box = Scripted::GetMessageBoxes().front();
    EXPECT_EQ(box.caption, "Error Condition Triggered");
    EXPECT_EQ(box.text, "qmError: Scene lost its marbles.\n\n\n" + std::string(__FILE__) +
                            "  LINE: " + std::to_string(reportLine));
    EXPECT_EQ(box.type, MB_OK);
    EXPECT_EQ(box.owner, Scripted::GetLatestWindow());
}

TEST(GameApplication, ReportsNameTheApplicationFileAndBoxesLastAsLongAsIt)
{
    FileRecorder recorder;
    // No application yet: the handler's opening is reported, only on standard output.
    qmImplementation::theGameApplicationHandler.OnOpen();
    EXPECT_EQ(recorder.reports,
              (Log{kApplicationFile + ": qmInternalError: Game Application has not been set."}));
    EXPECT_EQ(Scripted::GetMessageBoxCount(), 0);

    {
        GameApplication application;
        EXPECT_EQ(recorder.reports.size(), 1u);
        // A second application takes over the loop, after a report from the same file (the
        // window layer then reports the second window on its own).
        recorder.reports.clear();
        GameApplication second;
        ASSERT_FALSE(recorder.reports.empty());
        EXPECT_EQ(recorder.reports.front(),
                  kApplicationFile + ": qmInternalError: GameApplication has already been set.");
        EXPECT_EQ(qmImplementation::theGameApplicationHandler.gameApplication, &second);
    }
    const std::int64_t boxes = Scripted::GetMessageBoxCount();
    EXPECT_GE(boxes, 1);
    qmTriggerError("qmError: After the application.");
    EXPECT_EQ(Scripted::GetMessageBoxCount(), boxes);
}
