// Sprite frames checked against a real texture's size, and sprites drawn under the game loop's
// 2D projection, checked on the pixels that land in the colour buffer.
#include "quill_mark/graphics/qm_sprite.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "quill_mark/graphics/qm_graphic_list.h"
#include "support/gl_test_context.h"
#include "support/png_writer.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::PixelImage;
using QuillmarkTest::Rgba;
using Box = std::array<int, 4>;  // left, top, right, bottom; right and bottom exclusive

namespace
{

// clang-format off
const char kWidthMessage[] = "qmExternalError: Expected frameWidth to be less than or equal to textureWidth";
const char kHeightMessage[] = "qmExternalError: Expected frameHeight to be less than or equal to textureHeight";
const char kXMessage[] = "qmExternalError: Expected frameX location to allow frame (width) to fit on texture.";
const char kYMessage[] = "qmExternalError: Expected frameY location to allow frame (height) to fit on texture.";
// clang-format on
const Rgba kClear{0, 0, 0, 0}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255};

// 64 x 64 with red top-left, green top-right, blue bottom-left, white bottom-right; or solid.
TextureHandle MakeTexture(int width, int height, bool quadrants)
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const bool right = x >= 32, bottom = y >= 32;
            pixels.insert(pixels.end(), {std::uint8_t(!quadrants || right == bottom ? 255 : 0),
                                         std::uint8_t(!quadrants || right ? 255 : 0),
                                         std::uint8_t(!quadrants || bottom ? 255 : 0), 255});
        }
    const auto png = QuillmarkTest::EncodePng(width, height, 4, pixels);
    return theTextureManager.CreateTextureFromFileInMemory(png.data(), png.size());
}

// The smallest box around every drawn pixel; all zero when nothing was drawn.
Box DrawnBox(const PixelImage& image)
{
    Box box{image.Width(), image.Height(), 0, 0};
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (!(image.At(x, y) == kClear))
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1),
                       std::max(box[3], y + 1)};
    return box[2] == 0 ? Box{} : box;
}

// Counts its updates so the list's gates can be seen alongside its pixels.
class CountingSprite : public Sprite
{
public:
    using Graphic::SetListDrawable;
    using Sprite::Sprite;
    void OnUpdate(float) override { ++updates; }
    int updates = 0;
};

class SpriteTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!context.IsValid())
            GTEST_SKIP() << "no OpenGL context: " << context.Error();
        white = MakeTexture(64, 32, false);
        QuillmarkTest::Begin2DDrawing();
    }
    void TearDown() override
    {
        if (context.IsValid())
            QuillmarkTest::End2DDrawing();
    }
    // Draws the graphic alone on a cleared frame and reads the frame back.
    PixelImage DrawAlone(Graphic& graphic)
    {
        QuillmarkTest::ClearFrame();
        graphic.Render();
        return PixelImage::ReadFramebuffer();
    }
    Sprite WhiteSprite(float x, float y, AnchorLocation anchor = kAnchorCenter) const
    {
        Sprite sprite(CreateSpriteFrame(white, 0, 0, 0, 0));
        sprite.SetPosition(x, y);
        sprite.SetOrigin(anchor);
        return sprite;
    }

    QuillmarkTest::GlTestContext context;
    QuillmarkTest::RecordingErrorHandler errors;
    TextureHandle white = kInvalidTexture;
};

}  // namespace

TEST_F(SpriteTest, FramesAreCheckedAgainstTheTextureAtAndJustPastItsEdges)
{
    const TextureHandle texture = MakeTexture(128, 64, false);
    const struct
    {
        PixelSpace x, y, width, height;
        std::vector<std::string> reports;
    } cases[] = {{0, 0, 0, 0, {}},
                 {32, 0, 32, 32, {}},
                 {96, 0, 32, 32, {}},
                 {97, 0, 32, 32, {kXMessage}},
                 {0, 32, 32, 32, {}},
                 {0, 33, 32, 32, {kYMessage}},
                 {0, 0, 32, 65, {kHeightMessage, kYMessage}},
                 {0, 0, 129, 64, {kWidthMessage, kXMessage}},
                 {128, 64, 0, 0, {kXMessage, kYMessage}}};
    for (const auto& c : cases)
    {
        errors.messages.clear();
        const SpriteFrame frame = CreateSpriteFrame(texture, c.x, c.y, c.width, c.height);
        EXPECT_EQ(errors.messages, c.reports)
            << c.x << "," << c.y << " " << c.width << "x" << c.height;
        EXPECT_EQ(frame.width, c.width ? c.width : 128.0f);  // zero sizes take the texture's
        EXPECT_EQ(frame.height, c.height ? c.height : 64.0f);
        EXPECT_EQ(frame.uvLeft, c.x / 128.0f) << "built after the reports";
        EXPECT_EQ(frame.uvRight, (c.x + frame.width) / 128.0f);
        EXPECT_EQ(frame.uvTop, c.y / 64.0f);
        EXPECT_EQ(frame.uvBottom, (c.y + frame.height) / 64.0f);
        EXPECT_EQ(frame.texture, texture);
    }
}

