// SPDX-License-Identifier: Zlib
// ParseJson (text in memory to DynamicStructure) against nlohmann::json, RapidJSON's DOM and, as
// the distant mark, simdjson's DOM on generated documents shaped like the framework's data files:
// sprite sheets of about 4 and 8 MB and an audio event table. Every side builds and destroys its
// whole tree in every iteration; simdjson reuses its parser, as it is meant to be used.
#include <benchmark/benchmark.h>

#include <time.h>

#include <rapidjson/document.h>
#include <simdjson.h>
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

void ParseWithRapidJson(const std::string& text)
{
    rapidjson::Document value;
    value.Parse(text.c_str(), text.size());
    benchmark::DoNotOptimize(value);
}

// simdjson reads past the end of its input, so it gets a padded copy made once per document.
void ParseWithSimdjson(const std::string& text)
{
    static simdjson::dom::parser parser;
    static const std::string* padded_for = nullptr;
    static simdjson::padded_string padded;
    if (padded_for != &text)
    {
        padded = simdjson::padded_string(text);
        padded_for = &text;
    }
    simdjson::dom::element value;
    benchmark::DoNotOptimize(parser.parse(padded).get(value));
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

void BM_RapidJsonParse(benchmark::State& state, int which)
{
    const std::string& text = Document(which);
    for (auto _ : state)
    {
        ParseWithRapidJson(text);
    }
    SetThroughput(state, text);
}

void BM_SimdjsonParse(benchmark::State& state, int which)
{
    const std::string& text = Document(which);
    for (auto _ : state)
    {
        ParseWithSimdjson(text);
    }
    SetThroughput(state, text);
}

// All parsers alternate in one loop, so the ratios compare them under the same conditions.
void BM_Comparison(benchmark::State& state, int which)
{
    const std::string& text = Document(which);
    double ours = 0.0;
    double nlohmann = 0.0;
    double rapid = 0.0;
    double simd = 0.0;
    for (auto _ : state)
    {
        ours += SecondsOf(ParseWithQuillmark, text);
        nlohmann += SecondsOf(ParseWithNlohmann, text);
        rapid += SecondsOf(ParseWithRapidJson, text);
        simd += SecondsOf(ParseWithSimdjson, text);
    }
    const double megabytes = static_cast<double>(text.size()) * state.iterations() / 1e6;
    state.counters["quillmark_MBps"] = megabytes / ours;
    state.counters["nlohmann_MBps"] = megabytes / nlohmann;
    state.counters["rapidjson_MBps"] = megabytes / rapid;
    state.counters["simdjson_MBps"] = megabytes / simd;
    // Our throughput over theirs: above 1 we are faster.
    state.counters["ratio_nlohmann"] = nlohmann / ours;
    state.counters["ratio_rapidjson"] = rapid / ours;
    state.counters["ratio_simdjson"] = simd / ours;
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

#define QM_SINGLE_PARSER(function)                                              \
    BENCHMARK_CAPTURE(function, sprites_4mb, 0)->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(function, sprites_8mb, 1)->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(function, events, 2)->Unit(benchmark::kMillisecond)
QM_SINGLE_PARSER(BM_QuillmarkParseJson);
QM_SINGLE_PARSER(BM_NlohmannParse);
QM_SINGLE_PARSER(BM_RapidJsonParse);
QM_SINGLE_PARSER(BM_SimdjsonParse);
// The ratios are the figures that matter; a shared machine makes single runs noisy, so these
// report the median of fifteen runs.
BENCHMARK_CAPTURE(BM_Comparison, sprites_4mb, 0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Comparison, sprites_8mb, 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Comparison, events, 2)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Scaling)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
