// SPDX-License-Identifier: Zlib
// Reading WAV files: the formats that play, the reports (in the reader's order) for those that do
// not, and that no damaged file makes the reader read or hand out more than the file holds.
#include "quill_mark/audio/implementation/qmi_audio_data.h"

#include "audio_test_files.h"

using qmImplementation::AudioData;
using Strings = std::vector<std::string>;

TEST(AudioData, LayoutsAndAMissingFileGiveTheirFormatSamplesAndReports)
{
    TemporaryFolder folder;
    const std::string path = folder.File("sound.wav");
    const std::string noData = "qmExternalError: Was unable to find data chunk in wave file.";
    const std::string channels =
        "qmExternalError: Audio file \"" + path + "\" is not a mono or stereo WAV file.";
    const std::string bits =
        "qmExternalError: Audio file \"" + path + "\" is not a 8bit or 16bit WAV file.";
    const std::string cut = "qmExternalError: Audio file \"" + path +
                            "\" holds fewer sample bytes than its data chunk declares; using the "
                            "100 bytes present.";
    const std::string s = ToneFile(0.1).substr(44, 100);  // 100 bytes of varied values
    const std::string data = Chunk("data", s);
    const ALenum m8 = AL_FORMAT_MONO8;
    using Case = std::tuple<const char*, std::string, ALenum, std::string, Strings>;
    const Case cases[] = {
        {"mono 8", Wav(1, 11025, 8, data), m8, s, {}},
        {"stereo 8", Wav(2, 11025, 8, data), AL_FORMAT_STEREO8, s, {}},
        {"mono 16", Wav(1, 11025, 16, data), AL_FORMAT_MONO16, s, {}},
        {"stereo 16", Wav(2, 11025, 16, data), AL_FORMAT_STEREO16, s, {}},
        {"list first", Wav(1, 8000, 8, Chunk("LIST", "INFOtext") + data), m8, s, {}},
        {"odd, padded", Wav(1, 8000, 8, Chunk("note", "abc") + '\0' + data), m8, s, {}},
        {"odd, unpadded", Wav(1, 8000, 8, Chunk("note", "abc") + data), m8, s, {}},
        {"no data", Wav(1, 8000, 8, Chunk("LIST", "abcd")), m8, "", {noData}},
        {"3 channels", Wav(3, 8000, 16, data), 0, s, {channels}},
        {"24-bit", Wav(1, 8000, 24, data), AL_FORMAT_MONO16, s, {bits}},
        // Sizes beyond the file are cut to the bytes present, in whole frames; a chunk leaping
        // past the end of the file ends the walk; bytes after the data chunk never leak.
        {"truncated", Wav(1, 8000, 8, Chunk("data", s, 1000)), m8, s, {cut}},
        {"huge", Wav(1, 8000, 8, Chunk("LIST", "", 0xFFFFFFF0u) + data), m8, "", {noData}},
        {"tail", Wav(1, 8000, 8, data + Chunk("LIST", "tail")), m8, s, {}},
    };
    for (const auto& [what, file, format, samples, reports] : cases)
    {
        SCOPED_TRACE(what);
        folder.Write("sound.wav", file);
        RecordingErrorHandler errors;
        AudioData audio(path);
        EXPECT_EQ(errors.messages, reports);
        EXPECT_EQ(audio.GetFormat(), format);
        ASSERT_EQ(audio.GetDataSize(), static_cast<std::int32_t>(samples.size()));
        // Read from the file again on every request: the same each time.
        for (int read = 0; read < 2; ++read)
        {
            std::string bytes(samples.size(), '\x7F');
            audio.GetData(bytes.data(), audio.GetDataSize());
            EXPECT_EQ(bytes, samples);
        }
    }
    // A missing file is reported by every check that follows, in order.
    RecordingErrorHandler errors;
    AudioData missing(folder.File("missing.wav"));
    const std::string quoted = "\"" + folder.File("missing.wav") + "\"";
    EXPECT_EQ(
        errors.messages,
        (Strings{"qmExternalError: Failed to load audio file, " + quoted + ".",
                 "qmExternalError: Failed to process audio file, " + quoted +
                     ", audio file is not a supported WAV file.",
                 noData,
                 "qmExternalError: Audio file " + quoted + " is not a mono or stereo WAV file.",
                 "qmExternalError: Audio file " + quoted + " is not a 8bit or 16bit WAV file."}));
}

TEST(AudioData, FilesThatAreNoPlainPcmWaveAreReportedAsNotSupported)
{
    TemporaryFolder folder;
    const std::string path = folder.File("sound.wav");
    const std::string unsupported = "qmExternalError: Failed to process audio file, \"" + path +
                                    "\", audio file is not a supported WAV file.";
    const std::string noData = "qmExternalError: Was unable to find data chunk in wave file.";
    const std::string pcm = Wav(1, 8000, 8, Chunk("data", "abcd"));
    std::string extensible = Wav(1, 8000, 16, "");
    extensible.replace(16, 6, Le(40, 4) + Le(0xFFFE, 2));  // the 40-byte form, PCM inside
    extensible += Le(22, 2) + Le(16, 2) + Le(4, 4) + Le(1, 2) +
                  std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14) +
                  Chunk("data", "abcd");
    const std::pair<std::string, Strings> cases[] = {
        {"RIFX" + pcm.substr(4), {unsupported}},
        {pcm.substr(0, 8) + "WAVX" + pcm.substr(12), {unsupported}},
        {pcm.substr(0, 20) + Le(3, 2) + pcm.substr(22), {unsupported}},  // floating point
        {extensible, {unsupported}},
        {pcm.substr(0, 40), {unsupported, noData}},  // shorter than the 44-byte header
    };
    for (const auto& [file, reports] : cases)
    {
        SCOPED_TRACE(testing::PrintToString(file.substr(0, 24)));
        folder.Write("sound.wav", file);
        RecordingErrorHandler errors;
        AudioData audio(path);
        EXPECT_EQ(errors.messages, reports);
    }
}
