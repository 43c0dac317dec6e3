// SPDX-License-Identifier: Zlib
// The Ogg Vorbis reader against stb_vorbis decoding the whole file at once: block by block and
// after seeks it must give the same samples; missing, foreign and cut-short files are reported.
#include "quill_mark/audio/implementation/qmi_ogg_reader.h"

#include "ogg_test_files.h"

using qmImplementation::OggReader;

namespace
{

std::vector<std::int16_t> ReadAll(OggReader& reader, int block)
{
    std::vector<std::int16_t> samples, buffer(std::size_t(block * 2));
    for (int read; (read = reader.Read(buffer.data(), block)) > 0;)
        samples.insert(samples.end(), buffer.begin(), buffer.begin() + read * reader.GetChannels());
    return samples;
}

}  // namespace

TEST(OggReader, ReadsInBlocksAndAfterSeeksExactlyWhatTheWholeFileDecodesTo)
{
    TemporaryFolder folder;
    RecordingErrorHandler errors;
    const std::string path = SweepTrack(folder, "sweep", 1.3);
    const std::vector<std::int16_t> whole = DecodeWhole(path);
    ASSERT_EQ(whole.size(), std::size_t(1.3 * 22050));

    OggReader reader(path);
    EXPECT_EQ(reader.GetLengthInFrames(), whole.size());
    EXPECT_EQ(ReadAll(reader, 1000), whole);
    EXPECT_FALSE(reader.IsDamaged());
    ASSERT_TRUE(reader.Seek(0));
    EXPECT_EQ(ReadAll(reader, 4410), whole) << "again from the start";
    ASSERT_TRUE(reader.Seek(12345));
    EXPECT_EQ(reader.GetPosition(), 12345u);
    const std::vector<std::int16_t> rest = ReadAll(reader, 777);
    EXPECT_EQ(rest, std::vector<std::int16_t>(whole.begin() + 12345, whole.end()));
    EXPECT_EQ(errors.messages, std::vector<std::string>{});
}

TEST(OggReader, MissingForeignAndCutShortFilesAreReportedOnce)
{
    TemporaryFolder folder;
    RecordingErrorHandler errors;
    const std::string path = SweepTrack(folder, "sweep", 4.0);
    const std::string bytes = QuillmarkTest::ReadBytes(path);
    // The comment header claiming 2^29 + 1 comments in a packet of a few dozen bytes.
    std::string countless = bytes;
    const std::size_t comments = countless.find("\x03vorbis");
    const std::size_t vendor = std::uint8_t(countless[comments + 7]);
    countless.replace(comments + 11 + vendor, 4, "\x01\0\0\x20", 4);
    {
        OggReader missing(folder.File("missing.ogg"));
        OggReader foreign(folder.Write("tone.ogg", ToneFile(0.1)));
        OggReader lying(folder.Write("comments.ogg", countless));
        EXPECT_FALSE(missing.IsOpen());
        EXPECT_FALSE(foreign.IsOpen());
        EXPECT_FALSE(lying.IsOpen());
        std::int16_t sample = 0;
        EXPECT_EQ(missing.Read(&sample, 1), 0);
    }
    EXPECT_EQ(errors.messages,
              (std::vector<std::string>{"qmExternalError: Failed to open music file, \"" +
                                            folder.File("missing.ogg") + "\".",
                                        "qmDataError: Music \"" + folder.File("tone.ogg") +
                                            "\" is not an Ogg Vorbis file that can be read.",
                                        "qmDataError: Music \"" + folder.File("comments.ogg") +
                                            "\" is not an Ogg Vorbis file that can be read."}));

    // Cut mid-page (no last page), or pages missing before the last (whose stated length the audio
    // falls short of): reported when the reading gets there.
    const std::size_t lastPage = bytes.rfind("OggS");
    for (const std::string& damaged : {bytes.substr(0, bytes.size() * 2 / 3),
                                       bytes.substr(0, lastPage / 2) + bytes.substr(lastPage)})
    {
        errors.messages.clear();
        const std::string cutPath = folder.Write("cut.ogg", damaged);
        OggReader cut(cutPath);
        ASSERT_TRUE(cut.IsOpen());
        EXPECT_LT(ReadAll(cut, 1000).size(), std::size_t(3.5 * 22050));
        EXPECT_TRUE(cut.IsDamaged());
        std::int16_t sample = 0;
        EXPECT_EQ(cut.Read(&sample, 1), 0);
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.messages[0].rfind(
                      "qmDataError: Music \"" + cutPath + "\" is damaged or cut short after ", 0),
                  0u)
            << errors.messages[0];
    }
}

// Streams the fuzzer found decoding far outside the sample range: read to the end and clamped,
// with no undefined arithmetic (the sanitizer suite runs this too).
TEST(OggReader, StreamsDecodingToWildValuesReadToTheirEnd)
{
    const char* root = std::getenv("QM_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    for (const char* name : {"seed_wild_samples_a", "seed_wild_samples_b"})
    {
        RecordingErrorHandler errors;
        OggReader reader(std::string(root) + "/fuzz/corpus/fuzz_ogg_stream/" + name);
        ASSERT_TRUE(reader.IsOpen()) << name;
        const std::vector<std::int16_t> samples = ReadAll(reader, 1000);
        EXPECT_FALSE(samples.empty()) << name;
    }
}
