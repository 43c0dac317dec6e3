// Reading WAV files: the formats that play, the reports for those that do not, and that no file,
// however damaged, makes the reader read or hand out more than the file holds.
#include "quill_mark/audio/implementation/qmi_audio_data.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_test_files.h"
#include "support/recording_error_handler.h"

using qmImplementation::AudioData;
using QuillmarkTest::RecordingErrorHandler;
using QuillmarkTest::TemporaryFolder;
using QuillmarkTest::WavBuilder;

namespace
{

// Reports as formatted, with %s standing for the file's path.
const char kNotSupported[] =
    "qmExternalError: Failed to process audio file, \"%s\", audio file is not a supported WAV "
    "file.";
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

// Everything a play would take from the file.
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

void Check(const WavCase& c)
{
    SCOPED_TRACE(c.what);
    TemporaryFolder folder;
    const std::string path = folder.Write("sound.wav", c.file);
    RecordingErrorHandler errors;
    AudioData data(path);
    std::vector<std::string> expected;
    for (const std::string& code : c.reports)
    {
        expected.push_back(Expand(code, path));
    }
    EXPECT_EQ(errors.messages, expected);
    EXPECT_EQ(data.GetFormat(), c.format);
    ASSERT_EQ(data.GetDataSize(), static_cast<std::int32_t>(c.samples.size()));
    // The samples are read from the file again on every request and are the same each time.
    EXPECT_EQ(ReadAll(data), c.samples);
    EXPECT_EQ(ReadAll(data), c.samples);
}

const std::string kSamples = Pattern(100);

}  // namespace

TEST(AudioData, PlayableLayoutsGiveTheirFormatAndSamples)
{
    const WavCase cases[] = {
        {"mono 8", WavBuilder::Canonical(1, 11025, 8, kSamples), AL_FORMAT_MONO8, kSamples, {}},
        {"stereo 8", WavBuilder::Canonical(2, 11025, 8, kSamples), AL_FORMAT_STEREO8, kSamples, {}},
        {"mono 16", WavBuilder::Canonical(1, 11025, 16, kSamples), AL_FORMAT_MONO16, kSamples, {}},
        {"stereo 16",
         WavBuilder::Canonical(2, 11025, 16, kSamples),
         AL_FORMAT_STEREO16,
         kSamples,
         {}},
        {"list chunk before the data",
         WavBuilder().Format(1, 8000, 16).Chunk("LIST", "INFOtext").Chunk("data", kSamples),
         AL_FORMAT_MONO16,
         kSamples,
         {}},
        {"odd chunk with its pad byte",
         WavBuilder()
             .Format(1, 8000, 16)
             .Chunk("note", "abc")
             .Raw(std::string(1, '\0'))
             .Chunk("data", kSamples),
         AL_FORMAT_MONO16,
         kSamples,
         {}},
        {"odd chunk without its pad byte",
         WavBuilder().Format(1, 8000, 16).Chunk("note", "abc").Chunk("data", kSamples),
         AL_FORMAT_MONO16,
         kSamples,
         {}},
        {"a chunk before an 18-byte format chunk",
         WavBuilder().Chunk("JUNK", "1234").Format(2, 8000, 16, 1, 2).Chunk("data", kSamples),
         AL_FORMAT_STEREO16,
         kSamples,
         {}},
        {"extensible plain PCM",
         WavBuilder().ExtensibleFormat(1, 8000, 8).Chunk("data", kSamples),
         AL_FORMAT_MONO8,
         kSamples,
         {}},
    };
    for (const WavCase& c : cases)
    {
        Check(c);
    }
    AudioData rate(TemporaryFolder().Write("rate.wav", WavBuilder::Canonical(1, 11025, 8, "")));
    EXPECT_EQ(rate.GetSampleRate(), 11025);
}

