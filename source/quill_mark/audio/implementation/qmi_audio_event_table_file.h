// SPDX-License-Identifier: Zlib
// Reading an audio event-table file (a JSON object with an "audio_events" array) into an
// EventTable, loading every sound it names through the audio manager. Storing the finished table
// under its name, and refusing a name twice, is the manager's part.
#pragma once

#include <string>

#include "quill_mark/audio/implementation/qmi_audio_event_table.h"

namespace Quillmark::Audio
{
class AudioManager;
}

namespace qmImplementation
{

// Fills `table` and answers true, or reports the first fault of the file's shape and answers
// false; sounds loaded before the fault stay loaded in the manager.
bool ReadEventTableFile(const std::string& tableName, const std::string& filePath,
                        EventTable& table, Quillmark::Audio::AudioManager& manager);

}  // namespace qmImplementation
