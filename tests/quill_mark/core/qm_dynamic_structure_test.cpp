// The variant value: kind checks and their reports, conversions and fallbacks, container
// building (order, duplicates, misuse on scalars), deep copies and very deep trees.
#include "quill_mark/core/qm_dynamic_structure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "dynamic_structure_description.h"
#include "support/recording_error_handler.h"

using Quillmark::Core::DynamicStructure;
using Quillmark::Core::kNilStructure;
using QuillmarkTest::Describe;
using QuillmarkTest::RecordingErrorHandler;

namespace
{

const char kIntegerSafety[] =
    "This is not an IntegerType, type-safety required without implicit conversion.\n";
const char kStringSafety[] =
    "This is not an StringType, type-safety required without implicit conversion.\n";
const char kMismatch[] = "ValueType does not match array value type.\n";
const char kNilPush[] = "Cannot push a Nil value into an array.\n";

DynamicStructure Integer(std::int32_t value)
{
    DynamicStructure result;
    result.SetInteger(value, false);
    return result;
}

DynamicStructure Float(float value)
{
    DynamicStructure result;
    result.SetFloat(value, false);
    return result;
}

DynamicStructure Text(const std::string& value)
{
    DynamicStructure result;
    result.SetString(value, false);
    return result;
}

DynamicStructure Boolean(bool value)
{
    DynamicStructure result;
    result.SetBoolean(value, false);
    return result;
}

// A structure {"a": 1, "list": [2, "x"]} built without reports except the one mismatch.
DynamicStructure SmallTree()
{
    DynamicStructure tree;
    tree.AddMember("a", Integer(1));
    DynamicStructure list;
    list.PushValue(Integer(2));
    list.PushValue(Text("x"));
    tree.AddMember("list", list);
    return tree;
}

}  // namespace

TEST(DynamicStructureReading, NilReadsAsNothingWithoutReports)
{
    RecordingErrorHandler handler;
    const DynamicStructure value;
    EXPECT_TRUE(value.IsNil());
    EXPECT_EQ(value.Size(), 0u);
    EXPECT_EQ(value.AsString(true), "");
    EXPECT_EQ(value.AsInteger(true), 0);
    EXPECT_EQ(&value.GetMember("anything"), &kNilStructure);
    EXPECT_EQ(&value.GetMember(std::string("else")), &kNilStructure);
    EXPECT_TRUE(handler.messages.empty());

    // Without permission even Nil reports, then still converts.
    EXPECT_EQ(value.AsString(false), "");
    EXPECT_EQ(value.AsInteger(false), 0);
    EXPECT_EQ(handler.Count(kStringSafety), 1);
    EXPECT_EQ(handler.Count(kIntegerSafety), 1);
}

TEST(DynamicStructureReading, ConversionsFollowTheKindAndReportOnlyWithoutPermission)
{
    RecordingErrorHandler handler;
    EXPECT_EQ(Float(3.0f).AsIntegerOr(7), 7);
    EXPECT_EQ(Float(3.0f).AsInteger(true), 3);
    EXPECT_EQ(Float(-2.7f).AsInteger(true), -2);
    EXPECT_EQ(Integer(4).AsFloatOr(0.5f), 0.5f);
    EXPECT_EQ(Integer(1).AsBooleanOr(false), false);
    EXPECT_EQ(Boolean(true).AsBooleanOr(false), true);
    EXPECT_EQ(Text("12").AsIntegerOr(3), 3);
    EXPECT_TRUE(handler.messages.empty());

    EXPECT_EQ(Boolean(true).AsInteger(false), 1);
    EXPECT_EQ(handler.Count(kIntegerSafety), 1);

    // A string holding digits is not parsed; containers cannot become integers or text.
    EXPECT_EQ(Text("12").AsInteger(true), 0);
    EXPECT_EQ(handler.Count("Cannot convert this type(4) to an integer.\n"), 1);
    DynamicStructure array;
    array.PushValue(Integer(1));
    EXPECT_EQ(array.AsInteger(true), 0);
    EXPECT_EQ(handler.Count("Cannot convert this type(5) to an integer.\n"), 1);
    EXPECT_EQ(array.AsString(true), "");
    EXPECT_EQ(handler.Count("Cannot convert this type(5) to a string.\n"), 1);
    EXPECT_EQ(SmallTree().ToString(), "");
    EXPECT_EQ(handler.Count("Cannot convert this type(6) to a string.\n"), 1);
    EXPECT_EQ(handler.Count(kStringSafety), 0);
}

TEST(DynamicStructureReading, TextFormsOfScalars)
{
    EXPECT_EQ(Integer(-15).AsString(true), "-15");
    EXPECT_EQ(Integer(std::numeric_limits<std::int32_t>::min()).ToString(), "-2147483648");
    EXPECT_EQ(Float(0.5f).AsString(true), "0.5");
    EXPECT_EQ(Float(100.0f).ToString(), "100");
    EXPECT_EQ(Float(1234567.0f).ToString(), "1.23457e+06");
    EXPECT_EQ(Float(0.0001f).ToString(), "0.0001");
    EXPECT_EQ(Boolean(false).AsString(true), "false");
    EXPECT_EQ(Boolean(true).ToString(), "true");
    EXPECT_EQ(Text("as is").ToString(), "as is");
}

