// The JSON reader as data files meet it: which texts load and into what, the lenient and the
// strict places, escapes, numbers, the reports of the conversion, file loading and deep nesting.
#include "quill_mark/core/qm_json_parser.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "dynamic_structure_description.h"
#include "support/recording_error_handler.h"

using Quillmark::Core::DynamicStructure;
using Quillmark::Core::LoadJsonFile;
using Quillmark::Core::ParseJson;
using QuillmarkTest::Describe;
using QuillmarkTest::RecordingErrorHandler;

namespace
{

std::string Parsed(const std::string& text)
{
    return Describe(ParseJson(text));
}

std::string Repeated(const std::string& piece, int count)
{
    std::string text;
    for (int index = 0; index < count; ++index)
    {
        text += piece;
    }
    return text;
}

// Writes a file into a fresh temporary folder that is removed with the object.
class TemporaryFile
{
public:
    TemporaryFile(const std::string& name, const std::string& content)
    {
        folder = std::filesystem::temp_directory_path() /
                 ("qm_json_parser_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << content;
    }
    ~TemporaryFile() { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string path;
};

}  // namespace

TEST(JsonDocuments, ObjectsAndArraysLoadIntoStructuresOfTheRightKinds)
{
    EXPECT_EQ(Parsed("{\"count\": 3, \"pair\": [1, 2], \"name\": \"sheet\"}"),
              "{\"count\":3,\"name\":\"sheet\",\"pair\":[1,2]}");
    // Members end up in ascending byte order; a name met twice keeps the later value, silently.
    RecordingErrorHandler handler;
    EXPECT_EQ(Parsed("{\"b\": 1, \"a\": 2, \"B\": 3, \"b\": 4}"), "{\"B\":3,\"a\":2,\"b\":4}");
    EXPECT_TRUE(handler.messages.empty());
    // Pretty-printed text with every kind of whitespace around the values.
    EXPECT_EQ(Parsed(" \r\n{\n\t\"list\" :\v[ \"x\" ,\f\"y\" ] ,\n \"o\": {\"k\": true}\n}\n "),
              "{\"list\":[\"x\",\"y\"],\"o\":{\"k\":true}}");
}

TEST(JsonDocuments, OnlyObjectsAndArraysAtTheTopLevel)
{
    for (const char* text : {"\"text\"", "12", "1.5", "true", "null", "", "   ", "{", "[",
                             "{\"a\": 1", "[1, 2", "x[1]"})
    {
        EXPECT_EQ(Parsed(text), "nil") << text;
    }
}

TEST(JsonDocuments, EmptyContainersLoadAsNil)
{
    RecordingErrorHandler handler;
    EXPECT_EQ(Parsed("[]"), "nil");
    EXPECT_EQ(Parsed("{ }"), "nil");
    EXPECT_EQ(Parsed("[null, null]"), "nil");
    EXPECT_EQ(Parsed("{\"a\": [], \"b\": {}}"), "{\"a\":nil,\"b\":nil}");
    EXPECT_TRUE(handler.messages.empty());
}

TEST(JsonNumbers, KindFollowsTheSpelling)
{
    EXPECT_EQ(Parsed("{\"a\": 1.0, \"b\": 1e2, \"c\": 2147483647, \"d\": 2147483648, "
                     "\"e\": -2147483648, \"f\": -2147483649, \"g\": -7, \"h\": +5, \"i\": 007}"),
              "{\"a\":1f,\"b\":100f,\"c\":2147483647,\"d\":2.14748e+09f,\"e\":-2147483648,"
              "\"f\":-2.14748e+09f,\"g\":-7,\"h\":5,\"i\":7}");
    // Whitespace inside a token is skipped.
    EXPECT_EQ(Parsed("{\"a\": 1 2, \"b\": - 3 . 5}"), "{\"a\":12,\"b\":-3.5f}");
    EXPECT_EQ(Parsed("[99999999999999999999999, 1.]"), "[1e+23f,1f]");
}

TEST(JsonNumbers, MalformedOrOutOfRangeNumbersFailTheDocument)
{
    for (const char* text : {"{\"a\": .5}", "{\"a\": 1e2e3}", "{\"a\": 1eE2}", "{\"a\": e5}",
                             "{\"a\": 1.2.3}", "{\"a\": 1e400}", "{\"a\": 1e-400}", "{\"a\": 0x10}",
                             "{\"a\": -}", "{\"a\": 12abc}", "[1 true]", "[nul]", "[truee]"})
    {
        EXPECT_EQ(Parsed(text), "nil") << text;
    }
}

TEST(JsonLiterals, TrueFalseAndNullInAnyCase)
{
    EXPECT_EQ(Parsed("{\"t\": TRUE, \"f\": fAlSe, \"n\": NuLl}"),
              "{\"f\":false,\"n\":nil,\"t\":true}");
    const DynamicStructure value = ParseJson("{\"n\": null, \"x\": 1}");
    EXPECT_EQ(value.Size(), 2u);
    EXPECT_TRUE(value.GetMember("n").IsNil());
    EXPECT_EQ(Parsed("[True, null, FALSE]"), "[true,false]");
}

TEST(JsonObjects, TextBetweenMembersIsSkippedButTrailingTextFails)
{
    // A string value may be followed directly by the next name; anything without quotation
    // marks in between, and anything between a name and its colon, is skipped.
    EXPECT_EQ(Parsed("{\"a\": \"x\" \"b\": 1}"), "{\"a\":\"x\",\"b\":1}");
    EXPECT_EQ(Parsed("{\"a\": \"x\";;; \"b\" junk : 1}"), "{\"a\":\"x\",\"b\":1}");
    EXPECT_EQ(Parsed("{\"a\": [1],, \"b\": 2}"), "{\"a\":[1],\"b\":2}");
    // A number runs to the next comma, so a missing comma after it fails.
    EXPECT_EQ(Parsed("{\"a\": 1 \"b\": 2}"), "nil");
    EXPECT_EQ(Parsed("{\"a\": 1,}"), "nil");
    EXPECT_EQ(Parsed("{\"a\": \"x\", }"), "nil");
    EXPECT_EQ(Parsed("{\"a\" 1}"), "nil");
    EXPECT_EQ(Parsed("{\"\": 1}"), "nil");
    EXPECT_EQ(Parsed("{\"a\": \"unclosed}"), "nil");
}

TEST(JsonObjects, MissingValuesBecomeNilOrZero)
{
    EXPECT_EQ(Parsed("{\"a\": 1, \"b\":   }"), "{\"a\":1,\"b\":nil}");
    EXPECT_EQ(Parsed("{\"a\":, \"b\": 2}"), "{\"a\":0,\"b\":2}");
}

TEST(JsonObjects, NestedContainersThatFailAreNilMembersOrDroppedElements)
{
    EXPECT_EQ(Parsed("{\"a\": {\"b\"}, \"c\": [1 true], \"d\": 4}"),
              "{\"a\":nil,\"c\":nil,\"d\":4}");
    EXPECT_EQ(Parsed("[{\"a\"}, [1:2], 3]"), "[3]");
    // A nested container that is never closed fails the whole document.
    EXPECT_EQ(Parsed("{\"a\": [1, 2, \"b\": 3}"), "nil");
    EXPECT_EQ(Parsed("{\"a\": [1, 2}, \"b\": 3}"), "nil");
    EXPECT_EQ(Parsed("[[1}, 2]"), "nil");
}

TEST(JsonObjects, QuotationMarksThatHideBracketsFromOneSearchButNotAnother)
{
    // The search for the outer value takes ":{" for string content and the [{ after it for
    // brackets; the search for the middle object takes that [{ for string content. Each
    // container is delimited by its own search.
    EXPECT_EQ(Parsed("{\"x\":{\"x\"\":{\"x\"\":[{\"}\"}]}}"), "{\"x\":nil}");
    // A quotation mark after a backslash does not end a string for the search either.
    EXPECT_EQ(Parsed("[{\"a\":\"b\\\"}\", \"c\": [1]}, 2]"), "[{\"a\":\"b\\x22}\",\"c\":[1]},2]");
}

TEST(JsonObjects, NamesKeepTheirEscapesAsWritten)
{
    EXPECT_EQ(Parsed("{\"a\\\"b\": 1, \"c\\u0041\": 2, \" sp \": 3}"),
              "{\" sp \":3,\"a\\x5c\\x22b\":1,\"c\\x5cu0041\":2}");
}

TEST(JsonArrays, ElementsAreCutAtCommasAndClosingBrackets)
{
    EXPECT_EQ(Parsed("[1,,2,null,,]"), "[1,2]");
    EXPECT_EQ(Parsed("[\"a\", \"b,c\"]"), "nil");
    EXPECT_EQ(Parsed("[\"a]b\"]"), "nil");
    // Opening brackets inside a string are harmless; a value after a nested array needs no comma.
    EXPECT_EQ(Parsed("[\"x[1]\", [2]3, {\"k\": \"}]\"}]"), "[\"x[1]\",[2],3,{\"k\":\"}]\"}]");
    // Text after a string element and before the next comma is ignored.
    EXPECT_EQ(Parsed("[\"a\": 1, \"b\" x]"), "[\"a\",\"b\"]");
    // Anything gathered before a nested container joins it and fails the array.
    EXPECT_EQ(Parsed("[1 [2]]"), "nil");
    EXPECT_EQ(Parsed("[][]"), "nil");
    EXPECT_EQ(Parsed("[1]]"), "[1]");
}

TEST(JsonArrays, ConversionReportsMixedKindsAndEmptyNestedContainers)
{
    RecordingErrorHandler handler;
    EXPECT_EQ(Parsed("[1, \"a\", [], 2.5, {}]"), "[1,\"a\",nil,2.5f,nil]");
    EXPECT_EQ(handler.Count("ValueType does not match array value type.\n"), 4);
    EXPECT_EQ(handler.Count("Cannot push a Nil value into an array.\n"), 2);
    EXPECT_EQ(handler.messages.size(), 6u);
}

TEST(JsonStrings, EscapesAndTrimming)
{
    EXPECT_EQ(Parsed("[\"  padded\\t \", \"\\u0041\\u2041\", \"\\\"\\\\\\/x\\b\\f\\n\\r\\t.\"]"),
              "[\"padded\",\"AA\",\"\\x22\\x5c/x\\x08\\x0c\\x0a\\x0d\\x09.\"]");
    // Unknown escapes vanish with their backslash; \u keeps one byte from its last two digits.
    EXPECT_EQ(Parsed("[\"a\\qb\\x41\", \"\\u12345\", \"\\u00zz!\", \"\\u004g\", \"\\u00-1\"]"),
              "[\"ab41\",\"45\",\"\\x00!\",\"\\x04\",\"\\xff\"]");
    // A \u escape cut short by the end of the string gives a zero byte.
    EXPECT_EQ(Parsed("[\"x\\u\", \"\\u4\", \"\\u12\", \"\\u123\"]"),
              "[\"x\\x00\",\"\\x00\",\"\\x00\",\"\\x03\"]");
    EXPECT_EQ(Parsed("{\"s\": \"  \\n  \"}"), "{\"s\":\"\"}");
}

TEST(JsonFiles, LoadsTheFileUpToItsFirstZeroByte)
{
    const TemporaryFile file("sheet.json", std::string("{\r\n  \"a\": 1\r\n}\0{garbage", 20));
    EXPECT_EQ(Describe(LoadJsonFile(file.path)), "{\"a\":1}");
    const TemporaryFile empty("empty.json", "");
    EXPECT_EQ(Describe(LoadJsonFile(empty.path)), "nil");
}

TEST(JsonFiles, MissingFileOrFolderReportsOnceAndGivesNil)
{
    RecordingErrorHandler handler;
    testing::internal::CaptureStdout();
    const DynamicStructure value = LoadJsonFile("data/does_not_exist.json");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(value.IsNil());
    EXPECT_EQ(handler.messages,
              std::vector<std::string>{"Was unable to load json file: data/does_not_exist.json\n"});
    EXPECT_NE(output.find("FILE source/quill_mark/core/qm_json_parser.cpp["), std::string::npos);

    // A folder opens like a file with the C library but is no data file.
    const TemporaryFile file("inside.json", "[1]");
    handler.messages.clear();
    testing::internal::CaptureStdout();
    EXPECT_TRUE(LoadJsonFile(file.folder.string()).IsNil());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(
        handler.messages,
        std::vector<std::string>{"Was unable to load json file: " + file.folder.string() + "\n"});
}

TEST(JsonNesting, DeepButBoundedNestingLoads)
{
    const int limit = 512;
    const DynamicStructure deepest = ParseJson(Repeated("[", limit) + "1" + Repeated("]", limit));
    const DynamicStructure* walker = &deepest;
    for (int level = 1; level < limit; ++level)
    {
        ASSERT_EQ(walker->Size(), 1u) << level;
        walker = &walker->GetValue(0);
    }
    EXPECT_EQ(Describe(*walker), "[1]");
    // The description of this document is the document itself.
    const std::string objects = Repeated("{\"a\":", limit - 1) + "[7]" + Repeated("}", limit - 1);
    EXPECT_EQ(Parsed(objects), objects);
    // Brackets inside strings do not nest.
    const std::string brackets = "{\"a\":[\"" + Repeated("[{", 2000) + "\"]}";
    EXPECT_EQ(Parsed(brackets), brackets);
}

TEST(JsonNesting, TooDeepNestingGivesNil)
{
    EXPECT_EQ(Parsed(Repeated("[", 513) + "1" + Repeated("]", 513)), "nil");
    EXPECT_EQ(Parsed(Repeated("{\"a\":", 512) + "[7]" + Repeated("}", 512)), "nil");
    // The limit is about the whole document, also when the deep part comes late.
    EXPECT_EQ(Parsed("[1, 2, " + Repeated("[", 600) + Repeated("]", 600) + "]"), "nil");
    const int depth = 100000;
    EXPECT_EQ(Parsed(Repeated("[", depth) + Repeated("]", depth)), "nil");
    EXPECT_EQ(Parsed(Repeated("{\"a\":[", depth) + Repeated("]}", depth)), "nil");
    EXPECT_EQ(Parsed(Repeated("[", depth)), "nil");
}
