// The game loop on the scripted platform: the counter moves by exact amounts before each frame, so
// steps, frame times and the order of the scene's hooks are fully determined; also the error box.
#include "quill_mark/game/qm_game_application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/game/implementation/qmi_scene_checksum.h"
#include "quill_mark/game/qm_entity.h"
#include "quill_mark/game/qm_game_scene.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"

namespace Scripted = qmImplementation::ScriptedPlatform;
using Log = std::vector<std::string>;
using Steps = std::vector<int>;

namespace
{

// Notes every hook, the steps of each frame and the frame times it was given.
struct RecordingScene : Quillmark::Game::GameScene, Quillmark::Core::Noncopyable
{
    RecordingScene(std::string name, Log& log) : mName(std::move(name)), mLog(log) {}
    void OnSimulate() override
    {
        mLog.push_back(mName + ".simulate");
        onSimulate(++mSteps);
    }
    void OnUpdate(float frameTime) override
    {
        mLog.push_back(mName + ".update");
        steps.push_back(mSteps);
        frameTimes.push_back(frameTime);
        mSteps = 0;
        onUpdate();
    }
    void OnRender() override { mLog.push_back(mName + ".render"); }
    void OnOpen() override
    {
        mLog.push_back(mName + ".open");
        GameScene::OnOpen();
    }
    void OnClose() override { mLog.push_back(mName + ".close"); }

    Steps steps;
    std::vector<float> frameTimes;
    std::function<void(int step)> onSimulate = [](int) {};
    std::function<void()> onUpdate = [] {};
    std::string mName;
    Log& mLog;
    int mSteps = 0;
};

class GameLoop : public testing::Test
{
protected:
    // One frame per entry, the counter moved by that many seconds first; then WM_QUIT.
    void Run(RecordingScene& target, const std::vector<double>& seconds)
    {
        Scripted::SetIterationHook(
            [seconds, frame = std::size_t{0}](auto) mutable
            {
                if (frame >= seconds.size())
                {
                    return Scripted::PostWindowMessage(WM_QUIT);
                }
                Scripted::AdvanceCounterSeconds(seconds[frame++]);
            });
        application.RunGame(target);
        Scripted::SetIterationHook(nullptr);
    }

    Quillmark::Game::GameApplication application;
    Log log;
    RecordingScene scene{"scene", log};
};

// An entity with one sprite, as the game's circles are.
struct SpriteEntity : Quillmark::Game::Entity
{
    SpriteEntity() { AddGraphic(&sprite); }
    ~SpriteEntity() override { RemoveGraphic(&sprite); }
    Quillmark::Graphics::Sprite sprite{Quillmark::Graphics::SpriteFrame{}};
};

Log* theObserverLog = nullptr;

}  // namespace

TEST_F(GameLoop, FixedStepsInSinglePrecisionWithALongFrameCutAndTheFiveStepLimit)
{
    // 0.025 s twice gives 2 then 3 steps: the float sum after four steps exceeds 0.01. Each Run
    // reopens the scene, emptying it: 0.5 s is cut to 1/30 s, and exactly 0.01 s runs no step.
    Run(scene, {0.025, 0.025});
    Run(scene, {0.5});
    Run(scene, {0.01, 0.001});
    scene.OnOpen();
    // A driver handing over a long frame itself: five steps, the rest carried over.
    for (float frameTime : {0.083f, 0.0f, 0.0f})
    {
        qmImplementation::theGameApplicationHandler.StepScene(frameTime);
    }
    EXPECT_EQ(scene.steps, (Steps{2, 3, 3, 0, 1, 5, 3, 0}));
    scene.frameTimes.resize(4);
    EXPECT_EQ(scene.frameTimes,
              (std::vector<float>{0.025f, 0.025f, Quillmark::Game::kMaximumFrameTime, 0.01f}));
}

TEST_F(GameLoop, SceneChangesAtTheStartOfAFrame)
{
    RecordingScene second("second", log);
    Run(scene, {0.015});
    EXPECT_EQ(log, (Log{"scene.open", "scene.simulate", "scene.update", "scene.render"}));
    log.clear();
    Run(second, {0.015, 0.0});
    EXPECT_EQ(log, (Log{"scene.close", "second.open", "second.simulate", "second.update",
                        "second.render", "second.update", "second.render"}));
}