TEST_F(SpriteTest, TheScaledFrameCoversItsPixelsAroundTheAnchoredOrigin)
{
    Sprite sprite = WhiteSprite(100, 100);
    sprite.SetScale(2, 2);
    const PixelImage image = DrawAlone(sprite);
    EXPECT_EQ(DrawnBox(image), (Box{36, 68, 164, 132}));
    EXPECT_EQ(image.At(36, 68), kWhite);
    EXPECT_EQ(image.At(163, 131), kWhite);

    const std::pair<AnchorLocation, Box> cases[] = {
        // 64 x 32 at (200, 200)
        {kAnchorTopLeft, {200, 200, 264, 232}},      {kAnchorTopCenter, {168, 200, 232, 232}},
        {kAnchorTopRight, {136, 200, 200, 232}},     {kAnchorCenterLeft, {200, 184, 264, 216}},
        {kAnchorCenterRight, {136, 184, 200, 216}},  {kAnchorBottomLeft, {200, 168, 264, 200}},
        {kAnchorBottomCenter, {168, 168, 232, 200}}, {kAnchorBottomRight, {136, 168, 200, 200}},
        {AnchorLocation(42), {168, 184, 232, 216}},  {AnchorLocation(-1), {168, 184, 232, 216}}};
    for (const auto& [anchor, box] : cases)
    {
        Sprite anchored = WhiteSprite(200, 200, anchor);
        EXPECT_EQ(DrawnBox(DrawAlone(anchored)), box) << "anchor " << anchor;
    }
}

TEST_F(SpriteTest, TheColourMultipliesTheTextureWhichIsSampledTopRowFirst)
{
    Sprite azure = WhiteSprite(50, 50);
    azure.SetColor(Color(0xFF00AAFFu));
    const Rgba drawn = DrawAlone(azure).At(50, 50);
    EXPECT_LE(std::abs(drawn.red) + std::abs(drawn.green - 170) + std::abs(drawn.blue - 255), 1);

    const TextureHandle quadrants = MakeTexture(64, 64, true);
    Sprite whole(CreateSpriteFrame(quadrants, 0, 0, 0, 0));
    whole.SetOrigin(kAnchorTopLeft);
    whole.SetPosition(300, 100);
    PixelImage image = DrawAlone(whole);
    EXPECT_EQ((std::vector<Rgba>{image.At(316, 116), image.At(348, 116), image.At(316, 148),
                                 image.At(348, 148)}),
              (std::vector<Rgba>{kRed, kGreen, kBlue, kWhite}));

    Sprite topRight(CreateSpriteFrame(quadrants, 32, 0, 32, 32));
    topRight.SetPosition(300, 100);
    image = DrawAlone(topRight);
    EXPECT_EQ(DrawnBox(image), (Box{284, 84, 316, 116}));
    EXPECT_EQ(image.At(284, 84), kGreen);
    EXPECT_EQ(image.At(315, 115), kGreen);

    // Turning by 90 degrees about the centre is clockwise on screen: the right edge points down.
    whole.SetOrigin(kAnchorCenter);
    whole.SetRotation(90);
    whole.SetPosition(400, 300);
    image = DrawAlone(whole);
    EXPECT_EQ(DrawnBox(image), (Box{368, 268, 432, 332}));
    EXPECT_EQ((std::vector<Rgba>{image.At(416, 284), image.At(416, 316), image.At(384, 284),
                                 image.At(384, 316)}),
              (std::vector<Rgba>{kRed, kGreen, kBlue, kWhite}));
}

