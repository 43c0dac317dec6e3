// Textures decoded from PNG files the tests write, checked against what OpenGL holds afterwards:
// pixel layout, sharing by exact path, failures that still yield a texture, and parameters.
#include "quill_mark/graphics/qm_texture_manager.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "support/gl_test_context.h"
#include "support/png_writer.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Graphics;
using Strings = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

namespace
{

// clang-format off
const char kInvalidImageData[] = "qmInternalError: Invalid imageData passed to OnCreateTexture()";
const char kNotFromData[] = "qmExternalError: Texture \"\" could not be loaded from file data provided, corrupt?";
// clang-format on

// A byte that differs with position and channel, so misplaced rows or channels show.
std::uint8_t At(int x, int y, int c)
{
    return std::uint8_t(x * 37 + y * 91 + c * 53 + 11);
}

// The pattern as the file holds it (rgba false) or as RGBA: grey spreads over red, green and
// blue; alpha is 255 unless the file has it (2 and 4 channels).
Bytes Pattern(int width, int height, int channels, bool rgba = false)
{
    Bytes out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!rgba)
                for (int c = 0; c < channels; ++c)
                    out.push_back(At(x, y, c));
            else
                out.insert(out.end(), {At(x, y, 0), At(x, y, channels < 3 ? 0 : 1),
                                       At(x, y, channels < 3 ? 0 : 2),
                                       std::uint8_t(channels % 2 ? 255 : At(x, y, channels - 1))});
    return out;
}

Bytes ReadTexture(TextureHandle handle, int width, int height)
{
    Bytes rgba(std::size_t(width) * height * 4);
    theTextureManager.BindTexture(handle);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

GLint Bound()
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
    std::string Write(const std::string& name, int width, int height, int channels)
    {
        const std::string path = folder + "/" + name;
        EXPECT_TRUE(QuillmarkTest::WritePngFile(path, width, height, channels,
                                                Pattern(width, height, channels)));
        return path;
    }

    QuillmarkTest::GlTestContext context;
    QuillmarkTest::RecordingErrorHandler errors;
    std::string folder;
};

}  // namespace

