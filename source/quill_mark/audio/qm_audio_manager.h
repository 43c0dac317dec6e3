// The one entry point for sound: opens the audio device before the program entry runs, loads WAV
// files under handles, starts a player for every play (at most 16 at once), releases finished
// players once per frame, and plays named events from tables loaded from JSON files.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <AL/alc.h>

#include "quill_mark/audio/implementation/qmi_audio_event_table.h"
#include "quill_mark/audio/qm_audio_controller.h"
#include "quill_mark/audio/qm_audio_handle.h"
#include "quill_mark/core/qm_noncopyable.h"

namespace qmImplementation
{
class AudioData;
class AudioPlayer;
}  // namespace qmImplementation

namespace Quillmark::Audio
{

class AudioManager : private Core::Noncopyable
{
public:
    static constexpr std::size_t kMaximumActivePlayers = 16;

    AudioManager();
    ~AudioManager();

    // The same path (exact bytes) gives the same handle; the result is never kInvalidAudio,
    // also for a file that failed to load (it then plays nothing).
    AudioHandle CreateSoundFromFile(const std::string& filePath);
    // Gives {0, 0} and plays nothing when the handle is unknown or 16 plays are active.
    AudioController PlaySound(const AudioHandle& audioHandle, bool isLooping);
    bool LoadEventTable(const std::string& eventTableName, const std::string& eventTableFilePath);
    AudioController PlayEvent(const std::string& eventTableName, const std::string& eventName);
    // Once per frame: services every active player and releases the finished ones.
    void Update();

    // Test hook only: sets the counter that the next play advances to make its channel, so the
    // roll-over past 4294967295 can be reached. The game never calls it.
    void SetChannelCounterForTesting(std::uint32_t value) { mChannelCounter = value; }

private:
    friend struct AudioController;

    // Opened first and closed last, after every table and player is gone.
    class Device : private Core::Noncopyable
    {
    public:
        Device();
        ~Device();

    private:
        ALCdevice* mDevice = nullptr;
        ALCcontext* mContext = nullptr;
    };

    struct ActivePlayer
    {
        std::unique_ptr<qmImplementation::AudioPlayer> player;
        AudioHandle audioHandle;
    };

    qmImplementation::AudioPlayer* FindPlayer(const AudioController& controller);

    // Declaration order is the order of creation; exit destroys them in reverse.
    Device mDevice;
    std::map<std::string, AudioHandle> mFileTable;
    std::map<AudioHandle, std::unique_ptr<qmImplementation::AudioData>> mSoundTable;
    std::vector<ActivePlayer> mActivePlayers;
    std::map<std::string, qmImplementation::EventTable> mEventTables;
    std::uint32_t mChannelCounter = 0;
};

extern AudioManager theAudioManager;

}  // namespace Quillmark::Audio
