// SPDX-License-Identifier: Zlib
// Test support: WAV files built byte by byte (malformed on purpose when wanted), for the audio
// tests and the audio benchmark. tests/support/captured_sound.h reads audio back.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "support/temporary_folder.h"

namespace QuillmarkTest
{

inline std::string Le(std::uint32_t value, int bytes)
{
    const char raw[] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    return std::string(raw, static_cast<std::size_t>(bytes));
}

inline std::string Chunk(const char* id, const std::string& payload, std::int64_t size = -1)
{
    return id + Le(static_cast<std::uint32_t>(size < 0 ? payload.size() : size), 4) + payload;
}

// A RIFF file (its size left 0: the reader never uses it) with a PCM format chunk, then `rest`.
inline std::string Wav(int channels, int rate, int bits, const std::string& rest)
{
    const int align = channels * bits / 8;
    return std::string("RIFF\0\0\0\0WAVE", 12) +
           Chunk("fmt ", Le(1, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) +
                             Le(align, 2) + Le(bits, 2)) +
           rest;
}

// A 16-bit mono 441 Hz tone at 22050 Hz (50 samples a period) and 0.8 of full scale, in pieces
// of the given seconds, sounding and silent by turns, sounding first.
inline std::string Beeps(std::initializer_list<double> pieces)
{
    std::string samples;
    bool sounding = true;
    for (const double seconds : pieces)
    {
        for (int i = 0; i < static_cast<int>(seconds * 22050); ++i)
            samples +=
                Le(sounding ? std::uint32_t(std::lround(26214 * std::sin(M_PI * i / 25))) : 0, 2);
        sounding = !sounding;
    }
    return Wav(1, 22050, 16, Chunk("data", samples));
}

inline std::string ToneFile(double seconds)
{
    return Beeps({seconds});
}

}  // namespace QuillmarkTest
