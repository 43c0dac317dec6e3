// The parse tree node: readers refuse the wrong kind with the documented exception texts, the
// numeric fields travel together, and the member table is ordered with the last duplicate kept.
#include "quill_mark/core/implementation/qmi_json_value.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

using qmImplementation::JsonValue;

namespace
{

template <typename Reader>
std::string ExceptionText(Reader reader)
{
    try
    {
        reader();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "no exception";
}

}  // namespace

TEST(JsonValue, ReadersRefuseOtherKinds)
{
    const JsonValue text = JsonValue::FromString("x");
    const JsonValue number = JsonValue::FromInteger(1);
    EXPECT_EQ(ExceptionText([&] { text.GetInteger(); }), "json mValueType==IsNumeric() required");
    EXPECT_EQ(ExceptionText([&] { text.GetDouble(); }), "json mValueType==IsNumeric() required");
    EXPECT_EQ(ExceptionText([&] { number.GetBoolean(); }), "json mValueType==BoolVal required");
    EXPECT_EQ(ExceptionText([&] { number.GetString(); }), "json mValueType==StringVal required");
    EXPECT_EQ(ExceptionText([&] { number.GetMembers(); }), "json mValueType==ObjectVal required");
    EXPECT_EQ(ExceptionText([&] { JsonValue().GetElements(); }),
              "json mValueType==ArrayVal required");
    JsonValue mutableText = JsonValue::FromString("y");
    EXPECT_EQ(ExceptionText([&] { mutableText.TakeElements(); }),
              "json mValueType==ArrayVal required");
    EXPECT_EQ(mutableText.TakeString(), "y");
}

TEST(JsonValue, NumericFieldsAreFilledTogether)
{
    const JsonValue fromInteger = JsonValue::FromInteger(-3);
    EXPECT_EQ(fromInteger.GetFloat(), -3.0f);
    EXPECT_EQ(fromInteger.GetDouble(), -3.0);
    const JsonValue fromDouble = JsonValue::FromDouble(-2.75);
    EXPECT_EQ(fromDouble.GetInteger(), -2);
    EXPECT_EQ(fromDouble.GetFloat(), -2.75f);
    // Beyond the integer range the integer field saturates instead of being undefined.
    EXPECT_EQ(JsonValue::FromDouble(1e300).GetInteger(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(JsonValue::FromDouble(-1e300).GetInteger(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(JsonValue::FromFloat(0.5f).GetKind(), JsonValue::FloatVal);
    EXPECT_TRUE(JsonValue::FromFloat(0.5f).IsNumeric());
}

TEST(JsonValue, MemberTableIsOrderedAndKeepsTheLastDuplicate)
{
    // Large enough for the table to take the general sort as well as the small one.
    for (const int count : {5, 200})
    {
        JsonValue::MemberTable members;
        for (int index = count - 1; index >= 0; --index)
        {
            members.emplace_back("n" + std::to_string(index), JsonValue::FromInteger(index));
            members.emplace_back("\xFF", JsonValue::FromInteger(index));
        }
        const JsonValue::MemberTable table = JsonValue::FromMembers(members).GetMembers();
        ASSERT_EQ(table.size(), static_cast<std::size_t>(count + 1));
        for (std::size_t index = 1; index < table.size(); ++index)
        {
            EXPECT_LT(table[index - 1].first, table[index].first);
        }
        EXPECT_EQ(table.back().first, "\xFF");
        EXPECT_EQ(table.back().second.GetInteger(), 0);
    }
}
