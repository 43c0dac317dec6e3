// SPDX-License-Identifier: Zlib
// A TrueType font file read with every offset checked: the tables, the character map, kerning,
// metrics and each glyph's outline data are walked within their bounds before stb_truetype (which
// trusts its input) decodes or rasterises anything. Outlines in CFF form and font collections are
// not read; kerning comes from the 'kern' table only, not from GPOS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qmImplementation
{

// Coverage of one rasterised glyph, rows from the top, and where its top-left pixel lies from the
// pen position on the baseline (y down).
struct GlyphBitmap
{
    int width = 0;
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
    std::vector<unsigned char> coverage;
};

class TrueTypeFile
{
public:
    TrueTypeFile();
    ~TrueTypeFile();
    TrueTypeFile(const TrueTypeFile&) = delete;
    TrueTypeFile& operator=(const TrueTypeFile&) = delete;

    // False when the bytes are not a TrueType font whose tables all lie within them.
    bool Open(std::vector<unsigned char> bytes);

    // 0 (the missing glyph) for characters the font does not map.
    int GlyphIndex(std::uint32_t codepoint) const;
    // In font units: advance width, and the kerning adjustment between two glyphs.
    int AdvanceWidth(int glyph) const;
    int Kerning(int left, int right) const;
    // In font units, ascent above the baseline positive, descent below it negative.
    int Ascent() const { return mAscent; }
    int Descent() const { return mDescent; }
    int LineGap() const { return mLineGap; }

    // The glyph's coverage at `scale` pixels per font unit. False, with an empty bitmap, for a
    // glyph whose outline data does not hold together or would not fit a sane bitmap; an empty
    // glyph (a space) gives true and an empty bitmap.
    bool Rasterize(int glyph, float scale, GlyphBitmap& bitmap) const;

private:
    struct Table
    {
        std::size_t offset = 0;
        std::size_t length = 0;
    };
    class Reader;

    bool ReadTables();
    bool ReadCharacterMap();
    bool ReadMetrics();
    bool GlyphRange(int glyph, std::size_t& begin, std::size_t& end) const;
    bool CheckGlyph(int glyph, int depth, int& extent, int& budget) const;
    bool CheckSimpleGlyph(const Reader& glyph, int contours, int& extent) const;
    bool CheckCompoundGlyph(const Reader& glyph, int depth, int& extent, int& budget) const;

    std::vector<unsigned char> mBytes;
    Table mHead, mHhea, mHmtx, mMaxp, mLoca, mGlyf, mCmap, mKern;
    Table mCharacterMap;  // the chosen subtable, format 4 or 12
    int mCharacterMapFormat = 0;
    int mGlyphCount = 0;
    int mLongMetrics = 0;
    int mLocaFormat = 0;
    int mAscent = 0, mDescent = 0, mLineGap = 0;
    // stb_truetype's view of the font, made only once the tables above checked out.
    struct StbFont;
    std::unique_ptr<StbFont> mStb;
};

}  // namespace qmImplementation
