// SPDX-License-Identifier: Zlib
// The JSON reader as data files meet it: which texts load and into what, each value's rules on its
// plain and lenient paths alike, the conversion's reports, file loading, deep nesting, and the
// shared JSON test corpus when it is beside us.
#include "quill_mark/core/qm_json_parser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dynamic_structure_description.h"
#include "support/recording_error_handler.h"
#include "support/temporary_folder.h"

using namespace Quillmark::Core;
using namespace QuillmarkTest;

namespace
{

const auto Parsed = [](const std::string& text) { return Describe(ParseJson(text)); };

std::string Repeated(const std::string& piece, int count)
{
    std::string text;
    while (count-- > 0)
        text += piece;
    return text;
}

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

TEST(JsonParser, DocumentsLoadByTheReadersRules)
{
    const std::pair<const char*, const char*> rows[] = {
        // Members in ascending byte order; a name met twice keeps the later value.
        {R"({"b": 1, "a": 2, "B": 3, "b": 4})", R"({"B":3,"a":2,"b":4})"},
        {" \r\n{\n\t\"list\" :\v[ \"x\" ,\f\"y\" ] ,\n \"o\": {\"k\": true}\n}\n ",
         R"({"list":["x","y"],"o":{"k":true}})"},
        // Numbers: the spelling picks the kind; whitespace inside a token is skipped.
        {"[99999999999999999999999, 1.]", "[1e+23f,1f]"},
        {"[2147483647, -2147483648, -7, +5, 007]", "[2147483647,-2147483648,-7,5,7]"},
        {R"({"a": 1 2, "b": - 3 . 5})", R"({"a":12,"b":-3.5f})"},
        {R"({"t": TRUE, "f": fAlSe, "n": NuLl})", R"({"f":false,"n":nil,"t":true})"},
        // Objects: unquoted text between members or before a colon is skipped; a missing value is
        // Nil, an empty one 0, a failing nested container a Nil member.
        {R"({"a": "x" "b": 1})", R"({"a":"x","b":1})"},
        {R"({"a": "x";;; "b" junk : 1})", R"({"a":"x","b":1})"},
        {R"({"a": 1, "b":   })", R"({"a":1,"b":nil})"},
        {R"({"a":, "b": 2})", R"({"a":0,"b":2})"},
        {R"({"a": {"b"}, "c": [1 true], "d": 4})", R"({"a":nil,"c":nil,"d":4})"},
        {R"({"a\"b": 1, "c\u0041": 2, " sp ": 3})", R"({" sp ":3,"a\x5c\x22b":1,"c\x5cu0041":2})"},
        // Found by the fuzzer: quotation marks hide brackets from one search but not another.
        {R"({"x":{"x"":{"x"":[{"}"}]}})", R"({"x":nil})"},
        {R"([{"a":"b\"}", "c": [1]}, 2])", R"([{"a":"b\x22}","c":[1]},2])"},
        // Arrays: empty elements and failing nested containers are dropped.
        {"[1,,2,null,,]", "[1,2]"},
        {R"([{"a"}, [1:2], 3])", "[3]"},
        {R"(["x[1]", [2]3, {"k": "}]"}])", R"(["x[1]",[2],3,{"k":"}]"}])"},
        // Malformed escapes: unknown ones vanish; \u keeps its last two digits.
        {R"(["a\qb\x41", "\u12345", "\u00zz!", "\u004g", "\u00-1"])",
         R"(["ab41","45","\x00!","\x04","\xff"])"},
        {R"(["x\u", "\u4", "\u12", "\u123"])", R"(["x\x00","\x00","\x00","\x03"])"},
        {"{\"s\": \"  \\n  \", \"t\": \"\x85 \\u0009\"}", R"({"s":"","t":"\x85"})"},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(Parsed(text), expected) << text;
    const std::vector<const char*> nilTexts[] = {
        {"\"text\"", "12", "1.5", "true", "null", "", "   ", "{", "[", "{\"a\": 1", "[1, 2", "x[1]",
         "[]", "{ }", "[null, null]"},
        {"{\"a\": .5}", "{\"a\": 1e2e3}", "{\"a\": 1eE2}", "{\"a\": e5}", "{\"a\": 1.2.3}",
         "{\"a\": 1e400}", "{\"a\": 1e-400}", "{\"a\": 0x10}", "{\"a\": -}", "{\"a\": 12abc}",
         "[1 true]", "[nul]", "[truee]"},
        {"{\"a\": 1 \"b\": 2}", "{\"a\": 1,}", "{\"a\": \"x\", }", "{\"a\" 1}", "{\"\": 1}",
         "{\"a\": \"unclosed}", "[\"a\", \"b,c\"]", "[\"a]b\"]", "[1 [2]]", "[][]",
         "{\"a\": [1, 2, \"b\": 3}", "{\"a\": [1, 2}, \"b\": 3}", "[[1}, 2]"},
    };
    for (const std::vector<const char*>& group : nilTexts)
        for (const char* text : group)
            EXPECT_EQ(Parsed(text), "nil") << text;
    // Enough members for the general sort.
    std::string members = "{";
    for (int index = 199; index >= 0; --index)
        members += "\"n" + std::to_string(index) + "\": " + std::to_string(index) + ", ";
    const DynamicStructure many = ParseJson(members + "\"n5\": -1}");
    for (std::uint32_t index = 1; index < 200; ++index)
        EXPECT_LT(many.GetMemberName(index - 1), many.GetMemberName(index));
    EXPECT_EQ(many.GetMember("n5").AsIntegerOr(0), -1);
    // The conversion reports mixed kinds and Nil elements, not duplicates or empty members.
    RecordingErrorHandler handler;
    Parsed(R"({"b": 1, "a": [], "b": {}})");
    EXPECT_EQ(Parsed(R"([1, "a", [], 2.5, {}])"), R"([1,"a",nil,2.5f,nil])");
    EXPECT_EQ(handler.Count("ValueType does not match array value type.\n"), 4);
    EXPECT_EQ(handler.Count("Cannot push a Nil value into an array.\n"), 2);
    EXPECT_EQ(handler.messages.size(), 6u);
}

