// Test support for the audio suites: WAV files built byte by byte (so malformed ones can be made
// on purpose) and a private temporary folder per test that is removed afterwards.
#pragma once

#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace QuillmarkTest
{

// Builds a RIFF/WAVE byte string chunk by chunk. Sizes are written as given, so a chunk can claim
// more than it holds; the RIFF size is left 0, as the reader never uses it.
class WavBuilder
{
public:
    explicit WavBuilder(const char* form = "WAVE")
    {
        bytes = std::string("RIFF\0\0\0\0", 8) + form;
    }

    // The basic 16-byte format chunk plus `extra` zero bytes (the 18-byte form has 2).
    WavBuilder& Format(int channels, int rate, int bits, int audioFormat = 1, int extra = 0)
    {
        const int blockAlign = channels * (bits / 8);
        bytes += "fmt ";
        U32(16 + extra);
        U16(audioFormat).U16(channels).U32(rate).U32(rate * blockAlign).U16(blockAlign).U16(bits);
        bytes.append(static_cast<std::size_t>(extra), '\0');
        return *this;
    }

    // The 40-byte extensible form; its sub-format is plain PCM unless another code is given.
    WavBuilder& ExtensibleFormat(int channels, int rate, int bits, int subFormat = 1)
    {
        Format(channels, rate, bits, 0xFFFE, 24);
        bytes.replace(bytes.size() - 24, 4, std::string("\x16\0\0\0", 4));
        bytes.replace(bytes.size() - 16, 16,
                      std::string("\0\0\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 16));
        bytes[bytes.size() - 16] = static_cast<char>(subFormat);
        return *this;
    }

    WavBuilder& Chunk(const char* id, const std::string& payload)
    {
        return Chunk(id, payload, payload.size());
    }

    WavBuilder& Chunk(const char* id, const std::string& payload, std::uint64_t size)
    {
        bytes += id;
        U32(static_cast<std::uint32_t>(size));
        bytes += payload;
        return *this;
    }

    WavBuilder& Raw(const std::string& raw)
    {
        bytes += raw;
        return *this;
    }

    operator std::string() const { return bytes; }

    // The canonical 44-byte-header file.
    static std::string Canonical(int channels, int rate, int bits, const std::string& samples)
    {
        return WavBuilder().Format(channels, rate, bits).Chunk("data", samples);
    }

private:
    WavBuilder& U16(int value)
    {
        return Raw({static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)});
    }

    WavBuilder& U32(std::uint32_t value)
    {
        return U16(static_cast<int>(value & 0xFFFF)).U16(static_cast<int>(value >> 16));
    }

    std::string bytes;
};

// 16-bit little-endian mono sine samples.
inline std::string SineSamples16(int frames, double frequency, int rate, double amplitude)
{
    std::string samples;
    for (int i = 0; i < frames; ++i)
    {
        const long value =
            std::lround(amplitude * 32767.0 * std::sin(2.0 * M_PI * frequency * i / rate));
        samples += static_cast<char>(value & 0xFF);
        samples += static_cast<char>((value >> 8) & 0xFF);
    }
    return samples;
}

// A 16-bit mono 441 Hz tone of the given length at 22050 Hz, as a whole WAV file.
inline std::string ToneFile(double seconds)
{
    return WavBuilder::Canonical(
        1, 22050, 16, SineSamples16(static_cast<int>(seconds * 22050), 441.0, 22050, 0.8));
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qm_audio_XXXXXX").string();
        path = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::string File(const std::string& name) const { return (path / name).string(); }

    std::string Write(const std::string& name, const std::string& contents) const
    {
        std::ofstream(File(name), std::ios::binary) << contents;
        return File(name);
    }

    std::filesystem::path path;
};

}  // namespace QuillmarkTest