TEST_F(SpriteTest, DepthDecidesOverlapsAndTheLaterSpriteWinsAtEqualDepth)
{
    Sprite red = WhiteSprite(200, 200), blue = WhiteSprite(200, 200);
    red.SetColor(Color::kRed);
    blue.SetColor(Color::kBlue);
    GraphicList list;
    list.AddGraphic(&red);
    list.AddGraphic(&blue);
    EXPECT_EQ(DrawAlone(list).At(200, 200), kBlue);
    red.SetDepth(0.5f);
    blue.SetDepth(0.2f);
    EXPECT_EQ(DrawAlone(list).At(200, 200), kRed);
    list.RemoveGraphic(&red);
    list.AddGraphic(&red);  // now drawn last, still deeper in front
    EXPECT_EQ(DrawAlone(list).At(200, 200), kRed);
    red.SetDepth(1.5f);  // outside -1 to 1: clipped away
    EXPECT_EQ(DrawAlone(list).At(200, 200), kBlue);
}

TEST_F(SpriteTest, NestedListsAddPositionsAndDepthsAndRestoreTheMatrix)
{
    Sprite first = WhiteSprite(10, 10, kAnchorTopLeft),
           second = WhiteSprite(300, 300, kAnchorTopLeft);
    Sprite cover = WhiteSprite(0, 0, kAnchorTopLeft);
    cover.SetScale(20, 20);  // 1280 x 640 from the top-left corner
    cover.SetColor(Color::kBlue);
    cover.SetDepth(0.4f);
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

    // The cover at depth 0.4 hides the first sprite (0.25) but not the second (0.25 + 0.25).
    scene.AddGraphic(&cover);
    image = DrawAlone(scene);
    EXPECT_EQ(image.At(115, 65), kBlue);
    EXPECT_EQ(image.At(410, 360), kWhite);
    GLint stackDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stackDepth);
    EXPECT_EQ(stackDepth, 2) << "the game loop's push only";
    GLfloat modelView[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelView[i], i % 5 == 0 ? 1.0f : 0.0f);
}

TEST_F(SpriteTest, ChildGatesAndOddTexturesDecideWhatIsUpdatedAndDrawn)
{
    CountingSprite inactive(CreateSpriteFrame(white, 0, 0, 0, 0));
    CountingSprite hidden = inactive, unlisted = inactive, twice = inactive;
    inactive.SetPosition(100, 100);
    inactive.SetActive(false);
    hidden.SetPosition(300, 100);
    hidden.SetVisible(false);
    unlisted.SetPosition(500, 100);
    unlisted.SetListDrawable(false);
    twice.SetPosition(700, 100);
    Sprite untextured(SpriteFrame{0, 0, 64, 32, 0, 0, 1, 1, kInvalidTexture});
    untextured.SetPosition(100, 300);
    untextured.SetColor(Color::kGreen);
    SpriteFrame bogus = CreateSpriteFrame(white, 0, 0, 0, 0);
    bogus.texture = white + 1000;
    Sprite unknown(bogus);
    unknown.SetPosition(300, 300);
    unknown.SetColor(Color::kRed);

    GraphicList list;
    for (Graphic* graphic : std::initializer_list<Graphic*>{&inactive, &hidden, &unlisted, &twice,
                                                            &twice, &untextured, &unknown})
        list.AddGraphic(graphic);
    errors.messages.clear();
    list.Update(0.01f);
    const PixelImage image = DrawAlone(list);
    EXPECT_EQ((std::vector<int>{inactive.updates, hidden.updates, twice.updates}),
              (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(image.At(100, 100), kWhite) << "inactive is still drawn";
    EXPECT_EQ(image.At(300, 100), kClear) << "invisible is not drawn";
    EXPECT_EQ(image.At(500, 100), kWhite) << "reported, then drawn all the same";
    EXPECT_EQ(image.At(100, 300), kGreen) << "no texture: the colour alone";
    EXPECT_EQ(image.At(300, 300), kRed) << "unknown texture: reported, drawn untextured";
    EXPECT_EQ(errors.messages,
              (std::vector<std::string>{
                  "qmInternalError: Not yet implemented or supported, maybe in the future.",
                  "qmError: Attempting to get a texture that does not exist! Invalid Handle."}));
}
