// The shared corpus of JSON parsing cases: every file loads without a crash, a hang or a leak,
// and hand-checked files give exactly what the reader's rules predict (not the corpus verdicts).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "dynamic_structure_description.h"
#include "quill_mark/core/qm_json_parser.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Core;
using namespace QuillmarkTest;

namespace
{

class JsonTestSuite : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* shared = std::getenv("QM_SHARED_DIR");
        folder = std::filesystem::path(shared != nullptr ? shared : "/nonexistent") /
                 "corpora/json-test-suite/test_parsing";
        if (!std::filesystem::is_directory(folder))
            GTEST_SKIP() << "QM_SHARED_DIR has no json-test-suite corpus";
    }

    std::filesystem::path folder;
    RecordingErrorHandler quiet;
};

}  // namespace

TEST_F(JsonTestSuite, EveryFileLoadsAndParses)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        // Whole bytes (zero bytes included) through the parser, and the file through the loader.
        std::ifstream stream(entry.path(), std::ios::binary);
        ParseJson(std::string(std::istreambuf_iterator<char>(stream), {}));
        LoadJsonFile(entry.path().string());
        ++files;
    }
    EXPECT_EQ(files, 318);
}

TEST_F(JsonTestSuite, HandCheckedFilesGiveThePredictedValues)
{
    const std::pair<const char*, std::string> expectations[] = {
        {"y_object_basic", R"({"asd":"sdf"})"},
        {"y_object_duplicated_key", R"({"a":"c"})"},
        {"y_object_empty", "nil"},
        {"y_object_escaped_null_in_key", R"({"foo\x5cu0000bar":42})"},
        {"y_object_extreme_numbers", R"({"max":1e+28f,"min":-1e+28f})"},
        {"y_object_string_unicode", R"({"title":"\x1f>;B>@0 \x175<;5:>?0"})"},
        {"y_array_heterogeneous", R"([1,"1",nil])"},
        {"y_string_allowed_escapes", R"(["\x22\x5c/\x08"])"},
        {"y_string_uEscape", R"(["a\xaf\xea\xb9"])"},
        {"y_structure_lonely_int", "nil"},
        {"y_number_double_close_to_zero", "[-0f]"},
        {"n_object_two_commas_in_a_row", R"({"a":"b","c":"d"})"},
        {"n_array_extra_comma", R"([""])"},
        {"n_array_inner_array_no_comma", "nil"},
        {"n_number_2.e3", "[2000f]"},
        {"n_structure_capitalized_True", "[true]"},
        {"n_structure_null-byte-outside-string", "nil"},
        {"n_string_1_surrogate_then_escape_u", R"(["\x00\x00"])"},
        {"i_structure_UTF-8_BOM_empty_object", "nil"},
        {"n_structure_100000_opening_arrays", "nil"},
        {"n_structure_open_array_object", "nil"},
        // The innermost empty array converts to Nil and is pushed into its parent as such.
        {"i_structure_500_nested_arrays", std::string(499, '[') + "nil" + std::string(499, ']')},
    };
    for (const auto& [file, description] : expectations)
        EXPECT_EQ(Describe(LoadJsonFile((folder / file).string() + ".json")), description) << file;
    // Only the conversion reports (mixed kinds, Nil elements) may appear; every file opened.
    for (const std::string& message : quiet.messages)
        EXPECT_EQ(message.find("Was unable"), std::string::npos) << message;
}
