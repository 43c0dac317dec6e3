// SPDX-License-Identifier: Zlib
// The game loop on the headless platform, its counter moved by exact amounts before each frame:
// steps, frame times, the scene's hooks and its entities' order; the box and the loop's reports.
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
#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"
#include "support/recording_error_handler.h"

namespace Headless = qmImplementation::HeadlessLayer;
using namespace qmSeam;
using qmImplementation::theGameApplicationHandler;
using Log = std::vector<std::string>;

namespace
{

struct RecordingScene : Quillmark::Game::GameScene, Quillmark::Core::Noncopyable
{
    RecordingScene(std::string name, Log& log) : name(std::move(name)), log(log) {}
    void OnSimulate() override { onSimulate(log.emplace_back(name + ".simulate")); }
    void OnUpdate(float) override { onUpdate(log.emplace_back(name + ".update")); }
    void OnRender() override { log.push_back(name + ".render"); }
    void OnOpen() override
    {
        log.push_back(name + ".open");
        GameScene::OnOpen();
    }
    void OnClose() override { log.push_back(name + ".close"); }

    std::string name;
    Log& log;
    std::function<void(const std::string&)> onSimulate = [](auto&) {}, onUpdate = [](auto&) {};
};

std::vector<int> StepsPerFrame(const Log& log)
{
    std::vector<int> steps{0};
    for (const std::string& hook : log)
    {
        if (hook.find(".update") != std::string::npos)
            steps.push_back(0);
        else if (hook.find(".simulate") != std::string::npos)
            ++steps.back();
    }
    steps.pop_back();
    return steps;
}

class GameLoop : public testing::Test
{
protected:
    // One frame per entry, the counter first moved by its seconds; then WM_QUIT.
    void Run(RecordingScene& target, const std::vector<double>& seconds)
    {
        Headless::SetIterationHook(
            [seconds, frame = std::size_t{0}](auto) mutable
            {
                if (frame >= seconds.size())
                    return Headless::PostWindowMessage(WM_QUIT);
                Headless::AdvanceCounterSeconds(seconds[frame++]);
            });
        application.RunGame(target);
    }

    bool headlessChosen = (Headless::Reset(), true);
    Quillmark::Game::GameApplication application;
    Log log;
    RecordingScene scene{"scene", log};
};

struct SpriteEntity : Quillmark::Game::Entity
{
    SpriteEntity() { AddGraphic(&sprite); }
    ~SpriteEntity() override { RemoveGraphic(&sprite); }
    Quillmark::Graphics::Sprite sprite{Quillmark::Graphics::SpriteFrame{}};
};

Log* theObserverLog = nullptr;

// Scenes and entities, no game loop: which entities are simulated, updated and drawn.
Log trace;

struct LoggingEntity : Quillmark::Game::Entity
{
    explicit LoggingEntity(std::string name) : mName(std::move(name)) {}
    void OnSimulate() override { trace.push_back(mName + ".simulate"); }
    void OnUpdate(float) override { trace.push_back(mName + ".update"); }
    void OnRender() override
    {
        trace.push_back(mName + ".render");
        Entity::OnRender();
    }
    std::string mName;
};

struct Scene : Quillmark::Game::GameScene, Quillmark::Core::Noncopyable
{
};

}  // namespace

