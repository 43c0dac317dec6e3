// SPDX-License-Identifier: Zlib
// Named audio events of one table: each event holds one or more sounds with their looping flag
// and their volume and pitch, fixed or as a range to draw from on every play. Reading the table's
// file is the file reader's business; this class only holds and chooses.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "quill_mark/audio/qm_audio_handle.h"

namespace qmImplementation
{

struct AudioEventEntry
{
    Quillmark::Audio::AudioHandle audioHandle = Quillmark::Audio::kInvalidAudio;
    bool isLooping = false;
    float volume = 1.0f;
    float minVolume = 1.0f;
    float maxVolume = 1.0f;
    float pitch = 1.0f;
    float minPitch = 1.0f;
    float maxPitch = 1.0f;
};

class EventTable
{
public:
    void AddAudioHandle(const std::string& eventName, const Quillmark::Audio::AudioHandle& handle,
                        bool isLooping);
    // Both set the event's last entry; a negative minimum or maximum means "the value itself".
    void SetVolume(const std::string& eventName, float volume, float minVolume, float maxVolume);
    void SetPitch(const std::string& eventName, float pitch, float minPitch, float maxPitch);
    // Draws from the process-wide random sequence only when the event has two or more sounds.
    // Gives nullptr, after a report, when the event is absent or has no sound.
    const AudioEventEntry* GetRandomEntry(const std::string& eventName) const;

private:
    AudioEventEntry* FindLastEntry(const std::string& eventName);

    std::map<std::string, std::vector<AudioEventEntry>> mEvents;
};

}  // namespace qmImplementation
