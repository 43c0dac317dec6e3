// SPDX-License-Identifier: Zlib
// Character-level rules of the JSON reader: whitespace, trimming, the search for an unescaped
// quotation mark and the translation of escapes in string values. All work on views of the one
// document buffer; only Unescape makes a new text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qmReference
{

// The C library's whitespace in the default locale: space, \t, \n, \v, \f and \r.
inline bool IsJsonWhitespace(char character)
{
    return character == ' ' || (character >= '\t' && character <= '\r');
}

inline std::string_view TrimJsonWhitespace(std::string_view text)
{
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && IsJsonWhitespace(text[start]))
    {
        ++start;
    }
    while (end > start && IsJsonWhitespace(text[end - 1]))
    {
        --end;
    }
    return text.substr(start, end - start);
}

// Position of the first quotation mark at or after start that no backslash escapes, or npos.
// A backslash escapes the character after it unless it is itself escaped.
std::size_t FindUnescapedQuote(std::string_view text, std::size_t start);

// Translates the escapes of the raw text between a string's quotation marks and trims the result.
std::string UnescapeJsonString(std::string_view raw);

}  // namespace qmReference
