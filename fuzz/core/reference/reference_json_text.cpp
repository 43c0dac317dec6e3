// SPDX-License-Identifier: Zlib
// Character-level rules of the JSON reader. The escape table is the data-file contract: \u keeps
// only one byte, unknown escapes vanish, and string values lose surrounding whitespace.
#include "reference/reference_json_text.h"

#include <algorithm>
#include <cstdlib>

namespace qmReference
{

namespace
{

// A \u escape keeps one byte: the last two of its four characters read as hexadecimal by the
// C library (which stops at the first character that is not a hex digit and gives 0 for none).
// The characters are taken as far as the text reaches. So an escape cut short, with fewer than
// two characters after the u, has no digits to read and gives byte 0, exactly as one with only
// two characters does; it then ends with the text.
char ReadUnicodeEscapeByte(std::string_view raw, std::size_t backslash)
{
    char digits[3] = {};
    std::size_t count = 0;
    for (std::size_t position = backslash + 4; position < backslash + 6 && position < raw.size();
         ++position)
    {
        digits[count++] = raw[position];
    }
    const unsigned long value = std::strtoul(digits, nullptr, 16);
    return static_cast<char>(static_cast<unsigned char>(value & 0xFFu));
}

// Appends the translation of the escape whose backslash is at position and returns the position
// after the escape. The backslash is never the last character here.
std::size_t AppendEscape(std::string_view raw, std::size_t backslash, std::string& text)
{
    switch (raw[backslash + 1])
    {
        case '"':
            text += '"';
            break;
        case '\\':
            text += '\\';
            break;
        case '/':
            text += '/';
            break;
        case 'b':
            text += '\b';
            break;
        case 'f':
            text += '\f';
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        case 't':
            text += '\t';
            break;
        case 'u':
            text += ReadUnicodeEscapeByte(raw, backslash);
            return std::min(backslash + 6, raw.size());
        default:
            // Unknown escapes are dropped, backslash and character alike.
            break;
    }
    return backslash + 2;
}

void TrimInPlace(std::string& text)
{
    const std::string_view trimmed = TrimJsonWhitespace(text);
    if (trimmed.size() == text.size())
    {
        return;
    }
    const std::size_t start = static_cast<std::size_t>(trimmed.data() - text.data());
    text.erase(start + trimmed.size());
    text.erase(0, start);
}

}  // namespace

// A backslash escapes whatever follows it, so after one the scan skips a character; everything
// that is neither a backslash nor a quotation mark is passed over in a tight loop.
std::size_t FindUnescapedQuote(std::string_view text, std::size_t start)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t position = start;
    while (position < size)
    {
        while (position < size && data[position] != '"' && data[position] != '\\')
        {
            ++position;
        }
        if (position < size && data[position] == '"')
        {
            return position;
        }
        position += 2;
    }
    return std::string_view::npos;
}

std::string UnescapeJsonString(std::string_view raw)
{
    std::size_t backslash = raw.find('\\');
    if (backslash == std::string_view::npos)
    {
        return std::string(TrimJsonWhitespace(raw));
    }
    std::string text;
    text.reserve(raw.size());
    std::size_t position = 0;
    // A backslash that is the last character is copied like any other.
    while (backslash != std::string_view::npos && backslash + 1 < raw.size())
    {
        text.append(raw.data() + position, backslash - position);
        position = AppendEscape(raw, backslash, text);
        backslash = raw.find('\\', position);
    }
    text.append(raw.data() + position, raw.size() - position);
    TrimInPlace(text);
    return text;
}

}  // namespace qmReference
