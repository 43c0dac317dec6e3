// SPDX-License-Identifier: Zlib
// The variant value: conversions and their reports, setters changing the kind, container building
// (order, duplicates, misuse on scalars), deep copies, very deep trees, and trees the JSON reader
// loads, which own their text, copy deeply and grow like any other.
#include "quill_mark/core/qm_dynamic_structure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dynamic_structure_description.h"
#include "quill_mark/core/qm_json_parser.h"
#include "support/recording_error_handler.h"

using namespace Quillmark::Core;
using namespace QuillmarkTest;
using Messages = std::vector<std::string>;

namespace
{

// {"a": 1, "list": [2, "x"]}, built with one mismatch report.
DynamicStructure SmallTree()
{
    DynamicStructure tree, list;
    list.PushValue(Make(2));
    list.PushValue(Make("x"));
    tree.AddMember("list", std::move(list));
    tree.AddMember("a", Make(1));
    return tree;
}

}  // namespace

TEST(DynamicStructure, ANewValueIsNilAndLookupsFindNothingWithoutAReport)
{
    RecordingErrorHandler handler;
    const DynamicStructure value;
    EXPECT_TRUE(value.IsNil());
    EXPECT_EQ(value.Size(), 0u);
    EXPECT_EQ(&value.GetMember("any"), &kNilStructure);
    EXPECT_EQ(value.AsString(true), "");
    EXPECT_EQ(value.AsInteger(true), 0);
    EXPECT_EQ(handler.messages, Messages{});
}

TEST(DynamicStructure, ConversionsFollowTheKindAndReportOnlyWithoutPermission)
{
    const DynamicStructure nil, tree = SmallTree(), &array = tree.GetMember("list");
    RecordingErrorHandler handler;
    EXPECT_EQ(Make(3.0f).AsIntegerOr(7), 7);
    EXPECT_EQ(Make("12").AsIntegerOr(3), 3);
    EXPECT_EQ(Make(4).AsFloatOr(0.5f), 0.5f);
    EXPECT_FALSE(Make(1).AsBooleanOr(false));
    EXPECT_TRUE(Make(true).AsBooleanOr(false));
    // Floats truncate toward zero, saturate beyond the integer range, and NaN gives 0.
    std::vector<int> integers;
    Messages texts;
    for (const float value : {-2.7f, 3.0e9f, -3.0e9f, -2147483648.0f, INFINITY, NAN})
        integers.push_back(Make(value).AsInteger(true));
    EXPECT_EQ(integers, (std::vector<int>{-2, 2147483647, INT32_MIN, INT32_MIN, 2147483647, 0}));
    for (const DynamicStructure& scalar :
         {Make(-15), Make(INT32_MIN), Make(0.5f), Make(100.0f), Make(1234567.0f), Make(0.0001f),
          Make(false), Make(true), Make("as is")})
        texts.push_back(scalar.AsString(true));
    EXPECT_EQ(texts, (Messages{"-15", "-2147483648", "0.5", "100", "1.23457e+06", "0.0001", "false",
                               "true", "as is"}));
    // Without permission even Nil reports, then converts; strings are not parsed as numbers.
    EXPECT_EQ(nil.AsString(false), "");
    EXPECT_EQ(Make(4).AsString(false), "4");
    EXPECT_EQ(nil.AsInteger(false), 0);
    EXPECT_EQ(Make(true).AsInteger(false), 1);
    EXPECT_EQ(Make("12").AsInteger(true), 0);
    EXPECT_EQ(array.AsInteger(true), 0);
    EXPECT_EQ(array.AsString(true), "");
    EXPECT_EQ(tree.ToString(), "");
    const char* integerSafety =
        "This is not an IntegerType, type-safety required without implicit conversion.\n";
    const char* stringSafety =
        "This is not an StringType, type-safety required without implicit conversion.\n";
    EXPECT_EQ(handler.messages, (Messages{stringSafety, stringSafety, integerSafety, integerSafety,
                                          "Cannot convert this type(4) to an integer.\n",
                                          "Cannot convert this type(5) to an integer.\n",
                                          "Cannot convert this type(5) to a string.\n",
                                          "Cannot convert this type(6) to a string.\n"}));
}

TEST(DynamicStructure, SettersReplaceTheKindAndReportOnlyUnpermittedChanges)
{
    DynamicStructure value = Make("text"), tree = SmallTree();
    RecordingErrorHandler handler;
    value.SetInteger(5, false);
    value.SetInteger(6, false);
    value.SetFloat(1.5f, true);
    value.SetBoolean(true, false);
    value.SetString("s", false);
    value.SetFloat(2.0f, false);
    // A setter over a container frees the whole tree (the sanitizer build checks for leaks).
    tree.SetString(std::string(3, 'z'), true);
    EXPECT_EQ(Describe(value), "2f");
    EXPECT_EQ(Describe(tree), "\"zzz\"");
    EXPECT_EQ(handler.messages,
              (Messages{"Expected NilType or IntegerType types in order to set a integer value.\n",
                        "Expected NilType or BooleanType types in order to set a booelean value.\n",
                        "Expected NilType or StringType types in order to set a string value.\n",
                        "Expected NilType or FloatType types in order to set a float value.\n"}));
}

