// Cases of the shared JSON test corpus: hand-checked texts, kept here, give exactly what the
// reader's rules predict (not the corpus's verdicts; the parser's own test has the plainer ones);
// and, when the corpus folder is beside the repository, every file loads without a crash or leak.
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

TEST(JsonTestSuite, HandCheckedCasesGiveThePredictedValues)
{
    std::string openArrayObject;
    for (int level = 0; level < 50000; ++level)
        openArrayObject += "[{\"\":";
    const std::pair<std::string, std::string> cases[] = {
        {R"({"foo\u0000bar": 42})", R"({"foo\x5cu0000bar":42})"},
        {R"({ "min": -1.0e+28, "max": 1.0e+28 })", R"({"max":1e+28f,"min":-1e+28f})"},
        {R"({"title":"\u041f\u043e\u043b\u0442\u043e\u0440\u0430 \u0417\u0435\u043c\u043b\u0435\u043a\u043e\u043f\u0430" })",
         R"({"title":"\x1f>;B>@0 \x175<;5:>?0"})"},
        {R"([null, 1, "1", {}])", R"([1,"1",nil])"},
        {R"(["\u0061\u30af\u30EA\u30b9"])", R"(["a\xaf\xea\xb9"])"},
        {"[-0." + std::string(77, '0') + "1]", "[-0f]"},
        {R"({"a":"b",,"c":"d"})", R"({"a":"b","c":"d"})"},
        {R"(["",])", R"([""])"},
        {"[3[4]]", "nil"},
        {std::string("[\0]", 3), "nil"},
        {R"(["\uD800\u"])", R"(["\x00\x00"])"},
        {openArrayObject, "nil"},
        // The innermost empty array converts to Nil and is pushed into its parent as such.
        {std::string(500, '[') + std::string(500, ']'),
         std::string(499, '[') + "nil" + std::string(499, ']')},
    };
    RecordingErrorHandler conversionReports;  // mixed kinds and Nil elements
    for (const auto& [text, description] : cases)
        EXPECT_EQ(Describe(ParseJson(text)), description) << text.substr(0, 40);
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
        std::ifstream stream(entry.path(), std::ios::binary);
        ParseJson(std::string(std::istreambuf_iterator<char>(stream), {}));
        LoadJsonFile(entry.path().string());
        ++files;
    }
    EXPECT_EQ(files, 318);
}