TEST_F(TextureManagerTest, EveryChannelLayoutArrivesAsRgbaWithTheTopRowFirst)
{
    for (int channels = 1; channels <= 4; ++channels)
        for (const auto& [width, height] : {std::pair{1, 1}, {3, 5}, {64, 32}})
        {
            const TextureHandle handle = theTextureManager.CreateTextureFromFile(
                Write(std::to_string(channels) + "_" + std::to_string(width) + ".png", width,
                      height, channels));
            EXPECT_EQ(Bound(), GLint(handle)) << "a new texture stays bound";
            EXPECT_EQ(theTextureManager.GetTextureWidth(handle), width);
            EXPECT_EQ(theTextureManager.GetTextureHeight(handle), height);
            EXPECT_EQ(theTextureManager.GetReferenceCount(handle), 1u);
            EXPECT_EQ(ReadTexture(handle, width, height), Pattern(width, height, channels, true))
                << channels << " channels, " << width << " x " << height;
        }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(TextureManagerTest, OnePathIsDecodedOnceAndOtherSpellingsAreOtherTextures)
{
    std::filesystem::create_directory(folder + "/sub");
    const std::string path = Write("sub/shared.png", 8, 4, 3);
    const TextureHandle first = theTextureManager.CreateTextureFromFile(path);
    std::filesystem::remove(path);  // a second decode would now fail and report
    theTextureManager.BindTexture(kInvalidTexture);
    EXPECT_EQ(theTextureManager.CreateTextureFromFile(path), first);
    EXPECT_EQ(Bound(), 0) << "a shared result changes no binding";
    EXPECT_EQ(theTextureManager.GetReferenceCount(first), 2u);

    Write("sub/shared.png", 8, 4, 3);
    const TextureHandle doubled =
        theTextureManager.CreateTextureFromFile(folder + "//sub/shared.png");
    const TextureHandle dotted =
        theTextureManager.CreateTextureFromFile(folder + "/./sub/shared.png");
    EXPECT_NE(doubled, first);
    EXPECT_NE(dotted, first);
    EXPECT_NE(dotted, doubled);
    EXPECT_EQ(ReadTexture(dotted, 8, 4), Pattern(8, 4, 3, true));
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(TextureManagerTest, AnUndecodableFileReportsAndStillGivesASharedEmptyTexture)
{
    const std::string missing = folder + "/missing.png", corrupt = folder + "/corrupt.png";
    std::ofstream(corrupt, std::ios::binary) << "\x89PNG\r\n\x1a\nnot really an image";
    // A header claiming 30000 x 40000 that the decoder gives up on after taking its sizes.
    const std::string claimsHuge = folder + "/claims_huge.hdr";
    std::ofstream(claimsHuge) << "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 40000 +X 30000\n";
    for (const std::string& path : {missing, corrupt, claimsHuge})
    {
        errors.messages.clear();
        const TextureHandle handle = theTextureManager.CreateTextureFromFile(path);
        EXPECT_EQ(errors.messages, (Strings{"qmExternalError: Texture \"" + path +
                                                "\" could not be loaded from file.",
                                            kInvalidImageData}));
        EXPECT_NE(handle, kInvalidTexture);
        EXPECT_EQ(theTextureManager.GetTextureWidth(handle), 0);
        EXPECT_EQ(theTextureManager.GetTextureHeight(handle), 0);
        EXPECT_EQ(theTextureManager.CreateTextureFromFile(path), handle);
        EXPECT_EQ(errors.messages.size(), 2u) << "the failed path is shared, not retried";
    }
}

TEST_F(TextureManagerTest, DataInMemoryMakesANewTextureEveryCallAndUnsafeInputIsNotDecoded)
{
    const Bytes png = QuillmarkTest::EncodePng(5, 3, 4, Pattern(5, 3, 4));
    const TextureHandle first =
        theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
    const TextureHandle second =
        theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
    EXPECT_NE(first, kInvalidTexture);
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadTexture(second, 5, 3), Pattern(5, 3, 4, true));
    EXPECT_TRUE(errors.messages.empty());

    // A size past INT_MAX is not cut down: cut to 32 bits it would read as the image's length.
    const struct
    {
        const std::uint8_t* data;
        std::size_t size;
        Strings reports;
    } cases[] = {
        {nullptr,
         png.size(),
         {"qmExternalError: The fileDataInMemory parameter is expected to be a valid pointer.",
          kNotFromData, kInvalidImageData}},
        {png.data(),
         (std::size_t(1) << 32) + png.size(),
         {"qmError: TextureData fileSizeInBytes too large for following cast into into int, "
          "corrupt size?",
          kNotFromData, kInvalidImageData}},
        {png.data(), 20, {kNotFromData, kInvalidImageData}}};
    for (const auto& c : cases)
    {
        errors.messages.clear();
        const TextureHandle handle =
            theTextureManager.CreateTextureFromFileInMemory(c.data, c.size);
        EXPECT_NE(handle, kInvalidTexture);
        EXPECT_EQ(theTextureManager.GetTextureWidth(handle), 0);
        EXPECT_EQ(errors.messages, c.reports);
    }
}

TEST_F(TextureManagerTest, SizesBeyondTheLargestPixelSpaceAndUnknownHandlesAreReported)
{
    const auto create = [](int width, int height)
    {
        const Bytes png = QuillmarkTest::EncodePng(width, height, 1, Bytes(width * height, 7));
        return theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
    };
    EXPECT_EQ(theTextureManager.GetTextureWidth(create(65535, 1)), 65535);
    EXPECT_EQ(theTextureManager.GetTextureHeight(create(1, 65535)), 65535);
    EXPECT_TRUE(errors.messages.empty());
    create(65536, 1);
    create(1, 65536);
    EXPECT_EQ(errors.messages, (Strings{"qmError: Expected imageWidth to be in range: (0 < "
                                        "imageWidth <= 65536), inprecise cast to PixelSpace.",
                                        "qmError: Expected imageHeight to be in range: (0 < "
                                        "imageHeight <= 65536), inprecise cast to PixelSpace."}));

    errors.messages.clear();
    const TextureHandle unknown = create(4, 2) + 1000;
    theTextureManager.BindTexture(unknown);
    EXPECT_EQ(Bound(), 0);
    EXPECT_EQ(theTextureManager.GetTextureWidth(unknown), 0);
    EXPECT_EQ(theTextureManager.GetTextureHeight(unknown), 0);
    EXPECT_EQ(
        errors.Count("qmError: Attempting to get a texture that does not exist! Invalid Handle."),
        3);
    theTextureManager.BindTexture(kInvalidTexture);
    EXPECT_EQ(theTextureManager.GetTextureWidth(kInvalidTexture), 0);
    EXPECT_EQ(errors.messages.size(), 3u) << "the invalid handle is quietly no texture";
}

TEST_F(TextureManagerTest, OpenGlReportsMagentaBorderLinearFilteringRepeatAndNoMipmaps)
{
    theTextureManager.BindTexture(theTextureManager.CreateTextureFromFile(Write("p.png", 4, 4, 3)));
    GLfloat border[4] = {};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    EXPECT_EQ(std::vector<GLfloat>(border, border + 4), (std::vector<GLfloat>{1, 0, 1, 1}));
    GLint values[5] = {};
    const GLenum names[] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S,
                            GL_TEXTURE_WRAP_T};
    for (int i = 0; i < 4; ++i)
        glGetTexParameteriv(GL_TEXTURE_2D, names[i], &values[i]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &values[4]);
    EXPECT_EQ(std::vector<GLint>(values, values + 5),
              (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, 0}));
}
