// SPDX-License-Identifier: Zlib
// Reads an Ogg Vorbis file a few thousand frames at a time, as 16-bit samples (mono stays mono,
// everything else is mixed to stereo), straight from the file: the whole file is never decoded or
// held; the decoder keeps to a fixed 512 KB of its own. A file that cannot be opened, or that turns
// out damaged or cut short, is reported once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quill_mark/core/qm_noncopyable.h"

struct stb_vorbis;

namespace qmImplementation
{

class OggReader : private Quillmark::Core::Noncopyable
{
public:
    explicit OggReader(const std::string& filePath);
    ~OggReader();

    bool IsOpen() const { return mVorbis != nullptr; }
    // True once a read met a damaged stream or an end before the one the file states; from then
    // on every read gives 0 frames.
    bool IsDamaged() const { return mDamaged; }
    // 1 or 2; 0 when not open.
    int GetChannels() const { return mChannels; }
    int GetSampleRate() const { return mSampleRate; }
    // As the file states it; 0 when it does not say.
    std::uint32_t GetLengthInFrames() const { return mLength; }
    // The frame the next read starts at.
    std::uint32_t GetPosition() const { return mPosition; }

    // Up to `frames` frames, interleaved; fewer only at the end of the stream (or where it is
    // damaged), 0 once there.
    int Read(std::int16_t* samples, int frames);
    // Moves to a frame (the end at most); false when the stream cannot seek there.
    bool Seek(std::uint32_t frame);

private:
    void Fail();

    std::string mFilePath;
    std::vector<char> mDecoderMemory;
    stb_vorbis* mVorbis = nullptr;
    int mChannels = 0;
    int mSampleRate = 0;
    std::uint32_t mLength = 0;
    std::uint32_t mPosition = 0;
    bool mEndsProperly = false;
    bool mDamaged = false;
};

}  // namespace qmImplementation
