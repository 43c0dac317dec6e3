// The shared corpus of JSON parsing cases: every file must load without a crash, a hang or a
// leak, and a hand-checked selection must give exactly the value the reader's rules predict
// (the corpus's own accept/reject verdicts do not apply to this reader).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dynamic_structure_description.h"
#include "quill_mark/core/qm_json_parser.h"
#include "support/recording_error_handler.h"

using Quillmark::Core::LoadJsonFile;
using Quillmark::Core::ParseJson;
using QuillmarkTest::Describe;

namespace
{

// QM_SHARED_DIR names the shared folder; the build also passes its own idea of it, used when the
// variable does not reach the test.
std::filesystem::path CorpusFolder()
{
    const char* shared = std::getenv("QM_SHARED_DIR");
#ifdef QM_TEST_SHARED_DIR
    if (shared == nullptr)
    {
        shared = QM_TEST_SHARED_DIR;
    }
#endif
    if (shared == nullptr)
    {
        return {};
    }
    const std::filesystem::path folder =
        std::filesystem::path(shared) / "corpora" / "json-test-suite" / "test_parsing";
    return std::filesystem::is_directory(folder) ? folder : std::filesystem::path();
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::string NestedArrays(int depth, const std::string& inner)
{
    return std::string(static_cast<std::size_t>(depth), '[') + inner +
           std::string(static_cast<std::size_t>(depth), ']');
}

struct Expectation
{
    const char* file;
    std::string description;
};

// Worked out by hand from the reader's rules.
const std::vector<Expectation>& Expectations()
{
    static const std::vector<Expectation> expectations = {
        {"y_object_basic.json", "{\"asd\":\"sdf\"}"},
        {"y_object.json", "{\"asd\":\"sdf\",\"dfg\":\"fgh\"}"},
        {"y_object_duplicated_key.json", "{\"a\":\"c\"}"},
        {"y_object_duplicated_key_and_value.json", "{\"a\":\"b\"}"},
        {"y_object_empty.json", "nil"},
        {"y_object_empty_key.json", "nil"},
        {"y_object_escaped_null_in_key.json", "{\"foo\\x5cu0000bar\":42}"},
        {"y_object_extreme_numbers.json", "{\"max\":1e+28f,\"min\":-1e+28f}"},
        {"y_object_simple.json", "{\"a\":nil}"},
        {"y_object_string_unicode.json", "{\"title\":\"\\x1f>;B>@0 \\x175<;5:>?0\"}"},
        {"y_object_with_newlines.json", "{\"a\":\"b\"}"},
        {"y_array_heterogeneous.json", "[1,\"1\",nil]"},
        {"y_array_with_several_null.json", "[1,2]"},
        {"y_array_empty-string.json", "[\"\"]"},
        {"y_array_null.json", "nil"},
        {"y_array_arraysWithSpaces.json", "[nil]"},
        {"y_string_allowed_escapes.json", "[\"\\x22\\x5c/\\x08\"]"},
        {"y_string_uEscape.json", "[\"a\\xaf\\xea\\xb9\"]"},
        {"y_string_backslash_and_u_escaped_zero.json", "[\"\\x5cu0000\"]"},
        {"y_string_nbsp_uescaped.json", "[\"new\\xa0line\"]"},
        {"y_string_unicode_escaped_double_quote.json", "[\"\\x22\"]"},
        {"y_string_comments.json", "[\"a/*b*/c/*d//e\"]"},
        {"y_string_space.json", "nil"},
        {"y_structure_lonely_int.json", "nil"},
        {"y_structure_whitespace_array.json", "nil"},
        {"y_structure_true_in_array.json", "[true]"},
        {"y_number_real_capital_e.json", "[1e+22f]"},
        {"y_number_minus_zero.json", "[0]"},
        {"y_number_0e1.json", "[0f]"},
        {"y_number_double_close_to_zero.json", "[-0f]"},
        {"n_object_trailing_comma.json", "nil"},
        {"n_object_missing_semicolon.json", "nil"},
        {"n_object_double_colon.json", "nil"},
        {"n_object_two_commas_in_a_row.json", "{\"a\":\"b\",\"c\":\"d\"}"},
        {"n_object_unquoted_key.json", "nil"},
        {"n_array_1_true_without_comma.json", "nil"},
        {"n_array_double_comma.json", "[1,2]"},
        {"n_array_extra_comma.json", "[\"\"]"},
        {"n_array_inner_array_no_comma.json", "nil"},
        {"n_array_colon_instead_of_comma.json", "[\"\"]"},
        {"n_array_extra_close.json", "[\"x\"]"},
        {"n_array_just_comma.json", "nil"},
        {"n_array_spaces_vertical_tab_formfeed.json", "[\"a\"]"},
        {"n_number_.2e-3.json", "nil"},
        {"n_number_1eE2.json", "nil"},
        {"n_number_0.1.2.json", "nil"},
        {"n_number_-01.json", "[-1]"},
        {"n_number_+1.json", "[1]"},
        {"n_number_2.e3.json", "[2000f]"},
        {"n_number_hex_2_digits.json", "nil"},
        {"n_structure_capitalized_True.json", "[true]"},
        {"n_structure_array_with_extra_array_close.json", "[1]"},
        {"n_structure_object_followed_by_closing_object.json", "nil"},
        {"n_structure_double_array.json", "nil"},
        {"n_structure_whitespace_formfeed.json", "nil"},
        {"n_structure_null-byte-outside-string.json", "nil"},
        {"n_string_escape_x.json", "[\"00\"]"},
        {"n_string_incomplete_escaped_character.json", "[\"\"]"},
        {"n_string_1_surrogate_then_escape_u.json", "[\"\\x00\\x00\"]"},
        {"n_string_1_surrogate_then_escape_u1.json", "[\"\\x00\\x00\"]"},
        {"i_number_real_underflow.json", "nil"},
        {"i_number_real_pos_overflow.json", "nil"},
        {"i_number_too_big_pos_int.json", "[1e+20f]"},
        {"i_number_too_big_neg_int.json", "[-1.23123e+29f]"},
        {"i_structure_UTF-8_BOM_empty_object.json", "nil"},
        {"n_structure_100000_opening_arrays.json", "nil"},
        {"n_structure_open_array_object.json", "nil"},
        // The innermost empty array converts to Nil and is pushed into its parent as such.
        {"i_structure_500_nested_arrays.json", NestedArrays(499, "nil")},
    };
    return expectations;
}

}  // namespace

TEST(JsonTestSuite, EveryFileLoadsAndParses)
{
    const std::filesystem::path folder = CorpusFolder();
    if (folder.empty())
    {
        GTEST_SKIP() << "QM_SHARED_DIR has no json-test-suite corpus";
    }
    QuillmarkTest::RecordingErrorHandler quiet;
    testing::internal::CaptureStdout();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        // Whole bytes (zero bytes included) through the parser, and the file through the loader.
        ParseJson(ReadBytes(entry.path()));
        LoadJsonFile(entry.path().string());
        ++files;
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(files, 318);
}

TEST(JsonTestSuite, HandCheckedFilesGiveThePredictedValues)
{
    const std::filesystem::path folder = CorpusFolder();
    if (folder.empty())
    {
        GTEST_SKIP() << "QM_SHARED_DIR has no json-test-suite corpus";
    }
    QuillmarkTest::RecordingErrorHandler quiet;
    testing::internal::CaptureStdout();
    for (const Expectation& expectation : Expectations())
    {
        EXPECT_EQ(Describe(LoadJsonFile((folder / expectation.file).string())),
                  expectation.description)
            << expectation.file;
    }
    testing::internal::GetCapturedStdout();
    // Only the conversion reports (mixed kinds, Nil elements) may appear; no file failed to open.
    for (const std::string& message : quiet.messages)
    {
        EXPECT_EQ(message.find("Was unable"), std::string::npos) << message;
    }
    EXPECT_GE(Expectations().size(), 20u);
}
