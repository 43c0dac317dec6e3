// SPDX-License-Identifier: Zlib
// The reader follows the framework's rules, whose heart is this: a nested container spans from
// its opening bracket to the bracket a search pairs with it, where the search counts brackets
// outside quotation marks and takes every quotation mark not preceded by a backslash as one that
// opens or closes a string. Inside the container the lenient rules below apply. On plain text
// (strings that do not end in a backslash, commas between items, lower-case literals, numbers
// written the usual way) the search ends where the plain reading ends, so plain containers are
// read in one tight loop without searching. At the first item that is not plain, the container
// asks the search where it and its still open parents end, starting from its last settled
// point (the search is in the same state there as if it had started at each opening bracket),
// and reads on from that point by the lenient rules. Plain text is never searched; lenient text
// is searched once for each lenient container that holds it.
#include "quill_mark/core/implementation/qmi_json_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qmImplementation
{

using Quillmark::Core::DynamicStructure;
using Quillmark::Core::NilType;

namespace
{

// The C library's whitespace in the default locale: space, \t, \n, \v, \f and \r.
bool IsWhitespace(char character)
{
    return character == ' ' || (character >= '\t' && character <= '\r');
}

bool IsDigit(char character)
{
    return character >= '0' && character <= '9';
}

// The characters of numbers and literals in plain text.
bool IsTokenCharacter(char character)
{
    return IsDigit(character) || (character >= 'a' && character <= 'z') ||
           (character >= 'A' && character <= 'Z') || character == '-' || character == '+' ||
           character == '.';
}

bool EqualsIgnoringCase(const std::string& text, const char* lowerCaseWord)
{
    const std::size_t size = std::strlen(lowerCaseWord);
    if (text.size() != size)
    {
        return false;
    }
    for (std::size_t index = 0; index < size; ++index)
    {
        const char character = text[index];
        const char lower =
            character >= 'A' && character <= 'Z' ? static_cast<char>(character + 32) : character;
        if (lower != lowerCaseWord[index])
        {
            return false;
        }
    }
    return true;
}

std::string_view Trimmed(const char* begin, const char* end)
{
    while (begin < end && IsWhitespace(*begin))
    {
        ++begin;
    }
    while (end > begin && IsWhitespace(end[-1]))
    {
        --end;
    }
    return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

// The first quotation mark or backslash in [from, end), or end.
const char* FindQuoteOrBackslash(const char* from, const char* end)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; from + 16 <= end; from += 16)
    {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, quote), _mm_cmpeq_epi8(chunk, backslash))));
        if (mask != 0)
        {
            return from + __builtin_ctz(mask);
        }
    }
#endif
    while (from < end && *from != '"' && *from != '\\')
    {
        ++from;
    }
    return from;
}

// The closing-quote search: the first quotation mark in [from, end) that no backslash escapes
// (a backslash escapes whatever follows it), or nullptr. escaped tells whether a backslash came
// before it.
const char* FindUnescapedQuote(const char* from, const char* end, bool& escaped)
{
    for (;;)
    {
        from = FindQuoteOrBackslash(from, end);
        if (from >= end)
        {
            return nullptr;
        }
        if (*from == '"')
        {
            return from;
        }
        escaped = true;
        from += 2;
    }
}

// The lenient rules cut an array element at the first comma or ] unless a [ or { comes first,
// so a string element with one of them before any bracket would be cut inside the string.
bool WouldCutElement(const char* text, const char* end)
{
    for (; text < end; ++text)
    {
        const char character = *text;
        if (character == '[' || character == '{')
        {
            return false;
        }
        if (character == ',' || character == ']')
        {
            return true;
        }
    }
    return false;
}

// The C library's conversion to double; it must use up the whole token and stay in range.
bool ReadDouble(const std::string& token, double& number)
{
    errno = 0;
    char* end = nullptr;
    number = std::strtod(token.c_str(), &end);
    return errno != ERANGE && end == token.c_str() + token.size();
}

// Up to 2^31 + 1 the magnitude is exact; past it the number is out of range whatever follows.
bool AccumulateDigits(const char* digits, const char* end, std::int64_t& magnitude)
{
    magnitude = 0;
    for (; digits < end; ++digits)
    {
        if (!IsDigit(*digits))
        {
            return false;
        }
        if (magnitude <= 2147483648)
        {
            magnitude = magnitude * 10 + (*digits - '0');
        }
    }
    return true;
}

