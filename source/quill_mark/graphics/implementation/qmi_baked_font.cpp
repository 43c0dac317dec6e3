// SPDX-License-Identifier: Zlib
// Baking a font: the file is read whole (fonts are small; music is what streams), the glyphs of
// the default characters and the caller's extra ones are rasterised, packed on shelves into one
// power-of-two RGBA atlas (white, coverage as alpha) and uploaded once through the texture manager.
#include "quill_mark/graphics/implementation/qmi_baked_font.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "quill_mark/core/qm_error.h"
#include "quill_mark/graphics/implementation/qmi_utf8.h"

namespace qmImplementation
{

namespace
{

constexpr int kSmallestPixelHeight = 1;
constexpr int kLargestPixelHeight = 512;
constexpr int kLargestAtlasSide = 4096;
constexpr int kPadding = 1;  // empty texels around each glyph, so filtering never bleeds

// Printable ASCII, Latin-1 and Latin Extended-A, typographic quotes, the ellipsis, the euro sign
// and the replacement character that malformed UTF-8 turns into.
std::vector<std::uint32_t> DefaultCharacters()
{
    std::vector<std::uint32_t> characters;
    for (std::uint32_t c = 0x20; c <= 0x7E; ++c)
        characters.push_back(c);
    for (std::uint32_t c = 0xA0; c <= 0x17F; ++c)
        characters.push_back(c);
    characters.insert(characters.end(),
                      {0x2018, 0x2019, 0x201C, 0x201D, 0x2026, 0x20AC, kReplacementCharacter});
    return characters;
}

int PowerOfTwoAtLeast(int value)
{
    int result = 1;
    while (result < value)
        result *= 2;
    return result;
}

struct Shelves
{
    int width = 0, height = 0;
    std::vector<std::pair<int, int>> places;  // top-left corner of each glyph's cell
};

// Cells (glyph plus padding) tallest first, left to right on shelves as high as their first cell.
bool Pack(const std::vector<GlyphBitmap>& bitmaps, int width, Shelves& shelves)
{
    std::vector<std::size_t> order(bitmaps.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b)
                     { return bitmaps[a].height > bitmaps[b].height; });
    shelves = Shelves{width, 0, std::vector<std::pair<int, int>>(bitmaps.size())};
    int x = 0, y = 0, shelfHeight = 0;
    for (const std::size_t i : order)
    {
        const int cellWidth = bitmaps[i].width + 2 * kPadding;
        const int cellHeight = bitmaps[i].height + 2 * kPadding;
        if (cellWidth > width)
            return false;
        if (x + cellWidth > width)
        {
            x = 0;
            y += shelfHeight;
            shelfHeight = 0;
        }
        shelves.places[i] = {x + kPadding, y + kPadding};
        x += cellWidth;
        shelfHeight = std::max(shelfHeight, cellHeight);
    }
    shelves.height = PowerOfTwoAtLeast(std::max(1, y + shelfHeight));
    return shelves.height <= kLargestAtlasSide;
}

}  // namespace

BakedFont::BakedFont(const std::string& filePath, int pixelHeight,
                     const std::string& extraCharacters)
    : mFilePath(filePath), mPixelHeight(pixelHeight)
{
    qmTriggerErrorIf(
        pixelHeight < kSmallestPixelHeight || pixelHeight > kLargestPixelHeight,
        "qmExternalError: Expected font pixel height to be within range: (1 <= pixelHeight <= 512).");
    mPixelHeight = std::clamp(pixelHeight, kSmallestPixelHeight, kLargestPixelHeight);
    if (ReadFile())
    {
        mScale = float(mPixelHeight) / float(mFile.Ascent() - mFile.Descent());
        mAscent = std::round(float(mFile.Ascent()) * mScale);
        mLineHeight = float(mFile.Ascent() - mFile.Descent() + mFile.LineGap()) * mScale;
        Bake(extraCharacters);
    }
}

