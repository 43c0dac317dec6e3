// Reading WAV files: the formats that play, the reports for those that do not, and that no file,
// however damaged, makes the reader read or hand out more than the file holds.
#include "quill_mark/audio/implementation/qmi_audio_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_test_files.h"
#include "support/recording_error_handler.h"

using qmImplementation::AudioData;
using namespace QuillmarkTest;

namespace
{

// Reports as formatted, with %s standing for the file's path.
const char kNoData[] = "qmExternalError: Was unable to find data chunk in wave file.";
const char kNotMonoOrStereo[] =
    "qmExternalError: Audio file \"%s\" is not a mono or stereo WAV file.";
const char kNotSixteenBit[] = "qmExternalError: Audio file \"%s\" is not a 8bit or 16bit WAV file.";
const char kCut100[] =
    "qmExternalError: Audio file \"%s\" holds fewer sample bytes than its data chunk declares; "
    "using the 100 bytes present.";
const char kPartial[] =
    "qmInternalError: Collecting partial audio data for streaming players is not yet supported.";

std::string Expand(std::string report, const std::string& path)
{
    const std::size_t at = report.find("%s");
    return at == std::string::npos ? report : report.replace(at, 2, path);
}

std::string Pattern(std::size_t size)
{
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i)
    {
        bytes += static_cast<char>((i * 37 + 11) & 0xFF);
    }
    return bytes;
}

std::string ReadAll(AudioData& data)
{
    std::string bytes(static_cast<std::size_t>(data.GetDataSize()), '\x7F');
    data.GetData(bytes.data(), data.GetDataSize());
    return bytes;
}

struct WavCase
{
    const char* what;
    std::string file;
    ALenum format;
    std::string samples;  // what every read must give
    std::vector<std::string> reports;
};

}  // namespace

TEST(AudioData, LayoutsGiveTheirFormatSamplesAndReports)
{
    const std::string s = Pattern(100);
    const std::string fmt8 = Fmt(1, 8000, 8);
    const ALenum m8 = AL_FORMAT_MONO8;
    const WavCase cases[] = {
        {"mono 8", Wav(1, 11025, 8, s), m8, s, {}},
        {"stereo 8", Wav(2, 11025, 8, s), AL_FORMAT_STEREO8, s, {}},
        {"mono 16", Wav(1, 11025, 16, s), AL_FORMAT_MONO16, s, {}},
        {"stereo 16", Wav(2, 11025, 16, s), AL_FORMAT_STEREO16, s, {}},
        {"list first", Wav(fmt8 + Chunk("LIST", "INFOtext") + Chunk("data", s)), m8, s, {}},
        {"odd, padded", Wav(fmt8 + Chunk("note", "abc") + '\0' + Chunk("data", s)), m8, s, {}},
        {"odd, unpadded", Wav(fmt8 + Chunk("note", "abc") + Chunk("data", s)), m8, s, {}},
        {"no data", Wav(fmt8 + Chunk("LIST", "abcd")), m8, "", {kNoData}},
        {"3 channels", Wav(3, 8000, 16, s), 0, s, {kNotMonoOrStereo}},
        {"24-bit", Wav(1, 8000, 24, s), AL_FORMAT_MONO16, s, {kNotSixteenBit}},
        // Sizes beyond the file are cut to the bytes present, in whole frames.
        {"truncated", Wav(fmt8 + Chunk("data", s, 1000)), m8, s, {kCut100}},
        {"above 2^31", Wav(fmt8 + Chunk("data", s, 0x80000000u)), m8, s, {kCut100}},
        {"largest", Wav(fmt8 + Chunk("data", s, 0xFFFFFFFFu)), m8, s, {kCut100}},
        {"ragged",
         Wav(Fmt(2, 8000, 16) + Chunk("data", Pattern(102), 4000)),
         AL_FORMAT_STEREO16,
         s,
         {kCut100}},
        // A chunk whose size leaps past the end of the file ends the walk.
        {"huge chunk",
         Wav(fmt8 + Chunk("LIST", "abcd", 0xFFFFFFF0u) + Chunk("data", s)),
         AL_FORMAT_MONO8,
         "",
         {kNoData}},
    };
    for (const WavCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        const std::string path = folder.Write("sound.wav", c.file);
        RecordingErrorHandler errors;
        AudioData data(path);
        std::vector<std::string> expected;
        for (const std::string& report : c.reports)
        {
            expected.push_back(Expand(report, path));
        }
        EXPECT_EQ(errors.messages, expected);
        EXPECT_EQ(data.GetFormat(), c.format);
        ASSERT_EQ(data.GetDataSize(), static_cast<std::int32_t>(c.samples.size()));
        // The samples are read from the file again on every request and are the same each time.
        EXPECT_EQ(ReadAll(data), c.samples);
        EXPECT_EQ(ReadAll(data), c.samples);
    }
}

TEST(AudioData, ReadsNeverGoPastTheDataChunk)
{
    TemporaryFolder folder;
    RecordingErrorHandler errors;
    AudioData none(folder.File("missing.wav"));
    std::string silence(6, 'x');
    none.GetData(silence.data(), 6);
    EXPECT_EQ(silence, std::string(6, '\0'));

    // Bytes after the data chunk never leak into a read; a longer request ends in silence.
    const std::string samples = Pattern(32);
    AudioData data(folder.Write(
        "tail.wav", Wav(Fmt(1, 8000, 8) + Chunk("data", samples) + Chunk("LIST", "tail"))));
    std::string longer(40, 'x');
    data.GetData(longer.data(), 40);
    EXPECT_EQ(longer, samples + std::string(8, '\0'));
    EXPECT_EQ(errors.Count(kPartial), 2);
    EXPECT_EQ(ReadAll(data), samples);
}
