// SPDX-License-Identifier: Zlib
// Reaching a play through its controller: the manager finds the active player by channel and
// checks the handle, so a stale or empty controller never touches another play.
#include "quill_mark/audio/qm_audio_controller.h"

#include "quill_mark/audio/implementation/qmi_audio_player.h"
#include "quill_mark/audio/qm_audio_manager.h"

namespace Quillmark::Audio
{

void AudioController::SetVolume(float volume) const
{
    if (qmImplementation::AudioPlayer* player = theAudioManager.FindPlayer(*this))
    {
        player->SetVolume(volume);
    }
}

void AudioController::SetPitch(float pitch) const
{
    if (qmImplementation::AudioPlayer* player = theAudioManager.FindPlayer(*this))
    {
        player->SetPitch(pitch);
    }
}

}  // namespace Quillmark::Audio
