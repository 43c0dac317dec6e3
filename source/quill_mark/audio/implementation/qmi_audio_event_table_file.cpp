// SPDX-License-Identifier: Zlib
// The event-table file format. Float members count only when they loaded as floats (1.0, not 1),
// "looping" only when it is a JSON boolean; members not listed here are ignored. Paths go to the
// audio manager exactly as written, relative to the working directory.
#include "quill_mark/audio/implementation/qmi_audio_event_table_file.h"

#include <vector>

#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/core/qm_dynamic_structure.h"
#include "quill_mark/core/qm_error.h"
#include "quill_mark/core/qm_json_parser.h"

namespace qmImplementation
{

namespace
{

using Quillmark::Core::DynamicStructure;

struct SoundSettings
{
    float volume = 1.0f;
    float minVolume = 1.0f;
    float maxVolume = 1.0f;
    float pitch = 1.0f;
    float minPitch = 1.0f;
    float maxPitch = 1.0f;
};

struct Sound
{
    std::string path;
    SoundSettings settings;
};

// Each member falls back to the matching value of `defaults` when absent or not a float.
SoundSettings ReadSettings(const DynamicStructure& object, const SoundSettings& defaults)
{
    SoundSettings settings;
    settings.volume = object.GetMember("volume").AsFloatOr(defaults.volume);
    settings.minVolume = object.GetMember("min_volume").AsFloatOr(defaults.minVolume);
    settings.maxVolume = object.GetMember("max_volume").AsFloatOr(defaults.maxVolume);
    settings.pitch = object.GetMember("pitch").AsFloatOr(defaults.pitch);
    settings.minPitch = object.GetMember("min_pitch").AsFloatOr(defaults.minPitch);
    settings.maxPitch = object.GetMember("max_pitch").AsFloatOr(defaults.maxPitch);
    return settings;
}

// "file" is one path, or an array of paths and of objects that name a path and may override the
// event's volume and pitch for that one sound.
std::vector<Sound> ReadSounds(const DynamicStructure& file, const SoundSettings& eventSettings)
{
    std::vector<Sound> sounds;
    if (!file.IsArray())
    {
        sounds.push_back(Sound{file.AsString(true), eventSettings});
        return sounds;
    }
    for (std::uint32_t index = 0; index < file.Size(); ++index)
    {
        const DynamicStructure& element = file.GetValue(index);
        if (element.IsStructure())
        {
            sounds.push_back(Sound{element.GetMember("name").AsString(true),
                                   ReadSettings(element, eventSettings)});
        }
        else
        {
            sounds.push_back(Sound{element.AsString(true), eventSettings});
        }
    }
    return sounds;
}

bool ReadEvent(const DynamicStructure& event, const std::string& tableName,
               const std::string& filePath, EventTable& table,
               Quillmark::Audio::AudioManager& manager)
{
    if (event.GetMember("name").IsNil())
    {
        qmTriggerError(
            "qmDataError: Expected each audio_event object to have a \"name\". Table: \"%s\"",
            filePath.c_str());
        return false;
    }
    if (event.GetMember("file").IsNil())
    {
        qmTriggerError(
            "qmDataError: Expected each audio_event object to have a \"file\". Table: \"%s\"",
            filePath.c_str());
        return false;
    }
    const bool isLooping = event.GetMember("looping").AsBooleanOr(false);
    const SoundSettings eventSettings = ReadSettings(event, SoundSettings{});
    const std::string eventName = event.GetMember("name").AsString(true);

    for (const Sound& sound : ReadSounds(event.GetMember("file"), eventSettings))
    {
        const Quillmark::Audio::AudioHandle handle = manager.CreateSoundFromFile(sound.path);
        if (handle == Quillmark::Audio::kInvalidAudio)
        {
            qmTriggerError("qmDataError: Expected to load audio file: \"%s\" on Table: \"%s\"",
                           sound.path.c_str(), tableName.c_str());
            return false;
        }
        const SoundSettings& settings = sound.settings;
        table.AddAudioHandle(eventName, handle, isLooping);
        table.SetVolume(eventName, settings.volume, settings.minVolume, settings.maxVolume);
        table.SetPitch(eventName, settings.pitch, settings.minPitch, settings.maxPitch);
    }
    return true;
}

}  // namespace

bool ReadEventTableFile(const std::string& tableName, const std::string& filePath,
                        EventTable& table, Quillmark::Audio::AudioManager& manager)
{
    const DynamicStructure root = Quillmark::Core::LoadJsonFile(filePath);
    if (root.IsNil() || !root.IsStructure())
    {
        qmTriggerError(
            "qmDataError: Expected event table data to be a structure of information. Table: \"%s\"",
            filePath.c_str());
        return false;
    }
    // The JSON reader keeps no empty containers: [] and {} read as Nil, like null and a missing
    // member, and all of them are reported alike (sprite sheets treat "sprites" the same way).
    const DynamicStructure& events = root.GetMember("audio_events");
    if (events.IsNil() || !events.IsArray())
    {
        qmTriggerError(
            "qmDataError: Expected event table to have an array named: audio_events. Table: \"%s\"",
            filePath.c_str());
        return false;
    }
    for (std::uint32_t index = 0; index < events.Size(); ++index)
    {
        if (!ReadEvent(events.GetValue(index), tableName, filePath, table, manager))
        {
            return false;
        }
    }
    return true;
}

}  // namespace qmImplementation
