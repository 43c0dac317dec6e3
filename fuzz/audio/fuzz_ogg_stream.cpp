// SPDX-License-Identifier: Zlib
// Fuzzes the Ogg Vorbis stream reader and a music stream on it: any bytes, written to a file, must
// open or be refused without a crash or a hang, read in blocks to the end (bounded here), seek,
// and stream through a real OpenAL source queue on the null device. A reader that found damage
// must read nothing more.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "quill_mark/audio/implementation/qmi_music_stream.h"
#include "quill_mark/audio/implementation/qmi_ogg_reader.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "support/fuzz_input_file.h"

namespace
{

const QuillmarkFuzz::InputFile theInput("fuzz_ogg_stream", ".ogg");
constexpr int kMostFramesRead = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string& path = theInput.Write(bytes, size);
    {
        qmImplementation::OggReader reader(path);
        std::vector<std::int16_t> block(2 * 4096);
        int total = 0;
        for (int read = 1; read > 0 && total < kMostFramesRead; total += read)
        {
            read = reader.Read(block.data(), 4096);
            if (read < 0 || read > 4096)
                __builtin_trap();
        }
        if (reader.IsDamaged() && reader.Read(block.data(), 1) != 0)
            __builtin_trap();
        reader.Seek(reader.GetLengthInFrames() / 2);
        reader.Read(block.data(), 100);
    }
    qmImplementation::MusicStream stream(path);
    stream.SetLooping((size & 1u) != 0);
    stream.Play();
    Quillmark::Audio::theAudioManager.Update();
    stream.SetPosition(0.5f);
    stream.GetPosition();
    return 0;
}
