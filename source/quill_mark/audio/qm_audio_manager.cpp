// SPDX-License-Identifier: Zlib
// The audio manager: device start-up and shut-down, the sound and file tables, the 16 places for
// active players and the named event tables. Nothing is pooled: every play makes a new source and
// buffer and reads its samples from the file again; the 16 places are the one bound on that work.
#include "quill_mark/audio/qm_audio_manager.h"

#include <AL/al.h>
#include <AL/alc.h>

#include "quill_mark/audio/implementation/qmi_audio_event_table_file.h"
#include "quill_mark/audio/implementation/qmi_audio_manager_state.h"
#include "quill_mark/audio/implementation/qmi_music_stream.h"
#include "quill_mark/core/qm_error.h"
#include "quill_mark/platform/qm_random.h"

namespace
{

bool HadOpenAlError()
{
    return alGetError() != AL_NO_ERROR;
}

// A range narrower than this plays the fixed value.
constexpr float kMinimumRandomRange = 0.01f;

float DrawFromRange(float value, float minimum, float maximum)
{
    const float range = maximum - minimum;
    return range > kMinimumRandomRange ? minimum + range * Quillmark::Platform::RandomFloat()
                                       : value;
}

}  // namespace

namespace qmImplementation
{

AudioDevice::AudioDevice()
{
    mDevice = alcOpenDevice(nullptr);
    qmTriggerErrorIf(mDevice == nullptr, "AudioManager could not create the default audio device.");
    mContext = alcCreateContext(mDevice, nullptr);
    qmTriggerErrorIf(mContext == nullptr, "AudioManager could not create an audio context.");
    alcMakeContextCurrent(mContext);
    qmTriggerErrorIf(mContext == nullptr, "AudioManager could not set audio context.");
    PlaceListener();
}

AudioDevice::~AudioDevice()
{
    Close();
}

void AudioDevice::PlaceListener()
{
    const ALfloat origin[] = {0.0f, 0.0f, 0.0f};
    const ALfloat orientation[] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    alListenerfv(AL_POSITION, origin);
    qmTriggerErrorIf(HadOpenAlError(), "AudioManager had issues setting listener position.");
    alListenerfv(AL_VELOCITY, origin);
    qmTriggerErrorIf(HadOpenAlError(), "AudioManager had issues setting listener velocity.");
    alListenerfv(AL_ORIENTATION, orientation);
    qmTriggerErrorIf(HadOpenAlError(), "AudioManager had issues setting listener orientation.");
}

void AudioDevice::Close()
{
    alcMakeContextCurrent(nullptr);
    if (mContext != nullptr)
    {
        alcDestroyContext(mContext);
        mContext = nullptr;
    }
    if (mDevice != nullptr)
    {
        alcCloseDevice(mDevice);
        mDevice = nullptr;
    }
}

// OpenAL Soft's loopback extension (ALC_SOFT_loopback), named here as it defines it, since not
// every OpenAL's headers carry it (a browser's has none, nor the extension).
using OpenLoopbackDevice = ALCdevice* (*)(const ALCchar*);
constexpr ALCint kFormatChannels = 0x1990;
constexpr ALCint kFormatType = 0x1991;
constexpr ALCint kStereo = 0x1501;
constexpr ALCint kShort = 0x1402;

// The loopback device renders only when asked to, and nothing asks: sources play on it as on a
// real device, without a sound system, a thread or a clock behind them.
bool AudioDevice::ReopenSilent()
{
    const auto openLoopback = reinterpret_cast<OpenLoopbackDevice>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") == ALC_FALSE || openLoopback == nullptr)
    {
        return false;
    }
    ALCdevice* device = openLoopback(nullptr);
    const ALCint attributes[] = {kFormatChannels, kStereo, kFormatType, kShort, ALC_FREQUENCY,
                                 44100,           0};
    ALCcontext* context = device != nullptr ? alcCreateContext(device, attributes) : nullptr;
    if (context == nullptr)
    {
        if (device != nullptr)
        {
            alcCloseDevice(device);
        }
        return false;
    }
    Close();
    mDevice = device;
    mContext = context;
    alcMakeContextCurrent(mContext);
    PlaceListener();
    return true;
}

}  // namespace qmImplementation

