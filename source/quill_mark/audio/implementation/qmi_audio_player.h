// SPDX-License-Identifier: Zlib
// One play of one sound: an OpenAL source and buffer of its own, filled from the sound's file,
// restarted by the frame that sees it end when it loops. The audio manager creates, services and
// releases players; a player knows nothing of handles or of the other players.
#pragma once

#include <cstdint>

#include "quill_mark/core/qm_noncopyable.h"

namespace qmImplementation
{

class AudioData;

class AudioPlayer : private Quillmark::Core::Noncopyable
{
public:
    explicit AudioPlayer(const std::uint32_t& channel);
    ~AudioPlayer();

    const std::uint32_t& GetChannel() const { return mChannel; }
    void Play(AudioData& audioData, bool isLooping);
    void SetVolume(float volume);
    void SetPitch(float pitch);
    // Restarts a looping sound that has ended; answers as IsFinished.
    bool Update();
    bool IsFinished() const;

private:
    std::uint32_t mChannel;
    std::uint32_t mBuffer = 0;
    std::uint32_t mSource = 0;
    bool mIsLooping = false;
    // A sound without samples (its file failed to load, or OpenAL refused them) queues nothing;
    // it counts as finished even when looping, so it never holds one of the manager's places.
    bool mHasNothingToPlay = false;
};

}  // namespace qmImplementation
