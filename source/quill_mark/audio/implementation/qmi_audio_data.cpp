// SPDX-License-Identifier: Zlib
// The WAV header is external data, so nothing in it is trusted: the chunk walk stays inside the
// file and always ends, and the sample size used never exceeds the bytes the file holds, so a
// damaged or hostile file can neither hang the reader nor make a play allocate or read more.
#include "quill_mark/audio/implementation/qmi_audio_data.h"

#include <AL/al.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "quill_mark/core/qm_error.h"

namespace qmImplementation
{

namespace
{

constexpr std::uint64_t kRiffHeaderSize = 12;
constexpr std::uint64_t kChunkHeaderSize = 8;
// RIFF header, a 16-byte format chunk and the next chunk's header: no WAV file is shorter.
constexpr std::uint64_t kShortestHeaderSize = 44;
constexpr std::uint32_t kBasicFormatSize = 16;
constexpr std::int32_t kPcmFormat = 1;

std::uint16_t ReadU16(const unsigned char* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t ReadU32(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool HasId(const unsigned char* bytes, const char* id)
{
    return std::memcmp(bytes, id, 4) == 0;
}

}  // namespace

AudioData::AudioData(const std::string& filePath)
    : mFilePath(filePath), mFile(filePath, std::ios::in | std::ios::binary)
{
    qmTriggerErrorIf(!mFile.is_open(), "qmExternalError: Failed to load audio file, \"%s\".",
                     mFilePath.c_str());
    ReadHeader();
    qmTriggerErrorIf(mChannelCount != 1 && mChannelCount != 2,
                     "qmExternalError: Audio file \"%s\" is not a mono or stereo WAV file.",
                     mFilePath.c_str());
    qmTriggerErrorIf(mBitsPerSample != 8 && mBitsPerSample != 16,
                     "qmExternalError: Audio file \"%s\" is not a 8bit or 16bit WAV file.",
                     mFilePath.c_str());
    // Rest at the first sample byte, where every read of the samples starts.
    mFile.clear();
    mFile.seekg(static_cast<std::streamoff>(mDataOffset));
}

void AudioData::ReadHeader()
{
    if (mFile.is_open())
    {
        mFile.seekg(0, std::ios::end);
        const std::streamoff end = mFile.tellg();
        mFileSize = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
    unsigned char riff[kRiffHeaderSize] = {};
    const bool isRiffWave = ReadAt(0, reinterpret_cast<char*>(riff), kRiffHeaderSize) &&
                            HasId(riff, "RIFF") && HasId(riff + 8, "WAVE");
    const ChunkWalk walk = WalkChunks();

    if (!isRiffWave || mFileSize < kShortestHeaderSize || !walk.foundFormat ||
        mAudioFormat != kPcmFormat)
    {
        qmTriggerError(
            "qmExternalError: Failed to process audio file, \"%s\", audio file is not a supported WAV file.",
            mFilePath.c_str());
    }
    if (!walk.foundData)
    {
        qmTriggerError("qmExternalError: Was unable to find data chunk in wave file.");
        return;
    }
    LimitDataSize(walk.declaredDataSize);
}

// Walks the chunks from the first one after the RIFF header up to the data chunk, reading the
// first format chunk met on the way. Every step moves forward by at least one chunk header and the
// walk stops at the end of the file, so it always ends, whatever sizes the chunks claim (a 64-bit
// offset cannot wrap on a 32-bit size).
AudioData::ChunkWalk AudioData::WalkChunks()
{
    ChunkWalk walk;
    std::uint64_t offset = kRiffHeaderSize;
    unsigned char header[kChunkHeaderSize];
    while (offset + kChunkHeaderSize <= mFileSize &&
           ReadAt(offset, reinterpret_cast<char*>(header), kChunkHeaderSize))
    {
        const std::uint32_t size = ReadU32(header + 4);
        const std::uint64_t body = offset + kChunkHeaderSize;
        if (HasId(header, "data"))
        {
            walk.foundData = true;
            walk.declaredDataSize = size;
            mDataOffset = body;
            break;
        }
        if (HasId(header, "fmt ") && !walk.foundFormat)
        {
            walk.foundFormat = ReadFormat(body, size);
        }
        offset = body + size;
        // An odd-sized chunk is followed by a zero pad byte in a well-formed file; some writers
        // leave it out. A chunk id never starts with a zero byte, so a zero here can only be the
        // pad.
        char pad = 1;
        if ((size & 1u) != 0 && ReadAt(offset, &pad, 1) && pad == 0)
        {
            ++offset;
        }
    }
    return walk;
}

// Takes the format, channel count, sample rate and bits per sample from a format chunk of at least
// 16 bytes; a longer chunk is skipped by its stated size. Only plain PCM (format 1) is supported;
// the values are kept for other formats too, so the channel and sample-size checks still speak.
bool AudioData::ReadFormat(std::uint64_t offset, std::uint32_t size)
{
    unsigned char format[kBasicFormatSize] = {};
    if (size < kBasicFormatSize ||
        !ReadAt(offset, reinterpret_cast<char*>(format), kBasicFormatSize))
    {
        return false;
    }
    mAudioFormat = ReadU16(format);
    mChannelCount = static_cast<std::int16_t>(ReadU16(format + 2));
    mSampleRate = static_cast<std::int32_t>(ReadU32(format + 4));
    mBitsPerSample = static_cast<std::int16_t>(ReadU16(format + 14));
    return true;
}

// The data chunk's size is a claim of the file; only the bytes that follow its header are real.
void AudioData::LimitDataSize(std::uint64_t declaredSize)
{
    const std::uint64_t present = mFileSize - mDataOffset;
    const std::uint64_t limit =
        std::min<std::uint64_t>(present, std::numeric_limits<std::int32_t>::max());
    if (declaredSize <= limit)
    {
        mDataSize = static_cast<std::int32_t>(declaredSize);
        return;
    }
    // Cut to whole sample frames so the shortened data still makes a valid buffer.
    const std::uint64_t frameSize =
        (mBitsPerSample == 8 ? 1u : 2u) * (mChannelCount == 2 ? 2u : 1u);
    mDataSize = static_cast<std::int32_t>(limit - limit % frameSize);
    qmTriggerError(
        "qmExternalError: Audio file \"%s\" holds fewer sample bytes than its data chunk declares; using the %d bytes present.",
        mFilePath.c_str(), static_cast<int>(mDataSize));
}

bool AudioData::ReadAt(std::uint64_t offset, char* destination, std::uint64_t size)
{
    if (!mFile.is_open() || offset > mFileSize || size > mFileSize - offset)
    {
        return false;
    }
    mFile.clear();
    mFile.seekg(static_cast<std::streamoff>(offset));
    mFile.read(destination, static_cast<std::streamsize>(size));
    return mFile.gcount() == static_cast<std::streamsize>(size);
}

void AudioData::GetData(char* destination, const std::int32_t& size)
{
    qmTriggerErrorIf(
        size != mDataSize,
        "qmInternalError: Collecting partial audio data for streaming players is not yet supported.");
    if (destination == nullptr || size <= 0)
    {
        return;
    }
    // Never read beyond the sample data; whatever was asked for beyond it (or what a file that
    // shrank since it was opened no longer holds) is silence.
    std::streamsize received = 0;
    const std::int32_t wanted = std::min(size, mDataSize);
    if (wanted > 0 && mFile.is_open())
    {
        mFile.clear();
        mFile.seekg(static_cast<std::streamoff>(mDataOffset));
        mFile.read(destination, wanted);
        received = std::max<std::streamsize>(mFile.gcount(), 0);
    }
    std::memset(destination + received, 0, static_cast<std::size_t>(size - received));
    mFile.clear();
    mFile.seekg(static_cast<std::streamoff>(mDataOffset));
}

std::int32_t AudioData::GetFormat() const
{
    if (mChannelCount == 1)
    {
        return mBitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    }
    if (mChannelCount == 2)
    {
        return mBitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
    }
    return 0;
}

}  // namespace qmImplementation
