// SPDX-License-Identifier: Zlib
// One music stream: an OpenAL source fed by a queue of four buffers of a quarter second each,
// refilled from the Ogg reader as OpenAL finishes them, so about a second of decoded audio is held
// at any time. The audio manager services every stream once per frame, beside its players.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "quill_mark/audio/implementation/qmi_ogg_reader.h"
#include "quill_mark/core/qm_noncopyable.h"

namespace qmImplementation
{

class MusicStream : private Quillmark::Core::Noncopyable
{
public:
    static constexpr int kBufferCount = 4;

    enum class State
    {
        kStopped,
        kPlaying,
        kPaused,
    };

    // Registers with the audio manager, which services the stream until it is destroyed.
    explicit MusicStream(const std::string& filePath);
    ~MusicStream();

    bool IsOpen() const { return mReader.IsOpen(); }
    State GetState() const { return mState; }
    void Play();
    void Pause();
    void Resume();
    void Stop();
    void SetLooping(bool isLooping) { mIsLooping = isLooping; }
    bool IsLooping() const { return mIsLooping; }
    void SetVolume(float volume);
    void SetPitch(float pitch);
    void SetPosition(float seconds);
    float GetPosition() const;
    float GetDuration() const;

    // Once per frame: queues new audio for every buffer OpenAL has finished, restarts a source
    // that ran dry while it should play, and stops when the last audio has been heard.
    void Service();
    // The decoded audio held now: the queued buffers and the decoding block, in bytes.
    std::size_t GetDecodedBytesHeld() const;

private:
    struct Queued
    {
        std::uint32_t buffer;
        std::uint32_t firstFrame;  // the track frame its audio starts at
        std::uint32_t frames;
    };

    bool Fill(std::uint32_t buffer);
    int Decode();
    void FillFreeBuffers();
    void Unqueue(int count);
    void ClearQueue();
    std::uint32_t WrapFrame(std::uint64_t frame) const;

    OggReader mReader;
    State mState = State::kStopped;
    bool mIsLooping = false;
    bool mEnded = false;  // nothing more to decode: the end of a track that does not loop
    int mFramesPerBuffer = 0;
    std::uint32_t mSource = 0;
    std::vector<std::uint32_t> mFreeBuffers;
    std::deque<Queued> mQueue;
    std::vector<std::int16_t> mBlock;
};

}  // namespace qmImplementation