bool IsInIntegerRange(std::int64_t number)
{
    return number >= INT32_MIN && number <= INT32_MAX;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A number as plain text writes it: an optional minus, digits, then optionally a full stop and
// digits, then optionally an e or E, a sign and digits. One walk gathers its significant digits
// and its power of ten.
struct PlainNumber
{
    bool negative = false;
    bool integral = true;
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    int exponent = 0;

    // Returns where the digits stop; fractionDigits counts down the exponent.
    const char* AddDigits(const char* position, const char* end, bool fractionDigits)
    {
        for (; position < end && IsDigit(*position); ++position)
        {
            exponent -= fractionDigits ? 1 : 0;
            if (mantissa != 0 || *position != '0')
            {
                mantissa = significantDigits < 19
                               ? mantissa * 10 + static_cast<std::uint64_t>(*position - '0')
                               : mantissa;
                ++significantDigits;
            }
        }
        return position;
    }

    bool Read(const char* begin, const char* end)
    {
        negative = *begin == '-';
        const char* position = begin + (negative ? 1 : 0);
        const char* digits = position;
        if ((position = AddDigits(position, end, false)) == digits)
        {
            return false;
        }
        if (position < end && *position == '.')
        {
            integral = false;
            digits = ++position;
            if ((position = AddDigits(position, end, true)) == digits)
            {
                return false;
            }
        }
        if (position < end && (*position == 'e' || *position == 'E'))
        {
            integral = false;
            ++position;
            const bool negativeExponent = position < end && *position == '-';
            position += position < end && (*position == '-' || *position == '+') ? 1 : 0;
            std::int64_t written = 0;
            if (position == end || !AccumulateDigits(position, end, written))
            {
                return false;
            }
            position = end;
            exponent += static_cast<int>(negativeExponent ? -std::min<std::int64_t>(written, 9999)
                                                          : std::min<std::int64_t>(written, 9999));
        }
        return position == end;
    }

    // Ten digits at most and within the signed 32-bit range.
    bool IsInteger(std::int32_t& integer) const
    {
        if (!integral || significantDigits > 10)
        {
            return false;
        }
        const std::int64_t number =
            negative ? -static_cast<std::int64_t>(mantissa) : static_cast<std::int64_t>(mantissa);
        integer = static_cast<std::int32_t>(number);
        return IsInIntegerRange(number);
    }

    // Significant digits that a double holds exactly, scaled by an exact power of ten: one
    // multiplication or division then rounds correctly, as the C library does.
    bool IsExactDouble(double& number) const
    {
        if (significantDigits > 15 || exponent < -22 || exponent > 22)
        {
            return false;
        }
        const double exact = static_cast<double>(mantissa);
        number = exponent < 0 ? exact / kExactPowersOfTen[-exponent]
                              : exact * kExactPowersOfTen[exponent];
        number = negative ? -number : number;
        return true;
    }
};

// A \u escape keeps one byte: the last two of its four characters, as far as the text reaches,
// read as hexadecimal by the C library (which stops at the first character that is no hex digit
// and gives 0 for none).
char ReadUnicodeEscapeByte(const char* backslash, const char* end)
{
    char digits[3] = {};
    for (int index = 0; index < 2 && backslash + 4 + index < end; ++index)
    {
        digits[index] = backslash[4 + index];
    }
    return static_cast<char>(static_cast<unsigned char>(std::strtoul(digits, nullptr, 16) & 0xFFu));
}

// The translation of the escape whose letter follows a backslash; 0 for one that vanishes.
char SimpleEscape(char letter)
{
    switch (letter)
    {
        case '"':
        case '\\':
        case '/':
            return letter;
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        default:
            return '\0';
    }
}

}  // namespace

// Most gaps are empty or one space; indentation comes in runs of spaces, taken 16 at a time.
inline void JsonReader::SkipWhitespace()
{
    if (!IsWhitespace(*mCursor))
    {
        return;
    }
    if (!IsWhitespace(*++mCursor))
    {
        return;
    }
#if defined(__SSE2__)
    while (mCursor + 16 <= mEnd)
    {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mCursor));
        const unsigned others =
            ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(' ')))) &
            0xFFFFu;
        if (others == 0)
        {
            mCursor += 16;
            continue;
        }
        mCursor += __builtin_ctz(others);
        if (!IsWhitespace(*mCursor))
        {
            return;
        }
        ++mCursor;
    }