TEST_F(GameLoop, AudioIsServicedBetweenTheStepsAndTheUpdate)
{
    // A missing sound plays nothing, so only the audio update frees the players of a full table.
    Quillmark::Audio::AudioManager& audio = Quillmark::Audio::theAudioManager;
    const Quillmark::Audio::AudioHandle silent = audio.CreateSoundFromFile("no/such/sound.wav");
    std::vector<bool> freed;  // whether each play found a free channel
    scene.onSimulate = [&](int step)
    {
        for (std::size_t n = 0; step == 1 && n < audio.kMaximumActivePlayers; ++n)
        {
            audio.PlaySound(silent, false);
        }
        freed.push_back(audio.PlaySound(silent, false).channel != 0);
    };
    scene.onUpdate = [&] { freed.push_back(audio.PlaySound(silent, false).channel != 0); };
    Run(scene, {0.025});
    EXPECT_EQ(freed, (std::vector<bool>{false, false, true}));
}

TEST_F(GameLoop, ErrorDuringTheGameOpensOneBox)
{
    const int line = __LINE__ + 1;
    scene.onUpdate = [] { qmTriggerError("qmError: Scene lost its %s.\n", "marbles"); };
    Run(scene, {0.02});
    ASSERT_EQ(Scripted::GetMessageBoxCount(), 1);
    const Scripted::MessageBoxRecord& box = Scripted::GetMessageBoxes().front();
    EXPECT_EQ(box.caption, "Error Condition Triggered");
    EXPECT_EQ(box.text, "qmError: Scene lost its marbles.\n\n\n" + std::string(__FILE__) +
                            "  LINE: " + std::to_string(line));
    EXPECT_EQ(box.owner, Scripted::GetLatestWindow());
}

TEST_F(GameLoop, DestroyedCurrentOrPendingSceneIsDropped)
{
    qmImplementation::currentScene = &scene;
    {
        RecordingScene pending("pending", log);
        qmImplementation::pendingScene = &pending;
    }
    qmImplementation::theGameApplicationHandler.StepScene(0.015f);
    EXPECT_EQ(log, (Log{"scene.simulate", "scene.update", "scene.render"})) << "no scene change";
    {
        RecordingScene current("current", log);
        qmImplementation::currentScene = &current;
    }
    EXPECT_EQ(qmImplementation::currentScene, nullptr);
    qmImplementation::pendingScene = &scene;
    {
        RecordingScene unrelated("unrelated", log);
    }
    EXPECT_EQ(qmImplementation::pendingScene, &scene) << "other scenes leave the records alone";
    EXPECT_EQ(log.size(), 3u) << "a scene being destroyed is not closed";
}

TEST_F(GameLoop, ObserverSeesEachFrameAfterItsDrawingWhichMayBeTurnedOff)
{
    theObserverLog = &log;
    Quillmark::Platform::SetFrameObserver([](std::uint32_t checksum)
                                          { theObserverLog->push_back(std::to_string(checksum)); });
    const std::string emptyScene = std::to_string(qmImplementation::ChecksumOfScene(scene));
    Run(scene, {0.015});
    Quillmark::Platform::SetFramesDrawn(false);
    Run(scene, {0.0});
    EXPECT_EQ(log, (Log{"scene.open", "scene.simulate", "scene.update", "scene.render", emptyScene,
                        "scene.close", "scene.open", "scene.update", emptyScene}));
}

TEST(SceneChecksum, EverySimulatedValueOfEntitiesAndTheirSpritesCounts)
{
    const std::vector<std::pair<const char*, std::function<void(SpriteEntity&)>>> changes = {
        {"entity x", [](SpriteEntity& e) { e.SetPosition(1.0f, 0.0f); }},
        {"entity y", [](SpriteEntity& e) { e.SetPosition(0.0f, -1.0f); }},
        {"entity depth", [](SpriteEntity& e) { e.SetDepth(0.5f); }},
        {"entity active", [](SpriteEntity& e) { e.SetActive(false); }},
        {"entity visible", [](SpriteEntity& e) { e.SetVisible(false); }},
        {"sprite position", [](SpriteEntity& e) { e.sprite.SetPosition(0.0f, 2.0f); }},
        {"sprite visible", [](SpriteEntity& e) { e.sprite.SetVisible(false); }},
        {"sprite scale x", [](SpriteEntity& e) { e.sprite.SetScale(2.0f, 1.0f); }},
        {"sprite scale y", [](SpriteEntity& e) { e.sprite.SetScale(1.0f, 0.5f); }},
        {"sprite rotation", [](SpriteEntity& e) { e.sprite.SetRotation(90.0f); }},
    };
    Log unused;
    RecordingScene scene("scene", unused);
    SpriteEntity first;
    SpriteEntity second;
    scene.AddEntity(first);
    scene.AddEntity(second);
    const std::uint32_t unchanged = qmImplementation::ChecksumOfScene(scene);
    for (const auto& [name, change] : changes)
    {
        SpriteEntity changed;
        change(changed);
        RecordingScene other("other", unused);
        other.AddEntity(first);
        other.AddEntity(changed);
        EXPECT_NE(qmImplementation::ChecksumOfScene(other), unchanged) << name;
    }
}
