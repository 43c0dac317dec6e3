// Character-level rules the document reader cannot reach on its own: a string text that ends in
// a lone backslash, and the quotation-mark search around escaped backslashes.
#include "quill_mark/core/implementation/qmi_json_text.h"

#include <gtest/gtest.h>

using namespace qmImplementation;

TEST(JsonText, LoneFinalBackslashAndEscapedQuotationMarks)
{
    EXPECT_EQ(UnescapeJsonString("ab\\"), "ab\\");
    EXPECT_EQ(UnescapeJsonString("\\t a \\n"), "a");
    EXPECT_EQ(UnescapeJsonString(std::string_view("\0 \0", 3)), std::string("\0 \0", 3));
    EXPECT_EQ(FindUnescapedQuote("a\\\"b\"", 0), 4u);
    EXPECT_EQ(FindUnescapedQuote("a\\\\\"b", 0), 3u);
    EXPECT_EQ(FindUnescapedQuote("\\\"", 0), std::string_view::npos);
    EXPECT_EQ(TrimJsonWhitespace(" \t\v\f\r\n x \x85"), "x \x85");
}