#endif
    while (IsWhitespace(*mCursor))
    {
        ++mCursor;
    }
}

DynamicStructure JsonReader::Read(std::string_view text)
{
    const std::string_view document = Trimmed(text.data(), text.data() + text.size());
    if (document.empty() || (document.front() != '{' && document.front() != '[') ||
        document.back() != (document.front() == '{' ? '}' : ']'))
    {
        return DynamicStructure();
    }
    // A tree takes about twice its text; starting there saves most of the arena's growth.
    Builder builder(document.size() * 2);
    mBuilder = &builder;
    mCursor = document.data();
    mEnd = &document.back();
    mLevels[1] = Level{mCursor, mEnd};
    mDepth = 1;
    mKnownDepth = 1;
    mUnwindTo = 0;
    mTooDeep = false;
    mReportsDue = false;
    mMembers.clear();
    mElements.clear();
    mPairs.clear();
    mPairCursor = 0;
    Value root;
    const Step step = document.front() == '{' ? ReadObject(root) : ReadArray(root);
    if (step != Step::kRead || mTooDeep || root.null)
    {
        return DynamicStructure();
    }
    DynamicStructure result = builder.Finish(root.node);
    if (mReportsDue)
    {
        Builder::ReportAsAppended(result);
    }
    return result;
}

JsonReader::Step JsonReader::ReadContainer(Value& value)
{
    if (mDepth == kMaximumNesting)
    {
        mTooDeep = true;
        mUnwindTo = 0;
        return Step::kUnwind;
    }
    ++mDepth;
    mLevels[mDepth] = Level{mCursor, nullptr};
    if (const char* const recorded = FindRecordedClose(); recorded != nullptr)
    {
        mLevels[mDepth].close = recorded;
        mKnownDepth = mDepth;
        mEnd = recorded;
    }
    const Step step = *mCursor == '{' ? ReadObject(value) : ReadArray(value);
    if (mKnownDepth == mDepth)
    {
        --mKnownDepth;
        mEnd = mLevels[mKnownDepth].close;
    }
    --mDepth;
    return step;
}

// {} is an empty object, but { } has no member and no name either, which makes it null.
JsonReader::Step JsonReader::ReadObject(Value& value)
{
    const std::size_t firstMember = mMembers.size();
    ++mCursor;
    Settled settled{mCursor, firstMember, false};
    if (IsClosing('}'))
    {
        ++mCursor;
        value = Value{};
        return Step::kRead;
    }
    SkipWhitespace();
    Step step = *mCursor == '"' ? Step::kRead : Step::kLenient;
    while (step == Step::kRead)
    {
        step = ReadMember(settled);
        if (step != Step::kRead)
        {
            break;
        }
        SkipWhitespace();
        if (IsClosing('}'))
        {
            ++mCursor;
            break;
        }
        if (*mCursor != ',')
        {
            step = Step::kLenient;
            break;
        }
        settled = Settled{mCursor, mMembers.size(), true};
        ++mCursor;
        SkipWhitespace();
        step = *mCursor == '"' ? Step::kRead : Step::kLenient;
    }
    if (step == Step::kLenient)
    {
        mMembers.resize(settled.count);
        step = SettleLevels(settled.position);
        if (step == Step::kRead)
        {
            const Lenient result = ReadObjectLeniently(
                Text{settled.position, mLevels[mDepth].close}, settled.afterValue);
            step = result == Lenient::kUnwind ? Step::kUnwind : Step::kRead;
            mCursor = mLevels[mDepth].close + 1;
            value.null = result == Lenient::kError;
        }
    }
    return FinishObject(value, step, firstMember);
}

// A member with a plain name and value; after a string or a container the lenient rules would
// go on right after it, so that point is settled too.
JsonReader::Step JsonReader::ReadMember(Settled& settled)
{
    const char* const nameStart = mCursor + 1;
    bool escaped = false;
    const char* const nameEnd = FindUnescapedQuote(nameStart, mEnd, escaped);
    if (nameEnd == nullptr || nameEnd == nameStart || nameEnd[-1] == '\\')
    {
        return Step::kLenient;
    }
    mCursor = nameEnd + 1;
    SkipWhitespace();
    if (*mCursor != ':')
    {
        return Step::kLenient;
    }
    ++mCursor;
    SkipWhitespace();
    Value member;
    const char first = *mCursor;
    const bool settles = first == '{' || first == '[' || first == '"';
    const Step step = first == '{' || first == '['
                          ? ReadContainer(member)
                          : (first == '"' ? ReadString(member, false) : ReadScalar(member));
    if (step != Step::kRead)
    {
        return step;
    }
    mMembers.push_back(
        NamedNode{std::string_view(nameStart, static_cast<std::size_t>(nameEnd - nameStart)),
                  member.null ? Node() : member.node});
    if (settles)
    {
        settled = Settled{mCursor, mMembers.size(), true};
    }
    return Step::kRead;
}

