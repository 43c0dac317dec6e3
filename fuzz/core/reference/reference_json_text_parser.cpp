// SPDX-License-Identifier: Zlib
// The JSON text reader. Every step works on views of the caller's buffer and the closing-bracket
// search walks each container once, so the cost grows linearly with the text. The quirks below
// (skipped text between members, dropped null elements, the shared bracket stack) are deliberate:
// data files are written against them.
#include "reference/reference_json_text_parser.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <tuple>
#include <utility>

#include "reference/reference_json_text.h"

namespace qmReference
{

namespace
{

// Truncates a list of pending members or elements back to where a container began, also when
// the container is abandoned half way.
template <typename List>
class PendingScope
{
public:
    explicit PendingScope(List& list) : mList(list), mStart(list.size()) {}
    ~PendingScope()
    {
        mList.erase(mList.begin() + static_cast<std::ptrdiff_t>(mStart), mList.end());
    }
    PendingScope(const PendingScope&) = delete;
    PendingScope& operator=(const PendingScope&) = delete;

    List Take()
    {
        // A large container that owns the whole list takes it over instead of copying it. Small
        // ones copy, so the list keeps its capacity for the next container.
        constexpr std::size_t kTakeOverSize = 256;
        if (mStart == 0 && mList.size() >= kTakeOverSize)
        {
            List taken(std::move(mList));
            mList.clear();
            return taken;
        }
        const auto start = mList.begin() + static_cast<std::ptrdiff_t>(mStart);
        List taken(std::make_move_iterator(start), std::make_move_iterator(mList.end()));
        mList.erase(start, mList.end());
        return taken;
    }

