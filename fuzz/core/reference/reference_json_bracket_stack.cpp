// SPDX-License-Identifier: Zlib
// The closing-bracket search. A search that starts at a bracket an earlier search walked over
// would walk the very same characters by the very same rules (string state starts outside at a
// bracket seen outside a string; marks below its own are never looked at before it ends) and stop
// at the same place, provided that place lies within its own text; then the recorded answer is
// taken instead, and the recorded height stands in for the nesting check. Each container is so
// walked once in all, instead of once per enclosing level.
#include "reference/reference_json_bracket_stack.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qmReference
{

namespace
{

// The characters the search reacts to; everything else is skipped by one lookup.
struct StructuralTable
{
    constexpr StructuralTable() : isStructural()
    {
        for (const char character : {'"', '[', ']', '{', '}'})
        {
            isStructural[static_cast<unsigned char>(character)] = true;
        }
    }
    bool isStructural[256];
};

constexpr StructuralTable kStructuralTable;

bool IsStructural(char character)
{
    return kStructuralTable.isStructural[static_cast<unsigned char>(character)];
}

// Position of the first structural character at or after position, or size. Most of a data file
// is names, numbers and indentation, so sixteen bytes are tested at a time where the processor
// allows it.
std::size_t NextStructural(const char* data, std::size_t position, std::size_t size)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    // Setting bit 5 folds [ into { and ] into }.
    const __m128i openBrace = _mm_set1_epi8('{');
    const __m128i closeBrace = _mm_set1_epi8('}');
    while (position + 16 <= size)
    {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + position));
        const __m128i folded = _mm_or_si128(chunk, caseBit);
        const __m128i hits = _mm_or_si128(
            _mm_cmpeq_epi8(chunk, quote),
            _mm_or_si128(_mm_cmpeq_epi8(folded, openBrace), _mm_cmpeq_epi8(folded, closeBrace)));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0)
        {
            return position + static_cast<std::size_t>(__builtin_ctz(mask));
        }
        position += 16;
    }
#endif
    while (position < size && !IsStructural(data[position]))
    {
        ++position;
    }
    return position;
}

}  // namespace

void JsonBracketStack::Reset(std::string_view document)
{
    mMarks.clear();
    mDocument = document.data();
    mPairs.clear();
    mPairCursor = 0;
    mOpenPairs.clear();
}

// Walks to the bracket that pops the mark of text's first bracket, pushing and popping for the
// brackets met on the way; a quotation mark not preceded by a backslash switches string state,
// and brackets inside strings are ignored. A mismatched closing bracket, or the end of the text
// (a text of one character included), finds nothing.
std::size_t JsonBracketStack::FindClosingBracket(std::string_view text, std::size_t level,
                                                 std::size_t maximumLevel, bool& tooDeep)
{
    const std::size_t offset = static_cast<std::size_t>(text.data() - mDocument);
    const BracketPair* const recorded = FindRecordedPair(offset);
    // An earlier walk may have seen the string state differently around this text, so its
    // answer counts only when it lies within this text.
    if (recorded != nullptr && recorded->close < offset + text.size())
    {
        if (level + recorded->height - 1 > maximumLevel)
        {
            tooDeep = true;
            return kNotFound;
        }
        // The walk would have popped this container's mark on its way.
        Pop();
        return recorded->close - offset;
    }
    // Only a walk beyond every recorded bracket records, which keeps the record in order.
    const bool record = mPairs.empty() || mPairs.back().open < offset;
    mOpenPairs.clear();
    const std::size_t depth = mMarks.size();
    bool insideString = false;
    const char* const data = text.data();
    const std::size_t size = text.size();
    for (std::size_t position = NextStructural(data, 1, size); position < size;
         position = NextStructural(data, position + 1, size))
    {
        const char character = data[position];
        if (character == '"')
        {
            insideString = data[position - 1] == '\\' ? insideString : !insideString;
            continue;
        }
        if (insideString)
        {
            continue;
        }
        if (character == '[' || character == '{')
        {
            Push(character == '[' ? kArrayMark : kObjectMark);
            if (level + mMarks.size() - depth > maximumLevel)
            {
                tooDeep = true;
                return kNotFound;
            }
            if (record)
            {
                mOpenPairs.push_back(mPairs.size());
                mPairs.push_back(BracketPair{offset + position, kNotFound, 1});
            }
            continue;
        }
        if (!IsTop(character == ']' ? kArrayMark : kObjectMark))
        {
            return kNotFound;
        }
        Pop();
        if (mMarks.size() + 1 == depth)
        {
            return position;
        }
        if (record)
        {
            const BracketPair& closed = mPairs[mOpenPairs.back()];
            mPairs[mOpenPairs.back()].close = offset + position;
            mOpenPairs.pop_back();
            if (!mOpenPairs.empty())
            {
                std::size_t& parentHeight = mPairs[mOpenPairs.back()].height;
                parentHeight = std::max(parentHeight, closed.height + 1);
            }
        }
    }
    return kNotFound;
}

// Brackets left open by a failed walk have no recorded close and are searched afresh.
const JsonBracketStack::BracketPair* JsonBracketStack::FindRecordedPair(std::size_t offset)
{
    while (mPairCursor < mPairs.size() && mPairs[mPairCursor].open < offset)
    {
        ++mPairCursor;
    }
    if (mPairCursor < mPairs.size() && mPairs[mPairCursor].open == offset &&
        mPairs[mPairCursor].close != kNotFound)
    {
        return &mPairs[mPairCursor];
    }
    return nullptr;
}

}  // namespace qmReference