namespace Quillmark::Audio
{

// Constructed during static initialisation, so the device is open before the program entry runs.
// The error state it may report to is safe to use that early.
AudioManager theAudioManager;

AudioManager::AudioManager() : mState(std::make_unique<qmImplementation::AudioManagerState>()) {}

// Players still active at exit (looping sounds, say) are destroyed with the player list, which
// deletes their sources and buffers while the context is still current; the device closes after.
AudioManager::~AudioManager() = default;

AudioHandle AudioManager::CreateSoundFromFile(const std::string& filePath)
{
    const auto found = mState->fileTable.find(filePath);
    if (found != mState->fileTable.end())
    {
        return found->second;
    }
    const AudioHandle handle = static_cast<AudioHandle>(mState->soundTable.size() + 1);
    // A file that failed to load still gets its handle: its reports are made, and it plays nothing.
    auto audioData = std::make_unique<qmImplementation::AudioData>(filePath);
    mState->fileTable.emplace(filePath, handle);
    mState->soundTable.emplace(handle, std::move(audioData));
    return handle;
}

AudioController AudioManager::PlaySound(const AudioHandle& audioHandle, bool isLooping)
{
    qmTriggerErrorIf(audioHandle == kInvalidAudio,
                     "qmExternalError: Attempting to play an invalid audio handle.");
    const auto found = mState->soundTable.find(audioHandle);
    if (found == mState->soundTable.end())
    {
        qmTriggerError("qmError: Unable to find audio handle to play, was it unloaded?");
        // With no sound to play there is no play: the empty controller, and no channel is used.
        return AudioController{};
    }
    if (mState->activePlayers.size() >= kMaximumActivePlayers)
    {
        return AudioController{};
    }

    ++mState->channelCounter;
    if (mState->channelCounter == 0)
    {
        qmTriggerError("qmInternalError: Audio Channel Identifier Rolled Over.");
        ++mState->channelCounter;
    }
    mState->activePlayers.push_back(qmImplementation::ActivePlayer{
        std::make_unique<qmImplementation::AudioPlayer>(mState->channelCounter), audioHandle});
    mState->activePlayers.back().player->Play(*found->second, isLooping);
    return AudioController{audioHandle, mState->channelCounter};
}

void AudioManager::Update()
{
    for (auto active = mState->activePlayers.begin(); active != mState->activePlayers.end();)
    {
        active->player->Update();
        if (active->player->IsFinished())
        {
            active = mState->activePlayers.erase(active);
        }
        else
        {
            ++active;
        }
    }
    for (qmImplementation::MusicStream* stream : mState->musicStreams)
    {
        stream->Service();
    }
}

bool AudioManager::LoadEventTable(const std::string& eventTableName,
                                  const std::string& eventTableFilePath)
{
    if (mState->eventTables.count(eventTableName) != 0)
    {
        qmTriggerError("EventTable \"%s\" has already been loaded.", eventTableName.c_str());
        return false;
    }
    // Built completely before it is stored, so a table that fails leaves no half of itself behind.
    qmImplementation::EventTable table;
    if (!qmImplementation::ReadEventTableFile(eventTableName, eventTableFilePath, table, *this))
    {
        return false;
    }
    mState->eventTables.emplace(eventTableName, std::move(table));
    return true;
}

AudioController AudioManager::PlayEvent(const std::string& eventTableName,
                                        const std::string& eventName)
{
    // A table that was never loaded, or an event it lacks (reported by the table), plays nothing
    // and draws no random number: there is no sound whose volume or pitch could be drawn.
    const auto table = mState->eventTables.find(eventTableName);
    if (table == mState->eventTables.end())
    {
        return AudioController{};
    }
    const qmImplementation::AudioEventEntry* chosen = table->second.GetRandomEntry(eventName);
    if (chosen == nullptr)
    {
        return AudioController{};
    }
    const qmImplementation::AudioEventEntry entry = *chosen;

    // The volume and pitch are drawn even when nothing started, so the shared random sequence
    // advances the same way whether or not all 16 places were taken.
    const AudioController controller = PlaySound(entry.audioHandle, entry.isLooping);
    controller.SetVolume(DrawFromRange(entry.volume, entry.minVolume, entry.maxVolume));
    controller.SetPitch(DrawFromRange(entry.pitch, entry.minPitch, entry.maxPitch));
    return controller;
}

bool AudioManager::UseSilentOutput()
{
    return mState->device.ReopenSilent();
}

qmImplementation::AudioPlayer* AudioManager::FindPlayer(const AudioController& controller)
{
    for (qmImplementation::ActivePlayer& active : mState->activePlayers)
    {
        if (active.player->GetChannel() == controller.channel)
        {
            const bool handleMatches = controller.audioHandle == kInvalidAudio ||
                                       controller.audioHandle == active.audioHandle;
            return handleMatches ? active.player.get() : nullptr;
        }
    }
    return nullptr;
}

}  // namespace Quillmark::Audio
