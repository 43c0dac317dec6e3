// ParseJson (text in memory to DynamicStructure) against nlohmann::json::parse on generated
// documents shaped like the framework's data files: sprite sheets of about 4 and 8 MB and an
// audio event table. Both sides build and destroy their whole tree in every iteration.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "quill_mark/core/qm_json_parser.h"

namespace
{

// A pretty-printed sprite sheet: about 150 bytes per sprite, each with a few animation names.
std::string MakeSpriteSheet(int spriteCount)
{
    std::string text =
        "{\n    \"texture\": \"data/sprites/characters.png\",\n"
        "    \"sprite_width\": 32,\n    \"sprite_height\": 48,\n"
        "    \"sprites\": [\n";
    char line[512];
    for (int index = 0; index < spriteCount; ++index)
    {
        std::snprintf(line, sizeof(line),
                      "        {\n            \"name\": \"hero_frame_%06d\",\n"
                      "            \"x\": %d, \"y\": %d, \"width\": 32, \"height\": 48,\n"
                      "            \"animations\": [\"walk_%d\", \"run_%d\", \"idle_%d\"]\n"
                      "        }%s\n",
                      index, (index * 32) % 4096, (index / 128) * 48 % 4096, index % 97, index % 89,
                      index % 83, index + 1 < spriteCount ? "," : "");
        text += line;
    }
    text +=
        "    ],\n    \"animations\": [\n"
        "        {\"name\": \"walk\", \"frames\": [\"hero_frame_000000\", "
        "\"hero_frame_000001\"]}\n    ]\n}\n";
    return text;
}

// An audio event table: events with several sounds and float volume and pitch ranges. Arrays
// hold one kind only, as mixed arrays would add a report per element to the reader's side.
std::string MakeEventTable(int eventCount)
{
    std::string text = "{\n  \"audio_events\": [\n";
    char line[768];
    for (int index = 0; index < eventCount; ++index)
    {
        std::snprintf(line, sizeof(line),
                      "    {\"name\": \"event_%05d\", \"looping\": %s, \"volume\": 0.%d,"
                      " \"min_volume\": 0.75, \"max_volume\": 1.0, \"pitch\": 1.0,"
                      " \"min_pitch\": 0.9%d, \"max_pitch\": 1.1%d,\n"
                      "     \"file\": [{\"name\": \"data/audio/event_%05d_a.wav\"}, {\"name\": "
                      "\"data/audio/event_%05d_b.wav\", \"volume\": 0.5, \"pitch\": 1.25e0}]}%s\n",
                      index, index % 7 == 0 ? "true" : "false", index % 10, index % 10, index % 10,
                      index, index, index + 1 < eventCount ? "," : "");
        text += line;
    }
    text += "  ]\n}\n";
    return text;
}

const std::string& Document(int which)
{
    static const std::string sprites4 = MakeSpriteSheet(22500);
    static const std::string sprites8 = MakeSpriteSheet(45000);
    static const std::string events = MakeEventTable(12000);
    switch (which)
    {
        case 0:
            return sprites4;
        case 1:
            return sprites8;
        default:
            return events;
    }
}

// Processor time of this thread: the machine is shared, and wall time would charge one side for
// whatever else ran meanwhile.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double SecondsOf(void (*parse)(const std::string&), const std::string& text)
{
    const double start = ThreadSeconds();
    parse(text);
    return ThreadSeconds() - start;
}

void ParseWithQuillmark(const std::string& text)
{
    Quillmark::Core::DynamicStructure value = Quillmark::Core::ParseJson(text);
    benchmark::DoNotOptimize(value);
}

void ParseWithNlohmann(const std::string& text)
{
    nlohmann::json value = nlohmann::json::parse(text);
    benchmark::DoNotOptimize(value);
}

void SetThroughput(benchmark::State& state, const std::string& text)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["document_MB"] = static_cast<double>(text.size()) / 1e6;
}

void BM_QuillmarkParseJson(benchmark::State& state, int which)
{
    const std::string& text = Document(which);
    for (auto _ : state)
    {
        ParseWithQuillmark(text);
    }
    SetThroughput(state, text);
}

void BM_NlohmannParse(benchmark::State& state, int which)
{
    const std::string& text = Document(which);
    for (auto _ : state)
    {
        ParseWithNlohmann(text);
    }
    SetThroughput(state, text);
}

// Both parsers alternate in one loop, so the ratio compares them under the same conditions.
void BM_Comparison(benchmark::State& state, int which)
{
    const std::string& text = Document(which);
    double ours = 0.0;
    double theirs = 0.0;
    for (auto _ : state)
    {
        ours += SecondsOf(ParseWithQuillmark, text);
        theirs += SecondsOf(ParseWithNlohmann, text);
    }
    const double megabytes = static_cast<double>(text.size()) * state.iterations() / 1e6;
    state.counters["quillmark_MBps"] = megabytes / ours;
    state.counters["nlohmann_MBps"] = megabytes / theirs;
    state.counters["throughput_ratio"] = theirs / ours;
}

// The reader is linear for bounded nesting: twice the document, about twice the time.
void BM_Scaling(benchmark::State& state)
{
    double small = 0.0;
    double large = 0.0;
    for (auto _ : state)
    {
        small += SecondsOf(ParseWithQuillmark, Document(0));
        large += SecondsOf(ParseWithQuillmark, Document(1));
    }
    state.counters["time_8mb_over_4mb"] = large / small;
}

}  // namespace

BENCHMARK_CAPTURE(BM_QuillmarkParseJson, sprites_4mb, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NlohmannParse, sprites_4mb, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuillmarkParseJson, sprites_8mb, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NlohmannParse, sprites_8mb, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuillmarkParseJson, events, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NlohmannParse, events, 2)->Unit(benchmark::kMillisecond);
// The ratios are the figures that matter; a shared machine makes single runs noisy, so these run
// longer and report the median of several runs.
BENCHMARK_CAPTURE(BM_Comparison, sprites_4mb, 0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Comparison, sprites_8mb, 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Comparison, events, 2)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Scaling)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
