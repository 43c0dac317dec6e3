// SPDX-License-Identifier: Zlib
// Drawing N sprites through a GraphicList of Sprites against a bare loop that issues the same
// OpenGL calls for the same quads (immediate mode, one bind per sprite): the floor the framework
// can reach. Both paths run twice in every iteration, each pass ended by glFinish, in an order
// that cancels drift on a shared machine; the ratio is the figure that matters.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "quill_mark/game/implementation/qmi_drawing_2d.h"
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

struct PassTime
{
    double wall = 0.0;
    // CPU time of the whole process, the rasteriser's threads included: unlike the wall clock it
    // does not count the time a busy shared machine keeps the process waiting.
    double cpu = 0.0;
    PassTime operator+(const PassTime& other) const { return {wall + other.wall, cpu + other.cpu}; }
};

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <typename Draw>
PassTime TimePass(Draw&& draw)
{
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    draw();
    glFinish();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count(),
            cpu};
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
    qmImplementation::BeginDrawing2D();
    const auto framework = [&] { scene->list.Render(); };
    const auto bare = [&] { DrawBare(*scene); };
    TimePass(framework);  // warm both paths up before anything is counted
    TimePass(bare);

    std::vector<double> frameworkCpu, bareCpu, cpuRatios, wallRatios;
    for (auto _ : state)
    {
        // Framework, bare, bare, framework: a load that rises or falls during the iteration
        // weighs on both paths alike.
        const PassTime firstFramework = TimePass(framework);
        const PassTime bareTotal = TimePass(bare) + TimePass(bare);
        const PassTime frameworkTotal = firstFramework + TimePass(framework);
        frameworkCpu.push_back(frameworkTotal.cpu / 2.0);
        bareCpu.push_back(bareTotal.cpu / 2.0);
        cpuRatios.push_back(frameworkTotal.cpu / bareTotal.cpu);
        wallRatios.push_back(frameworkTotal.wall / bareTotal.wall);
        state.SetIterationTime(frameworkTotal.wall / 2.0);
    }
    qmImplementation::EndDrawing2D();
    // Medians: a neighbour's burst of work on a shared machine spoils single iterations, not
    // half of them. "ratio" is the CPU-time ratio; "wall_ratio" shows what the clock saw.
    state.counters["framework_cpu_ms"] = Median(frameworkCpu) * 1e3;
    state.counters["bare_cpu_ms"] = Median(bareCpu) * 1e3;
    state.counters["ratio"] = Median(cpuRatios);
    state.counters["wall_ratio"] = Median(wallRatios);
}

BENCHMARK(BM_SpriteDrawing)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
