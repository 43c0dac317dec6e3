// The single pass, and why it gives the same value as JsonTextParser on the texts it accepts:
// there, every bracket search of the general reader ends at the bracket that closes the container
// (no string ends in a backslash before its quotation mark, which the search would misread), no
// array element holds a comma or ] that would cut it, every member and element is followed by a
// comma or the closing bracket, and no conversion report is due (no Nil elements, one kind per
// array). Everything else, however rare, goes back to the general reader.
#include "quill_mark/core/implementation/qmi_json_document_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "quill_mark/core/implementation/qmi_json_text.h"
#include "quill_mark/core/implementation/qmi_member_order.h"
#include "quill_mark/core/implementation/qmi_value_arena.h"

namespace qmImplementation
{

using Quillmark::Core::ArrayType;
using Quillmark::Core::BooleanType;
using Quillmark::Core::FloatType;
using Quillmark::Core::IntegerType;
using Quillmark::Core::NilType;
using Quillmark::Core::StringType;
using Quillmark::Core::StructureType;

namespace
{

bool IsDigit(char character)
{
    return character >= '0' && character <= '9';
}

// The characters of numbers and literals; whatever else follows a token must be whitespace, a
// comma or the closing bracket.
bool IsTokenCharacter(char character)
{
    return IsDigit(character) || (character >= 'a' && character <= 'z') ||
           (character >= 'A' && character <= 'Z') || character == '-' || character == '+' ||
           character == '.';
}

// The general reader cuts an array element at the first comma or ] unless a [ or { comes first,
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

// Ascending byte order of the names, stable, so of equal names the one met last stays last.
void SortMembers(std::string_view* names, std::uint32_t* order, std::size_t count)
{
    SortMemberOrder(order, count,
                    [names](std::uint32_t left, std::uint32_t right)
                    { return names[left].compare(names[right]) < 0; });
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// An optional minus, digits, then optionally a full stop and digits, then optionally an e or E, a
// sign and digits; integral when there is neither fraction nor exponent.
bool IsPlainNumber(std::string_view token, bool& integral)
{
    std::size_t position = !token.empty() && token[0] == '-' ? 1 : 0;
    const auto skipDigits = [&token, &position]()
    {
        const std::size_t start = position;
        while (position < token.size() && IsDigit(token[position]))
        {
            ++position;
        }
        return position > start;
    };
    if (!skipDigits())
    {
        return false;
    }
    integral = position == token.size();
    if (position < token.size() && token[position] == '.')
    {
        ++position;
        if (!skipDigits())
        {
            return false;
        }
    }
    if (position < token.size() && (token[position] == 'e' || token[position] == 'E'))
    {
        ++position;
        position += position < token.size() && (token[position] == '+' || token[position] == '-');
        if (!skipDigits())
        {
            return false;
        }
    }
    return position == token.size();
}

// A plain integral token within the signed 32-bit range. Past 2^31 the value is out of range
// whatever follows, so the magnitude stops growing there.
bool ReadInteger(std::string_view token, std::int64_t& number)
{
    const bool negative = token[0] == '-';
    std::int64_t magnitude = 0;
    for (std::size_t position = negative ? 1 : 0; position < token.size(); ++position)
    {
        if (magnitude <= 2147483648)
        {
            magnitude = magnitude * 10 + (token[position] - '0');
        }
    }
    number = negative ? -magnitude : magnitude;
    return number >= INT32_MIN && number <= INT32_MAX;
}

// A plain number whose significant digits fit a double exactly, scaled by an exact power of ten:
// then one multiplication or division rounds correctly, which is what the C library gives too.
// False for every other token.
bool ReadExactDouble(std::string_view token, double& number)
{
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    int exponent = 0;
    bool inFraction = false;
    std::size_t position = token[0] == '-' ? 1 : 0;
    for (; position < token.size() && token[position] != 'e' && token[position] != 'E'; ++position)
    {
        if (token[position] == '.')
        {
            inFraction = true;
            continue;
        }
        exponent -= inFraction ? 1 : 0;
        if (mantissa != 0 || token[position] != '0')
        {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(token[position] - '0');
            if (++significantDigits > 15)
            {
                return false;
            }
        }
    }
    if (position < token.size())
    {
        ++position;
        const bool negativeExponent = token[position] == '-';
        position += token[position] == '-' || token[position] == '+' ? 1 : 0;
        int written = 0;
        for (; position < token.size(); ++position)
        {
            written = written * 10 + (token[position] - '0');
            if (written > 1000)
            {
                return false;
            }
        }
        exponent += negativeExponent ? -written : written;
    }
    if (exponent < -22 || exponent > 22)
    {
        return false;
    }
    const double exact = static_cast<double>(mantissa);
    number =
        exponent < 0 ? exact / kExactPowersOfTen[-exponent] : exact * kExactPowersOfTen[exponent];
    number = token[0] == '-' ? -number : number;
    return true;
}

}  // namespace

bool JsonDocumentReader::Read(std::string_view text, DynamicStructure& result)
{
    text = TrimJsonWhitespace(text);
    if (text.empty() || (text.front() != '{' && text.front() != '['))
    {
        return false;
    }
    mCursor = text.data();
    mEnd = text.data() + text.size();
    mMembers.clear();
    mElements.clear();
    // A tree takes about twice its text; starting there saves most of the arena's growth.
    mArena = ValueArena::Create(text.size() * 2);
    Pending root{};
    if (!ReadValue(root, false, 0) || !AtEnd())
    {
        ValueArena::Destroy(mArena);
        return false;
    }
    if (root.type == NilType)
    {
        ValueArena::Destroy(mArena);
        return true;
    }
    result.mValueType = root.type;
    result.mCount = root.count;
    result.mPayload = root.payload;
    result.mArena = reinterpret_cast<std::uintptr_t>(mArena) | DynamicStructure::kOwnedArena;
    return true;
}

// An empty container converts to Nil, which an array would push with a report.
bool JsonDocumentReader::ReadValue(Pending& value, bool inArray, int depth)
{
    switch (*mCursor)
    {
        case '{':
            return ReadObject(value, depth + 1) && !(inArray && value.type == NilType);
        case '[':
            return ReadArray(value, depth + 1) && !(inArray && value.type == NilType);
        case '"':
            return ReadString(value, inArray);
        default:
            return ReadScalar(value);
    }
}

bool JsonDocumentReader::ReadObject(Pending& value, int depth)
{
    const std::size_t firstMember = mMembers.size();
    bool empty = false;
    if (!EnterContainer('}', depth, empty))
    {
        return false;
    }
    if (empty)
    {
        value = Pending{NilType, 0, {}};
        return true;
    }
    for (bool closed = false; !closed;)
    {
        if (!ReadMember(depth) || !ReadSeparator('}', closed))
        {
            return false;
        }
    }
    FinishObject(value, firstMember);
    return true;
}

// The name keeps its escapes as written; an empty name fails the object.
bool JsonDocumentReader::ReadMember(int depth)
{
    if (*mCursor != '"')
    {
        return false;
    }
    const char* const nameStart = mCursor + 1;
    const char* const nameEnd = FindClosingQuote(nameStart);
    if (nameEnd == nullptr || nameEnd == nameStart || nameEnd[-1] == '\\')
    {
        return false;
    }
    mCursor = nameEnd + 1;
    SkipWhitespace();
    if (AtEnd() || *mCursor != ':')
    {
        return false;
    }
    ++mCursor;
    SkipWhitespace();
    Pending member{};
    if (AtEnd() || !ReadValue(member, false, depth))
    {
        return false;
    }
    mMembers.push_back(PendingMember{
        std::string_view(nameStart, static_cast<std::size_t>(nameEnd - nameStart)), member});
    return true;
}

// The literal null is dropped from arrays.
bool JsonDocumentReader::ReadArray(Pending& value, int depth)
{
    const std::size_t firstElement = mElements.size();
    bool empty = false;
    if (!EnterContainer(']', depth, empty))
    {
        return false;
    }
    if (empty)
    {
        value = Pending{NilType, 0, {}};
        return true;
    }
    for (bool closed = false; !closed;)
    {
        Pending element{};
        if (!ReadValue(element, true, depth))
        {
            return false;
        }
        if (element.type != NilType)
        {
            if (mElements.size() > firstElement && mElements[firstElement].type != element.type)
            {
                return false;
            }
            mElements.push_back(element);
        }
        if (!ReadSeparator(']', closed))
        {
            return false;
        }
    }
    FinishArray(value, firstElement);
    return true;
}

// Steps over the opening bracket and the whitespace after it; empty is set when the closing
// bracket follows at once, which is then stepped over too.
bool JsonDocumentReader::EnterContainer(char closing, int depth, bool& empty)
{
    if (depth > kMaximumNesting)
    {
        return false;
    }
    ++mCursor;
    SkipWhitespace();
    if (AtEnd())
    {
        return false;
    }
    empty = *mCursor == closing;
    mCursor += empty ? 1 : 0;
    return true;
}

// After a member or element: the closing bracket (closed is set), or a comma and the next item.
// A trailing comma is left to the general reader.
bool JsonDocumentReader::ReadSeparator(char closing, bool& closed)
{
    SkipWhitespace();
    if (AtEnd())
    {
        return false;
    }
    if (*mCursor == closing)
    {
        ++mCursor;
        closed = true;
        return true;
    }
    if (*mCursor != ',')
    {
        return false;
    }
    ++mCursor;
    SkipWhitespace();
    return !AtEnd() && *mCursor != closing;
}

// String values are trimmed after their escapes are translated.
bool JsonDocumentReader::ReadString(Pending& value, bool inArray)
{
    const char* const start = mCursor + 1;
    const char* const end = FindClosingQuote(start);
    if (end == nullptr || (end > start && end[-1] == '\\') ||
        (inArray && WouldCutElement(start, end)))
    {
        return false;
    }
    const std::string_view raw(start, static_cast<std::size_t>(end - start));
    std::string unescaped;
    std::string_view text;
    if (std::memchr(start, '\\', raw.size()) != nullptr)
    {
        unescaped = UnescapeJsonString(raw);
        text = unescaped;
    }
    else
    {
        text = TrimJsonWhitespace(raw);
    }
    char* const copy = static_cast<char*>(mArena->Allocate(text.size()));
    std::memcpy(copy, text.data(), text.size());
    value.type = StringType;
    value.count = static_cast<std::uint32_t>(text.size());
    value.payload.text = copy;
    mCursor = end + 1;
    return true;
}

// Only the lower-case literals and numbers written the usual way are read here.
bool JsonDocumentReader::ReadScalar(Pending& value)
{
    const char* const start = mCursor;
    while (!AtEnd() && IsTokenCharacter(*mCursor))
    {
        ++mCursor;
    }
    const std::string_view token(start, static_cast<std::size_t>(mCursor - start));
    if (token == "true" || token == "false")
    {
        value.type = BooleanType;
        value.count = 0;
        value.payload.boolean = token[0] == 't';
        return true;
    }
    if (token == "null")
    {
        value = Pending{NilType, 0, {}};
        return true;
    }
    return ReadNumber(token, value);
}

// An optional minus, digits, an optional fraction and an optional exponent. Without fraction and
// exponent the token is an integer, or a float beyond the 32-bit range; otherwise a float: the
// double the C library reads, rounded to the nearest float.
bool JsonDocumentReader::ReadNumber(std::string_view token, Pending& value)
{
    bool integral = false;
    if (!IsPlainNumber(token, integral))
    {
        return false;
    }
    std::int64_t number = 0;
    if (integral && ReadInteger(token, number))
    {
        value.type = IntegerType;
        value.count = 0;
        value.payload.integer = static_cast<std::int32_t>(number);
        return true;
    }
    double real = 0.0;
    if (!ReadDouble(token, real))
    {
        return false;
    }
    value.type = FloatType;
    value.count = 0;
    value.payload.real = static_cast<float>(real);
    return true;
}

// Out of range is left to the general reader.
bool JsonDocumentReader::ReadDouble(std::string_view token, double& number)
{
    if (ReadExactDouble(token, number))
    {
        return true;
    }
    mToken.assign(token.data(), token.size());
    errno = 0;
    char* parsedEnd = nullptr;
    number = std::strtod(mToken.c_str(), &parsedEnd);
    return errno != ERANGE && parsedEnd == mToken.c_str() + mToken.size();
}

// Of members with the same name the one met last wins; the table is in ascending name order.
void JsonDocumentReader::FinishObject(Pending& value, std::size_t firstMember)
{
    const std::size_t count = mMembers.size() - firstMember;
    PendingMember* const members = mMembers.data() + firstMember;
    std::vector<std::string_view> names(count);
    std::vector<std::uint32_t> order(count);
    for (std::size_t index = 0; index < count; ++index)
    {
        names[index] = members[index].name;
        order[index] = static_cast<std::uint32_t>(index);
    }
    SortMembers(names.data(), order.data(), count);
    std::uint32_t kept = 0;
    for (std::size_t index = 0; index < count; ++index)
    {
        kept += index + 1 == count || names[order[index + 1]] != names[order[index]] ? 1 : 0;
    }
    DynamicStructure::Member* const table = DynamicStructure::AllocateMembers(*mArena, kept);
    std::uint32_t placed = 0;
    for (std::size_t index = 0; index < count; ++index)
    {
        if (index + 1 == count || names[order[index + 1]] != names[order[index]])
        {
            const PendingMember& member = members[order[index]];
            DynamicStructure::Member* const slot =
                new (&table[placed++]) DynamicStructure::Member{mArena->MakeName(member.name), {}};
            Place(slot->value, member.value);
        }
    }
    mMembers.resize(firstMember);
    value.type = StructureType;
    value.count = kept;
    value.payload.members = table;
}

// An array left without elements (all of them null) converts to Nil.
void JsonDocumentReader::FinishArray(Pending& value, std::size_t firstElement)
{
    const std::uint32_t count = static_cast<std::uint32_t>(mElements.size() - firstElement);
    if (count == 0)
    {
        value = Pending{NilType, 0, {}};
        return;
    }
    DynamicStructure* const table = DynamicStructure::AllocateElements(*mArena, count);
    for (std::uint32_t index = 0; index < count; ++index)
    {
        Place(*new (&table[index]) DynamicStructure(), mElements[firstElement + index]);
    }
    mElements.resize(firstElement);
    value.type = ArrayType;
    value.count = count;
    value.payload.elements = table;
}

void JsonDocumentReader::Place(DynamicStructure& slot, const Pending& value) const
{
    slot.mValueType = value.type;
    slot.mCount = value.count;
    slot.mPayload = value.payload;
    slot.mArena = reinterpret_cast<std::uintptr_t>(mArena);
}

// The first quotation mark from position on that no backslash escapes (a backslash escapes
// whatever follows it), or nullptr.
const char* JsonDocumentReader::FindClosingQuote(const char* position) const
{
    while (position < mEnd)
    {
        const char character = *position;
        if (character == '"')
        {
            return position;
        }
        position += character == '\\' ? 2 : 1;
    }
    return nullptr;
}

void JsonDocumentReader::SkipWhitespace()
{
    while (mCursor < mEnd && IsJsonWhitespace(*mCursor))
    {
        ++mCursor;
    }
}

}  // namespace qmImplementation
