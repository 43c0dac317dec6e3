// SPDX-License-Identifier: Zlib
// Event lookup and the random choice of a sound. The choice draws from the same never-seeded
// sequence as everything else, so a run repeats its sounds exactly.
#include "quill_mark/audio/implementation/qmi_audio_event_table.h"

#include "quill_mark/core/qm_error.h"
#include "quill_mark/platform/qm_random.h"

namespace qmImplementation
{

namespace
{

// A negative bound in the data stands for the fixed value.
float BoundOr(float bound, float value)
{
    return bound < 0.0f ? value : bound;
}

void ReportAbsentEvent(const std::string& eventName)
{
    qmTriggerError("qmExternalError: AudioEvent with name \"%s\" does not exist in table.",
                   eventName.c_str());
}

}  // namespace

void EventTable::AddAudioHandle(const std::string& eventName,
                                const Quillmark::Audio::AudioHandle& handle, bool isLooping)
{
    AudioEventEntry entry;
    entry.audioHandle = handle;
    entry.isLooping = isLooping;
    mEvents[eventName].push_back(entry);
}

void EventTable::SetVolume(const std::string& eventName, float volume, float minVolume,
                           float maxVolume)
{
    if (AudioEventEntry* entry = FindLastEntry(eventName))
    {
        entry->volume = volume;
        entry->minVolume = BoundOr(minVolume, volume);
        entry->maxVolume = BoundOr(maxVolume, volume);
    }
}

void EventTable::SetPitch(const std::string& eventName, float pitch, float minPitch, float maxPitch)
{
    if (AudioEventEntry* entry = FindLastEntry(eventName))
    {
        entry->pitch = pitch;
        entry->minPitch = BoundOr(minPitch, pitch);
        entry->maxPitch = BoundOr(maxPitch, pitch);
    }
}

AudioEventEntry* EventTable::FindLastEntry(const std::string& eventName)
{
    const auto found = mEvents.find(eventName);
    if (found == mEvents.end())
    {
        ReportAbsentEvent(eventName);
        return nullptr;
    }
    return found->second.empty() ? nullptr : &found->second.back();
}

const AudioEventEntry* EventTable::GetRandomEntry(const std::string& eventName) const
{
    const auto found = mEvents.find(eventName);
    if (found == mEvents.end())
    {
        ReportAbsentEvent(eventName);
        return nullptr;
    }
    const std::vector<AudioEventEntry>& entries = found->second;
    if (entries.empty())
    {
        qmTriggerError(
            "qmInternalError: AudioEvent with name \"%s\" does not contain any audio handles.",
            eventName.c_str());
        return nullptr;
    }
    if (entries.size() == 1)
    {
        return &entries.front();
    }
    return &entries[static_cast<std::size_t>(CrtRand()) % entries.size()];
}

}  // namespace qmImplementation
