// SPDX-License-Identifier: Zlib
// Trees the reader builds are values like any other: they own their text, copy and assign deeply,
// and grow with PushValue and AddMember. Their member order is the parser's test.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dynamic_structure_description.h"
#include "quill_mark/core/qm_json_parser.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Core;
using namespace QuillmarkTest;

TEST(DynamicStructureBuilder, LoadedTreesOwnTheirTextAndCopyAndAssignDeeply)
{
    const std::string expected = R"({"list":["walk_1","run_2"],"n":5,"name":"hero_frame_0001"})";
    DynamicStructure loaded;
    {
        std::string text = R"({"name": "hero_frame_0001", "list": ["walk_1", "run_2"], "n": 5})";
        loaded = ParseJson(text);
        std::fill(text.begin(), text.end(), 'x');
    }
    EXPECT_EQ(Describe(loaded), expected);
    const DynamicStructure copied(loaded);
    DynamicStructure assigned;
    assigned = loaded;
    loaded.AddMember("added", Make(1));
    EXPECT_EQ(Describe(copied), expected);
    loaded = ParseJson("[1]");
    EXPECT_EQ(Describe(copied), expected);
    EXPECT_EQ(Describe(assigned), expected);
    // A member of a loaded tree assigned to its own root.
    assigned = DynamicStructure(assigned.GetMember("list"));
    EXPECT_EQ(Describe(assigned), R"(["walk_1","run_2"])");
}

TEST(DynamicStructureBuilder, LoadedTablesGrowWithPushValueAndAddMember)
{
    DynamicStructure array = ParseJson("[1, 2, 3]");
    array.PushValue(Make(4));
    array.PushValue(Make(5));
    EXPECT_EQ(Describe(array), "[1,2,3,4,5]");

    RecordingErrorHandler handler;
    DynamicStructure document =
        ParseJson(R"({"d": "x", "b": [1, 2], "e": {"k": "v"}, "a": {"k": 1}})");
    document.AddMember("c", Make(3));
    // AddMember of a present name hands back the loaded member, which then grows and changes.
    DynamicStructure& list = document.AddMember("b", DynamicStructure());
    list.PushValue(Make(7));
    DynamicStructure& nested = document.AddMember("e", DynamicStructure());
    nested.AddMember("j", Make(8));
    EXPECT_EQ(Describe(document), R"({"a":{"k":1},"b":[1,2,7],"c":3,"d":"x","e":{"j":8,"k":"v"}})");
    list = ParseJson("[9]");
    EXPECT_EQ(Describe(document.GetMember("b")), "[9]");
    EXPECT_EQ(
        handler.messages,
        (std::vector<std::string>{
            "qmExternalError: Expected not to find a member with name \"b\" already existing.",
            "qmExternalError: Expected not to find a member with name \"e\" already "
            "existing."}));
}
