// SPDX-License-Identifier: Zlib
// The base of every scene the game loop runs: it holds entities, which it simulates in fixed
// steps, updates once per frame and draws, and a list of plain graphics drawn after them.
// A scene owns neither its entities nor its graphics; there is no way to remove an entity.
#pragma once

#include <list>

#include "quill_mark/graphics/qm_graphic_list.h"

namespace qmImplementation
{
class GameApplicationHandler;
}

namespace Quillmark::Game
{

class Entity;

class GameScene
{
public:
    GameScene();
    // Abstract, but with a body: a scene that is current or pending when it is destroyed stops
    // being so, and the loop falls back to the default scene instead of using a freed scene.
    virtual ~GameScene() = 0;

    // One fixed step: Simulate on every entity, in the order they were added.
    virtual void OnSimulate();
    // Update on every entity, then on the scene's graphics. The frame time is in seconds, at most
    // kMaximumFrameTime.
    virtual void OnUpdate(float frameTime);
    // Render on every entity, then on the scene's graphics, so the graphics draw on top at equal
    // depth.
    virtual void OnRender();
    // Empties the time accumulator, so a scene that is opened again starts without a backlog.
    virtual void OnOpen();
    virtual void OnClose();

    // Appended without a check for duplicates: an entity added twice runs twice.
    void AddEntity(Entity& entity);
    void AddGraphic(Graphics::Graphic& graphic);
    // Removes every occurrence of the graphic.
    void RemoveGraphic(Graphics::Graphic& graphic);

    // Seconds of frame time not yet simulated.
    float GetTimeAccumulator() const { return mTimeAccumulator; }
    // In the order they were added; for looking at the simulation, not for changing the list.
    const std::list<Entity*>& GetEntities() const { return mEntities; }

private:
    // The game loop moves frame time into the accumulator and steps it out again.
    friend class qmImplementation::GameApplicationHandler;

    float mTimeAccumulator = 0.0f;
    Graphics::GraphicList mGraphics;
    std::list<Entity*> mEntities;
};

}  // namespace Quillmark::Game