JsonReader::Step JsonReader::ReadArray(Value& value)
{
    const std::size_t firstElement = mElements.size();
    ++mCursor;
    Settled settled{mCursor, firstElement, false};
    SkipWhitespace();
    Step step = Step::kRead;
    if (IsClosing(']'))
    {
        ++mCursor;
    }
    else
    {
        while ((step = ReadElement(settled, firstElement)) == Step::kRead)
        {
            SkipWhitespace();
            if (IsClosing(']'))
            {
                ++mCursor;
                break;
            }
            if (*mCursor != ',')
            {
                step = Step::kLenient;
                break;
            }
            ++mCursor;
            settled = Settled{mCursor, mElements.size(), false};
            SkipWhitespace();
        }
    }
    if (step == Step::kLenient)
    {
        mElements.resize(settled.count);
        step = SettleLevels(settled.position);
        if (step == Step::kRead)
        {
            const Lenient result =
                ReadArrayLeniently(Text{settled.position, mLevels[mDepth].close}, firstElement);
            step = result == Lenient::kUnwind ? Step::kUnwind : Step::kRead;
            mCursor = mLevels[mDepth].close + 1;
            value.null = result == Lenient::kError;
        }
    }
    return FinishArray(value, step, firstElement);
}

// After a container the lenient rules go on right after it, so that point is settled.
JsonReader::Step JsonReader::ReadElement(Settled& settled, std::size_t firstElement)
{
    Value element;
    const char first = *mCursor;
    if (first == '{' || first == '[')
    {
        const Step step = ReadContainer(element);
        if (step == Step::kRead)
        {
            AddElement(element, firstElement);
            settled = Settled{mCursor, mElements.size(), false};
        }
        return step;
    }
    const Step step = first == '"' ? ReadString(element, true) : ReadScalar(element);
    if (step == Step::kRead)
    {
        AddElement(element, firstElement);
    }
    return step;
}

// Strings are trimmed after their escapes are translated.
JsonReader::Step JsonReader::ReadString(Value& value, bool inArray)
{
    const char* const start = mCursor + 1;
    bool escaped = false;
    const char* const end = FindUnescapedQuote(start, mEnd, escaped);
    if (end == nullptr || (escaped && end[-1] == '\\') || (inArray && WouldCutElement(start, end)))
    {
        return Step::kLenient;
    }
    value.node = MakeString(start, end, escaped);
    mCursor = end + 1;
    return Step::kRead;
}

// Lower-case literals and numbers written the usual way.
JsonReader::Step JsonReader::ReadScalar(Value& value)
{
    const char* const start = mCursor;
    while (IsTokenCharacter(*mCursor))
    {
        ++mCursor;
    }
    const std::size_t size = static_cast<std::size_t>(mCursor - start);
    if (size == 4 && std::memcmp(start, "true", 4) == 0)
    {
        value.node = Builder::Boolean(true);
        return Step::kRead;
    }
    if (size == 5 && std::memcmp(start, "false", 5) == 0)
    {
        value.node = Builder::Boolean(false);
        return Step::kRead;
    }
    if (size == 4 && std::memcmp(start, "null", 4) == 0)
    {
        value.null = true;
        return Step::kRead;
    }
    PlainNumber plain;
    if (size == 0 || !plain.Read(start, mCursor))
    {
        return Step::kLenient;
    }
    std::int32_t integer = 0;
    if (plain.IsInteger(integer))
    {
        value.node = Builder::Integer(integer);
        return Step::kRead;
    }
    // Out of range is left to the lenient rules, which fail the container.
    double number = 0.0;
    if (!plain.IsExactDouble(number))
    {
        mScratch.assign(start, size);
        if (!ReadDouble(mScratch, number))
        {
            return Step::kLenient;
        }
    }
    value.node = Builder::Float(static_cast<float>(number));
    return Step::kRead;
}

