// SPDX-License-Identifier: Zlib
// Text drawn in DejaVu Sans, checked on the colour buffer: anchor, colour, rotation and scale,
// kerned pairs and line breaks, and the missing-glyph shape with its one report.
#include "quill_mark/graphics/qm_text.h"

#include <cmath>

#include "font_test_support.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::kDejaVuSans;
using QuillmarkTest::PixelImage;
using QuillmarkTest::Rgba;
using Box = std::array<int, 4>;  // left, top, right, bottom; right and bottom exclusive

namespace
{

class TextDrawing : public QuillmarkTest::TextTest
{
protected:
    Font font{kDejaVuSans, 32};
};

void ExpectBoxNear(const Box& drawn, const Box& expected, int tolerance, const std::string& what)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(drawn[i], expected[i], tolerance) << what << ", side " << i;
}

}  // namespace

TEST_F(TextDrawing, AStringSitsOnItsAnchoredOriginInItsColourScaledAndTurnedClockwise)
{
    Text hello(font, "Hello");
    hello.SetColor(Color(0xFFFF0000u));
    hello.SetPosition(100, 100);
    const PixelImage image = DrawAlone(hello);
    const Box box = DrawnBox(image);
    ASSERT_GT(box[2], box[0]);
    EXPECT_GE(box[0], 100);
    EXPECT_GE(box[1], 100);
    EXPECT_LE(box[2], 100 + int(std::ceil(hello.GetSize().x)));
    EXPECT_LE(box[3], 100 + int(std::ceil(hello.GetSize().y)));
    int reddest = 0;
    for (int y = box[1]; y < box[3]; ++y)
        for (int x = box[0]; x < box[2]; ++x)
        {
            const Rgba pixel = image.At(x, y);
            reddest = std::max(reddest, int(pixel.red));
            ASSERT_EQ(int(pixel.green), 0) << "green at " << x << "," << y;
            ASSERT_EQ(int(pixel.blue), 0) << "blue at " << x << "," << y;
        }
    EXPECT_EQ(reddest, 255);

    const float w = hello.GetSize().x, h = hello.GetSize().y;
    const struct
    {
        AnchorLocation anchor;
        float dx, dy;
    } anchors[] = {{kAnchorCenter, w / 2, h / 2},  {kAnchorTopRight, w, 0},
                   {kAnchorBottomLeft, 0, h},      {kAnchorBottomCenter, w / 2, h},
                   {kAnchorCenterRight, w, h / 2}, {kAnchorTopLeft, 0, 0}};
    for (const auto& a : anchors)
    {
        hello.SetOrigin(a.anchor);
        hello.SetPosition(100 + a.dx, 100 + a.dy);
        ExpectBoxNear(DrawnBox(DrawAlone(hello)), box, 1, "anchor " + std::to_string(a.anchor));
    }

    // A quarter turn clockwise about the top-left origin at (400, 300): the text runs downwards,
    // its top to the left of the origin. Twice the scale doubles every distance from the origin.
    hello.SetPosition(400, 300);
    hello.SetRotation(90);
    ExpectBoxNear(
        DrawnBox(DrawAlone(hello)),
        Box{400 - (box[3] - 100), 300 + (box[0] - 100), 400 - (box[1] - 100), 300 + (box[2] - 100)},
        1, "turned");
    hello.SetRotation(0);
    hello.SetScale(2, 2);
    ExpectBoxNear(DrawnBox(DrawAlone(hello)),
                  Box{400 + 2 * (box[0] - 100), 300 + 2 * (box[1] - 100), 400 + 2 * (box[2] - 100),
                      300 + 2 * (box[3] - 100)},
                  2, "scaled");
}

TEST_F(TextDrawing, AKernedPairIsDrawnCloserAndABreakStartsTheNextLineUnderTheFirst)
{
    // "V" drawn alone where an unkerned pair would put it, after the advance of "A".
    const float kern = font.Measure("A").x + font.Measure("V").x - font.Measure("AV").x;
    ASSERT_GE(kern, 1.5f) << "DejaVu Sans kerns A and V";
    const Box a = DrawnAt(font, "A", 100, 100);
    const Box apart = DrawnAt(font, "V", 100 + font.Measure("A").x, 100);
    const Box pair = DrawnAt(font, "AV", 100, 100);
    EXPECT_EQ(pair[0], a[0]);
    EXPECT_NEAR(pair[2], apart[2] - kern, 1) << "kerned by " << kern;

    const Box under = DrawnAt(font, "V", 100, 100 + font.GetLineHeight());
    const Box lines = DrawnAt(font, "A\nV", 100, 100);
    EXPECT_EQ(lines[0], std::min(a[0], under[0]));
    EXPECT_EQ(lines[1], a[1]);
    EXPECT_EQ(lines[2], std::max(a[2], under[2]));
    EXPECT_EQ(lines[3], under[3]);
}

TEST_F(TextDrawing, CharactersTheFontLacksShowItsMissingGlyphShapeAndAreReportedOncePerFont)
{
    // Two CJK characters DejaVu Sans does not have: both are drawn as the same hollow box.
    const Box first = DrawnAt(font, "\xE4\xB8\xAD", 100, 100);
    const Box second = DrawnAt(font, "\xE4\xBA\x8C", 100, 100);
    EXPECT_EQ(first, second);
    Text missing(font, "\xE4\xB8\xAD");
    missing.SetPosition(100, 100);
    const PixelImage image = DrawAlone(missing);
    ASSERT_GT(first[2] - first[0], 4);
    const int middleY = (first[1] + first[3]) / 2, middleX = (first[0] + first[2]) / 2;
    EXPECT_GT(image.At(first[0], middleY).alpha, 0) << "left edge";
    EXPECT_GT(image.At(first[2] - 1, middleY).alpha, 0) << "right edge";
    EXPECT_EQ(image.At(middleX, middleY), Rgba{}) << "hollow middle";

    font.Measure("\xE4\xB8\xAD and more");
    EXPECT_EQ(errors.messages,
              QuillmarkTest::Strings{std::string("qmDataError: Font \"") + kDejaVuSans +
                                     "\" has no baked glyph for U+4E2D; the font's missing-glyph "
                                     "shape is drawn instead."});
    // Another font of the same file reports on its own, and a listed character is baked.
    const Font withExtra(kDejaVuSans, 32, "\xE2\x86\x92");  // U+2192, an arrow DejaVu has
    EXPECT_GT(DrawnAt(withExtra, "\xE2\x86\x92", 100, 100)[2], 0);
    DrawnAt(withExtra, "\xE4\xBA\x8C", 100, 100);
    EXPECT_EQ(errors.messages.size(), 2u);
}
