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

using Quillmark::Core::LoadJsonFile;

namespace
{

class JsonTestSuite : public testing::Test
{
protected:
    // QM_SHARED_DIR names the shared folder; the build's own idea of it is the fallback.
    void SetUp() override
    {
        const char* shared = std::getenv("QM_SHARED_DIR");
#ifdef QM_TEST_SHARED_DIR
        shared = shared != nullptr ? shared : QM_TEST_SHARED_DIR;
#endif
        if (shared != nullptr)
            folder = std::filesystem::path(shared) / "corpora/json-test-suite/test_parsing";
        if (!std::filesystem::is_directory(folder))
            GTEST_SKIP() << "QM_SHARED_DIR has no json-test-suite corpus";
        testing::internal::CaptureStdout();
    }
    void TearDown() override
    {
        testing::internal::GetCapturedStdout();
    }

    std::filesystem::path folder;
    QuillmarkTest::RecordingErrorHandler quiet;
};

}  // namespace

TEST_F(JsonTestSuite, EveryFileLoadsAndParses)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        // Whole bytes (zero bytes included) through the parser, and the file through the loader.
        std::ifstream stream(entry.path(), std::ios::binary);
        Quillmark::Core::ParseJson(std::string(std::istreambuf_iterator<char>(stream), {}));
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
        {"y_object_empty_key", "nil"},
        {"y_object_escaped_null_in_key", R"({"foo\x5cu0000bar":42})"},
        {"y_object_extreme_numbers", R"({"max":1e+28f,"min":-1e+28f})"},
        {"y_object_simple", R"({"a":nil})"},
        {"y_object_string_unicode", R"({"title":"\x1f>;B>@0 \x175<;5:>?0"})"},
        {"y_array_heterogeneous", R"([1,"1",nil])"},
        {"y_array_with_several_null", "[1,2]"},
        {"y_array_null", "nil"},
        {"y_string_allowed_escapes", R"(["\x22\x5c/\x08"])"},
        {"y_string_uEscape", R"(["a\xaf\xea\xb9"])"},
        {"y_string_space", "nil"},
        {"y_structure_lonely_int", "nil"},
        {"y_number_minus_zero", "[0]"},
        {"y_number_double_close_to_zero", "[-0f]"},
        {"n_object_trailing_comma", "nil"},
        {"n_object_two_commas_in_a_row", R"({"a":"b","c":"d"})"},
        {"n_array_1_true_without_comma", "nil"},
        {"n_array_extra_comma", R"([""])"},
        {"n_array_inner_array_no_comma", "nil"},
        {"n_number_2.e3", "[2000f]"},
        {"n_structure_capitalized_True", "[true]"},
        {"n_structure_null-byte-outside-string", "nil"},
        {"n_string_1_surrogate_then_escape_u", R"(["\x00\x00"])"},
        {"i_number_real_pos_overflow", "nil"},
        {"i_structure_UTF-8_BOM_empty_object", "nil"},
        {"n_structure_100000_opening_arrays", "nil"},
        {"n_structure_open_array_object", "nil"},
        // The innermost empty array converts to Nil and is pushed into its parent as such.
        {"i_structure_500_nested_arrays", std::string(499, '[') + "nil" + std::string(499, ']')},
    };
    for (const auto& [file, description] : expectations)
    {
        const std::string path = (folder / file).string() + ".json";
        EXPECT_EQ(QuillmarkTest::Describe(LoadJsonFile(path)), description) << file;
    }
    // Only the conversion reports (mixed kinds, Nil elements) may appear; every file opened.
    for (const std::string& message : quiet.messages)
        EXPECT_EQ(message.find("Was unable"), std::string::npos) << message;
}
