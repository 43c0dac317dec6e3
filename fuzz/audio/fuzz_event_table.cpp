// Fuzzes the audio event-table loader: any text, written to a file, loads as a table or is
// reported, and an event of a loaded table plays or is refused. Paths in the text are arbitrary;
// most fail to open, which is reported like any missing sound. Reports are silenced here.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "quill_mark/audio/qm_audio_manager.h"

namespace
{

std::string thePath;
std::uint64_t theRun = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    thePath = "/tmp/fuzz_event_table_" + std::to_string(getpid()) + ".json";
    std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    std::ofstream(thePath, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));

    // Tables are never replaced, so every input loads under a name of its own.
    const std::string tableName = "fuzz" + std::to_string(theRun++);
    Quillmark::Audio::AudioManager& manager = Quillmark::Audio::theAudioManager;
    if (manager.LoadEventTable(tableName, thePath))
    {
        for (const char* event : {"blip", "hit", "7", "a"})
        {
            manager.PlayEvent(tableName, event);
        }
    }
    manager.Update();
    return 0;
}
