// SPDX-License-Identifier: Zlib
// Checked reading of a TrueType file. stb_truetype reads offsets from the file without bounds,
// recurses into compound glyphs without a limit and turns transformed coordinates into 16-bit
// integers unchecked; so the directory, metrics, character map and kerning are read here, and a
// glyph reaches stb_truetype only once its outline data has been walked and found to fit.
#include "quill_mark/graphics/implementation/qmi_truetype_file.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qmImplementation
{

struct TrueTypeFile::StbFont
{
    stbtt_fontinfo info{};
};

// Big-endian reads within one range of the file; a read outside it gives 0 and marks the reader
// failed, so a walk can read everything it needs and check once.
class TrueTypeFile::Reader
{
public:
    Reader(const std::vector<unsigned char>& bytes, std::size_t offset, std::size_t length)
        : mData(bytes.data() + offset), mLength(length)
    {
    }
    std::uint32_t Unsigned(std::size_t at, int size) const
    {
        if (at > mLength || static_cast<std::size_t>(size) > mLength - at)
        {
            mFailed = true;
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i)
        {
            value = (value << 8) | mData[at + static_cast<std::size_t>(i)];
        }
        return value;
    }
    std::uint32_t U8(std::size_t at) const { return Unsigned(at, 1); }
    std::uint32_t U16(std::size_t at) const { return Unsigned(at, 2); }
    std::uint32_t U32(std::size_t at) const { return Unsigned(at, 4); }
    int S8(std::size_t at) const { return static_cast<std::int8_t>(Unsigned(at, 1)); }
    int S16(std::size_t at) const { return static_cast<std::int16_t>(Unsigned(at, 2)); }
    std::size_t Length() const { return mLength; }
    bool Failed() const { return mFailed; }

private:
    const unsigned char* mData;
    std::size_t mLength;
    mutable bool mFailed = false;
};

namespace
{

constexpr int kDeepestCompound = 4;
constexpr int kComponentBudget = 256;  // components visited for one glyph, all levels together
constexpr int kLargestBitmapSide = 1024;
constexpr std::uint32_t kTrueTypeVersion = 0x00010000u;
constexpr std::uint32_t kAppleTrueTypeVersion = 0x74727565u;  // "true"

std::uint32_t Tag(const char* name)
{
    return (std::uint32_t(std::uint8_t(name[0])) << 24) |
           (std::uint32_t(std::uint8_t(name[1])) << 16) |
           (std::uint32_t(std::uint8_t(name[2])) << 8) | std::uint32_t(std::uint8_t(name[3]));
}

// How much of the preference a (platform, encoding, format) triple gets; 0 is unusable. A full
// Unicode map is preferred, then the Basic Multilingual Plane.
int CharacterMapRank(std::uint32_t platform, std::uint32_t encoding, std::uint32_t format)
{
    if (format == 12 && ((platform == 3 && encoding == 10) || platform == 0))
    {
        return 2;
    }
    if (format == 4 && ((platform == 3 && encoding == 1) || platform == 0))
    {
        return 1;
    }
    return 0;
}

}  // namespace

TrueTypeFile::TrueTypeFile() = default;
TrueTypeFile::~TrueTypeFile() = default;

bool TrueTypeFile::Open(std::vector<unsigned char> bytes)
{
    mBytes = std::move(bytes);
    mStb.reset();
    if (!ReadTables() || !ReadMetrics() || !ReadCharacterMap())
    {
        return false;
    }
    auto stb = std::make_unique<StbFont>();
    if (stbtt_InitFont(&stb->info, mBytes.data(), 0) == 0)
    {
        return false;
    }
    mStb = std::move(stb);
    return true;
}

// The directory and every table in it must lie within the file; the tables a TrueType outline
// font needs must be there. The first entry of a tag counts, as it does for stb_truetype.
bool TrueTypeFile::ReadTables()
{
    const Reader file(mBytes, 0, mBytes.size());
    const std::uint32_t version = file.U32(0);
    const std::uint32_t count = file.U16(4);
    if (file.Failed() || (version != kTrueTypeVersion && version != kAppleTrueTypeVersion) ||
        12 + 16 * std::size_t(count) > mBytes.size())
    {
        return false;
    }
    const std::pair<const char*, Table*> wanted[] = {
        {"head", &mHead}, {"hhea", &mHhea}, {"hmtx", &mHmtx}, {"maxp", &mMaxp},
        {"loca", &mLoca}, {"glyf", &mGlyf}, {"cmap", &mCmap}, {"kern", &mKern}};
    for (const auto& [name, table] : wanted)
    {
        *table = Table{};
    }
    for (std::size_t i = count; i-- > 0;)  // backwards, so the first entry of a tag wins
    {
        const std::size_t record = 12 + 16 * i;
        const std::uint64_t offset = file.U32(record + 8), length = file.U32(record + 12);
        if (offset + length > mBytes.size())
        {
            return false;
        }
        for (const auto& [name, table] : wanted)
        {
            if (file.U32(record) == Tag(name))
            {
                *table = Table{std::size_t(offset), std::size_t(length)};
            }
        }
    }
    return mHead.length >= 54 && mHhea.length >= 36 && mMaxp.length >= 6 && mCmap.length >= 4 &&
           mHmtx.length > 0 && mLoca.length > 0 && mGlyf.length > 0;
}

bool TrueTypeFile::ReadMetrics()
{
    const Reader head(mBytes, mHead.offset, mHead.length);
    const Reader hhea(mBytes, mHhea.offset, mHhea.length);
    mGlyphCount = int(Reader(mBytes, mMaxp.offset, mMaxp.length).U16(4));
    mLocaFormat = head.S16(50);
    mAscent = hhea.S16(4);
    mDescent = hhea.S16(6);
    mLineGap = hhea.S16(8);
    mLongMetrics = int(hhea.U16(34));
    const std::size_t locaEntry = mLocaFormat == 0 ? 2 : 4;
    const std::size_t shortMetrics = std::size_t(std::max(0, mGlyphCount - mLongMetrics));
    return (mLocaFormat == 0 || mLocaFormat == 1) && mGlyphCount > 0 && mLongMetrics > 0 &&
           mAscent - mDescent > 0 && (std::size_t(mGlyphCount) + 1) * locaEntry <= mLoca.length &&
           4 * std::size_t(mLongMetrics) + 2 * shortMetrics <= mHmtx.length;
}

// Picks the best Unicode subtable whose arrays lie within it. stb_truetype needs a Microsoft or
// Unicode record to accept the font at all, so the records are checked for it too.
bool TrueTypeFile::ReadCharacterMap()
{
    const Reader cmap(mBytes, mCmap.offset, mCmap.length);
    const std::size_t records = cmap.U16(2);
    if (4 + 8 * records > mCmap.length)
    {
        return false;
    }
    int bestRank = 0;
    for (std::size_t i = 0; i < records; ++i)
    {
        const std::size_t record = 4 + 8 * i;
        const std::size_t offset = cmap.U32(record + 4);
        if (offset >= mCmap.length)
        {
            continue;
        }
        const Reader rest(mBytes, mCmap.offset + offset, mCmap.length - offset);
        const std::uint32_t format = rest.U16(0);
        const bool fmt12 = format == 12;
        const std::size_t length = fmt12 ? rest.U32(4) : rest.U16(2);
        const int rank = CharacterMapRank(cmap.U16(record), cmap.U16(record + 2), format);
        if (rest.Failed() || rank <= bestRank || length > rest.Length())
        {
            continue;
        }
        const Reader sub(mBytes, mCmap.offset + offset, length);
        const std::size_t needed =
            fmt12 ? 16 + 12 * std::size_t(sub.U32(12)) : 16 + 4 * std::size_t(sub.U16(6) / 2 * 2);
        if (!sub.Failed() && needed <= length && (fmt12 || sub.U16(6) % 2 == 0))
        {
            mCharacterMap = Table{mCmap.offset + offset, length};
            mCharacterMapFormat = int(format);
            bestRank = rank;
        }
    }
    return bestRank > 0;
}

int TrueTypeFile::GlyphIndex(std::uint32_t codepoint) const
{
    const Reader map(mBytes, mCharacterMap.offset, mCharacterMap.length);
    std::uint32_t glyph = 0;
    if (mCharacterMapFormat == 12)
    {
        std::size_t low = 0, high = map.U32(12);
        while (low < high)  // groups are sorted by their first character
        {
            const std::size_t middle = (low + high) / 2, group = 16 + 12 * middle;
            if (codepoint < map.U32(group))
                high = middle;
            else if (codepoint > map.U32(group + 4))
                low = middle + 1;
            else
            {
                glyph = map.U32(group + 8) + (codepoint - map.U32(group));
                break;
            }
        }
    }
    else if (mCharacterMapFormat == 4 && codepoint <= 0xFFFF)
    {
        const std::size_t segments = map.U16(6) / 2;
        const std::size_t ends = 14, starts = 16 + 2 * segments, deltas = starts + 2 * segments,
                          ranges = deltas + 2 * segments;
        for (std::size_t i = 0; i < segments; ++i)
        {
            if (codepoint > map.U16(ends + 2 * i))
                continue;
            const std::uint32_t start = map.U16(starts + 2 * i);
            const std::uint32_t delta = map.U16(deltas + 2 * i);
            const std::uint32_t range = map.U16(ranges + 2 * i);
            if (codepoint >= start && range == 0)
                glyph = (codepoint + delta) & 0xFFFF;
            else if (codepoint >= start)
            {
                const std::uint32_t value =
                    map.U16(ranges + 2 * i + range + 2 * (codepoint - start));
                glyph = value == 0 ? 0 : (value + delta) & 0xFFFF;
            }
            break;
        }
    }
    // A read outside the subtable or a glyph the font does not have counts as unmapped.
    return map.Failed() || glyph >= std::uint32_t(mGlyphCount) ? 0 : int(glyph);
}

int TrueTypeFile::AdvanceWidth(int glyph) const
{
    const Reader hmtx(mBytes, mHmtx.offset, mHmtx.length);
    return int(hmtx.U16(4 * std::size_t(std::min(glyph, mLongMetrics - 1))));
}

// The first subtable of a version-0 'kern' table, when it is horizontal kerning in format 0
// (stb_truetype's own rule); its pairs are sorted, so the pair is found by binary search.
int TrueTypeFile::Kerning(int left, int right) const
{
    const Reader kern(mBytes, mKern.offset, mKern.length);
    if (mKern.length == 0 || kern.U16(0) != 0 || kern.U16(2) == 0 || kern.U16(8) != 1)
    {
        return 0;
    }
    const std::uint32_t wanted = (std::uint32_t(left) << 16) | std::uint32_t(right);
    std::size_t low = 0, high = std::min<std::size_t>(kern.U16(10), (mKern.length - 18) / 6);
    while (low < high && !kern.Failed())
    {
        const std::size_t middle = (low + high) / 2;
        const std::uint32_t pair = kern.U32(18 + 6 * middle);
        if (pair == wanted)
            return kern.S16(18 + 6 * middle + 4);
        if (pair < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    return 0;
}

bool TrueTypeFile::GlyphRange(int glyph, std::size_t& begin, std::size_t& end) const
{
    if (glyph < 0 || glyph >= mGlyphCount)
    {
        return false;
    }
    const Reader loca(mBytes, mLoca.offset, mLoca.length);
    const std::size_t at = std::size_t(glyph);
    begin = mLocaFormat == 0 ? 2 * std::size_t(loca.U16(2 * at)) : loca.U32(4 * at);
    end = mLocaFormat == 0 ? 2 * std::size_t(loca.U16(2 * at + 2)) : loca.U32(4 * at + 4);
    return !loca.Failed() && begin <= end && end <= mGlyf.length;
}

// `extent` becomes the largest absolute coordinate stb_truetype will produce for the glyph;
// `budget` is what is left of the components the whole glyph may visit, all levels together, so
// nested compounds cannot multiply their way to billions of visits.
bool TrueTypeFile::CheckGlyph(int glyph, int depth, int& extent, int& budget) const
{
    std::size_t begin = 0, end = 0;
    extent = 0;
    if (depth > kDeepestCompound || !GlyphRange(glyph, begin, end))
    {
        return false;
    }
    if (begin == end)
    {
        return true;  // no outline: a space
    }
    const Reader data(mBytes, mGlyf.offset + begin, end - begin);
    const int contours = data.S16(0);
    if (data.Length() < 10)
    {
        return false;
    }
    return contours >= 0 ? CheckSimpleGlyph(data, contours, extent)
                         : CheckCompoundGlyph(data, depth, extent, budget);
}

// Contour ends must rise (stb_truetype walks them as if they did), and the flags and both
// coordinate arrays must end within the glyph. Coordinates add up in 16 bits, as they do there.
bool TrueTypeFile::CheckSimpleGlyph(const Reader& glyph, int contours, int& extent) const
{
    int last = -1;
    for (int i = 0; i < contours; ++i)
    {
        const int contourEnd = int(glyph.U16(10 + 2 * std::size_t(i)));
        if (contourEnd <= last)
            return false;
        last = contourEnd;
    }
    const std::size_t points = std::size_t(last + 1);
    std::size_t at = 10 + 2 * std::size_t(contours);
    at += 2 + glyph.U16(at);
    std::vector<std::uint8_t> flags;
    flags.reserve(points);
    while (flags.size() < points && !glyph.Failed())
    {
        const std::uint8_t flag = std::uint8_t(glyph.U8(at++));
        const std::size_t repeat = (flag & 8) != 0 ? glyph.U8(at++) : 0;
        flags.insert(flags.end(), std::min(repeat + 1, points - flags.size()), flag);
    }
    // A contour of one off-curve point makes stb_truetype read the point after it, which for the
    // glyph's last contour lies outside its points.
    for (int i = 0, start = 0; i < contours && !glyph.Failed(); ++i)
    {
        const int contourEnd = int(glyph.U16(10 + 2 * std::size_t(i)));
        if (contourEnd == start && (flags[std::size_t(start)] & 1) == 0)
            return false;
        start = contourEnd + 1;
    }
    for (const std::uint8_t shortBit : {2, 4})
    {
        const std::uint8_t sameBit = std::uint8_t(shortBit * 8);  // 16 for x, 32 for y
        std::int16_t coordinate = 0;
        for (const std::uint8_t flag : flags)
        {
            int delta = 0;
            if ((flag & shortBit) != 0)
                delta = (flag & sameBit) != 0 ? int(glyph.U8(at++)) : -int(glyph.U8(at++));
            else if ((flag & sameBit) == 0)
                delta = glyph.S16((at += 2) - 2);
            coordinate = std::int16_t(coordinate + delta);
            extent = std::max(extent, std::abs(int(coordinate)));
        }
    }
    return !glyph.Failed();
}

// Every component must place itself by offsets (stb_truetype cannot match points), refer to a
// glyph that checks out in turn, and stay within 16-bit coordinates once transformed.
bool TrueTypeFile::CheckCompoundGlyph(const Reader& glyph, int depth, int& extent,
                                      int& budget) const
{
    std::size_t at = 10;
    std::uint32_t flags = 0;
    do
    {
        flags = glyph.U16(at);
        const int component = int(glyph.U16(at + 2));
        at += 4;
        const bool words = (flags & 1) != 0;
        const double dx = words ? glyph.S16(at) : glyph.S8(at);
        const double dy = words ? glyph.S16(at + 2) : glyph.S8(at + 1);
        at += words ? 4 : 2;
        double m[4] = {1, 0, 0, 1};
        if ((flags & 8) != 0)
            m[0] = m[3] = glyph.S16((at += 2) - 2) / 16384.0;
        else if ((flags & 0x40) != 0)
        {
            m[0] = glyph.S16(at) / 16384.0;
            m[3] = glyph.S16(at + 2) / 16384.0;
            at += 4;
        }
        else if ((flags & 0x80) != 0)
        {
            for (int i = 0; i < 4; ++i)
                m[i] = glyph.S16(at + 2 * std::size_t(i)) / 16384.0;
            at += 8;
        }
        int inner = 0;
        if ((flags & 2) == 0 || glyph.Failed() || --budget < 0 ||
            !CheckGlyph(component, depth + 1, inner, budget))
        {
            return false;
        }
        const double xScale = std::hypot(m[0], m[1]), yScale = std::hypot(m[2], m[3]);
        const double x = xScale * ((std::abs(m[0]) + std::abs(m[2])) * inner + std::abs(dx));
        const double y = yScale * ((std::abs(m[1]) + std::abs(m[3])) * inner + std::abs(dy));
        if (std::max(x, y) > 32767.0)
            return false;
        extent = std::max(extent, int(std::ceil(std::max(x, y))));
    } while ((flags & 0x20) != 0);
    return true;
}

bool TrueTypeFile::Rasterize(int glyph, float scale, GlyphBitmap& bitmap) const
{
    bitmap = GlyphBitmap{};
    int extent = 0;
    int budget = kComponentBudget;
    if (!mStb || !CheckGlyph(glyph, 0, extent, budget))
    {
        return false;
    }
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(&mStb->info, glyph, &vertices);
    if (count <= 0)
    {
        return true;
    }
    // The box of every point, control points included: a quadratic curve stays within them, so
    // every edge the rasteriser makes lies inside the bitmap.
    float low[2] = {1e9f, 1e9f}, high[2] = {-1e9f, -1e9f};
    for (int i = 0; i < count; ++i)
    {
        const float xs[2] = {float(vertices[i].x), float(vertices[i].cx)};
        const float ys[2] = {float(vertices[i].y), float(vertices[i].cy)};
        for (int k = 0; k < (vertices[i].type == STBTT_vcurve ? 2 : 1); ++k)
        {
            low[0] = std::min(low[0], xs[k]);
            high[0] = std::max(high[0], xs[k]);
            low[1] = std::min(low[1], ys[k]);
            high[1] = std::max(high[1], ys[k]);
        }
    }
    const int x0 = int(std::floor(low[0] * scale)), x1 = int(std::ceil(high[0] * scale));
    const int y0 = int(std::floor(-high[1] * scale)), y1 = int(std::ceil(-low[1] * scale));
    const bool fits = x1 - x0 <= kLargestBitmapSide && y1 - y0 <= kLargestBitmapSide;
    if (fits && x1 > x0 && y1 > y0)
    {
        bitmap.width = x1 - x0;
        bitmap.height = y1 - y0;
        bitmap.offsetX = x0;
        bitmap.offsetY = y0;
        bitmap.coverage.assign(std::size_t(bitmap.width) * std::size_t(bitmap.height), 0);
        stbtt__bitmap target{bitmap.width, bitmap.height, bitmap.width, bitmap.coverage.data()};
        stbtt_Rasterize(&target, 0.35f, vertices, count, scale, scale, 0.0f, 0.0f, x0, y0, 1,
                        nullptr);
    }
    stbtt_FreeShape(&mStb->info, vertices);
    return fits;
}

}  // namespace qmImplementation
