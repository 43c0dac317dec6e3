// The closing-bracket search answers from its record of earlier walks: that must give exactly
// what a fresh walk from the same bracket gives, for well-formed and malformed texts alike.
#include "quill_mark/core/implementation/qmi_json_bracket_stack.h"

#include <gtest/gtest.h>

#include <string>

using Stack = qmImplementation::JsonBracketStack;

namespace
{

const auto MarkOf = [](char c) { return c == '[' ? Stack::kArrayMark : Stack::kObjectMark; };

// Each opening bracket after a walk of the whole text, against a stack that recorded nothing; the
// rest is cut to `window` characters as the reader does (short windows once read past the buffer).
void ExpectRecordMatchesFreshWalks(const std::string& text, std::size_t window = std::string::npos)
{
    Stack recorded;
    recorded.Reset(text);
    bool tooDeep = false;
    recorded.Push(MarkOf(text[0]));
    recorded.FindClosingBracket(text, 1, 512, tooDeep);
    for (std::size_t position = 1; position < text.size(); ++position)
    {
        if (text[position] != '[' && text[position] != '{')
            continue;
        const std::string_view rest = std::string_view(text).substr(position, window);
        Stack fresh;
        fresh.Reset(text);
        fresh.Push(MarkOf(text[position]));
        recorded.Push(MarkOf(text[position]));
        EXPECT_EQ(recorded.FindClosingBracket(rest, 2, 512, tooDeep),
                  fresh.FindClosingBracket(rest, 2, 512, tooDeep))
            << text << " at " << position;
    }
    EXPECT_FALSE(tooDeep);
}

}  // namespace

TEST(JsonBracketStack, RecordedAnswersEqualFreshWalks)
{
    for (const char* text :
         {"[1, [2, \"]\", {\"a\": [3]}], \"\\\"[\", [[]]]", "{\"a\": [{\"b\": \"}\"}, [1}]]}",
          "[[\"\\\\\"], [\"x\\\"]\", 2]]", "[{[}]]", "[[[[", "{\"k\": \"[\" [1] \"]\" {}}"})
        ExpectRecordMatchesFreshWalks(text);
    // Generated texts of brackets, quotation marks, backslashes and filler, from a fixed seed.
    const char alphabet[] = "[]{}\"\\a, ";
    unsigned state = 12345;
    for (int round = 0; round < 300; ++round)
    {
        std::string text = round % 2 == 0 ? "[" : "{";
        for (int length = 0; length < 40; ++length)
        {
            state = state * 1103515245u + 12345u;
            text += alphabet[(state >> 16) % (sizeof(alphabet) - 1)];
        }
        ExpectRecordMatchesFreshWalks(text);
        ExpectRecordMatchesFreshWalks(text, 3 + round % 11);
    }
}

TEST(JsonBracketStack, AnAnswerFromTheRecordIsCheckedAgainstTheLimit)
{
    const std::string text = "[[[[]]]]";
    Stack stack;
    stack.Reset(text);
    stack.Push(Stack::kArrayMark);
    bool tooDeep = false;
    EXPECT_EQ(stack.FindClosingBracket(text, 1, 4, tooDeep), 7u);
    EXPECT_FALSE(tooDeep);
    stack.Push(Stack::kArrayMark);
    EXPECT_EQ(stack.FindClosingBracket(std::string_view(text).substr(1), 3, 4, tooDeep),
              Stack::kNotFound);
    EXPECT_TRUE(tooDeep);
}
