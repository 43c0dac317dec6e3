// Textures decoded from PNG files the tests write, checked against what OpenGL holds afterwards:
// pixel layout, sharing by exact path, failures that still yield a texture, and parameters.
#include "quill_mark/graphics/qm_texture_manager.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "support/gl_test_context.h"
#include "support/png_writer.h"
#include "support/recording_error_handler.h"

using Quillmark::Graphics::kInvalidTexture;
using Quillmark::Graphics::TextureHandle;
using Quillmark::Graphics::theTextureManager;
using QuillmarkTest::RecordingErrorHandler;

namespace
{

// clang-format off
const char kInvalidImageData[] = "qmInternalError: Invalid imageData passed to OnCreateTexture()";
const char kNoSuchTexture[] = "qmError: Attempting to get a texture that does not exist! Invalid Handle.";
const char kNotFromData[] = "qmExternalError: Texture \"\" could not be loaded from file data provided, corrupt?";
const char kWidthTooLarge[] = "qmError: Expected imageWidth to be in range: (0 < imageWidth <= 65536), inprecise cast to PixelSpace.";
const char kHeightTooLarge[] = "qmError: Expected imageHeight to be in range: (0 < imageHeight <= 65536), inprecise cast to PixelSpace.";
// clang-format on

std::string NotFromFile(const std::string& path)
{
    return "qmExternalError: Texture \"" + path + "\" could not be loaded from file.";
}

// A byte that differs with position and channel, so misplaced rows or channels show.
std::uint8_t PatternByte(int x, int y, int channel)
{
    return static_cast<std::uint8_t>(x * 37 + y * 91 + channel * 53 + 11);
}

std::vector<std::uint8_t> PatternImage(int width, int height, int channels)
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                pixels.push_back(PatternByte(x, y, c));
    return pixels;
}

// What a pattern pixel becomes as RGBA: grey spreads over red, green and blue; alpha is 255
// unless the file has it (2 and 4 channels).
std::vector<std::uint8_t> ExpectedRgba(int width, int height, int channels)
{
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const bool grey = channels < 3;
            for (int c = 0; c < 3; ++c)
                rgba.push_back(PatternByte(x, y, grey ? 0 : c));
            const bool hasAlpha = channels == 2 || channels == 4;
            rgba.push_back(hasAlpha ? PatternByte(x, y, channels - 1) : 255);
        }
    return rgba;
}

std::vector<std::uint8_t> ReadTexture(TextureHandle handle, int width, int height)
{
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    theTextureManager.BindTexture(handle);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

GLint BoundTexture()
{
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

class TextureManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!context.IsValid())
            GTEST_SKIP() << "no OpenGL context: " << context.Error();
        char pattern[] = "/tmp/qm_textures_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        if (!folder.empty())
            std::filesystem::remove_all(folder);
    }
    std::string WritePattern(const std::string& name, int width, int height, int channels)
    {
        const std::string path = folder + "/" + name;
        EXPECT_TRUE(QuillmarkTest::WritePngFile(path, width, height, channels,
                                                PatternImage(width, height, channels)));
        return path;
    }

    QuillmarkTest::GlTestContext context;
    RecordingErrorHandler errors;
    std::string folder;
};

}  // namespace