    // Members are moved straight from the list into their ordered table.
    JsonValue TakeMembers()
    {
        JsonValue::Member* const data = mList.data();
        return JsonValue::FromMembers(data + mStart, data + mList.size());
    }

private:
    List& mList;
    std::size_t mStart;
};

class NestingScope
{
public:
    explicit NestingScope(int& nesting) : mNesting(nesting) {}
    ~NestingScope() { --mNesting; }
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;

private:
    int& mNesting;
};

bool IsDigit(char character)
{
    return character >= '0' && character <= '9';
}

char LowerAscii(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerCaseWord)
{
    if (text.size() != lowerCaseWord.size())
    {
        return false;
    }
    for (std::size_t index = 0; index < text.size(); ++index)
    {
        if (LowerAscii(text[index]) != lowerCaseWord[index])
        {
            return false;
        }
    }
    return true;
}

// The C library's conversion to double; it must use up the whole token and stay in range.
JsonValue ReadDouble(const std::string& token, bool& error)
{
    errno = 0;
    char* end = nullptr;
    const double number = std::strtod(token.c_str(), &end);
    if (errno == ERANGE || end != token.c_str() + token.size())
    {
        error = true;
        return JsonValue();
    }
    return JsonValue::FromDouble(number);
}

// A base-10 integer: an optional sign and digits, the whole token; the empty token reads as 0.
// Beyond the signed 32-bit range the token is read as a double instead.
JsonValue ReadInteger(const std::string& token, bool& error)
{
    std::size_t position = 0;
    const bool negative = !token.empty() && token[0] == '-';
    if (!token.empty() && (token[0] == '-' || token[0] == '+'))
    {
        position = 1;
        if (token.size() == 1)
        {
            error = true;
            return JsonValue();
        }
    }
    std::int64_t magnitude = 0;
    for (; position < token.size(); ++position)
    {
        if (!IsDigit(token[position]))
        {
            error = true;
            return JsonValue();
        }
        // Past 2^31 the value is out of range whatever follows; stop growing it.
        if (magnitude <= 2147483648)
        {
            magnitude = magnitude * 10 + (token[position] - '0');
        }
    }
    const std::int64_t number = negative ? -magnitude : magnitude;
    if (number > INT32_MAX || number < INT32_MIN)
    {
        return ReadDouble(token, error);
    }
    return JsonValue::FromInteger(static_cast<std::int32_t>(number));
}

}  // namespace

JsonValue JsonTextParser::Parse(std::string_view text)
{
    mBrackets.Reset(text);
    mNesting = 0;
    mTooDeep = false;
    mPendingMembers.clear();
    mPendingElements.clear();
    JsonValue document = ParseDocument(text);
    if (mTooDeep)
    {
        return JsonValue();
    }
    return document;
}

bool JsonTextParser::EnterContainer()
{
    if (mNesting >= kMaximumNesting)
    {
        mTooDeep = true;
        return false;
    }
    ++mNesting;
    return true;
}

// A document is an object or an array; anything else, the empty text included, is null.
JsonValue JsonTextParser::ParseDocument(std::string_view text)
{
    text = TrimJsonWhitespace(text);
    if (text.empty())
    {
        return JsonValue();
    }
    const char first = text.front();
    if (first != '{' && first != '[')
    {
        return JsonValue();
    }
    const bool isObject = first == '{';
    if (text.back() != (isObject ? '}' : ']'))
    {
        return JsonValue();
    }
    const JsonBracketStack::Mark mark =
        isObject ? JsonBracketStack::kObjectMark : JsonBracketStack::kArrayMark;
    mBrackets.Push(mark);
    JsonValue result = isObject ? ParseObjectBody(text) : ParseArrayBody(text);
    if (!result.IsNull() && mBrackets.IsTop(mark))
    {
        mBrackets.Pop();
    }
    return result;
}

// Members are found by their quotation marks, so whatever stands between a value and the next
// name (the comma, or anything else) is skipped. Text after the last value that holds no further
// quotation mark, a trailing comma for one, makes the object null.
JsonValue JsonTextParser::ParseObjectBody(std::string_view text)
{
    if (!EnterContainer())
    {
        return JsonValue();
    }
    NestingScope nesting(mNesting);
    PendingScope<JsonValue::MemberTable> members(mPendingMembers);
    text = TrimJsonWhitespace(text);
    text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string_view();
    while (!text.empty())
    {
        const std::size_t nameStart = FindUnescapedQuote(text, 0);
        if (nameStart == std::string_view::npos)
        {
            return JsonValue();
        }
        const std::size_t nameEnd = FindUnescapedQuote(text, nameStart + 1);
        if (nameEnd == std::string_view::npos)
        {
            return JsonValue();
        }
        const std::size_t colon = text.find(':', nameEnd);
        // Names are kept exactly as written: escapes in them are not translated.
        const std::string_view name = text.substr(nameStart + 1, nameEnd - nameStart - 1);
        if (colon == std::string_view::npos || name.empty())
        {
            return JsonValue();
        }
        text.remove_prefix(colon + 1);
        bool error = false;
        JsonValue value = ParseValue(text, error);
        if (error || mTooDeep)
        {
            return JsonValue();
        }
        mPendingMembers.emplace_back(std::piecewise_construct, std::forward_as_tuple(name),
                                     std::forward_as_tuple(std::move(value)));
    }
    return members.TakeMembers();
}

// Elements are cut at commas and closing brackets without regard to quotation marks, so a
// string element holding either breaks the array. Null elements (the literal, empty elements,
// failed nested containers) are dropped.
JsonValue JsonTextParser::ParseArrayBody(std::string_view text)
{
    if (!EnterContainer())
    {
        return JsonValue();
    }
    NestingScope nesting(mNesting);
    PendingScope<JsonValue::ElementList> elements(mPendingElements);
    text = TrimJsonWhitespace(text);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']')
    {
        return JsonValue();
    }
    text = text.substr(1, text.size() - 2);
    while (!text.empty())
    {
        bool error = false;
        JsonValue value = ParseNextElement(text, error);
        if (error || mTooDeep)
        {
            return JsonValue();
        }
        if (!value.IsNull())
        {
            mPendingElements.push_back(std::move(value));
        }
    }
    return JsonValue::FromElements(elements.Take());
}

// Gathers characters up to a comma or ], whose gathered text is then one element, or up to a { or
// [, where the element is read from the start of the rest instead (so anything gathered before
// the bracket becomes part of that value, and usually fails it). Consumes what it read from text.
JsonValue JsonTextParser::ParseNextElement(std::string_view& text, bool& error)
{
    for (std::size_t position = 0; position < text.size(); ++position)
    {
        const char character = text[position];
        if (character == '{' || character == '[')
        {
            return ParseValue(text, error);
        }
        if (character == ',' || character == ']')
        {
            std::string_view gathered = text.substr(0, position);
            text.remove_prefix(position + 1);
            return ParseValue(gathered, error);
        }
    }
    std::string_view gathered = text;
    text = std::string_view();
    return ParseValue(gathered, error);
}

