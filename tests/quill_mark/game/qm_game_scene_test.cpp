// SPDX-License-Identifier: Zlib
// Scenes and entities: which entities are simulated, updated and drawn, and the order of entities
// and graphics. No OpenGL context is needed.
#include "quill_mark/game/qm_game_scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/qm_entity.h"

using Log = std::vector<std::string>;

namespace
{

Log trace;

class LoggingEntity : public Quillmark::Game::Entity
{
public:
    explicit LoggingEntity(std::string name) : mName(std::move(name)) {}
    void OnSimulate() override { trace.push_back(mName + ".simulate"); }
    void OnUpdate(float) override { trace.push_back(mName + ".update"); }
    void OnRender() override
    {
        trace.push_back(mName + ".render");
        Entity::OnRender();
    }

private:
    std::string mName;
};

struct Scene : Quillmark::Game::GameScene, Quillmark::Core::Noncopyable
{
};

}  // namespace

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