TEST_F(TextureManagerTest, EveryChannelLayoutArrivesAsRgbaWithTheTopRowFirst)
{
    const int sizes[][2] = {{1, 1}, {3, 5}, {64, 32}};
    for (int channels = 1; channels <= 4; ++channels)
        for (const auto& size : sizes)
        {
            const int width = size[0], height = size[1];
            const std::string path =
                WritePattern(std::to_string(channels) + "_" + std::to_string(width) + ".png", width,
                             height, channels);
            const TextureHandle handle = theTextureManager.CreateTextureFromFile(path);
            EXPECT_NE(handle, kInvalidTexture);
            EXPECT_EQ(BoundTexture(), GLint(handle)) << "a new texture stays bound";
            EXPECT_EQ(theTextureManager.GetTextureWidth(handle), width);
            EXPECT_EQ(theTextureManager.GetTextureHeight(handle), height);
            EXPECT_EQ(theTextureManager.GetReferenceCount(handle), 1u);
            EXPECT_EQ(ReadTexture(handle, width, height), ExpectedRgba(width, height, channels))
                << channels << " channels, " << width << " x " << height;
        }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(TextureManagerTest, OnePathIsDecodedOnceAndOtherSpellingsAreOtherTextures)
{
    std::filesystem::create_directory(folder + "/sub");
    const std::string path = WritePattern("sub/shared.png", 8, 4, 3);
    const TextureHandle first = theTextureManager.CreateTextureFromFile(path);
    std::filesystem::remove(path);  // a second decode would now fail and report
    theTextureManager.BindTexture(kInvalidTexture);

    EXPECT_EQ(theTextureManager.CreateTextureFromFile(path), first);
    EXPECT_EQ(BoundTexture(), 0) << "a shared result changes no binding";
    EXPECT_EQ(theTextureManager.GetReferenceCount(first), 2u);
    EXPECT_TRUE(errors.messages.empty());

    WritePattern("sub/shared.png", 8, 4, 3);
    const TextureHandle doubled =
        theTextureManager.CreateTextureFromFile(folder + "//sub/shared.png");
    const TextureHandle dotted =
        theTextureManager.CreateTextureFromFile(folder + "/./sub/shared.png");
    EXPECT_NE(doubled, first);
    EXPECT_NE(dotted, first);
    EXPECT_NE(dotted, doubled);
    EXPECT_EQ(theTextureManager.GetReferenceCount(doubled), 1u);
    EXPECT_EQ(ReadTexture(dotted, 8, 4), ExpectedRgba(8, 4, 3));
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(TextureManagerTest, AnUndecodableFileReportsAndStillGivesASharedEmptyTexture)
{
    const std::string missing = folder + "/missing.png";
    const std::string corrupt = folder + "/corrupt.png";
    std::ofstream(corrupt, std::ios::binary) << "\x89PNG\r\n\x1a\nnot really an image";
    const std::string truncated = folder + "/truncated.png";
    const std::vector<std::uint8_t> png =
        QuillmarkTest::EncodePng(16, 16, 4, PatternImage(16, 16, 4));
    std::ofstream(truncated, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size() / 2));

    // A header claiming 30000 x 40000 that the decoder gives up on after taking its sizes.
    const std::string claimsHuge = folder + "/claims_huge.hdr";
    std::ofstream(claimsHuge) << "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 40000 +X 30000\n";

    for (const std::string& path : {missing, corrupt, truncated, claimsHuge})
    {
        errors.messages.clear();
        const TextureHandle handle = theTextureManager.CreateTextureFromFile(path);
        EXPECT_EQ(errors.messages,
                  (std::vector<std::string>{NotFromFile(path), kInvalidImageData}));
        EXPECT_NE(handle, kInvalidTexture);
        EXPECT_EQ(theTextureManager.GetTextureWidth(handle), 0);
        EXPECT_EQ(theTextureManager.GetTextureHeight(handle), 0);
        EXPECT_EQ(theTextureManager.CreateTextureFromFile(path), handle);
        EXPECT_EQ(errors.messages.size(), 2u) << "the failed path is shared, not retried";
    }
}

TEST_F(TextureManagerTest, DataInMemoryMakesANewTextureEveryCallAndUnsafeInputIsNotDecoded)
{
    const std::vector<std::uint8_t> png = QuillmarkTest::EncodePng(5, 3, 4, PatternImage(5, 3, 4));
    const TextureHandle first =
        theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
    const TextureHandle second =
        theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
    EXPECT_NE(first, kInvalidTexture);
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadTexture(second, 5, 3), ExpectedRgba(5, 3, 4));
    EXPECT_TRUE(errors.messages.empty());

    // clang-format off
    const std::vector<std::string> nullReports = {"qmExternalError: The fileDataInMemory parameter is expected to be a valid pointer.", kNotFromData, kInvalidImageData};
    const std::vector<std::string> hugeReports = {"qmError: TextureData fileSizeInBytes too large for following cast into into int, corrupt size?", kNotFromData, kInvalidImageData};
    // clang-format on
    EXPECT_NE(theTextureManager.CreateTextureFromFileInMemory(nullptr, png.size()),
              kInvalidTexture);
    EXPECT_EQ(errors.messages, nullReports);

    // A size past INT_MAX is not cut down and decoded: cut to 32 bits, this one would read as
    // exactly the image's length and load.
    errors.messages.clear();
    const std::size_t huge = (std::size_t(1) << 32) + png.size();
    EXPECT_NE(theTextureManager.CreateTextureFromFileInMemory(png.data(), huge), kInvalidTexture);
    EXPECT_EQ(errors.messages, hugeReports);

    errors.messages.clear();
    const TextureHandle garbage = theTextureManager.CreateTextureFromFileInMemory(png.data(), 20);
    EXPECT_EQ(errors.messages, (std::vector<std::string>{kNotFromData, kInvalidImageData}));
    EXPECT_EQ(theTextureManager.GetTextureWidth(garbage), 0);
}