bool BakedFont::ReadFile()
{
    std::ifstream file(mFilePath, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    if (!file.is_open() || file.bad())
    {
        qmTriggerError("qmExternalError: Failed to load font file, \"%s\".", mFilePath.c_str());
        return false;
    }
    mLoaded = mFile.Open(std::move(bytes));
    qmTriggerErrorIf(
        !mLoaded,
        "qmDataError: Font \"%s\" is not a TrueType font that can be read; text in it draws nothing.",
        mFilePath.c_str());
    return mLoaded;
}

void BakedFont::Bake(const std::string& extraCharacters)
{
    std::vector<std::uint32_t> characters = DefaultCharacters();
    for (std::size_t at = 0; at < extraCharacters.size();)
        characters.push_back(NextCodepoint(extraCharacters, at));

    // One bitmap per glyph, the missing glyph (0) first; characters share their glyph's bitmap.
    std::map<int, std::size_t> bitmapOfGlyph{{0, 0}};
    std::vector<int> glyphs{0};
    std::map<std::uint32_t, int> glyphOfCharacter;
    for (const std::uint32_t c : characters)
    {
        const int glyph = mFile.GlyphIndex(c);
        if (glyph != 0 && bitmapOfGlyph.emplace(glyph, glyphs.size()).second)
            glyphs.push_back(glyph);
        if (glyph != 0)
            glyphOfCharacter[c] = glyph;
    }
    std::vector<GlyphBitmap> bitmaps(glyphs.size());
    int damaged = 0, area = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i)
    {
        damaged += mFile.Rasterize(glyphs[i], mScale, bitmaps[i]) ? 0 : 1;
        area += (bitmaps[i].width + 2 * kPadding) * (bitmaps[i].height + 2 * kPadding);
    }
    qmTriggerErrorIf(
        damaged > 0,
        "qmDataError: Font \"%s\" has %d glyphs whose outlines could not be read; they are left blank.",
        mFilePath.c_str(), damaged);

    Shelves shelves;
    int width = std::max(64, PowerOfTwoAtLeast(int(std::sqrt(double(area)))));
    while (!Pack(bitmaps, width, shelves) && width < kLargestAtlasSide)
        width *= 2;
    std::vector<unsigned char> pixels(std::size_t(shelves.width) * std::size_t(shelves.height) * 4);
    for (std::size_t p = 0; p < pixels.size(); p += 4)
        pixels[p] = pixels[p + 1] = pixels[p + 2] = 255;

    std::vector<BakedGlyph> baked(glyphs.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i)
    {
        const GlyphBitmap& bitmap = bitmaps[i];
        const auto [x, y] = shelves.places[i];
        BakedGlyph& glyph = baked[i];
        glyph.glyph = glyphs[i];
        glyph.advance = float(mFile.AdvanceWidth(glyphs[i])) * mScale;
        // A glyph that did not fit the largest atlas keeps its advance but shows nothing.
        const bool placed =
            y + bitmap.height <= shelves.height && x + bitmap.width <= shelves.width;
        if (!placed)
            continue;
        glyph.left = bitmap.offsetX;
        glyph.top = bitmap.offsetY;
        glyph.width = bitmap.width;
        glyph.height = bitmap.height;
        glyph.uvLeft = float(x) / float(shelves.width);
        glyph.uvTop = float(y) / float(shelves.height);
        glyph.uvRight = float(x + bitmap.width) / float(shelves.width);
        glyph.uvBottom = float(y + bitmap.height) / float(shelves.height);
        for (int row = 0; row < bitmap.height; ++row)
            for (int column = 0; column < bitmap.width; ++column)
                pixels[(std::size_t(y + row) * std::size_t(shelves.width) +
                        std::size_t(x + column)) *
                           4 +
                       3] = bitmap.coverage[std::size_t(row * bitmap.width + column)];
    }
    mMissing = baked[0];
    for (const auto& [c, glyph] : glyphOfCharacter)
        mGlyphs[c] = baked[bitmapOfGlyph[glyph]];

    // Named by file, size and extra characters, so the same bake is one shared texture.
    const std::string name = mFilePath + "#" + std::to_string(mPixelHeight) + "px" +
                             (extraCharacters.empty() ? "" : "+" + extraCharacters);
    mTexture = Quillmark::Graphics::theTextureManager.CreateTextureFromPixels(
        name, pixels.data(), Quillmark::Graphics::PixelSpace(shelves.width),
        Quillmark::Graphics::PixelSpace(shelves.height));
}

const BakedGlyph& BakedFont::Find(std::uint32_t codepoint) const
{
    const auto found = mGlyphs.find(codepoint);
    if (found != mGlyphs.end())
    {
        return found->second;
    }
    if (!mMissingReported)
    {
        mMissingReported = true;
        qmTriggerError(
            "qmDataError: Font \"%s\" has no baked glyph for U+%04X; the font's missing-glyph shape is drawn instead.",
            mFilePath.c_str(), static_cast<unsigned>(codepoint));
    }
    return mMissing;
}

Quillmark::Graphics::Vector2 BakedFont::Layout(
    const std::string& utf8, const std::function<void(const PlacedGlyph&)>& place) const
{
    if (!mLoaded || utf8.empty())
    {
        return Quillmark::Graphics::Vector2();
    }
    float pen = 0.0f, widest = 0.0f;
    int line = 0, previous = -1;
    for (std::size_t at = 0; at < utf8.size();)
    {
        const std::uint32_t codepoint = NextCodepoint(utf8, at);
        if (codepoint == '\n')
        {
            ++line;
            pen = 0.0f;
            previous = -1;
            continue;
        }
        if (codepoint == '\r')
            continue;
        const BakedGlyph& glyph = Find(codepoint);
        if (previous >= 0)
            pen += float(mFile.Kerning(previous, glyph.glyph)) * mScale;
        // Whole pixels, so that unscaled text samples its atlas texel for texel.
        const float baseline = std::round(mAscent + float(line) * mLineHeight);
        if (glyph.width > 0)
            place(PlacedGlyph{&glyph, std::round(pen) + float(glyph.left),
                              baseline + float(glyph.top)});
        pen += glyph.advance;
        widest = std::max(widest, pen);
        previous = glyph.glyph;
    }
    return Quillmark::Graphics::Vector2(widest, float(line + 1) * mLineHeight);
}

}  // namespace qmImplementation