TEST(JsonParser, FilesLoadUpToTheFirstZeroByteAndMissingOnesReportOnce)
{
    const TemporaryFolder folder;
    const std::string sheet =
        folder.Write("sheet.json", std::string("{\r\n  \"a\": 1\r\n}\0{garbage", 20));
    EXPECT_EQ(Describe(LoadJsonFile(sheet)), "{\"a\":1}");
    EXPECT_EQ(Describe(LoadJsonFile(folder.Write("e", ""))), "nil");
    // Files are read as text: where lines end in CR LF on disk, a CR LF in a string reads as LF.
    const std::string lines = folder.Write("lines.json", "{\"s\": \"a\r\nb\"}\r\n");
#if defined(_WIN32)
    EXPECT_EQ(Describe(LoadJsonFile(lines)), R"({"s":"a\x0ab"})");
#else
    EXPECT_EQ(Describe(LoadJsonFile(lines)), R"({"s":"a\x0d\x0ab"})");
#endif

    RecordingErrorHandler handler;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(LoadJsonFile("data/does_not_exist.json").IsNil());
    EXPECT_NE(testing::internal::GetCapturedStdout().find(
                  "FILE source/quill_mark/core/qm_json_parser.cpp["),
              std::string::npos);
    // A folder opens like a file with the C library but is no data file.
    testing::internal::CaptureStdout();
    EXPECT_TRUE(LoadJsonFile(folder.path.string()).IsNil());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(
        handler.messages,
        (std::vector<std::string>{"Was unable to load json file: data/does_not_exist.json\n",
                                  "Was unable to load json file: " + folder.path.string() + "\n"}));
}

TEST(JsonParser, NestingUpToTheLimitLoadsAndDeeperGivesNil)
{
    // Documents up to the limit describe as themselves; brackets inside strings do not nest.
    const int limit = 512;
    const std::string objects = Repeated("{\"a\":", limit - 1) + "[7]" + Repeated("}", limit - 1);
    for (const std::string& text : {Repeated("[", limit) + "1" + Repeated("]", limit), objects,
                                    "{\"a\":[\"" + Repeated("[{", 2000) + "\"]}"})
        EXPECT_EQ(Parsed(text), text);
    // The limit is about the whole document, also when the deep part comes late.
    const int depth = 100000;
    for (const std::string& text :
         {Repeated("[", 513) + "1" + Repeated("]", 513), "{\"a\":" + objects + "}",
          "[1, 2, " + Repeated("[", 600) + Repeated("]", 600) + "]",
          Repeated("[", depth) + Repeated("]", depth),
          Repeated("{\"a\":[", depth) + Repeated("]}", depth), Repeated("[", depth)})
        EXPECT_EQ(Parsed(text), "nil") << text.substr(0, 20);
}

TEST(JsonTestSuite, EveryCorpusFileLoadsAndParses)
{
    const char* shared = std::getenv("QM_SHARED_DIR");
    const std::filesystem::path folder = std::filesystem::path(shared != nullptr ? shared : "") /
                                         "corpora/json-test-suite/test_parsing";
    if (shared == nullptr || !std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no corpus at " << folder << " (it is in ../shared beside the repository)";
    RecordingErrorHandler quiet;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        // Whole bytes (zero bytes included) through the parser, and the file through the loader.
        ParseJson(ReadBytes(entry.path().string()));
        LoadJsonFile(entry.path().string());
        ++files;
    }
    EXPECT_EQ(files, 318);
}

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