TEST_F(TextureManagerTest, SizesBeyondTheLargestPixelSpaceAreReported)
{
    const auto create = [](int width, int height)
    {
        const std::vector<std::uint8_t> png = QuillmarkTest::EncodePng(
            width, height, 1, std::vector<std::uint8_t>(width * height, 7));
        return theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
    };
    EXPECT_EQ(theTextureManager.GetTextureWidth(create(65535, 1)), 65535);
    EXPECT_EQ(theTextureManager.GetTextureHeight(create(1, 65535)), 65535);
    EXPECT_TRUE(errors.messages.empty());

    create(65536, 1);
    EXPECT_EQ(errors.messages, std::vector<std::string>{kWidthTooLarge});
    errors.messages.clear();
    create(1, 65536);
    EXPECT_EQ(errors.messages, std::vector<std::string>{kHeightTooLarge});
}

TEST_F(TextureManagerTest, UnknownHandlesReportAndActAsNoTexture)
{
    const TextureHandle real =
        theTextureManager.CreateTextureFromFile(WritePattern("a.png", 4, 2, 4));
    const TextureHandle unknown = real + 1000;

    theTextureManager.BindTexture(unknown);
    EXPECT_EQ(BoundTexture(), 0);
    EXPECT_EQ(theTextureManager.GetTextureWidth(unknown), 0);
    EXPECT_EQ(theTextureManager.GetTextureHeight(unknown), 0);
    EXPECT_EQ(errors.Count(kNoSuchTexture), 3);

    theTextureManager.BindTexture(real);
    theTextureManager.BindTexture(kInvalidTexture);
    EXPECT_EQ(BoundTexture(), 0);
    EXPECT_EQ(theTextureManager.GetTextureWidth(kInvalidTexture), 0);
    EXPECT_EQ(theTextureManager.GetTextureHeight(kInvalidTexture), 0);
    EXPECT_EQ(errors.messages.size(), 3u);
}

TEST_F(TextureManagerTest, OpenGlReportsMagentaBorderLinearFilteringRepeatAndNoMipmaps)
{
    const TextureHandle handle =
        theTextureManager.CreateTextureFromFile(WritePattern("p.png", 4, 4, 3));
    theTextureManager.BindTexture(handle);
    GLfloat border[4] = {};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    EXPECT_EQ(std::vector<GLfloat>(border, border + 4), (std::vector<GLfloat>{1, 0, 1, 1}));
    const GLenum expected[][2] = {{GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                                  {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                  {GL_TEXTURE_WRAP_S, GL_REPEAT},
                                  {GL_TEXTURE_WRAP_T, GL_REPEAT}};
    for (const auto& parameter : expected)
    {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter[0], &value);
        EXPECT_EQ(GLenum(value), parameter[1]) << "parameter 0x" << std::hex << parameter[0];
    }
    GLint levelOneWidth = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    EXPECT_EQ(levelOneWidth, 0);
}
