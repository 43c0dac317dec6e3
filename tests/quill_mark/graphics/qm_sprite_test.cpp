// SPDX-License-Identifier: Zlib
// Textures decoded from PNG files the tests write, as OpenGL then holds them; sprite frames checked
// against their size; sprites drawn under the game loop's 2D projection, checked on the colour
// buffer: anchor, scale, rotation, colour, depth and lists.
#include "quill_mark/graphics/qm_sprite.h"

#include <GL/gl.h>

#include <array>

#include "graphics_test_fixture.h"
#include "quill_mark/graphics/qm_graphic_list.h"
#include "quill_mark/graphics/qm_texture_manager.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::PixelImage;
using QuillmarkTest::Rgba;
using QuillmarkTest::Strings;
using Box = std::array<int, 4>;  // left, top, right, bottom; right and bottom exclusive
using Bytes = std::vector<std::uint8_t>;

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

const Rgba kClear{0, 0, 0, 0}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255};

class SpriteTest : public QuillmarkTest::DrawingTest
{
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        white = MakeTexture(64, 32);
    }
    Sprite WhiteSprite(float x, float y, AnchorLocation anchor = kAnchorCenter) const
    {
        Sprite sprite(CreateSpriteFrame(white, 0, 0, 0, 0));
        sprite.SetPosition(x, y);
        sprite.SetOrigin(anchor);
        return sprite;
    }
    TextureHandle white = kInvalidTexture;
};

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
    const struct
    {
        GLenum name;
        const char* what;
        GLint expected;
    } parameters[] = {{GL_TEXTURE_MIN_FILTER, "min filter", GL_LINEAR},
                      {GL_TEXTURE_MAG_FILTER, "mag filter", GL_LINEAR},
                      {GL_TEXTURE_WRAP_S, "wrap s", GL_REPEAT},
                      {GL_TEXTURE_WRAP_T, "wrap t", GL_REPEAT}};
    for (const auto& parameter : parameters)
    {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter.name, &value);
        EXPECT_EQ(value, parameter.expected) << parameter.what;
    }
    // No second level: a texture is made without mipmaps.
    GLint secondLevelWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &secondLevelWidth);
    EXPECT_EQ(secondLevelWidth, 0);
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

TEST_F(SpriteTest, FramesAreCheckedAgainstTheTextureAtAndJustPastItsEdges)
{
    const char kWidth[] =
        "qmExternalError: Expected frameWidth to be less than or equal to textureWidth";
    const char kHeight[] =
        "qmExternalError: Expected frameHeight to be less than or equal to textureHeight";
    const auto kX = QuillmarkTest::kOffTextureX, kY = QuillmarkTest::kOffTextureY;
    const struct
    {
        PixelSpace x, y, width, height;
        Strings reports;
    } cases[] = {{0, 0, 0, 0, {}},
                 {32, 0, 32, 32, {}},
                 {96, 0, 32, 32, {}},
                 {97, 0, 32, 32, {kX}},
                 {0, 32, 32, 32, {}},
                 {0, 33, 32, 32, {kY}},
                 {0, 0, 32, 65, {kHeight, kY}},
                 {0, 0, 129, 64, {kWidth, kX}},
                 {128, 64, 0, 0, {kX, kY}}};
    const TextureHandle texture = MakeTexture(128, 64);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(
            Rectangle(SpriteFrame{float(c.x), float(c.y), float(c.width), float(c.height)}));
        errors.messages.clear();
        const SpriteFrame frame = CreateSpriteFrame(texture, c.x, c.y, c.width, c.height);
        EXPECT_EQ(errors.messages, c.reports);
        // A size of 0 is the whole texture.
        const float width = c.width ? c.width : 128.0f, height = c.height ? c.height : 64.0f;
        EXPECT_EQ(Rectangle(frame), Rectangle(SpriteFrame{float(c.x), float(c.y), width, height}));
        EXPECT_EQ((std::array<float, 4>{frame.uvLeft, frame.uvTop, frame.uvRight, frame.uvBottom}),
                  (std::array<float, 4>{c.x / 128.0f, c.y / 64.0f, (c.x + width) / 128.0f,
                                        (c.y + height) / 64.0f}));
        EXPECT_EQ(frame.texture, texture);
    }
}

