// SPDX-License-Identifier: Zlib
// The cost of one game-loop frame (4 fixed steps, the per-frame update and the render) for a scene
// of N sprite entities, against a bare loop over plain records that does the same arithmetic and
// issues the same OpenGL calls. Both run interleaved in each iteration, so machine load hits them
// alike, and each frame ends with glFinish, so each pays for its own drawing; the counters give
// microseconds per frame for each and their ratio (framework / bare).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <memory>
#include <vector>

#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/implementation/qmi_default_scene.h"
#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/game/qm_entity.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/game/qm_game_scene.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_texture_manager.h"
#include "quill_mark/platform/qmi_live_layer.h"

namespace
{

using Quillmark::Game::kFixedTimeStep;
using Quillmark::Graphics::Sprite;
using Quillmark::Graphics::SpriteFrame;

// A frame time that gives four steps per frame: 0.04 s leaves only a rounding remainder.
constexpr float kFrameTime = 0.04f;
constexpr float kWidth = 1280.0f;
constexpr float kHeight = 720.0f;
constexpr float kSpriteSize = 4.0f;

struct Motion
{
    float x, y, vx, vy;
};

Motion MotionOf(int index)
{
    const float x = static_cast<float>((index * 37) % 1280);
    const float y = static_cast<float>((index * 53) % 720);
    const float vx = static_cast<float>((index % 11) - 5) * 30.0f;
    const float vy = static_cast<float>((index % 7) - 3) * 30.0f;
    return {x, y, vx, vy};
}

// Moves at constant speed and wraps at the window's edges; shared by both loops.
inline void Step(float& x, float& y, float vx, float vy)
{
    x += vx * kFixedTimeStep;
    y += vy * kFixedTimeStep;
    x = x < 0.0f ? x + kWidth : (x >= kWidth ? x - kWidth : x);
    y = y < 0.0f ? y + kHeight : (y >= kHeight ? y - kHeight : y);
}

class MovingEntity : public Quillmark::Game::Entity
{
public:
    MovingEntity(const SpriteFrame& frame, const Motion& motion)
        : mSprite(frame), mVelocityX(motion.vx), mVelocityY(motion.vy)
    {
        SetPosition(motion.x, motion.y);
        AddGraphic(&mSprite);
    }
    ~MovingEntity() override { RemoveGraphic(&mSprite); }

    void OnSimulate() override
    {
        float x = GetPosition().x;
        float y = GetPosition().y;
        Step(x, y, mVelocityX, mVelocityY);
        SetPosition(x, y);
    }

private:
    Sprite mSprite;
    float mVelocityX;
    float mVelocityY;
};

class MovingScene : public Quillmark::Game::GameScene, public Quillmark::Core::Noncopyable
{
public:
    MovingScene(const SpriteFrame& frame, int count)
    {
        for (int index = 0; index < count; ++index)
        {
            mEntities.push_back(std::make_unique<MovingEntity>(frame, MotionOf(index)));
            AddEntity(*mEntities.back());
        }
    }
    ~MovingScene() override = default;

private:
    std::vector<std::unique_ptr<MovingEntity>> mEntities;
};

// The bare loop's record: the fields the framework's entity and sprite carry, in plain form.
struct BareSprite
{
    Motion motion;
    float depth = 0.0f;
    bool isActive = true;
    bool isVisible = true;
    float originX, originY, scaleX = 1.0f, scaleY = 1.0f, rotation = 0.0f;
    float red = 1.0f, green = 1.0f, blue = 1.0f, alpha = 1.0f;
};

class BareLoop
{
public:
    BareLoop(const SpriteFrame& frame, int count) : mFrame(frame)
    {
        for (int index = 0; index < count; ++index)
        {
            BareSprite sprite;
            sprite.motion = MotionOf(index);
            sprite.originX = frame.width * 0.5f;
            sprite.originY = frame.height * 0.5f;
            mSprites.push_back(sprite);
        }
    }

