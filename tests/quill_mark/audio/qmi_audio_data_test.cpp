// Reading WAV files: the formats that play, the reports for those that do not, and that no file,
// however damaged, makes the reader read or hand out more than the file holds.
#include "quill_mark/audio/implementation/qmi_audio_data.h"

#include "audio_test_files.h"

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

}  // namespace

TEST(AudioData, LayoutsGiveTheirFormatSamplesAndReports)
{
    std::string s;
    for (int i = 0; i < 10; ++i)
    {
        s += "0123456789";
    }
    const std::string data = Chunk("data", s);
    const ALenum m8 = AL_FORMAT_MONO8;
    const struct
    {
        const char* what;
        std::string file;
        ALenum format;
        std::string samples;  // what every read must give
        std::vector<std::string> reports;
    } cases[] = {
        {"mono 8", Wav(1, 11025, 8, data), m8, s, {}},
        {"stereo 8", Wav(2, 11025, 8, data), AL_FORMAT_STEREO8, s, {}},
        {"mono 16", Wav(1, 11025, 16, data), AL_FORMAT_MONO16, s, {}},
        {"stereo 16", Wav(2, 11025, 16, data), AL_FORMAT_STEREO16, s, {}},
        {"list first", Wav(1, 8000, 8, Chunk("LIST", "INFOtext") + data), m8, s, {}},
        {"odd, padded", Wav(1, 8000, 8, Chunk("note", "abc") + '\0' + data), m8, s, {}},
        {"odd, unpadded", Wav(1, 8000, 8, Chunk("note", "abc") + data), m8, s, {}},
        {"no data", Wav(1, 8000, 8, Chunk("LIST", "abcd")), m8, "", {kNoData}},
        {"3 channels", Wav(3, 8000, 16, data), 0, s, {kNotMonoOrStereo}},
        {"24-bit", Wav(1, 8000, 24, data), AL_FORMAT_MONO16, s, {kNotSixteenBit}},
        // Sizes beyond the file are cut to the bytes present, in whole frames; a chunk whose size
        // leaps past the end of the file ends the walk; bytes after the data chunk never leak.
        {"truncated", Wav(1, 8000, 8, Chunk("data", s, 1000)), m8, s, {kCut100}},
        {"above 2^31", Wav(1, 8000, 8, Chunk("data", s, 0x80000000u)), m8, s, {kCut100}},
        {"largest", Wav(1, 8000, 8, Chunk("data", s, 0xFFFFFFFFu)), m8, s, {kCut100}},
        {"ragged", Wav(2, 8, 16, Chunk("data", s + "ab", 4000)), AL_FORMAT_STEREO16, s, {kCut100}},
        {"huge chunk", Wav(1, 8000, 8, Chunk("LIST", "", 0xFFFFFFF0u) + data), m8, "", {kNoData}},
        {"tail", Wav(1, 8000, 8, data + Chunk("LIST", "tail")), m8, s, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        const std::string path = folder.Write("sound.wav", c.file);
        RecordingErrorHandler errors;
        AudioData audio(path);
        ASSERT_EQ(errors.messages.size(), c.reports.size());
        for (std::size_t i = 0; i < c.reports.size(); ++i)
        {
            std::string expected = c.reports[i];
            const std::size_t at = expected.find("%s");
            EXPECT_EQ(errors.messages[i],
                      at == expected.npos ? expected : expected.replace(at, 2, path));
        }
        EXPECT_EQ(audio.GetFormat(), c.format);
        ASSERT_EQ(audio.GetDataSize(), static_cast<std::int32_t>(c.samples.size()));
        // The samples are read from the file again on every request and are the same each time.
        for (int read = 0; read < 2; ++read)
        {
            std::string bytes(c.samples.size(), '\x7F');
            audio.GetData(bytes.data(), audio.GetDataSize());
            EXPECT_EQ(bytes, c.samples);
        }
    }
}
