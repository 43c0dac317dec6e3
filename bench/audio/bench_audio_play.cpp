// SPDX-License-Identifier: Zlib
// The cost of one play of a 1-second 16-bit mono sound through an audio event (PlayEvent, then
// the Update that releases it) against the bare sequence a play needs at the least: every play
// reads its samples from the file again, so the baseline opens the file, seeks to the samples and
// reads them, then generates a source and a buffer, fills the buffer, queues, plays, waits until
// stopped and deletes both.
//
// What is measured: OpenAL Soft's null backend (used here unless ALSOFT_DRIVERS names another)
// plays in real time, so waiting for the sound to end would time the sound's one second in both
// paths and compare nothing. Each iteration therefore starts the whole sound (all its samples
// uploaded) and stops its source at once, so "until stopped" and the release follow straight
// away: what remains is the work a play costs the program. The framework path also draws its
// volume and pitch and sets up its source; the ratio shows what the framework costs over the bare
// calls. Both paths run interleaved in each iteration.
#include <benchmark/benchmark.h>

#include <AL/al.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "quill_mark/audio/qm_audio_manager.h"
#include "support/wav_files.h"

namespace
{

using QuillmarkTest::Chunk;
using QuillmarkTest::Le;
using QuillmarkTest::TemporaryFolder;
using QuillmarkTest::Wav;

constexpr int kSampleRate = 44100;

// Runs before any static object, so the audio manager's device opens on the chosen backend.
__attribute__((constructor(101))) void ChooseSilentBackend()
{
    setenv("ALSOFT_DRIVERS", "null", 0);
}

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

// The play's source: the only one that exists between its start and its release.
ALuint FirstSource()
{
    for (ALuint id = 1; id <= 1024; ++id)
    {
        if (alIsSource(id) == AL_TRUE)
        {
            return id;
        }
    }
    return 0;
}

// Where the samples lie in the WAV file: the header has been read once, at load, as the
// framework does.
struct SampleLocation
{
    std::string filePath;
    long offset;
    std::size_t size;
};

void BarePlay(const SampleLocation& location)
{
    const std::unique_ptr<char[]> samples(new char[location.size]);
    std::FILE* const file = std::fopen(location.filePath.c_str(), "rb");
    if (file == nullptr || std::fseek(file, location.offset, SEEK_SET) != 0 ||
        std::fread(samples.get(), 1, location.size, file) != location.size)
    {
        std::abort();
    }
    std::fclose(file);
    ALuint source = 0;
    ALuint buffer = 0;
    alGenSources(1, &source);
    alGenBuffers(1, &buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, samples.get(), static_cast<ALsizei>(location.size),
                 kSampleRate);
    alSourceQueueBuffers(source, 1, &buffer);
    alSourcePlay(source);
    alSourceStop(source);
    ALint state = AL_PLAYING;
    while (state != AL_STOPPED)
    {
        alGetSourcei(source, AL_SOURCE_STATE, &state);
    }
    alDeleteSources(1, &source);
    alDeleteBuffers(1, &buffer);
}

// One second of a 441 Hz tone at 0.8 of full scale, as 16-bit little-endian samples.
std::string OneSecondTone()
{
    std::string samples;
    for (int i = 0; i < kSampleRate; ++i)
    {
        const double phase = 2.0 * M_PI * 441.0 * i / kSampleRate;
        samples += Le(static_cast<std::uint32_t>(std::lround(26214 * std::sin(phase))), 2);
    }
    return samples;
}

// The sound, its file and the event table, made once: the benchmark runs several times and a
// table name loads only once.
struct BenchSound
{
    BenchSound()
        : samples(OneSecondTone()),
          wavBytes(Wav(1, kSampleRate, 16, Chunk("data", samples)).size()),
          wav(folder.Write("tone.wav", Wav(1, kSampleRate, 16, Chunk("data", samples)))),
          table(folder.Write("events.json",
                             "{\"audio_events\": [{\"name\": \"tone\", \"file\": \"" + wav +
                                 "\", \"min_volume\": 0.5, \"max_volume\": 1.0, "
                                 "\"min_pitch\": 0.9, \"max_pitch\": 1.1}]}")),
          loaded(Quillmark::Audio::theAudioManager.LoadEventTable("bench", table))
    {
    }

    TemporaryFolder folder;
    std::string samples;
    std::size_t wavBytes;
    std::string wav;
    std::string table;
    bool loaded;
};

void BM_PlayAndRelease(benchmark::State& state)
{
    using Quillmark::Audio::theAudioManager;
    static const BenchSound sound;
    // The canonical header puts the samples at the end of the file.
    const SampleLocation location{
        sound.wav, static_cast<long>(sound.wavBytes - sound.samples.size()), sound.samples.size()};
    if (!sound.loaded)
    {
        state.SkipWithError("the event table did not load");
        return;
    }

    double frameworkSeconds = 0.0;
    double bareSeconds = 0.0;
    for (auto _ : state)
    {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        theAudioManager.PlayEvent("bench", "tone");
        alSourceStop(FirstSource());
        theAudioManager.Update();
        const Clock::time_point middle = Clock::now();
        BarePlay(location);
        const Clock::time_point end = Clock::now();
        frameworkSeconds += Seconds(middle - start);
        bareSeconds += Seconds(end - middle);
        state.SetIterationTime(Seconds(middle - start));
    }
    if (FirstSource() != 0)
    {
        state.SkipWithError("a play was not released");
    }

    const double plays = static_cast<double>(state.iterations());
    state.counters["framework_us"] = frameworkSeconds / plays * 1e6;
    state.counters["bare_us"] = bareSeconds / plays * 1e6;
    // Framework time over the time of the bare, file-reading play.
    state.counters["ratio"] = bareSeconds > 0.0 ? frameworkSeconds / bareSeconds : 0.0;
}

// A shared machine makes single runs noisy; the ratio is the median of fifteen runs.
BENCHMARK(BM_PlayAndRelease)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