TEST_F(GameLoop, StepsAreCountedInSinglePrecisionFromClampedFrameTimes)
{
    // Each run opens the scene afresh. In 32-bit floats 0.025 s twice gives 2 then 3 steps; a long
    // frame is cut to 1/30 s; exactly 0.01 s runs no step.
    const std::pair<std::vector<double>, std::vector<int>> runs[] = {
        {{0.025, 0.025}, {2, 3}}, {{0.025, 0.015}, {2, 1}}, {{0.5}, {3}}, {{0.01}, {0}}};
    for (const auto& [seconds, steps] : runs)
    {
        log.clear();
        Run(scene, seconds);
        EXPECT_EQ(StepsPerFrame(log), steps) << seconds[0] << ", then " << seconds.back();
    }
    // A driver handing over a long frame itself: five steps at most, the rest carried over.
    scene.OnOpen();
    log.clear();
    for (float frameTime : {0.083f, 0.0f, 0.0f})
        theGameApplicationHandler.StepScene(frameTime);
    EXPECT_EQ(StepsPerFrame(log), (std::vector<int>{5, 3, 0}));
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
    Quillmark::Audio::AudioManager& audio = Quillmark::Audio::theAudioManager;
    const Quillmark::Audio::AudioHandle silent = audio.CreateSoundFromFile("no/such/sound.wav");
    std::vector<bool> freed;  // whether each play found a free channel
    const auto play = [&](auto&) { freed.push_back(audio.PlaySound(silent, false).channel != 0); };
    for (std::size_t n = 0; n < audio.kMaximumActivePlayers; ++n)
        audio.PlaySound(silent, false);
    scene.onSimulate = play;
    scene.onUpdate = play;
    Run(scene, {0.025});
    EXPECT_EQ(freed, (std::vector<bool>{false, false, true}));
}

TEST_F(GameLoop, AnErrorDuringTheGameOpensOneBoxAndTheApplicationReportsItsOwnMisuse)
{
    const int line = __LINE__ + 1;
    scene.onUpdate = [](auto&) { qmTriggerError("qmError: Scene lost its %s.\n", "marbles"); };
    Run(scene, {0.02});
    ASSERT_EQ(Headless::GetMessageBoxCount(), 1);
    const Headless::MessageBoxRecord& box = Headless::GetMessageBoxes().front();
    EXPECT_EQ(box.caption, "Error Condition Triggered");
    EXPECT_EQ(box.text, "qmError: Scene lost its marbles.\n\n\n" + std::string(__FILE__) +
                            "  LINE: " + std::to_string(line));
    EXPECT_EQ(box.owner, Headless::GetLatestWindow());
    EXPECT_EQ(box.type, UINT(MB_OK));

    // A second application takes the loop over after its report; a loop without one reports that.
    QuillmarkTest::RecordingErrorHandler errors;
    {
        Quillmark::Game::GameApplication second;
        EXPECT_EQ(theGameApplicationHandler.gameApplication, &second);
    }
    theGameApplicationHandler.gameApplication = nullptr;
    theGameApplicationHandler.OnOpen();
    EXPECT_EQ(
        errors.messages,
        (Log{"qmInternalError: GameApplication has already been set.",
             "qmExternalError: Quillmark currently supports only a single application at a time.",
             "qmInternalError: Expected application handler to by null at this moment.",
             "qmInternalError: Expected window handle to be unused at this moment.",
             "qmInternalError: Game Application has not been set."}));
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

TEST(GameScene, ActivityGatesStepsVisibilityGatesDrawingAndGraphicsFollowEntities)
{
    LoggingEntity resting("resting"), hidden("hidden"), child("child"), twice("twice");
    LoggingEntity last("last"), overlay("overlay");
    resting.SetActive(false);
    hidden.SetVisible(false);
    resting.AddGraphic(&child);  // drawn with its visible parent
    Scene scene;
    scene.AddGraphic(overlay);  // added first, yet drawn after every entity
    scene.AddEntity(twice);
    scene.AddEntity(resting);
    scene.AddEntity(hidden);
    scene.AddEntity(twice);
    scene.AddEntity(last);  // so that no walk reads the same backwards
    scene.OnSimulate();
    scene.OnUpdate(0.5f);
    scene.OnRender();
    EXPECT_EQ(trace, (Log{"twice.simulate", "hidden.simulate", "twice.simulate", "last.simulate",
                          "twice.update", "hidden.update", "twice.update", "last.update",
                          "overlay.update", "twice.render", "resting.render", "child.render",
                          "twice.render", "last.render", "overlay.render"}));
}