TEST_F(SpriteTest, TheFrameCoversItsPixelsScaledAndTurnedClockwiseAboutTheAnchoredOrigin)
{
    // The 64 x 32 white frame; a positive angle turns clockwise on screen (y points down).
    const struct
    {
        AnchorLocation anchor;
        float scale, degrees, x, y;
        Box box;
    } cases[] = {
        {kAnchorCenter, 2, 0, 100, 100, {36, 68, 164, 132}},
        {kAnchorTopLeft, 1, 0, 200, 200, {200, 200, 264, 232}},
        {kAnchorTopCenter, 1, 0, 200, 200, {168, 200, 232, 232}},
        {kAnchorTopRight, 1, 0, 200, 200, {136, 200, 200, 232}},
        {kAnchorCenterLeft, 1, 0, 200, 200, {200, 184, 264, 216}},
        {kAnchorCenterRight, 1, 0, 200, 200, {136, 184, 200, 216}},
        {kAnchorBottomLeft, 1, 0, 200, 200, {200, 168, 264, 200}},
        {kAnchorBottomCenter, 1, 0, 200, 200, {168, 168, 232, 200}},
        {kAnchorBottomRight, 1, 0, 200, 200, {136, 168, 200, 200}},
        {AnchorLocation(42), 1, 0, 200, 200, {168, 184, 232, 216}},
        {kAnchorTopLeft, 1, 90, 200, 200, {168, 200, 200, 264}},
        {kAnchorBottomRight, 1, 90, 200, 200, {200, 136, 232, 200}},
        {kAnchorCenter, 2, 90, 100, 100, {68, 36, 132, 164}},
    };
    for (const auto& c : cases)
    {
        Sprite sprite = WhiteSprite(c.x, c.y, c.anchor);
        sprite.SetScale(c.scale, c.scale);
        sprite.SetRotation(c.degrees);
        EXPECT_EQ(DrawnBox(DrawAlone(sprite)), c.box)
            << "anchor " << c.anchor << ", scale " << c.scale << ", " << c.degrees << " degrees";
    }
}

TEST_F(SpriteTest, TheColourMultipliesTheTextureWhichIsSampledTopRowFirst)
{
    Sprite azure = WhiteSprite(50, 50);
    azure.SetColor(Color(0xFF00AAFFu));
    const Rgba drawn = DrawAlone(azure).At(50, 50);
    EXPECT_EQ(drawn.red, 0);
    EXPECT_NEAR(drawn.green, 170, 1);
    EXPECT_EQ(drawn.blue, 255);

    std::vector<std::uint8_t> pixels;  // red, green / blue, white quadrants
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.insert(pixels.end(),
                          {std::uint8_t((x < 32) == (y < 32) ? 255 : 0),
                           std::uint8_t(x < 32 ? 0 : 255), std::uint8_t(y < 32 ? 0 : 255), 255});
    const TextureHandle quadrants =
        theTextureManager.CreateTextureFromFile(WritePng(64, 64, 4, pixels));
    // The top-right quadrant of the image, centred on (300, 100): green wherever it is drawn.
    Sprite topRight(CreateSpriteFrame(quadrants, 32, 0, 32, 32));
    topRight.SetPosition(300, 100);
    const PixelImage image = DrawAlone(topRight);
    EXPECT_EQ(DrawnBox(image), (Box{284, 84, 316, 116}));
    EXPECT_EQ(image.At(284, 84), kGreen);
    EXPECT_EQ(image.At(315, 115), kGreen);
}

TEST_F(SpriteTest, NestedListsAddPositionsAndDepthsAndTheLaterDrawingWinsAtEqualDepth)
{
    Sprite first = WhiteSprite(10, 10, kAnchorTopLeft),
           second = WhiteSprite(300, 300, kAnchorTopLeft);
    Sprite cover = WhiteSprite(0, 0, kAnchorTopLeft), red = WhiteSprite(700, 500);
    cover.SetScale(20, 20);  // 1280 x 640 from the top-left corner
    cover.SetColor(Color::kBlue);
    cover.SetDepth(0.4f);
    red.SetColor(Color::kRed);
    red.SetDepth(0.4f);
    GraphicList outer, inner, scene;
    outer.SetPosition(100, 50);
    outer.SetDepth(0.25f);
    inner.SetPosition(5, 5);
    inner.SetDepth(0.25f);
    outer.AddGraphic(&first);
    outer.AddGraphic(&inner);
    inner.AddGraphic(&second);
    scene.AddGraphic(&outer);
    PixelImage image = DrawAlone(scene);  // first at (110, 60), second at (405, 355)
    EXPECT_EQ((std::vector<Rgba>{image.At(110, 60), image.At(109, 60), image.At(405, 355),
                                 image.At(405, 354)}),
              (std::vector<Rgba>{kWhite, kClear, kWhite, kClear}));
    // The cover at depth 0.4 hides the first sprite (0.25) but not the second (0.25 + 0.25); it
    // is drawn after the red sprite of equal depth and hides it, until the red one comes last.
    scene.AddGraphic(&red);
    scene.AddGraphic(&cover);
    image = DrawAlone(scene);
    EXPECT_EQ((std::vector<Rgba>{image.At(115, 65), image.At(410, 360), image.At(700, 500)}),
              (std::vector<Rgba>{kBlue, kWhite, kBlue}));
    scene.RemoveGraphic(&red);
    scene.AddGraphic(&red);
    EXPECT_EQ(DrawAlone(scene).At(700, 500), kRed);
    GLint stackDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stackDepth);
    EXPECT_EQ(stackDepth, 2) << "the game loop's push only";
}