// Where an earlier search found the container opening at the cursor to close, if it did so at
// the container's depth and within the container around it, whose end must be known: the search
// from the bracket itself would walk the same characters the same way.
const char* JsonReader::FindRecordedClose()
{
    while (mPairCursor < mPairs.size() && mPairs[mPairCursor].open < mCursor)
    {
        ++mPairCursor;
    }
    if (mKnownDepth + 1 != mDepth || mPairCursor == mPairs.size())
    {
        return nullptr;
    }
    const Pair& pair = mPairs[mPairCursor];
    const bool fits = pair.open == mCursor && pair.close != nullptr && pair.close < mEnd;
    return fits && pair.depth == mDepth ? pair.close : nullptr;
}

// A container's own closing bracket: where its search ended when that is known, and otherwise
// before the closing bracket of the nearest container whose end is known.
bool JsonReader::IsClosing(char closing) const
{
    if (*mCursor != closing)
    {
        return false;
    }
    const char* const close = mLevels[mDepth].close;
    return close == nullptr ? mCursor != mEnd : mCursor == close;
}

// A failed search inside makes this container null, when this is the container whose body the
// search belongs to; an empty one is a Nil value.
JsonReader::Step JsonReader::FinishObject(Value& value, Step step, std::size_t firstMember)
{
    const std::uint32_t count = static_cast<std::uint32_t>(mMembers.size() - firstMember);
    if (step == Step::kUnwind || value.null || count == 0)
    {
        mMembers.resize(firstMember);
        return FinishWithoutTable(value, step);
    }
    value.node = mBuilder->Structure(mMembers.data() + firstMember, count);
    mMembers.resize(firstMember);
    return Step::kRead;
}

JsonReader::Step JsonReader::FinishArray(Value& value, Step step, std::size_t firstElement)
{
    const std::uint32_t count = static_cast<std::uint32_t>(mElements.size() - firstElement);
    if (step == Step::kUnwind || value.null || count == 0)
    {
        mElements.resize(firstElement);
        return FinishWithoutTable(value, step);
    }
    value.node = mBuilder->Array(mElements.data() + firstElement, count);
    mElements.resize(firstElement);
    return Step::kRead;
}

JsonReader::Step JsonReader::FinishWithoutTable(Value& value, Step step)
{
    value.node = Node();
    if (step != Step::kUnwind)
    {
        return Step::kRead;
    }
    if (mUnwindTo != mDepth)
    {
        return Step::kUnwind;
    }
    value.null = true;
    mCursor = mLevels[mDepth].close + 1;
    return Step::kRead;
}

void JsonReader::AddElement(const Value& element, std::size_t firstElement)
{
    if (element.null)
    {
        return;
    }
    const Node& node = element.node;
    if (node.GetValueType() == NilType ||
        (mElements.size() > firstElement &&
         mElements[firstElement].GetValueType() != node.GetValueType()))
    {
        mReportsDue = true;
    }
    mElements.push_back(node);
}

// The search from the current container's settled point, for it and every open parent whose
// end is not known yet, as one walk: at that point each of their searches would stand outside a
// string with exactly the brackets in between open. Fails, like the outermost of these searches,
// on a mismatched closing bracket or at the end of the container it lies in; a bracket nested
// too deep fails the whole document.
JsonReader::Step JsonReader::SettleLevels(const char* from)
{
    if (mLevels[mDepth].close != nullptr)
    {
        return Step::kRead;
    }
    char inner[kMaximumNesting + 1];
    std::size_t innerPairs[kMaximumNesting + 1];
    int innerCount = 0;
    int open = mDepth;
    bool insideString = false;
    // Pairs stay in order of their opening brackets when only walks beyond all of them record.
    const bool record = mPairs.empty() || mPairs.back().open < from;
    for (const char* position = from; position < mEnd; ++position)
    {
        const char character = *position;
        if (character == '"')
        {
            insideString = position[-1] == '\\' ? insideString : !insideString;
        }
        else if (insideString)
        {
        }
        else if (character == '[' || character == '{')
        {
            if (open + innerCount + 1 > kMaximumNesting)
            {
                mTooDeep = true;
                mUnwindTo = 0;
                return Step::kUnwind;
            }
            if (record)
            {
                innerPairs[innerCount] = mPairs.size();
                mPairs.push_back(Pair{position, nullptr, open + innerCount + 1});
            }
            inner[innerCount++] = character == '[' ? ']' : '}';
        }
        else if (character == ']' || character == '}')
        {
            const char expected =
                innerCount > 0 ? inner[innerCount - 1] : (*mLevels[open].open == '[' ? ']' : '}');
            if (character != expected)
            {
                break;
            }
            if (innerCount > 0)
            {
                --innerCount;
                if (record)
                {
                    mPairs[innerPairs[innerCount]].close = position;
                }
                continue;
            }
            mLevels[open--].close = position;
            if (open == mKnownDepth)
            {
                mKnownDepth = mDepth;
                mEnd = mLevels[mDepth].close;
                return Step::kRead;
            }
        }
    }
    mUnwindTo = mKnownDepth;
    return Step::kUnwind;
}

