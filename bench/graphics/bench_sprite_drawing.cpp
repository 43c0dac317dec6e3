// Drawing N sprites through a GraphicList of Sprites against a bare loop that issues the same
// OpenGL calls for the same quads (immediate mode, one bind per sprite): the floor the framework
// can reach. Both paths run in every iteration, in alternating order, each ended by glFinish, so
// drift on a shared machine hits both alike; the ratio is the figure that matters.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "quill_mark/graphics/qm_graphic_list.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "support/gl_test_context.h"
#include "support/png_writer.h"

using namespace Quillmark::Graphics;

namespace
{

// Everything the bare loop needs for one quad, worked out once, as the framework does.
struct BareQuad
{
    GLuint texture;
    float x, y, depth, rotation, originX, originY, scaleX, scaleY;
    float red, green, blue, alpha;
    SpriteFrame frame;
};

struct Scene
{
    GraphicList list;
    std::vector<Sprite> sprites;
    std::vector<BareQuad> quads;
};

std::unique_ptr<Scene> MakeScene(int count, TextureHandle texture)
{
    auto scene = std::make_unique<Scene>();
    const SpriteFrame frame = CreateSpriteFrame(texture, 0, 0, 16, 16);
    scene->sprites.reserve(count);
    for (int i = 0; i < count; ++i)
    {
        Sprite sprite(frame);
        sprite.SetPosition(float((i * 97) % 1264 + 8), float((i * 61) % 704 + 8));
        sprite.SetColor(Color(0xFF000000u | (0x10203u * i & 0xFFFFFFu)));
        sprite.SetRotation(float(i % 360));
        scene->sprites.push_back(sprite);
    }
    for (Sprite& sprite : scene->sprites)
    {
        scene->list.AddGraphic(&sprite);
        const Color& c = sprite.GetColor();
        scene->quads.push_back({texture, sprite.GetPosition().x, sprite.GetPosition().y,
                                sprite.GetDepth(), sprite.GetRotation(), sprite.GetOrigin().x,
                                sprite.GetOrigin().y, sprite.GetScale().x, sprite.GetScale().y,
                                c.GetRed(), c.GetGreen(), c.GetBlue(), c.GetAlpha(), frame});
    }
    return scene;
}

void DrawBare(const Scene& scene)
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 0.0f);  // the list's own position and depth
    for (const BareQuad& q : scene.quads)
    {
        glBindTexture(GL_TEXTURE_2D, q.texture);
        glPushMatrix();
        glTranslatef(q.x, q.y, q.depth);
        glRotatef(q.rotation, 0.0f, 0.0f, 1.0f);
        glTranslatef(-(q.originX * q.scaleX), -(q.originY * q.scaleY), 0.0f);
        glScalef(q.scaleX, q.scaleY, 1.0f);
        glColor4f(q.red, q.green, q.blue, q.alpha);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(q.frame.uvLeft, q.frame.uvBottom);
        glVertex2f(0.0f, q.frame.height);
        glTexCoord2f(q.frame.uvLeft, q.frame.uvTop);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(q.frame.uvRight, q.frame.uvBottom);
        glVertex2f(q.frame.width, q.frame.height);
        glTexCoord2f(q.frame.uvRight, q.frame.uvTop);
        glVertex2f(q.frame.width, 0.0f);
        glEnd();
        glPopMatrix();
    }
    glPopMatrix();
}

template <typename Draw>
double SecondsFor(Draw&& draw)
{
    const auto start = std::chrono::steady_clock::now();
    draw();
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

TextureHandle MakeTexture()
{
    const std::vector<std::uint8_t> png =
        QuillmarkTest::EncodePng(16, 16, 4, QuillmarkTest::SolidRgba(16, 16, 0xFFFFFFFFu));
    return theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
}

void BM_SpriteDrawing(benchmark::State& state)
{
    static QuillmarkTest::GlTestContext context;
    if (!context.IsValid())
    {
        state.SkipWithError("no OpenGL context");
        return;
    }
    static const TextureHandle texture = MakeTexture();
    const std::unique_ptr<Scene> scene = MakeScene(int(state.range(0)), texture);
    QuillmarkTest::Begin2DDrawing();
    const auto framework = [&] { scene->list.Render(); };
    const auto bare = [&] { DrawBare(*scene); };
    SecondsFor(framework);  // warm both paths up before anything is counted
    SecondsFor(bare);

    std::vector<double> frameworkTimes, bareTimes, pairRatios;
    bool frameworkFirst = true;
    for (auto _ : state)
    {
        double frameworkTime = 0.0;
        double bareTime = 0.0;
        if (frameworkFirst)
        {
            frameworkTime = SecondsFor(framework);
            bareTime = SecondsFor(bare);
        }
        else
        {
            bareTime = SecondsFor(bare);
            frameworkTime = SecondsFor(framework);
        }
        frameworkFirst = !frameworkFirst;
        frameworkTimes.push_back(frameworkTime);
        bareTimes.push_back(bareTime);
        pairRatios.push_back(frameworkTime / bareTime);
        state.SetIterationTime(frameworkTime);
    }
    QuillmarkTest::End2DDrawing();
    // Medians: a neighbour's burst of work on a shared machine spoils single passes, not halves.
    // The ratio is taken per pair of neighbouring passes, which share whatever load there was.
    state.counters["framework_ms"] = Median(frameworkTimes) * 1e3;
    state.counters["bare_ms"] = Median(bareTimes) * 1e3;
    state.counters["ratio"] = Median(pairRatios);
}

BENCHMARK(BM_SpriteDrawing)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