TEST(DynamicStructure, PushAndAddKeepEveryElementAndReportMisuse)
{
    RecordingErrorHandler handler;
    DynamicStructure array, scalar = Make(9);
    array.PushValue(Make(1));
    array.PushValue(Make("two"));
    array.PushValue(DynamicStructure());
    array.PushValue(array);  // stores a copy of the array as it was
    EXPECT_EQ(Describe(array), R"([1,"two",nil,[1,"two",nil]])");
    EXPECT_EQ(&array.GetValue(array.Size()), &kNilStructure);
    EXPECT_EQ(&scalar.GetValue(0), &kNilStructure);
    // On a scalar: reports, the value stays, and a scratch value (not kNilStructure) comes back.
    DynamicStructure& returned = scalar.PushValue(DynamicStructure());
    returned.SetInteger(4, true);
    DynamicStructure& member = scalar.AddMember("name", Make(1));
    EXPECT_NE(&returned, &kNilStructure);
    EXPECT_NE(&member, &kNilStructure);
    EXPECT_TRUE(member.IsNil());
    EXPECT_EQ(Describe(scalar), "9");
    EXPECT_EQ(Describe(kNilStructure), "nil");
    const char* mismatch = "ValueType does not match array value type.\n";
    const char* nilPush = "Cannot push a Nil value into an array.\n";
    EXPECT_EQ(
        handler.messages,
        (Messages{
            mismatch, nilPush, mismatch, mismatch,
            "qmExternalError: Expected index to be in bounds of array size.\n",
            "qmExternalError: Expected this MagicValue to be an ArrayType.\n",
            "qmExternalError: Expected this DynamicStructure to be NilType or ArrayType.", nilPush,
            "qmExternalError: Expected this DynamicStructure to be an ArrayType.\n",
            "qmExternalError: Expected this DynamicStructure to be NilType or StructureType."}));
}

TEST(DynamicStructure, MembersAreOrderedByUnsignedBytesAndNeverReplaced)
{
    RecordingErrorHandler handler;
    DynamicStructure structure;
    for (const char* name : {"b", "\xC3\xA9", "ab", "a", "A", "", "\x7F"})
        structure.AddMember(name, Make(name));
    EXPECT_EQ(Describe(structure),
              R"({"":"","A":"A","a":"a","ab":"ab","b":"b","\x7f":"\x7f","\xc3\xa9":"\xc3\xa9"})");
    EXPECT_EQ(Describe(structure.AddMember("ab", Make(5))), "\"ab\"");
    EXPECT_EQ(structure.Size(), 7u);
    EXPECT_EQ(&structure.GetMember("abc"), &kNilStructure);
    EXPECT_EQ(&structure.GetMember(static_cast<const char*>(nullptr)), &kNilStructure);
    EXPECT_EQ(&Make(1).GetMember("a"), &kNilStructure);
    EXPECT_EQ(structure.GetMemberName(7), "");
    EXPECT_EQ(Make(1).GetMemberName(0), "");
    EXPECT_EQ(
        handler.messages,
        (Messages{
            R"(qmExternalError: Expected not to find a member with name "ab" already existing.)",
            "Expected this MagicValue to be an StructureType or a NilType.\n",
            "qmExternalError: Expected index to be in bounds of structure size.\n",
            "qmExternalError: Expected this DynamicStructure to be a StructureType.\n"}));
}

TEST(DynamicStructure, CopiesAreDeepAndIndependent)
{
    const DynamicStructure source = SmallTree();
    DynamicStructure copy = source, nested = source, self;
    copy.AddMember("a", DynamicStructure()).SetInteger(99, true);
    copy.AddMember("b", Make("new"));
    EXPECT_EQ(Describe(source), R"({"a":1,"list":[2,"x"]})");
    EXPECT_EQ(Describe(copy), R"({"a":99,"b":"new","list":[2,"x"]})");
    nested = nested.GetMember("list");
    DynamicStructure& alias = nested;
    nested = alias;
    self.AddMember("x", Make(1));
    self.AddMember("copy", self);
    self.AddMember("moved", std::move(self));
    EXPECT_EQ(Describe(nested), R"([2,"x"])");
    EXPECT_EQ(Describe(self), R"({"copy":{"x":1},"moved":{"copy":{"x":1},"x":1},"x":1})");
}

TEST(DynamicStructure, VeryDeepTreesAreCopiedAndDestroyedWithoutRecursion)
{
    constexpr int kDepth = 100000;
    DynamicStructure deep = Make(7), another = SmallTree();
    for (int level = 0; level < kDepth; ++level)
    {
        DynamicStructure outer;
        level % 2 == 0 ? outer.PushValue(std::move(deep))
                       : outer.AddMember("inner", std::move(deep));
        deep = std::move(outer);
    }
    DynamicStructure copy(deep);
    const DynamicStructure* walker = &copy;
    for (int level = kDepth - 1; level >= 0 && walker->Size() == 1u; --level)
        walker = level % 2 == 0 ? &walker->GetValue(0) : &walker->GetMember("inner");
    EXPECT_EQ(Describe(*walker), "7");
    // Assignment releases the old deep tree, and the setter releases the copy.
    another = copy;
    copy.SetInteger(1, true);
    EXPECT_EQ(another.Size(), 1u);
}

// Loaded trees: their member order is the parser's test.
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
