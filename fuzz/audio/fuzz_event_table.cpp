// SPDX-License-Identifier: Zlib
// Fuzzes the audio event-table loader: any text, written to a file, loads as a table or is
// reported, and an event of a loaded table plays or is refused. Paths in the text are arbitrary;
// most fail to open, which is reported like any missing sound. Reports are silenced here. Each
// input starts from an audio manager holding nothing: tables, sounds and plays are never let go
// by design, so a long run would otherwise grow without bound (and fill the 16 places with loops),
// and a finding would depend on the inputs before it.
#include <cstdint>
#include <cstdio>
#include <string>

#include "quill_mark/audio/implementation/qmi_audio_manager_state.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "support/fuzz_input_file.h"

namespace
{

const QuillmarkFuzz::InputFile theInput("fuzz_event_table", ".json");

// Players first: they hold OpenAL sources and buffers, not the sounds they were filled from.
void ForgetEverything(Quillmark::Audio::AudioManager& manager)
{
    qmImplementation::AudioManagerState& state = qmImplementation::AudioManagerState::Of(manager);
    state.eventTables.clear();
    state.activePlayers.clear();
    state.soundTable.clear();
    state.fileTable.clear();
    state.channelCounter = 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string tableName = "fuzz";
    Quillmark::Audio::AudioManager& manager = Quillmark::Audio::theAudioManager;
    if (manager.LoadEventTable(tableName, theInput.Write(bytes, size)))
    {
        for (const char* event : {"blip", "hit", "7", "a"})
        {
            manager.PlayEvent(tableName, event);
        }
    }
    manager.Update();
    ForgetEverything(manager);
    return 0;
}
