// SPDX-License-Identifier: Zlib
// The audio manager's insides: the device, the file and sound tables, the active players and the
// event tables, kept out of the public header so its users see no OpenAL. The audio module and
// the audio tests include it; tests reach the channel counter through it, nothing else does.
#pragma once

#include <AL/alc.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "quill_mark/audio/implementation/qmi_audio_data.h"
#include "quill_mark/audio/implementation/qmi_audio_event_table.h"
#include "quill_mark/audio/implementation/qmi_audio_player.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/core/qm_noncopyable.h"

namespace qmImplementation
{

class MusicStream;

// The default device with one current context and the listener at the origin. Opened first and
// closed last, after every table and player is gone.
class AudioDevice : private Quillmark::Core::Noncopyable
{
public:
    AudioDevice();
    ~AudioDevice();

    // Puts a device that renders nothing in the default one's place (see UseSilentOutput).
    bool ReopenSilent();

private:
    void Close();
    void PlaceListener();

    ALCdevice* mDevice = nullptr;
    ALCcontext* mContext = nullptr;
};

struct ActivePlayer
{
    std::unique_ptr<AudioPlayer> player;
    Quillmark::Audio::AudioHandle audioHandle;
};

struct AudioManagerState
{
    // Declaration order is the order of creation; exit destroys them in reverse.
    AudioDevice device;
    std::map<std::string, Quillmark::Audio::AudioHandle> fileTable;
    std::map<Quillmark::Audio::AudioHandle, std::unique_ptr<AudioData>> soundTable;
    std::vector<ActivePlayer> activePlayers;
    // Music streams register themselves for their lifetime; they are not among the 16 players.
    std::vector<MusicStream*> musicStreams;
    std::map<std::string, EventTable> eventTables;
    // The last channel handed out; the next play takes the one after it.
    std::uint32_t channelCounter = 0;

    static AudioManagerState& Of(Quillmark::Audio::AudioManager& manager)
    {
        return *manager.mState;
    }
};

}  // namespace qmImplementation