    void Frame(float frameTime)
    {
        mAccumulator += frameTime;
        for (int steps = 0; kFixedTimeStep < mAccumulator && steps < 5; ++steps)
        {
            for (BareSprite& sprite : mSprites)
            {
                if (sprite.isActive)
                {
                    Step(sprite.motion.x, sprite.motion.y, sprite.motion.vx, sprite.motion.vy);
                }
            }
            mAccumulator -= kFixedTimeStep;
        }
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Begin2D();
        for (const BareSprite& sprite : mSprites)
        {
            if (sprite.isVisible)
            {
                Draw(sprite);
            }
        }
        // The scene's own (empty) graphics list still moves the matrix.
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, 0.0f);
        glPopMatrix();
        End2D();
    }

private:
    static void Begin2D()
    {
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1] + viewport[3], viewport[1],
                -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.1f);
    }

    static void End2D()
    {
        glPopAttrib();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }

    void Draw(const BareSprite& sprite) const
    {
        // The entity's own list transform, then the sprite's quad.
        glPushMatrix();
        glTranslatef(sprite.motion.x, sprite.motion.y, sprite.depth);
        glBindTexture(GL_TEXTURE_2D, mFrame.texture);
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, 0.0f);
        glRotatef(sprite.rotation, 0.0f, 0.0f, 1.0f);
        glTranslatef(-(sprite.originX * sprite.scaleX), -(sprite.originY * sprite.scaleY), 0.0f);
        glScalef(sprite.scaleX, sprite.scaleY, 1.0f);
        glColor4f(sprite.red, sprite.green, sprite.blue, sprite.alpha);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(mFrame.uvLeft, mFrame.uvBottom);
        glVertex2f(0.0f, mFrame.height);
        glTexCoord2f(mFrame.uvLeft, mFrame.uvTop);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(mFrame.uvRight, mFrame.uvBottom);
        glVertex2f(mFrame.width, mFrame.height);
        glTexCoord2f(mFrame.uvRight, mFrame.uvTop);
        glVertex2f(mFrame.width, 0.0f);
        glEnd();
        glPopMatrix();
        glPopMatrix();
    }

    SpriteFrame mFrame;
    std::vector<BareSprite> mSprites;
    float mAccumulator = 0.0f;
};

SpriteFrame SpriteFrameOnLogo()
{
    const Quillmark::Graphics::TextureHandle texture =
        Quillmark::Graphics::theTextureManager.CreateTextureFromFileInMemory(
            qmImplementation::kLogoImage, qmImplementation::kLogoImageSize);
    // A small opaque patch of the logo's ring, so every sprite passes the alpha test.
    return Quillmark::Graphics::CreateSpriteFrame(texture, 30, 110, kSpriteSize, kSpriteSize);
}

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

void BM_GameFrame(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const SpriteFrame frame = SpriteFrameOnLogo();
    MovingScene scene(frame, count);
    BareLoop bare(frame, count);
    qmImplementation::currentScene = &scene;
    qmImplementation::GameApplicationHandler& handler = qmImplementation::theGameApplicationHandler;

    double frameworkSeconds = 0.0;
    double bareSeconds = 0.0;
    for (auto _ : state)
    {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        handler.StepScene(kFrameTime);
        glFinish();
        const Clock::time_point middle = Clock::now();
        bare.Frame(kFrameTime);
        glFinish();
        const Clock::time_point end = Clock::now();
        frameworkSeconds += Seconds(middle - start);
        bareSeconds += Seconds(end - middle);
        state.SetIterationTime(Seconds(middle - start));
    }
    qmImplementation::currentScene = nullptr;

    const double frames = static_cast<double>(state.iterations());
    state.counters["framework_us"] = frameworkSeconds / frames * 1e6;
    state.counters["bare_us"] = bareSeconds / frames * 1e6;
    state.counters["ratio"] = bareSeconds > 0.0 ? frameworkSeconds / bareSeconds : 0.0;
}

BENCHMARK(BM_GameFrame)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    // The window and its OpenGL context live for the whole run, on the desktop's own layer.
    qmSeam::UseLayer(qmImplementation::LiveLayer());
    Quillmark::Game::GameApplication application;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
