// SPDX-License-Identifier: Zlib
// Textures decoded from PNG files the tests write, checked against what OpenGL then holds: pixel
// layout, parameters and sharing by exact path.
#include "quill_mark/graphics/qm_texture_manager.h"

#include <GL/gl.h>

#include "graphics_test_fixture.h"

using namespace Quillmark::Graphics;
using Bytes = std::vector<std::uint8_t>;
using QuillmarkTest::Strings;

namespace
{

// A byte per position and channel, so misplaced rows or channels show. As RGBA, grey spreads
// over red, green and blue, and alpha is 255 unless the file has it.
Bytes Pattern(int width, int height, int channels, bool rgba = false)
{
    Bytes out;
    const auto at = [](int x, int y, int c) { return std::uint8_t(x * 37 + y * 91 + c * 53 + 11); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < (rgba ? 4 : channels); ++c)
                out.push_back(!rgba    ? at(x, y, c)
                              : c == 3 ? (channels % 2 ? 255 : at(x, y, channels - 1))
                                       : at(x, y, channels < 3 ? 0 : c));
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

using TextureManagerTest = QuillmarkTest::GraphicsTest;

}  // namespace

TEST_F(TextureManagerTest, EveryChannelLayoutArrivesAsRgbaWithTheTopRowFirstAndStaysBound)
{
    for (int channels = 1; channels <= 4; ++channels)
    {
        const TextureHandle handle = theTextureManager.CreateTextureFromFile(
            WritePng(3, 5, channels, Pattern(3, 5, channels)));
        EXPECT_EQ(Bound(), GLint(handle));
        EXPECT_EQ(theTextureManager.GetTextureWidth(handle), 3);
        EXPECT_EQ(theTextureManager.GetTextureHeight(handle), 5);
        EXPECT_EQ(ReadTexture(handle, 3, 5), Pattern(3, 5, channels, true)) << channels;
    }
    const GLenum names[] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S,
                            GL_TEXTURE_WRAP_T};
    GLint values[5] = {};
    for (int i = 0; i < 4; ++i)
        glGetTexParameteriv(GL_TEXTURE_2D, names[i], &values[i]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &values[4]);
    EXPECT_EQ(std::vector<GLint>(values, values + 5),
              (std::vector<GLint>{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, 0}));
    GLfloat border[4] = {};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    EXPECT_EQ(std::vector<GLfloat>(border, border + 4), (std::vector<GLfloat>{1, 0, 1, 1}));
    EXPECT_EQ(errors.messages, Strings{});
}

TEST_F(TextureManagerTest, OnePathIsDecodedOnceAndAnotherSpellingIsAnotherTexture)
{
    const std::string path = WritePng(8, 4, 3, Pattern(8, 4, 3));
    const TextureHandle first = theTextureManager.CreateTextureFromFile(path);
    std::filesystem::rename(path, mFolder + "/moved.png");  // a second decode would report
    theTextureManager.BindTexture(kInvalidTexture);
    EXPECT_EQ(theTextureManager.CreateTextureFromFile(path), first);
    EXPECT_EQ(Bound(), 0) << "a shared result changes no binding";
    EXPECT_EQ(theTextureManager.GetReferenceCount(first), 2u);
    const TextureHandle dotted = theTextureManager.CreateTextureFromFile(mFolder + "/./moved.png");
    EXPECT_NE(dotted, first);
    EXPECT_EQ(ReadTexture(dotted, 8, 4), Pattern(8, 4, 3, true));
    EXPECT_EQ(errors.messages, Strings{});
}
