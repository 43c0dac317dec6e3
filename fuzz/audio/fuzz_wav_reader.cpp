// SPDX-License-Identifier: Zlib
// Fuzzes the WAV reader and one play of what it read: any bytes, written to a file, must load
// without a crash or a hang, never claim more sample bytes than the file holds, and play (or not)
// through a real OpenAL source. Reports go to standard output, which is silenced here.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "quill_mark/audio/implementation/qmi_audio_data.h"
#include "quill_mark/audio/implementation/qmi_audio_player.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "support/fuzz_input_file.h"

namespace
{

const QuillmarkFuzz::InputFile theInput("fuzz_wav_reader", ".wav");

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    qmImplementation::AudioData data(theInput.Write(bytes, size));
    const std::int32_t dataSize = data.GetDataSize();
    // The samples are bounded by the bytes after the RIFF header and the data chunk's header.
    if (dataSize < 0 || (dataSize > 0 && static_cast<std::size_t>(dataSize) + 12 + 8 > size))
    {
        __builtin_trap();
    }
    std::vector<char> first(static_cast<std::size_t>(dataSize));
    std::vector<char> second(static_cast<std::size_t>(dataSize));
    data.GetData(first.data(), dataSize);
    data.GetData(second.data(), dataSize);
    if (first != second)
    {
        __builtin_trap();
    }
    data.GetFormat();

    // The device comes from the audio manager's start-up.
    Quillmark::Audio::theAudioManager.Update();
    qmImplementation::AudioPlayer player(1);
    player.Play(data, (size & 1u) != 0);
    player.Update();
    return 0;
}
