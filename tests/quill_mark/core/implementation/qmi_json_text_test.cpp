// Character-level rules that the document reader cannot reach on its own: a string text that
// ends in a lone backslash, and the quotation-mark search around escaped backslashes.
#include "quill_mark/core/implementation/qmi_json_text.h"

#include <gtest/gtest.h>

using qmImplementation::FindUnescapedQuote;
using qmImplementation::TrimJsonWhitespace;
using qmImplementation::UnescapeJsonString;

TEST(JsonText, UnescapeCopiesALoneFinalBackslashAndTrimsAfterTranslating)
{
    EXPECT_EQ(UnescapeJsonString("ab\\"), "ab\\");
    EXPECT_EQ(UnescapeJsonString("\\\\"), "\\");
    EXPECT_EQ(UnescapeJsonString("\\t a \\n"), "a");
    EXPECT_EQ(UnescapeJsonString("\\u0020x\\u0009"), "x");
    EXPECT_EQ(UnescapeJsonString(std::string_view("\0 \0", 3)), std::string("\0 \0", 3));
}

TEST(JsonText, QuoteSearchHonoursEscapedBackslashes)
{
    EXPECT_EQ(FindUnescapedQuote("a\\\"b\"", 0), 4u);
    EXPECT_EQ(FindUnescapedQuote("a\\\\\"b", 0), 3u);
    EXPECT_EQ(FindUnescapedQuote("\"x\"", 1), 2u);
    EXPECT_EQ(FindUnescapedQuote("\\\"", 0), std::string_view::npos);
    EXPECT_EQ(TrimJsonWhitespace(" \t\v\f\r\n x \x85"), "x \x85");
}