TEST(DynamicStructureReading, FloatsBeyondTheIntegerRangeSaturate)
{
    EXPECT_EQ(Float(3.0e9f).AsInteger(true), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Float(-3.0e9f).AsInteger(true), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(Float(-2147483648.0f).AsInteger(true), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(Float(std::numeric_limits<float>::infinity()).AsInteger(true),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Float(std::nanf("")).AsInteger(true), 0);
}

TEST(DynamicStructureSetters, ReplaceTheKindAndReportOnlyUnpermittedChanges)
{
    RecordingErrorHandler handler;
    DynamicStructure value = Text("text");
    value.SetInteger(5, false);
    EXPECT_EQ(
        handler.Count("Expected NilType or IntegerType types in order to set a integer value.\n"),
        1);
    EXPECT_EQ(Describe(value), "5");
    value.SetInteger(6, false);
    value.SetFloat(1.5f, true);
    EXPECT_EQ(handler.messages.size(), 1u);

    value.SetBoolean(true, false);
    EXPECT_EQ(
        handler.Count("Expected NilType or BooleanType types in order to set a booelean value.\n"),
        1);
    value.SetString("s", false);
    EXPECT_EQ(
        handler.Count("Expected NilType or StringType types in order to set a string value.\n"), 1);
    value.SetFloat(2.0f, false);
    EXPECT_EQ(handler.Count("Expected NilType or FloatType types in order to set a float value.\n"),
              1);
    EXPECT_EQ(Describe(value), "2f");

    // A setter over a container frees the whole tree (the sanitizer build checks for leaks).
    DynamicStructure tree = SmallTree();
    tree.SetString(std::string(100, 'z'), true);
    EXPECT_EQ(tree.Size(), 0u);
    EXPECT_EQ(tree.AsString(false), std::string(100, 'z'));
}

TEST(DynamicStructureArrays, PushKeepsEveryElementAndReportsMismatches)
{
    RecordingErrorHandler handler;
    DynamicStructure array;
    array.PushValue(Integer(1));
    array.PushValue(Text("two"));
    EXPECT_EQ(handler.Count(kMismatch), 1);
    array.PushValue(DynamicStructure());
    EXPECT_EQ(handler.Count(kNilPush), 1);
    EXPECT_EQ(handler.Count(kMismatch), 2);
    EXPECT_EQ(Describe(array), "[1,\"two\",nil]");

    // Pushing an array into itself stores a copy of it as it was.
    array.PushValue(array);
    EXPECT_EQ(Describe(array), "[1,\"two\",nil,[1,\"two\",nil]]");

    EXPECT_EQ(&array.GetValue(array.Size()), &kNilStructure);
    EXPECT_EQ(handler.Count("qmExternalError: Expected index to be in bounds of array size.\n"), 1);
    EXPECT_EQ(&Integer(3).GetValue(0), &kNilStructure);
    EXPECT_EQ(handler.Count("qmExternalError: Expected this MagicValue to be an ArrayType.\n"), 1);
}

TEST(DynamicStructureArrays, ReservingLeavesNilAndScalarsAsTheyAre)
{
    RecordingErrorHandler handler;
    DynamicStructure value;
    value.Reserve(8);
    EXPECT_TRUE(value.IsNil());
    EXPECT_EQ(value.Size(), 0u);
    EXPECT_EQ(Describe(DynamicStructure(value)), "nil");
    value.AddMember("k", Integer(1));
    EXPECT_EQ(Describe(value), "{\"k\":1}");
    DynamicStructure number = Integer(3);
    number.Reserve(4);
    EXPECT_EQ(Describe(number), "3");
    EXPECT_TRUE(handler.messages.empty());
}

TEST(DynamicStructureArrays, PushOntoAScalarReportsAndLeavesTheValueAlone)
{
    RecordingErrorHandler handler;
    DynamicStructure scalar = Integer(9);
    DynamicStructure& returned = scalar.PushValue(DynamicStructure());
    EXPECT_EQ(
        handler.messages,
        (std::vector<std::string>{
            "qmExternalError: Expected this DynamicStructure to be NilType or ArrayType.", kNilPush,
            "qmExternalError: Expected this DynamicStructure to be an ArrayType.\n"}));
    EXPECT_EQ(Describe(scalar), "9");

    // The returned value is a scratch value: writing to it touches neither the scalar nor the
    // shared Nil value.
    EXPECT_NE(&returned, &kNilStructure);
    EXPECT_TRUE(returned.IsNil());
    returned.SetInteger(4, true);
    EXPECT_TRUE(kNilStructure.IsNil());
    EXPECT_EQ(Describe(scalar), "9");

    DynamicStructure& member = scalar.AddMember("name", Integer(1));
    EXPECT_EQ(
        handler.Count(
            "qmExternalError: Expected this DynamicStructure to be NilType or StructureType."),
        1);
    EXPECT_NE(&member, &kNilStructure);
    EXPECT_TRUE(member.IsNil());
    EXPECT_EQ(Describe(scalar), "9");
}

TEST(DynamicStructureStructures, MembersAreOrderedByUnsignedBytesAndNeverReplaced)
{
    RecordingErrorHandler handler;
    DynamicStructure structure;
    for (const char* name : {"b", "\xC3\xA9", "ab", "a", "A", "", "\x7F"})
    {
        structure.AddMember(name, Text(name));
    }
    EXPECT_EQ(Describe(structure),
              "{\"\":\"\",\"A\":\"A\",\"a\":\"a\",\"ab\":\"ab\",\"b\":\"b\",\"\\x7f\":\"\\x7f\","
              "\"\\xc3\\xa9\":\"\\xc3\\xa9\"}");
    EXPECT_TRUE(handler.messages.empty());

    DynamicStructure& kept = structure.AddMember("ab", Integer(5));
    EXPECT_EQ(
        handler.Count(
            "qmExternalError: Expected not to find a member with name \"ab\" already existing."),
        1);
    EXPECT_EQ(Describe(kept), "\"ab\"");
    EXPECT_EQ(structure.Size(), 7u);

    EXPECT_EQ(&structure.GetMember("abc"), &kNilStructure);
    EXPECT_EQ(&structure.GetMember(static_cast<const char*>(nullptr)), &kNilStructure);
    EXPECT_EQ(Describe(structure.GetMember(std::string("\xC3\xA9"))), "\"\\xc3\\xa9\"");
    EXPECT_TRUE(handler.messages.size() == 1u);

    EXPECT_EQ(&Integer(1).GetMember("a"), &kNilStructure);
    EXPECT_EQ(handler.Count("Expected this MagicValue to be an StructureType or a NilType.\n"), 1);

    EXPECT_EQ(structure.GetMemberName(7), "");
    EXPECT_EQ(Integer(1).GetMemberName(0), "");
    EXPECT_EQ(handler.messages.size(), 4u);
}

TEST(DynamicStructureStructures, AddingAValueToItselfStoresACopy)
{
    DynamicStructure structure;
    structure.AddMember("x", Integer(1));
    structure.AddMember("self", structure);
    EXPECT_EQ(Describe(structure), "{\"self\":{\"x\":1},\"x\":1}");
    DynamicStructure moved = SmallTree();
    moved.AddMember("again", std::move(moved));
    EXPECT_EQ(Describe(moved),
              "{\"a\":1,\"again\":{\"a\":1,\"list\":[2,\"x\"]},\"list\":[2,\"x\"]}");
}

TEST(DynamicStructureCopies, CopiesAreDeepAndIndependent)
{
    RecordingErrorHandler handler;
    const DynamicStructure source = SmallTree();
    DynamicStructure copy = source;
    // A duplicate AddMember hands back the existing member, which can then be changed.
    copy.AddMember("a", DynamicStructure()).SetInteger(99, true);
    copy.AddMember("b", Text("new"));
    EXPECT_EQ(Describe(source), "{\"a\":1,\"list\":[2,\"x\"]}");
    EXPECT_EQ(Describe(copy), "{\"a\":99,\"b\":\"new\",\"list\":[2,\"x\"]}");

    // Assignment over a tree, from a part of the same tree, and to itself.
    DynamicStructure target = SmallTree();
    target = source.GetMember("list");
    EXPECT_EQ(Describe(target), "[2,\"x\"]");
    DynamicStructure nested = SmallTree();
    nested = nested.GetMember("list");
    EXPECT_EQ(Describe(nested), "[2,\"x\"]");
    DynamicStructure& alias = nested;
    nested = alias;
    EXPECT_EQ(Describe(nested), "[2,\"x\"]");

    DynamicStructure moved = std::move(copy);
    EXPECT_TRUE(copy.IsNil());
    EXPECT_EQ(moved.Size(), 3u);
}

TEST(DynamicStructureDepth, VeryDeepTreesAreCopiedAndDestroyedWithoutRecursion)
{
    constexpr int kDepth = 100000;
    DynamicStructure deep;
    deep.SetInteger(7, true);
    for (int level = 0; level < kDepth; ++level)
    {
        DynamicStructure outer;
        if (level % 2 == 0)
        {
            outer.PushValue(std::move(deep));
        }
        else
        {
            outer.AddMember("inner", std::move(deep));
        }
        deep = std::move(outer);
    }

    DynamicStructure copy(deep);
    const DynamicStructure* walker = &copy;
    for (int level = kDepth - 1; level >= 0; --level)
    {
        ASSERT_EQ(walker->Size(), 1u);
        walker = level % 2 == 0 ? &walker->GetValue(0) : &walker->GetMember("inner");
    }
    EXPECT_EQ(Describe(*walker), "7");

    // Assignment releases the old deep tree, and the setter releases the copy.
    DynamicStructure another = SmallTree();
    another = copy;
    copy.SetInteger(1, true);
    EXPECT_EQ(another.Size(), 1u);
}