TEST(AudioData, UnsupportedLayoutsAreReportedWithTheirFallbackFormat)
{
    const WavCase cases[] = {
        {"three channels",
         WavBuilder::Canonical(3, 8000, 16, kSamples),
         0,
         kSamples,
         {kNotMonoOrStereo}},
        {"24-bit",
         WavBuilder::Canonical(1, 8000, 24, kSamples),
         AL_FORMAT_MONO16,
         kSamples,
         {kNotSixteenBit}},
        {"float samples",
         WavBuilder().Format(2, 8000, 32, 3).Chunk("data", kSamples),
         AL_FORMAT_STEREO16,
         kSamples,
         {kNotSupported, kNotSixteenBit}},
        {"another RIFF form",
         WavBuilder("AVI ").Format(1, 8000, 8).Chunk("data", kSamples),
         AL_FORMAT_MONO8,
         kSamples,
         {kNotSupported}},
        {"extensible, not PCM",
         WavBuilder().ExtensibleFormat(1, 8000, 16, 3).Chunk("data", kSamples),
         AL_FORMAT_MONO16,
         kSamples,
         {kNotSupported}},
        {"no data chunk",
         WavBuilder().Format(1, 8000, 8).Chunk("LIST", "abcd"),
         AL_FORMAT_MONO8,
         "",
         {kNoData}},
        {"a header cut short",
         "RIFF\x04",
         0,
         "",
         {kNotSupported, kNoData, kNotMonoOrStereo, kNotSixteenBit}},
    };
    for (const WavCase& c : cases)
    {
        Check(c);
    }
}

TEST(AudioData, SizesBeyondTheFileAreCutToTheBytesPresent)
{
    const WavCase cases[] = {
        {"truncated",
         WavBuilder().Format(1, 8000, 8).Chunk("data", kSamples, 1000),
         AL_FORMAT_MONO8,
         kSamples,
         {kCut100}},
        {"size above 2^31",
         WavBuilder().Format(1, 8000, 8).Chunk("data", kSamples, 0x80000000u),
         AL_FORMAT_MONO8,
         kSamples,
         {kCut100}},
        {"largest size",
         WavBuilder().Format(1, 8000, 8).Chunk("data", kSamples, 0xFFFFFFFFu),
         AL_FORMAT_MONO8,
         kSamples,
         {kCut100}},
        // Cut to whole 16-bit stereo frames, so the shorter samples still make a valid buffer.
        {"ragged",
         WavBuilder().Format(2, 8000, 16).Chunk("data", Pattern(102), 4000),
         AL_FORMAT_STEREO16,
         Pattern(100),
         {kCut100}},
        // A chunk whose size leaps past the end of the file ends the walk.
        {"huge chunk",
         WavBuilder().Format(1, 8000, 8).Chunk("LIST", "abcd", 0xFFFFFFF0u).Chunk("data", kSamples),
         AL_FORMAT_MONO8,
         "",
         {kNoData}},
    };
    for (const WavCase& c : cases)
    {
        Check(c);
    }
}

TEST(AudioData, MissingFilesAndPartialRequestsReadNothingThatIsNotThere)
{
    TemporaryFolder folder;
    RecordingErrorHandler errors;
    const std::string missing = folder.File("missing.wav");
    AudioData none(missing);
    EXPECT_EQ(errors.messages,
              (std::vector<std::string>{
                  "qmExternalError: Failed to load audio file, \"" + missing + "\".",
                  Expand(kNotSupported, missing), kNoData, Expand(kNotMonoOrStereo, missing),
                  Expand(kNotSixteenBit, missing)}));
    EXPECT_EQ(none.GetDataSize(), 0);
    std::string silence(6, 'x');
    none.GetData(silence.data(), 6);
    EXPECT_EQ(silence, std::string(6, '\0'));

    // Bytes after the data chunk never leak into a read; a longer request ends in silence.
    const std::string samples = Pattern(32);
    AudioData data(folder.Write(
        "tail.wav", WavBuilder().Format(1, 8000, 8).Chunk("data", samples).Chunk("LIST", "tail")));
    std::string longer(40, 'x');
    data.GetData(longer.data(), 40);
    EXPECT_EQ(longer, samples + std::string(8, '\0'));
    std::string shorter(10, 'x');
    data.GetData(shorter.data(), 10);
    EXPECT_EQ(shorter, samples.substr(0, 10));
    EXPECT_EQ(errors.Count(kPartial), 3);
    // The file still rests at the first sample: a whole read afterwards is whole.
    EXPECT_EQ(ReadAll(data), samples);
}
