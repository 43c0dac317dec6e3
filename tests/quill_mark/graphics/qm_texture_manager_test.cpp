// Textures decoded from PNG files the tests write, checked against what OpenGL holds afterwards:
// pixel layout, sharing by exact path, failures that still yield a texture, and parameters.
#include "quill_mark/graphics/qm_texture_manager.h"

#include <GL/gl.h>

#include <set>

#include "graphics_test_fixture.h"

using namespace Quillmark::Graphics;
using Bytes = std::vector<std::uint8_t>;
using QuillmarkTest::Strings;

namespace
{

const char kInvalidImageData[] = "qmInternalError: Invalid imageData passed to OnCreateTexture()";
const char kNotFromData[] =
    "qmExternalError: Texture \"\" could not be loaded from file data provided, corrupt?";

// A byte that differs with position and channel, so misplaced rows or channels show.
std::uint8_t At(int x, int y, int c)
{
    return std::uint8_t(x * 37 + y * 91 + c * 53 + 11);
}

// The pattern as the file holds it, or as RGBA: grey spreads over red, green and blue; alpha is
// 255 unless the file has it (2 and 4 channels).
Bytes Pattern(int width, int height, int channels, bool rgba = false)
{
    Bytes out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < (rgba ? 4 : channels); ++c)
                out.push_back(!rgba    ? At(x, y, c)
                              : c == 3 ? (channels % 2 ? 255 : At(x, y, channels - 1))
                                       : At(x, y, channels < 3 ? 0 : c));
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

TextureHandle FromMemory(const Bytes& png, std::size_t size)
{
    return theTextureManager.CreateTextureFromFileInMemory(png.empty() ? nullptr : png.data(),
                                                           size);
}

using TextureManagerTest = QuillmarkTest::GraphicsTest;

}  // namespace

TEST_F(TextureManagerTest, EveryChannelLayoutArrivesAsRgbaWithTheTopRowFirst)
{
    for (int channels = 1; channels <= 4; ++channels)
        for (const auto& [width, height] : {std::pair{1, 1}, {3, 5}, {64, 32}})
        {
            const TextureHandle handle = theTextureManager.CreateTextureFromFile(
                WritePng(width, height, channels, Pattern(width, height, channels)));
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
    const std::string path = WritePng(8, 4, 3, Pattern(8, 4, 3)), name = "/8x4_3.png";
    const TextureHandle first = theTextureManager.CreateTextureFromFile(path);
    std::filesystem::rename(path, mFolder + "/moved.png");  // a second decode would report
    theTextureManager.BindTexture(kInvalidTexture);
    EXPECT_EQ(theTextureManager.CreateTextureFromFile(path), first);
    EXPECT_EQ(Bound(), 0) << "a shared result changes no binding";
    EXPECT_EQ(theTextureManager.GetReferenceCount(first), 2u);

    std::filesystem::rename(mFolder + "/moved.png", path);
    const TextureHandle doubled = theTextureManager.CreateTextureFromFile(mFolder + "/" + name);
    const TextureHandle dotted = theTextureManager.CreateTextureFromFile(mFolder + "/." + name);
    EXPECT_EQ(std::set<TextureHandle>({first, doubled, dotted}).size(), 3u);
    EXPECT_EQ(ReadTexture(dotted, 8, 4), Pattern(8, 4, 3, true));
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(TextureManagerTest, UndecodableOrUnsafeInputReportsAndStillGivesAnEmptyTexture)
{
    const std::string missing = mFolder + "/missing.png";
    const std::string corrupt = WriteText("corrupt.png", "\x89PNG\r\n\x1a\nnot really an image");
    // A header claiming 30000 x 40000 that the decoder gives up on after taking its sizes.
    const std::string huge =
        WriteText("huge.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 40000 +X 30000\n");
    for (const std::string& path : {missing, corrupt, huge})
    {
        errors.messages.clear();
        const TextureHandle handle = theTextureManager.CreateTextureFromFile(path);
        EXPECT_EQ(errors.messages, (Strings{"qmExternalError: Texture \"" + path +
                                                "\" could not be loaded from file.",
                                            kInvalidImageData}));
        EXPECT_NE(handle, kInvalidTexture);
        EXPECT_EQ(theTextureManager.GetTextureWidth(handle), 0);
        EXPECT_EQ(theTextureManager.GetTextureHeight(handle), 0);
        EXPECT_EQ(theTextureManager.CreateTextureFromFile(path), handle) << "shared, not retried";
        EXPECT_EQ(errors.messages.size(), 2u);
    }

    // In memory every call makes a new texture. A size past INT_MAX is not cut down: cut to 32
    // bits it would read as the image's length and load.
    const Bytes png = QuillmarkTest::EncodePng(5, 3, 4, Pattern(5, 3, 4));
    errors.messages.clear();
    const TextureHandle first = FromMemory(png, png.size()), second = FromMemory(png, png.size());
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadTexture(second, 5, 3), Pattern(5, 3, 4, true));
    const std::pair<std::size_t, Strings> cases[] = {
        {0,
         {"qmExternalError: The fileDataInMemory parameter is expected to be a valid pointer.",
          kNotFromData, kInvalidImageData}},
        {(std::size_t(1) << 32) + png.size(),
         {"qmError: TextureData fileSizeInBytes too large for following cast into into int, corrupt size?",
          kNotFromData, kInvalidImageData}},
        {20, {kNotFromData, kInvalidImageData}}};
    for (const auto& [size, reports] : cases)
    {
        errors.messages.clear();
        const TextureHandle handle = FromMemory(size ? png : Bytes(), size ? size : png.size());
        EXPECT_EQ(errors.messages, reports);
        EXPECT_NE(handle, kInvalidTexture);
        EXPECT_EQ(theTextureManager.GetTextureWidth(handle), 0);
    }
}

TEST_F(TextureManagerTest, SizesBeyondTheLargestPixelSpaceAreReported)
{
    const auto create = [](int width, int height)
    {
        const Bytes png = QuillmarkTest::EncodePng(width, height, 1, Bytes(width * height, 7));
        return FromMemory(png, png.size());
    };
    EXPECT_EQ(theTextureManager.GetTextureWidth(create(65535, 1)), 65535);
    EXPECT_EQ(theTextureManager.GetTextureHeight(create(1, 65535)), 65535);
    EXPECT_TRUE(errors.messages.empty());
    create(65536, 1);
    create(1, 65536);
    EXPECT_EQ(
        errors.messages,
        (Strings{
            "qmError: Expected imageWidth to be in range: (0 < imageWidth <= 65536), inprecise cast to PixelSpace.",
            "qmError: Expected imageHeight to be in range: (0 < imageHeight <= 65536), inprecise cast to PixelSpace."}));
}

TEST_F(TextureManagerTest, OpenGlReportsMagentaBorderLinearFilteringRepeatAndNoMipmaps)
{
    theTextureManager.BindTexture(MakeTexture(4, 4));
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
