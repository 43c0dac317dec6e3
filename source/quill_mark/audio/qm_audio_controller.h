// SPDX-License-Identifier: Zlib
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

    // 0 (silent) to 1 (as recorded); a value outside is reported and still handed to OpenAL.
    void SetVolume(float volume) const;
    // A factor on speed and pitch: 2 plays an octave higher and twice as fast. A value of 0 or
    // less is reported (and OpenAL refuses it).
    void SetPitch(float pitch) const;
};

}  // namespace Quillmark::Audio
