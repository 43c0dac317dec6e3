// SPDX-License-Identifier: Zlib
// The parse tree node: construction from each kind, the member table's order, and the checked
// readers. Kept free of parsing so the tree can be built and inspected on its own.
#include "reference/reference_json_value.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace qmReference
{

namespace
{

// Truncation toward zero, saturated at the 32-bit limits (a plain cast is undefined beyond them).
std::int32_t TruncateToInteger(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    if (value >= 2147483648.0)
    {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483649.0)
    {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

// std::char_traits<char> compares as unsigned char: ascending byte order of the names. Names
// mostly differ in their first byte, which is compared here without a call.
bool IsNameBefore(const std::string& first, const std::string& second)
{
    if (!first.empty() && !second.empty() && first[0] != second[0])
    {
        return static_cast<unsigned char>(first[0]) < static_cast<unsigned char>(second[0]);
    }
    return first.compare(second) < 0;
}

constexpr std::size_t kSmallObject = 24;

// Puts the positions in order into ascending name order; stable, so members with equal names stay
// in the order they were met. Objects are mostly small: insertion sort needs no scratch buffer.
void SortPositions(const JsonValue::Member* members, std::uint32_t* order, std::size_t count)
{
    const auto before = [members](std::uint32_t left, std::uint32_t right)
    { return IsNameBefore(members[left].first, members[right].first); };
    if (count > kSmallObject)
    {
        std::stable_sort(order, order + count, before);
        return;
    }
    for (std::size_t index = 1; index < count; ++index)
    {
        const std::uint32_t moving = order[index];
        std::size_t target = index;
        while (target > 0 && before(moving, order[target - 1]))
        {
            order[target] = order[target - 1];
            --target;
        }
        order[target] = moving;
    }
}

}  // namespace

JsonValue JsonValue::FromString(std::string text)
{
    JsonValue value;
    value.mValueType = StringVal;
    value.mOwned = std::move(text);
    return value;
}

JsonValue JsonValue::FromInteger(std::int32_t number)
{
    JsonValue value;
    value.mValueType = IntVal;
    value.mInteger = number;
    value.mFloat = static_cast<float>(number);
    value.mDouble = number;
    return value;
}

JsonValue JsonValue::FromFloat(float number)
{
    JsonValue value;
    value.mValueType = FloatVal;
    value.mInteger = TruncateToInteger(number);
    value.mFloat = number;
    value.mDouble = number;
    return value;
}

JsonValue JsonValue::FromDouble(double number)
{
    JsonValue value;
    value.mValueType = DoubleVal;
    value.mInteger = TruncateToInteger(number);
    value.mFloat = static_cast<float>(number);
    value.mDouble = number;
    return value;
}

JsonValue JsonValue::FromBoolean(bool flag)
{
    JsonValue value;
    value.mValueType = BoolVal;
    value.mBoolean = flag;
    return value;
}

JsonValue JsonValue::FromMembers(MemberTable members)
{
    return FromMembers(members.data(), members.data() + members.size());
}

// Of a run of equal names, the last in sorted order is the one met last, which wins.
JsonValue JsonValue::FromMembers(Member* first, Member* last)
{
    const std::size_t count = static_cast<std::size_t>(last - first);
    std::uint32_t smallOrder[kSmallObject];
    std::vector<std::uint32_t> largeOrder(count > kSmallObject ? count : 0);
    std::uint32_t* const order = count > kSmallObject ? largeOrder.data() : smallOrder;
    for (std::size_t index = 0; index < count; ++index)
    {
        order[index] = static_cast<std::uint32_t>(index);
    }
    SortPositions(first, order, count);
    MemberTable table;
    table.reserve(count);
    for (std::size_t index = 0; index < count; ++index)
    {
        const bool lastOfRun =
            index + 1 == count || first[order[index + 1]].first != first[order[index]].first;
        if (lastOfRun)
        {
            table.push_back(std::move(first[order[index]]));
        }
    }
    JsonValue value;
    value.mValueType = ObjectVal;
    value.mOwned = std::move(table);
    return value;
}
JsonValue JsonValue::FromElements(ElementList elements)
{
    JsonValue value;
    value.mValueType = ArrayVal;
    value.mOwned = std::move(elements);
    return value;
}

bool JsonValue::IsNumeric() const
{
    return mValueType == IntVal || mValueType == FloatVal || mValueType == DoubleVal;
}

void JsonValue::Require(bool allowed, const char* exceptionText) const
{
    if (!allowed)
    {
        throw std::runtime_error(exceptionText);
    }
}

std::int32_t JsonValue::GetInteger() const
{
    Require(IsNumeric(), "json mValueType==IsNumeric() required");
    return mInteger;
}

float JsonValue::GetFloat() const
{
    Require(IsNumeric(), "json mValueType==IsNumeric() required");
    return mFloat;
}

double JsonValue::GetDouble() const
{
    Require(IsNumeric(), "json mValueType==IsNumeric() required");
    return mDouble;
}

bool JsonValue::GetBoolean() const
{
    Require(mValueType == BoolVal, "json mValueType==BoolVal required");
    return mBoolean;
}

const std::string& JsonValue::GetString() const
{
    Require(mValueType == StringVal, "json mValueType==StringVal required");
    return std::get<std::string>(mOwned);
}

JsonValue::MemberTable JsonValue::GetMembers() const
{
    Require(mValueType == ObjectVal, "json mValueType==ObjectVal required");
    return std::get<MemberTable>(mOwned);
}

JsonValue::ElementList JsonValue::GetElements() const
{
    Require(mValueType == ArrayVal, "json mValueType==ArrayVal required");
    return std::get<ElementList>(mOwned);
}

std::string JsonValue::TakeString()
{
    Require(mValueType == StringVal, "json mValueType==StringVal required");
    return std::move(std::get<std::string>(mOwned));
}

JsonValue::MemberTable JsonValue::TakeMembers()
{
    Require(mValueType == ObjectVal, "json mValueType==ObjectVal required");
    return std::move(std::get<MemberTable>(mOwned));
}

JsonValue::ElementList JsonValue::TakeElements()
{
    Require(mValueType == ArrayVal, "json mValueType==ArrayVal required");
    return std::move(std::get<ElementList>(mOwned));
}

}  // namespace qmReference
