// SPDX-License-Identifier: Zlib
// The one entry point for sound: opens the audio device before the program entry runs, loads WAV
// files under handles, starts a player for every play (at most 16 at once), releases finished
// players once per frame, and plays named events from tables loaded from JSON files.
// The device, the tables and the players are kept behind the implementation: no OpenAL here.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "quill_mark/audio/qm_audio_controller.h"
#include "quill_mark/audio/qm_audio_handle.h"
#include "quill_mark/core/qm_noncopyable.h"

namespace qmImplementation
{
class AudioPlayer;
struct AudioManagerState;
}  // namespace qmImplementation

namespace Quillmark::Audio
{

class AudioManager : private Core::Noncopyable
{
public:
    static constexpr std::size_t kMaximumActivePlayers = 16;

    // Opens the default device and context and places the listener; a device that does not open
    // is reported, and every later play is then silent.
    AudioManager();
    ~AudioManager();

    // The same path (exact bytes) gives the same handle; the result is never kInvalidAudio,
    // also for a file that failed to load (it then plays nothing). The file is read again on
    // every play, so it must stay where it is.
    AudioHandle CreateSoundFromFile(const std::string& filePath);
    // Gives {0, 0} and plays nothing when the handle is unknown or 16 plays are active.
    AudioController PlaySound(const AudioHandle& audioHandle, bool isLooping);
    // False, with a report, when the name is taken or the file is not a valid table; a table
    // that fails stores nothing. The file format is described in docs/audio_event_format.md. The
    // table's sounds are loaded as the table is read.
    bool LoadEventTable(const std::string& eventTableName, const std::string& eventTableFilePath);
    // Picks one of the event's sounds and draws its volume and pitch from the shared random
    // sequence; an unknown table or event plays nothing and draws nothing.
    AudioController PlayEvent(const std::string& eventTableName, const std::string& eventName);
    // Once per frame: services every active player and releases the finished ones, then tops up
    // the buffer queue of every Music stream (qm_music.h).
    void Update();

    // For runs that must neither sound nor depend on the machine's sound set-up (a headless
    // replay): the device opened at start-up is closed and every later play goes to a device
    // that renders nothing, OpenAL Soft's loopback device, which is never asked for its samples.
    // Plays, players and their reports are otherwise those of a working device. Call it before
    // anything plays. False, keeping the device as it was, where no such device exists.
    bool UseSilentOutput();

private:
    friend struct AudioController;
    friend struct qmImplementation::AudioManagerState;

    qmImplementation::AudioPlayer* FindPlayer(const AudioController& controller);

    std::unique_ptr<qmImplementation::AudioManagerState> mState;
};

extern AudioManager theAudioManager;

}  // namespace Quillmark::Audio