DynamicStructure::Builder::Node JsonReader::MakeString(const char* begin, const char* end,
                                                       bool escaped)
{
    if (!escaped)
    {
        return mBuilder->String(Trimmed(begin, end));
    }
    mScratch.clear();
    while (begin < end)
    {
        // A backslash that is the last character is copied like any other.
        if (*begin != '\\' || begin + 1 == end)
        {
            mScratch += *begin++;
            continue;
        }
        if (begin[1] == 'u')
        {
            mScratch += ReadUnicodeEscapeByte(begin, end);
            begin = end - begin > 6 ? begin + 6 : end;
            continue;
        }
        // Unknown escapes vanish, backslash and letter alike.
        if (const char translated = SimpleEscape(begin[1]); translated != '\0')
        {
            mScratch += translated;
        }
        begin += 2;
    }
    return mBuilder->String(Trimmed(mScratch.data(), mScratch.data() + mScratch.size()));
}

// ---- The lenient rules ----------------------------------------------------------------------

// Members are found by their quotation marks, so whatever stands between a value and the next
// name (the comma, or anything else) is skipped; text after the last value that holds no further
// quotation mark (a trailing comma) makes the object null. Names keep their escapes as written.
// The first value read trims the text at both ends, so after a value trailing whitespace is gone.
JsonReader::Lenient JsonReader::ReadObjectLeniently(Text text, bool afterValue)
{
    while (afterValue && !text.IsEmpty() && IsWhitespace(text.end[-1]))
    {
        --text.end;
    }
    while (!text.IsEmpty())
    {
        bool escaped = false;
        const char* const nameStart = FindUnescapedQuote(text.begin, text.end, escaped);
        const char* const nameEnd =
            nameStart != nullptr ? FindUnescapedQuote(nameStart + 1, text.end, escaped) : nullptr;
        const char* const colon =
            nameEnd != nullptr ? static_cast<const char*>(std::memchr(
                                     nameEnd, ':', static_cast<std::size_t>(text.end - nameEnd)))
                               : nullptr;
        if (colon == nullptr || nameEnd == nameStart + 1)
        {
            return Lenient::kError;
        }
        text.begin = colon + 1;
        Value member;
        const Lenient result = ReadValueLeniently(text, member);
        if (result != Lenient::kValue)
        {
            return result;
        }
        mMembers.push_back(NamedNode{
            std::string_view(nameStart + 1, static_cast<std::size_t>(nameEnd - nameStart - 1)),
            member.null ? Node() : member.node});
    }
    return Lenient::kValue;
}

// Null elements (the literal, empty elements, failed nested containers) are dropped.
JsonReader::Lenient JsonReader::ReadArrayLeniently(Text text, std::size_t firstElement)
{
    while (!text.IsEmpty())
    {
        Value element;
        const Lenient result = ReadNextElementLeniently(text, element);
        if (result != Lenient::kValue)
        {
            return result;
        }
        AddElement(element, firstElement);
    }
    return Lenient::kValue;
}

// Gathers characters up to a comma or ], whose gathered text is then one element, or up to a {
// or [, where the element is read from the start of the rest instead (so anything gathered
// before the bracket becomes part of that value, and usually fails it). Quotation marks get no
// special treatment while gathering.
JsonReader::Lenient JsonReader::ReadNextElementLeniently(Text& text, Value& element)
{
    const char* position = text.begin;
    while (position < text.end && *position != ',' && *position != ']' && *position != '[' &&
           *position != '{')
    {
        ++position;
    }
    if (position < text.end && (*position == '[' || *position == '{'))
    {
        return ReadValueLeniently(text, element);
    }
    Text gathered{text.begin, position};
    text.begin = position < text.end ? position + 1 : position;
    return ReadValueLeniently(gathered, element);
}

