// Scenes and entities: which entities are simulated, updated and drawn, in which order the scene
// draws its entities and its graphics, and what a scene's destruction does to the game loop's
// scene records. Drawing reaches no OpenGL context here; the graphics log their own calls.
#include "quill_mark/game/qm_game_scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/game/qm_entity.h"

using Quillmark::Game::Entity;
using Quillmark::Game::GameScene;

namespace
{

using Log = std::vector<std::string>;

class LoggingEntity : public Entity
{
public:
    LoggingEntity(std::string name, Log& log) : mName(std::move(name)), mLog(log) {}
    void OnSimulate() override { mLog.push_back(mName + ".simulate"); }
    void OnUpdate(float deltaTime) override
    {
        mLog.push_back(mName + ".update " + std::to_string(deltaTime));
        Entity::OnUpdate(deltaTime);
    }
    void OnRender() override
    {
        mLog.push_back(mName + ".render");
        Entity::OnRender();
    }

private:
    std::string mName;
    Log& mLog;
};

class LoggingGraphic : public Quillmark::Graphics::Graphic
{
public:
    LoggingGraphic(std::string name, Log& log) : mName(std::move(name)), mLog(log) {}
    void OnUpdate(float /*deltaTime*/) override { mLog.push_back(mName + ".update"); }
    void OnRender() override { mLog.push_back(mName + ".render"); }

private:
    std::string mName;
    Log& mLog;
};

class PlainScene : public GameScene, public Quillmark::Core::Noncopyable
{
public:
    ~PlainScene() override = default;
};

// A scene that notes the hooks the loop gives it.
class HookScene : public GameScene, public Quillmark::Core::Noncopyable
{
public:
    explicit HookScene(Log& log) : mLog(log) {}
    ~HookScene() override = default;
    void OnSimulate() override { mLog.push_back("simulate"); }
    void OnClose() override { mLog.push_back("close"); }
    void OnOpen() override { mLog.push_back("open"); }

private:
    Log& mLog;
};

Log Frame(GameScene& scene, Log& log)
{
    log.clear();
    scene.OnSimulate();
    scene.OnUpdate(0.5f);
    scene.OnRender();
    return log;
}

}  // namespace

TEST(GameScene, ActiveGatesSimulationAndUpdateWhileVisibleGatesDrawing)
{
    Log log;
    LoggingEntity resting("resting", log);
    LoggingEntity hidden("hidden", log);
    LoggingEntity child("child", log);
    resting.SetActive(false);
    hidden.SetVisible(false);
    // The child of an inactive entity is not updated either (the gate is the parent's), but it is
    // drawn with its visible parent.
    resting.AddGraphic(&child);
    PlainScene scene;
    scene.AddEntity(resting);
    scene.AddEntity(hidden);

    EXPECT_EQ(Frame(scene, log),
              (Log{"hidden.simulate", "hidden.update 0.500000", "resting.render", "child.render"}));
}

TEST(GameScene, EntityAddedTwiceRunsTwiceAndGraphicsFollowTheEntities)
{
    Log log;
    LoggingEntity first("first", log);
    LoggingEntity second("second", log);
    LoggingGraphic overlay("overlay", log);
    PlainScene scene;
    // The graphic is added first, but a scene always draws its graphics after its entities.
    scene.AddGraphic(overlay);
    scene.AddEntity(first);
    scene.AddEntity(second);
    scene.AddEntity(first);

    EXPECT_EQ(Frame(scene, log),
              (Log{"first.simulate", "second.simulate", "first.simulate", "first.update 0.500000",
                   "second.update 0.500000", "first.update 0.500000", "overlay.update",
                   "first.render", "second.render", "first.render", "overlay.render"}));

    // A graphic added twice is removed by one call; the entities stay.
    scene.AddGraphic(overlay);
    scene.RemoveGraphic(overlay);
    log.clear();
    scene.OnRender();
    EXPECT_EQ(log, (Log{"first.render", "second.render", "first.render"}));
}

TEST(GameScene, DestructionLeavesEntitiesAndGraphicsAlive)
{
    Log log;
    LoggingEntity survivor("survivor", log);
    {
        PlainScene scene;
        scene.AddEntity(survivor);
        scene.AddGraphic(survivor);
    }
    // Still a whole entity: the scene neither deleted nor changed it.
    log.clear();
    survivor.Simulate();
    survivor.Render();
    EXPECT_EQ(log, (Log{"survivor.simulate", "survivor.render"}));
}

TEST(GameScene, DestroyedCurrentOrPendingSceneIsForgottenByTheLoop)
{
    Log log;
    HookScene staying(log);
    qmImplementation::currentScene = &staying;
    {
        HookScene leaving(log);
        qmImplementation::pendingScene = &leaving;
    }
    // The pending scene is gone, so the next frame has no scene change to make: the current
    // scene stays current and is neither closed nor opened again.
    EXPECT_EQ(qmImplementation::pendingScene, nullptr);
    qmImplementation::theGameApplicationHandler.StepScene(0.02f);
    EXPECT_EQ(qmImplementation::currentScene, &staying);
    EXPECT_EQ(log, Log{"simulate"});
    log.clear();

    {
        HookScene current(log);
        qmImplementation::currentScene = &current;
    }
    // Dropped without OnClose: the scene was already being destroyed.
    EXPECT_EQ(qmImplementation::currentScene, nullptr);
    EXPECT_EQ(log, Log{});

    // Other scenes leave the records alone.
    qmImplementation::currentScene = &staying;
    qmImplementation::pendingScene = &staying;
    {
        PlainScene unrelated;
    }
    EXPECT_EQ(qmImplementation::currentScene, &staying);
    EXPECT_EQ(qmImplementation::pendingScene, &staying);
    qmImplementation::pendingScene = nullptr;
}
