// SPDX-License-Identifier: Zlib
// Loading a generated sprite sheet of 20,000 sprites and 1,000 animations (name lists, grid
// ranges and grid index lists) into a fresh manager, against parsing the same file alone: the
// floor the loader can reach, since it parses first. Both run in every iteration, in alternating
// order, so drift on a shared machine hits both alike; the ratio is the figure that matters.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "quill_mark/core/qm_json_parser.h"
#include "quill_mark/graphics/qm_sprite_manager.h"
#include "support/gl_test_context.h"
#include "support/png_writer.h"

using namespace Quillmark::Graphics;

namespace
{

constexpr int kSpriteCount = 20000;
constexpr int kAnimationCount = 1000;
constexpr int kTextureSize = 1024;
constexpr int kFrameSize = 8;
constexpr int kCellsPerRow = kTextureSize / kFrameSize;

std::string SpriteName(int index)
{
    return "sprite_" + std::to_string(index);
}

std::string GenerateSprites()
{
    std::string text;
    for (int i = 0; i < kSpriteCount; ++i)
    {
        const int cell = i % (kCellsPerRow * kCellsPerRow);
        text += std::string(i == 0 ? "" : ",\n") + "{\"name\": \"" + SpriteName(i) +
                "\", \"x\": " + std::to_string(cell % kCellsPerRow * kFrameSize) +
                ", \"y\": " + std::to_string(cell / kCellsPerRow * kFrameSize) +
                (i % 10 == 0 ? ", \"animations\": [\"" + SpriteName(i) + "\"]" : "") + "}";
    }
    return text;
}

// A third each of name lists (8 frames), grid ranges (16 frames) and grid index lists (8 frames).
std::string GenerateAnimations()
{
    std::string text;
    for (int i = 0; i < kAnimationCount; ++i)
    {
        std::string frames;
        if (i % 3 == 0)
        {
            for (int k = 0; k < 8; ++k)
            {
                frames += std::string(k == 0 ? "[" : ", ") + "\"" +
                          SpriteName((i * 8 + k) % kSpriteCount) + "\"";
            }
            frames += "]";
        }
        else if (i % 3 == 1)
        {
            frames = "{\"width\": 8, \"height\": 8, \"start\": " + std::to_string(i * 16) +
                     ", \"count\": 16}";
        }
        else
        {
            frames = "{\"width\": 16, \"height\": 16, \"locationY\": 512, \"frames\": [" +
                     std::to_string(i) + ", 1, 2, 3, 4, 5, 6, 7]}";
        }
        text += std::string(i == 0 ? "" : ",\n") + "{\"name\": \"animation_" + std::to_string(i) +
                "\", \"frames\": " + frames + "}";
    }
    return text;
}

// The sheet and its texture in a private folder, made once per run.
std::string WriteSheet()
{
    std::string folder =
        (std::filesystem::temp_directory_path() / "quillmark_bench_sheet_XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr)
    {
        return "";
    }
    const std::string texture = folder + "/sheet.png";
    QuillmarkTest::WritePngFile(texture, kTextureSize, kTextureSize, 4,
                                QuillmarkTest::SolidRgba(kTextureSize, kTextureSize, 0xFFFFFFFF));
    const std::string path = folder + "/sheet.json";
    std::ofstream(path) << "{\"texture\": \"" << texture << "\", \"sprite_width\": " << kFrameSize
                        << ", \"sprite_height\": " << kFrameSize << ",\n\"sprites\": [\n"
                        << GenerateSprites() << "],\n\"animations\": [\n"
                        << GenerateAnimations() << "]}\n";
    return path;
}

template <typename Work>
double SecondsFor(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SpriteSheetLoad(benchmark::State& state)
{
    static QuillmarkTest::GlTestContext context;
    static const std::string path = WriteSheet();
    if (!context.IsValid() || path.empty())
    {
        state.SkipWithError("no OpenGL context or no temporary folder");
        return;
    }
    bool loaded = true;
    const auto load = [&]
    {
        SpriteManager manager;
        loaded = manager.LoadSpriteSheetFromFile("bench", path) && loaded;
        benchmark::DoNotOptimize(manager.GetSpriteSheet("bench").GetAnimations().size());
    };
    const auto parse = [&]
    { benchmark::DoNotOptimize(Quillmark::Core::LoadJsonFile(path).Size()); };
    SecondsFor(load);  // the texture is decoded once, here, and shared afterwards

    double loadSeconds = 0.0;
    double parseSeconds = 0.0;
    bool loadFirst = true;
    for (auto _ : state)
    {
        double loadTime = 0.0;
        if (loadFirst)
        {
            loadTime = SecondsFor(load);
            parseSeconds += SecondsFor(parse);
        }
        else
        {
            parseSeconds += SecondsFor(parse);
            loadTime = SecondsFor(load);
        }
        loadFirst = !loadFirst;
        loadSeconds += loadTime;
        state.SetIterationTime(loadTime);
    }
    if (!loaded)
    {
        state.SkipWithError("the generated sheet did not load");
        return;
    }
    const double iterations = double(state.iterations());
    state.counters["load_ms"] = loadSeconds / iterations * 1e3;
    state.counters["parse_ms"] = parseSeconds / iterations * 1e3;
    state.counters["ratio"] = loadSeconds / parseSeconds;
    state.counters["sprites_per_second"] = kSpriteCount * iterations / loadSeconds;
}

BENCHMARK(BM_SpriteSheetLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
