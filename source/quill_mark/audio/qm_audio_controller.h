// The value every play returns: it names that one play, so its volume and pitch can be changed
// while it sounds. It owns nothing; once the play has been released the calls do nothing.
#pragma once

#include <cstdint>

#include "quill_mark/audio/qm_audio_handle.h"

namespace Quillmark::Audio
{

struct AudioController
{
    // {0, 0} means no sound was started. A handle of 0 with a live channel still reaches the play.
    AudioHandle audioHandle = kInvalidAudio;
    std::uint32_t channel = 0;

    void SetVolume(float volume) const;
    void SetPitch(float pitch) const;
};

}  // namespace Quillmark::Audio
