// SPDX-License-Identifier: Zlib
// One WAV file on disk: the header is read once, the file stays open and the samples are read
// again on every request, straight into the caller's buffer. Only uncompressed PCM with one or two
// channels of 8-bit or 16-bit samples plays; streaming a sound in parts is not supported.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "quill_mark/core/qm_noncopyable.h"

namespace qmImplementation
{

class AudioData : private Quillmark::Core::Noncopyable
{
public:
    // Never fails: a file that is missing or malformed is reported and gives no samples.
    explicit AudioData(const std::string& filePath);

    std::int32_t GetDataSize() const { return mDataSize; }
    // Fills the destination with `size` bytes: the sample data, then zeros for any byte the file
    // does not hold. Each call reads the samples from the file again.
    void GetData(char* destination, const std::int32_t& size);
    std::int32_t GetFormat() const;
    std::int32_t GetSampleRate() const { return mSampleRate; }

private:
    struct ChunkWalk
    {
        bool foundFormat = false;
        bool foundData = false;
        std::uint32_t declaredDataSize = 0;
    };

    void ReadHeader();
    ChunkWalk WalkChunks();
    bool ReadFormat(std::uint64_t offset, std::uint32_t size);
    void LimitDataSize(std::uint64_t declaredSize);
    bool ReadAt(std::uint64_t offset, char* destination, std::uint64_t size);

    std::string mFilePath;
    std::ifstream mFile;
    std::int32_t mSampleRate = 0;
    std::int32_t mBitsPerSample = 0;
    std::int32_t mChannelCount = 0;
    std::int32_t mDataSize = 0;

    std::uint64_t mFileSize = 0;
    std::uint64_t mDataOffset = 0;
    std::int32_t mAudioFormat = 0;
};

}  // namespace qmImplementation
