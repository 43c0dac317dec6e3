// SPDX-License-Identifier: Zlib
// Fonts from DejaVu Sans and from damaged or non-font files: measuring without drawing, kerning and
// line breaks, and the reports of unreadable files and outlines, after which text draws nothing.
#include "quill_mark/graphics/qm_font.h"

#include "font_test_support.h"

using namespace Quillmark::Graphics;
using QuillmarkTest::kDejaVuSans;
using QuillmarkTest::ReadBytes;
using QuillmarkTest::Strings;

namespace
{

using FontTest = QuillmarkTest::TextTest;

// DejaVu Sans numbers its glyphs in the usual order: "A" is glyph 36 and "B" 37.
constexpr int kGlyphA = 36;

std::size_t GlyphOffset(const std::string& font, int glyph)
{
    const std::size_t loca = QuillmarkTest::TableOffset(font, "loca") + 4 * std::size_t(glyph);
    return QuillmarkTest::TableOffset(font, "glyf") + QuillmarkTest::BigEndian32(font, loca);
}

// DejaVu Sans with glyph A's outline data replaced by `data` (A's slot is larger).
std::string WithGlyphA(std::string font, const std::string& data)
{
    EXPECT_EQ(font[QuillmarkTest::TableOffset(font, "head") + 51], 1) << "long loca entries";
    return font.replace(GlyphOffset(font, kGlyphA), data.size(), data);
}

std::string WithGlyphAEndingOutside(std::string font)
{
    const std::size_t loca = QuillmarkTest::TableOffset(font, "loca");
    return font.replace(loca + 4 * std::size_t(kGlyphA + 1), 4, "\xFF\xFF\xFF\xF0");
}

}  // namespace

TEST_F(FontTest, MeasuringKernsPairsAndCountsLinesWithoutDrawing)
{
    const Font font(kDejaVuSans, 32);
    ASSERT_TRUE(font.IsLoaded());
    QuillmarkTest::ClearFrame();
    const Vector2 a = font.Measure("A"), v = font.Measure("V"), av = font.Measure("AV");
    EXPECT_LT(av.x, a.x + v.x);
    EXPECT_GT(av.x, a.x);
    EXPECT_NEAR(a.y, font.GetLineHeight(), 1e-4);
    EXPECT_EQ(font.GetLineHeight(), 32.0f) << "DejaVu Sans has no line gap";
    const Vector2 lines = font.Measure("A\nVV\n");
    EXPECT_EQ(lines.x, font.Measure("VV").x);
    EXPECT_EQ(lines.y, 3 * font.GetLineHeight());
    EXPECT_EQ(font.Measure("A\r\nVV\n").y, lines.y);
    EXPECT_EQ(font.Measure("").x, 0.0f);
    EXPECT_EQ(font.Measure("").y, 0.0f);
    EXPECT_EQ(DrawnBox(QuillmarkTest::PixelImage::ReadFramebuffer()), (std::array<int, 4>{}));
    EXPECT_EQ(errors.messages, Strings{});
    EXPECT_EQ(Font(kDejaVuSans, 32).GetTexture(), font.GetTexture());
    EXPECT_NE(Font(kDejaVuSans, 33).GetTexture(), font.GetTexture());
}

TEST_F(FontTest, FilesThatAreNoReadableFontAreReportedAndTheirTextDrawsNothing)
{
    const std::string dejaVu = ReadBytes(kDejaVuSans);
    const struct
    {
        const char* name;
        std::string bytes;  // the file's contents; "missing.ttf" (checked by name) is not written
    } cases[] = {
        {"missing.ttf", ""},
        {"empty.ttf", ""},
        {"text.ttf", "not a font at all, just text"},
        {"cut.ttf", dejaVu.substr(0, 4000)},
        {"directory_only.ttf", dejaVu.substr(0, 12 + 16 * 20)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const bool missing = std::string(c.name) == "missing.ttf";
        const std::string path = missing ? mFolder + "/missing.ttf" : WriteText(c.name, c.bytes);
        errors.messages.clear();
        const Font font(path, 24);
        EXPECT_FALSE(font.IsLoaded());
        const std::string expected =
            !missing ? "qmDataError: Font \"" + path +
                           "\" is not a TrueType font that can be read; text in it draws nothing."
                     : "qmExternalError: Failed to load font file, \"" + path + "\".";
        EXPECT_EQ(errors.messages, Strings{expected});
        EXPECT_EQ(font.Measure("Hello").x, 0.0f);
        EXPECT_EQ(font.GetTexture(), kInvalidTexture);
        EXPECT_EQ(DrawnAt(font, "Hello", 100, 100), (std::array<int, 4>{}));
    }
    errors.messages.clear();
    Font(kDejaVuSans, 0);
    EXPECT_EQ(
        errors.messages,
        Strings{
            "qmExternalError: Expected font pixel height to be within range: (1 <= pixelHeight <= 512)."});
}

TEST_F(FontTest, OutlinesThatDoNotHoldTogetherAreReportedAndLeftBlank)
{
    EXPECT_GT(DrawnAt(Font(kDejaVuSans, 32), "A", 100, 100)[2], 0);
    const std::string dejaVu = ReadBytes(kDejaVuSans);
    using std::string;
    // 40 copies of glyph 4766, itself 8 components over two more levels: 360 components in all,
    // though no one level holds more than 40.
    string copies;
    for (int i = 0; i < 40; ++i)
        copies += string(i < 39 ? "\0\x22" : "\0\x02", 2) + string("\x12\x9E\0\0", 4);
    const struct
    {
        const char* what;
        std::string font;
        int unreadable;  // A, and the 8 baked accented capitals made of A; B too when it moved
    } cases[] = {
        // A's data ends past the glyph table, and so B's starts there.
        {"outside", WithGlyphAEndingOutside(dejaVu), 10},
        // One contour of a single off-curve point.
        {"lone off-curve point",
         WithGlyphA(dejaVu, string("\0\1", 2) + string(8, '\0') + string("\0\0\0\0\0\0\0\0\0", 9)),
         9},
        // Contour ends that fall back: 5, then 2.
        {"falling contour ends",
         WithGlyphA(dejaVu, string("\0\2", 2) + string(8, '\0') + string("\0\5\0\2\0\0", 6) +
                                string(6, '\1') + string(24, '\0')),
         9},
        // A compound glyph made of itself.
        {"made of itself",
         WithGlyphA(dejaVu, string("\xFF\xFF", 2) + string(8, '\0') + string("\0\2\0\x24\0\0", 6)),
         9},
        // Glyph 2697 is four levels deep itself, so A made of it is five.
        {"nested five deep",
         WithGlyphA(dejaVu,
                    string("\xFF\xFF", 2) + string(8, '\0') + string("\0\2\x0A\x89\0\0", 6)),
         9},
        {"too many components below it",
         WithGlyphA(dejaVu, string("\xFF\xFF", 2) + string(8, '\0') + copies), 9},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        errors.messages.clear();
        const std::string path = WriteText("damaged.ttf", c.font);
        const Font damaged(path, 32);
        ASSERT_TRUE(damaged.IsLoaded());
        EXPECT_EQ(errors.messages,
                  Strings{"qmDataError: Font \"" + path + "\" has " + std::to_string(c.unreadable) +
                          " glyphs whose outlines could not be read; they are left blank."});
        EXPECT_EQ(DrawnAt(damaged, "A", 100, 100), (std::array<int, 4>{}));
        EXPECT_GT(DrawnAt(damaged, "C", 100, 100)[2], 0);
        EXPECT_EQ(damaged.Measure("AB").x, Font(kDejaVuSans, 32).Measure("AB").x);
    }
}
