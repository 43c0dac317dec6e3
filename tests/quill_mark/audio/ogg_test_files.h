// SPDX-License-Identifier: Zlib
// Test support for the music suites: Ogg Vorbis files made at test time with oggenc from WAV files
// built here, and the whole file decoded with stb_vorbis in one call as the reference.
#pragma once

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio_test_files.h"

// A 16-bit mono 22050 Hz sweep from 300 to 900 Hz at 0.6 of full scale: never silent for long,
// and no stretch of it repeats, so a stretch of a capture says where in the track it comes from.
inline std::string SweepFile(double seconds)
{
    std::string samples;
    const int count = static_cast<int>(seconds * 22050);
    for (int i = 0; i < count; ++i)
    {
        const double t = i / 22050.0;
        const double phase = 2 * M_PI * (300 * t + 300 * t * t / seconds);
        samples += Le(static_cast<std::uint32_t>(std::lround(19660 * std::sin(phase) + 3000)), 2);
    }
    return Wav(1, 22050, 16, Chunk("data", samples));
}

// That sweep encoded by oggenc beside its WAV file; empty, and the test failed, when oggenc failed.
inline std::string SweepTrack(const TemporaryFolder& folder, const std::string& name,
                              double seconds)
{
    const std::string wavPath = folder.Write(name + ".wav", SweepFile(seconds)),
                      oggPath = folder.File(name + ".ogg");
    const std::string command = "oggenc -Q -q 4 -o '" + oggPath + "' '" + wavPath + "'";
    if (std::system(command.c_str()) == 0)
        return oggPath;
    ADD_FAILURE() << "needs oggenc (vorbis-tools)";
    return "";
}

inline std::vector<std::int16_t> DecodeWhole(const std::string& oggPath)
{
    int channels = 0, rate = 0;
    short* output = nullptr;
    const int frames = stb_vorbis_decode_filename(oggPath.c_str(), &channels, &rate, &output);
    std::vector<std::int16_t> samples;
    if (frames > 0)
        samples.assign(output, output + frames * channels);
    std::free(output);
    return samples;
}