// Consumes one value from the front of text. A nested container is read like any other, plain
// first; its failed search fails this container.
JsonReader::Lenient JsonReader::ReadValueLeniently(Text& text, Value& value)
{
    const std::string_view trimmed = Trimmed(text.begin, text.end);
    text = Text{trimmed.data(), trimmed.data() + trimmed.size()};
    if (text.IsEmpty())
    {
        value.null = true;
        return Lenient::kValue;
    }
    const char first = *text.begin;
    if (first == '[' || first == '{')
    {
        mCursor = text.begin;
        if (ReadContainer(value) == Step::kUnwind)
        {
            return Lenient::kUnwind;
        }
        text.begin = mCursor;
        return Lenient::kValue;
    }
    if (first == '"')
    {
        bool escaped = false;
        const char* const closing = FindUnescapedQuote(text.begin + 1, text.end, escaped);
        if (closing == nullptr)
        {
            return Lenient::kError;
        }
        value.node = MakeString(text.begin + 1, closing, escaped);
        text.begin = closing + 1;
        return Lenient::kValue;
    }
    return ReadTokenLeniently(text, value);
}

// Walks to the next comma (which stays in text) or the end, gathering the characters that are
// not whitespace into the token, so "1 2" reads as 12. A bracket fails the token: [ and { at
// once, and ] and } as no literal or number can hold them.
JsonReader::Lenient JsonReader::ReadTokenLeniently(Text& text, Value& value)
{
    bool decimalPoint = false;
    bool exponent = false;
    bool digit = false;
    mScratch.clear();
    const char* position = text.begin;
    for (; position < text.end && *position != ','; ++position)
    {
        const char character = *position;
        if (character == '.')
        {
            if (!digit)
            {
                return Lenient::kError;
            }
            decimalPoint = true;
        }
        else if ((character == 'e' || character == 'E') && !EqualsIgnoringCase(mScratch, "fals") &&
                 !EqualsIgnoringCase(mScratch, "tru"))
        {
            // The e of true and false is no exponent.
            if (!digit || exponent)
            {
                return Lenient::kError;
            }
            exponent = true;
        }
        else if (character == '[' || character == '{' || character == ']' || character == '}')
        {
            return Lenient::kError;
        }
        if (!IsWhitespace(character))
        {
            mScratch += character;
            digit = digit || IsDigit(character);
        }
    }
    text.begin = position;
    return ReadTokenValue(decimalPoint, exponent, value);
}

// Literals in any mix of letter case; a number with a decimal point or exponent, or an integer
// beyond the signed 32-bit range, is the C library's double rounded to a float; the empty token
// reads as 0.
JsonReader::Lenient JsonReader::ReadTokenValue(bool decimalPoint, bool exponent, Value& value)
{
    if (EqualsIgnoringCase(mScratch, "true") || EqualsIgnoringCase(mScratch, "false"))
    {
        value.node = Builder::Boolean(mScratch[0] == 't' || mScratch[0] == 'T');
        return Lenient::kValue;
    }
    double number = 0.0;
    if (!decimalPoint && !exponent)
    {
        if (EqualsIgnoringCase(mScratch, "null"))
        {
            value.null = true;
            return Lenient::kValue;
        }
        const bool signed_ = !mScratch.empty() && (mScratch[0] == '-' || mScratch[0] == '+');
        std::int64_t magnitude = 0;
        if ((signed_ && mScratch.size() == 1) ||
            !AccumulateDigits(mScratch.data() + (signed_ ? 1 : 0),
                              mScratch.data() + mScratch.size(), magnitude))
        {
            return Lenient::kError;
        }
        const std::int64_t integer = signed_ && mScratch[0] == '-' ? -magnitude : magnitude;
        if (IsInIntegerRange(integer))
        {
            value.node = Builder::Integer(static_cast<std::int32_t>(integer));
            return Lenient::kValue;
        }
    }
    if (!ReadDouble(mScratch, number))
    {
        return Lenient::kError;
    }
    value.node = Builder::Float(static_cast<float>(number));
    return Lenient::kValue;
}

}  // namespace qmImplementation