JsonValue JsonTextParser::ParseValue(std::string_view& text, bool& error)
{
    error = false;
    text = TrimJsonWhitespace(text);
    if (text.empty())
    {
        return JsonValue();
    }
    const char first = text.front();
    if (first == '[' || first == '{')
    {
        mBrackets.Push(first == '[' ? JsonBracketStack::kArrayMark : JsonBracketStack::kObjectMark);
        const std::size_t closing =
            mBrackets.FindClosingBracket(text, static_cast<std::size_t>(mNesting) + 1,
                                         static_cast<std::size_t>(kMaximumNesting), mTooDeep);
        if (closing == JsonBracketStack::kNotFound)
        {
            error = true;
            return JsonValue();
        }
        // A nested object goes through the document rules, which push and pop a mark of their
        // own; a failed nested container is null without setting the error.
        const std::string_view container = text.substr(0, closing + 1);
        text.remove_prefix(closing + 1);
        return first == '[' ? ParseArrayBody(container) : ParseDocument(container);
    }
    if (first == '"')
    {
        const std::size_t closing = FindUnescapedQuote(text, 1);
        if (closing == std::string_view::npos)
        {
            error = true;
            return JsonValue();
        }
        JsonValue value = JsonValue::FromString(UnescapeJsonString(text.substr(1, closing - 1)));
        text.remove_prefix(closing + 1);
        return value;
    }
    return ParseScalarToken(text, error);
}

// The common token, an optional minus sign and up to nine digits running to the next comma or the
// end, read straight from the text; it gives what the general walk below would give. Anything
// else is left to the walk.
bool JsonTextParser::ReadPlainInteger(std::string_view& text, JsonValue& number)
{
    const bool negative = text.front() == '-';
    std::size_t position = negative ? 1 : 0;
    std::int32_t magnitude = 0;
    const std::size_t firstDigit = position;
    while (position < text.size() && IsDigit(text[position]) && position - firstDigit < 9)
    {
        magnitude = magnitude * 10 + (text[position] - '0');
        ++position;
    }
    if (position == firstDigit || (position < text.size() && text[position] != ','))
    {
        return false;
    }
    number = JsonValue::FromInteger(negative ? -magnitude : magnitude);
    text.remove_prefix(position);
    return true;
}

// Walks to the next comma (which stays in text) or the end, gathering the non-whitespace
// characters into the token; whitespace inside a token is skipped, so "1 2" reads as 12.
JsonValue JsonTextParser::ParseScalarToken(std::string_view& text, bool& error)
{
    if (JsonValue number; ReadPlainInteger(text, number))
    {
        return number;
    }
    bool decimalPointSeen = false;
    bool exponentSeen = false;
    bool digitSeen = false;
    mToken.clear();
    std::size_t position = 0;
    for (; position < text.size(); ++position)
    {
        const char character = text[position];
        bool failed = false;
        switch (character)
        {
            case '.':
                failed = !digitSeen;
                decimalPointSeen = true;
                break;
            case 'e':
            case 'E':
                // The e of true and false is no exponent.
                if (!EqualsIgnoringCase(mToken, "fals") && !EqualsIgnoringCase(mToken, "tru"))
                {
                    failed = !digitSeen || exponentSeen;
                    exponentSeen = true;
                }
                break;
            case ']':
            case '}':
                failed = !mBrackets.IsTop(character == ']' ? JsonBracketStack::kArrayMark
                                                           : JsonBracketStack::kObjectMark);
                if (!failed)
                {
                    mBrackets.Pop();
                }
                break;
            case '[':
            case '{':
                failed = true;
                break;
            default:
                break;
        }
        if (failed)
        {
            error = true;
            return JsonValue();
        }
        if (character == ',')
        {
            break;
        }
        if (!IsJsonWhitespace(character))
        {
            mToken += character;
            digitSeen = digitSeen || IsDigit(character);
        }
    }
    text.remove_prefix(position);
    return ReadScalarToken(decimalPointSeen, exponentSeen, error);
}

JsonValue JsonTextParser::ReadScalarToken(bool decimalPointSeen, bool exponentSeen,
                                          bool& error) const
{
    if (EqualsIgnoringCase(mToken, "true"))
    {
        return JsonValue::FromBoolean(true);
    }
    if (EqualsIgnoringCase(mToken, "false"))
    {
        return JsonValue::FromBoolean(false);
    }
    if (decimalPointSeen || exponentSeen)
    {
        return ReadDouble(mToken, error);
    }
    if (EqualsIgnoringCase(mToken, "null"))
    {
        return JsonValue();
    }
    return ReadInteger(mToken, error);
}

}  // namespace qmReference
