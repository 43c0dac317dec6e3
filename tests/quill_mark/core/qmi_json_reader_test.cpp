// SPDX-License-Identifier: Zlib
// The JSON reader's value rules on both of its paths: each value is read from plain documents and
// from documents whose oddities send it through the lenient rules, with the same reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dynamic_structure_description.h"
#include "quill_mark/core/qm_json_parser.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Core;
using namespace QuillmarkTest;

namespace
{

// One value text placed in several documents: an oddity before the value (an upper-case literal,
// an empty element) or after it sends the container to the lenient rules.
struct Placement
{
    const char* name;
    std::string before;
    std::string after;
    bool inArray;
};

const Placement kPlacements[] = {
    {"plain object", "{\"v\": ", "}", false},
    {"plain array", "[", "]", true},
    {"lenient object", "{\"odd\": TRUE, \"v\": ", "}", false},
    {"lenient array", "[,", "]", true},
    {"object lenient after the value", "{\"v\": ", ", \"w\": fAlSe}", false},
    {"array lenient after the value", " [ ", " , , 1 ]", true},
};

std::string ReadAt(const Placement& placement, const std::string& value)
{
    const DynamicStructure document = ParseJson(placement.before + value + placement.after);
    if (placement.inArray)
        return document.IsArray() ? Describe(document.GetValue(0)) : "no array";
    return document.IsStructure() ? Describe(document.GetMember("v")) : "no object";
}

}  // namespace

TEST(JsonReader, EveryValueRuleHoldsOnThePlainAndTheLenientPath)
{
    const std::pair<const char*, const char*> rows[] = {
        // Whole numbers within the signed 32-bit range are integers; beyond it, floats.
        {"0", "0"},
        {"-0", "0"},
        {"007", "7"},
        {"2147483647", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"2147483648", "2.14748e+09f"},
        {"-2147483649", "-2.14748e+09f"},
        {"4294967297", "4.29497e+09f"},
        {"-99999999999", "-1e+11f"},
        // A decimal point or an exponent makes a float: the double rounded to a float.
        {"1.0", "1f"},
        {"-1.5", "-1.5f"},
        {"0.1", "0.1f"},
        {"1e2", "100f"},
        {"1E+2", "100f"},
        {"-2.5E-3", "-0.0025f"},
        {"-12.5e1", "-125f"},
        {"123456789.123456789", "1.23457e+08f"},
        {"1e39", "inff"},
        {"-1e-50", "-0f"},
        {"true", "true"},
        {"false", "false"},
        {"\"  padded\t \"", "\"padded\""},
        {R"("\t\n x y \r")", R"("x y")"},
        {R"("a\"b\\c\/d")", R"("a\x22b\x5cc/d")"},
        {R"("\f\n\r\tz\t")", R"("z")"},
        {R"("z\b\f\n\r\t.")", R"("z\x08\x0c\x0a\x0d\x09.")"},
        {R"("\u0041\u00e9")", R"("A\xe9")"},
        // Each half of a surrogate pair keeps its last two digits, like any \u escape.
        {R"("\uD83D\uDE00!")", R"("=\x00!")"},
        {R"("\q!")", R"("!")"},
        {R"({"k": [1, 2], "j": {"i": "x"}})", R"({"j":{"i":"x"},"k":[1,2]})"},
        {R"([[3], [4]])", "[[3],[4]]"},
        {"{}", "nil"},
        {"[]", "nil"},
    };
    for (const auto& [value, expected] : rows)
        for (const Placement& placement : kPlacements)
            EXPECT_EQ(ReadAt(placement, value), expected) << placement.name << ": " << value;
    // null is a Nil member of an object but is dropped from an array.
    for (const Placement& placement : kPlacements)
        EXPECT_EQ(ReadAt(placement, placement.inArray ? "null, 5" : "null"),
                  placement.inArray ? "5" : "nil")
            << placement.name;
}

TEST(JsonReader, ArrayReportsFollowTheTreeInMemberNameOrderOnBothPaths)
{
    const std::string mismatch = "ValueType does not match array value type.\n";
    const std::string nilElement = "Cannot push a Nil value into an array.\n";
    // A container's reports before the one for pushing it; members in name order ("z" is first).
    const std::vector<std::string> expected = {mismatch, nilElement, mismatch,
                                               mismatch, mismatch,   mismatch};
    const char* const texts[] = {
        R"([[1, "a"], {"z": [2.5, 1], "a": [{}, true]}, 7])",
        R"([[1, "a"], {"z": [2.5, 1], "odd": TRUE, "a": [{}, true]}, 7])",
        R"([,[1, "a"], {"z": [2.5, 1], "a": [{}, true]}, 7,])",
    };
    for (const char* text : texts)
    {
        RecordingErrorHandler handler;
        const DynamicStructure document = ParseJson(text);
        EXPECT_EQ(handler.messages, expected) << text;
        EXPECT_EQ(Describe(document.GetValue(1).GetMember("a")), "[nil,true]") << text;
    }
}

TEST(JsonReader, ObjectsOfTheSameShapeKeepTheirOwnNamesAndOrder)
{
    // Names of equal length and ends, both orders: what is found for one object is not another's.
    const DynamicStructure document = ParseJson(R"([{"axc": 1, "bxd": 2}, {"ayc": 3, "byd": 4},
        {"bxd": 5, "axc": 6}, {"axc": 7, "bxd": 8, "axc": 9}, {"bxd": 10, "axc": 11}])");
    EXPECT_EQ(Describe(document), R"([{"axc":1,"bxd":2},{"ayc":3,"byd":4},{"axc":6,"bxd":5},)"
                                  R"({"axc":9,"bxd":8},{"axc":11,"bxd":10}])");
}
