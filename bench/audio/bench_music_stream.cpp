// SPDX-License-Identifier: Zlib
// A 10-minute 44.1 kHz stereo Ogg Vorbis track streamed through Music's buffer queue from start
// to end, against the baseline of stb_vorbis decoding the whole file into memory in one call.
//
// The stream runs on OpenAL Soft's loopback device, which mixes only when asked, so the 10
// minutes go by as fast as the stream can be fed: after every 0.1 s of audio is mixed, the audio
// manager's Update services the stream (its decoding and buffer uploads are what is timed; the
// mixing is not). Reported per iteration:
//   decoded_peak_bytes  the most decoded audio the stream held at once (queued buffers + block);
//   heap_peak_bytes     the most the process heap grew while streaming, decoder memory and
//                       OpenAL's buffer storage included;
//   ns_per_audio_second the time per second of audio, for both paths; their ratio is the cost of
//                       streaming over whole-file decoding.
// The track is made once with oggenc (vorbis-tools) in the build folder and kept there.
#include <benchmark/benchmark.h>

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <malloc.h>
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "quill_mark/audio/implementation/qmi_music_stream.h"
#include "quill_mark/audio/qm_audio_manager.h"

namespace
{

constexpr int kRate = 44100;
constexpr int kSeconds = 600;
constexpr int kMixFrames = kRate / 10;

__attribute__((constructor(101))) void ChooseSilentBackend()
{
    setenv("ALSOFT_DRIVERS", "null", 0);
}

// Two slowly drifting tones with a little noise, so the encoder has real work on every block.
std::string Track()
{
    const std::string path = std::string(QM_BENCH_DATA_DIR) + "/ten_minutes.ogg";
    if (std::filesystem::exists(path))
        return path;
    const std::string command = "oggenc -Q -r -B 16 -C 2 -R 44100 -q 4 -o '" + path + "' -";
    FILE* encoder = popen(command.c_str(), "w");
    std::vector<std::int16_t> block(2 * kRate);
    std::uint32_t noise = 1;
    for (int second = 0; second < kSeconds && encoder != nullptr; ++second)
    {
        for (int i = 0; i < kRate; ++i)
        {
            const double t = second + double(i) / kRate;
            noise = noise * 1664525u + 1013904223u;
            const double grain = double(noise >> 20) / 4096.0 - 0.5;
            block[2 * std::size_t(i)] =
                std::int16_t(9000 * std::sin(2 * M_PI * (220 + t) * t) + 600 * grain);
            block[2 * std::size_t(i) + 1] =
                std::int16_t(9000 * std::sin(2 * M_PI * (330 - t / 4) * t));
        }
        std::fwrite(block.data(), sizeof(std::int16_t), block.size(), encoder);
    }
    if (encoder == nullptr || pclose(encoder) != 0)
        std::fprintf(stderr, "bench_music_stream: oggenc (vorbis-tools) made no track\n");
    return path;
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

void StreamWholeTrack(benchmark::State& state)
{
    const std::string path = Track();
    ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT,
                                 ALC_FREQUENCY,
                                 kRate,
                                 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    ALCcontext* previous = alcGetCurrentContext();
    alcMakeContextCurrent(context);
    std::vector<std::int16_t> mix(2 * kMixFrames);
    std::size_t decodedPeak = 0, heapPeak = 0;
    for (auto _ : state)
    {
        const std::size_t heapBefore = HeapInUse();
        qmImplementation::MusicStream stream(path);
        stream.Play();
        while (stream.GetState() == qmImplementation::MusicStream::State::kPlaying)
        {
            state.PauseTiming();
            alcRenderSamplesSOFT(device, mix.data(), kMixFrames);
            decodedPeak = std::max(decodedPeak, stream.GetDecodedBytesHeld());
            heapPeak = std::max(heapPeak, HeapInUse() - std::min(HeapInUse(), heapBefore));
            state.ResumeTiming();
            Quillmark::Audio::theAudioManager.Update();
        }
    }
    alcMakeContextCurrent(previous);
    alcDestroyContext(context);
    alcCloseDevice(device);
    state.counters["decoded_peak_bytes"] = double(decodedPeak);
    state.counters["heap_peak_bytes"] = double(heapPeak);
    state.counters["ns_per_audio_second"] =
        benchmark::Counter(double(kSeconds) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void DecodeWholeFileInMemory(benchmark::State& state)
{
    const std::string path = Track();
    std::size_t held = 0;
    for (auto _ : state)
    {
        int channels = 0, rate = 0;
        short* samples = nullptr;
        const int frames = stb_vorbis_decode_filename(path.c_str(), &channels, &rate, &samples);
        held = std::size_t(std::max(frames, 0)) * std::size_t(channels) * sizeof(short);
        benchmark::DoNotOptimize(samples);
        std::free(samples);
    }
    state.counters["decoded_peak_bytes"] = double(held);
    state.counters["ns_per_audio_second"] =
        benchmark::Counter(double(kSeconds) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(StreamWholeTrack)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);
BENCHMARK(DecodeWholeFileInMemory)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

BENCHMARK_MAIN();
