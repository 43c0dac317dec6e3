// SPDX-License-Identifier: Zlib
// The variant value's operations, its reports and fallbacks. Copy and destruction work through an
// explicit list of pending nodes instead of recursion, so depth never threatens the stack.
// Parsing and loading of JSON live in qm_json_parser.
#include "reference/reference_dynamic_structure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <sstream>
#include <utility>

#include "quill_mark/core/qm_error.h"

namespace QuillmarkReference
{

struct DynamicStructure::Member
{
    Member(std::string&& memberName, DynamicStructure&& memberValue)
        : name(std::move(memberName)), value(std::move(memberValue))
    {
    }
    explicit Member(const std::string& memberName) : name(memberName) {}

    std::string name;
    DynamicStructure value;
};

const DynamicStructure kNilStructure;

namespace
{

// std::char_traits<char> compares as unsigned char, which is the byte order the member table
// promises (and a name sorts before every longer name that starts with it). Names mostly differ
// in their first byte, which is compared here without a call.
bool IsNameBefore(std::string_view first, std::string_view second)
{
    if (!first.empty() && !second.empty() && first[0] != second[0])
    {
        return static_cast<unsigned char>(first[0]) < static_cast<unsigned char>(second[0]);
    }
    return first.compare(second) < 0;
}

bool IsContainer(ValueType type)
{
    return type == ArrayType || type == StructureType;
}

// How many levels a release recurses before it queues deeper containers instead.
constexpr int kReleaseRecursionLimit = 32;

// Truncation toward zero, saturated at the 32-bit limits: a float beyond them (or NaN, which
// gives 0) has no integer value, and a plain cast would be undefined there.
std::int32_t TruncateToInteger(float value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    if (value >= 2147483648.0f)
    {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < -2147483648.0f)
    {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

// What PushValue and AddMember hand back when this value is a scalar or a string: the value is
// left as it was (its payload is no container and is never used as one), and the caller gets a
// writable Nil scratch value that belongs to no tree. It is reset on every such call, and it is
// never kNilStructure, which must stay untouched.
DynamicStructure& DiscardedValue()
{
    static DynamicStructure scratch;
    scratch = DynamicStructure();
    return scratch;
}

const std::string kNoName;

}  // namespace

DynamicStructure::DynamicStructure(const DynamicStructure& other) : DynamicStructure()
{
    CopyTreeFrom(other);
}

DynamicStructure::DynamicStructure(DynamicStructure&& other) noexcept : DynamicStructure()
{
    TakePayloadFrom(other);
}

DynamicStructure& DynamicStructure::operator=(const DynamicStructure& other)
{
    DynamicStructure copy(other);
    return *this = std::move(copy);
}

DynamicStructure& DynamicStructure::operator=(DynamicStructure&& other) noexcept
{
    if (this != &other)
    {
        // other may live inside this tree; lift it out before this payload is released.
        DynamicStructure lifted(std::move(other));
        ReleasePayload();
        TakePayloadFrom(lifted);
    }
    return *this;
}

DynamicStructure::~DynamicStructure()
{
    ReleasePayload();
}

// This value must be Nil.
void DynamicStructure::TakePayloadFrom(DynamicStructure& other) noexcept
{
    switch (other.mValueType)
    {
        case StringType:
            new (&mString) std::string(std::move(other.mString));
            break;
        case ArrayType:
            new (&mElements) ElementList(std::move(other.mElements));
            break;
        case StructureType:
            new (&mMembers) MemberTable(std::move(other.mMembers));
            break;
        default:
            CopyScalarFrom(other);
            break;
    }
    // The moved-from container is empty, so releasing it recurses no further.
    mValueType = other.mValueType;
    other.ReleasePayload();
}

// Only the member that is alive is read: a boolean read from an integer's bytes is not a bool.
void DynamicStructure::CopyScalarFrom(const DynamicStructure& other) noexcept
{
    switch (other.mValueType)
    {
        case IntegerType:
            mInteger = other.mInteger;
            break;
        case FloatType:
            mFloat = other.mFloat;
            break;
        case BooleanType:
            mBoolean = other.mBoolean;
            break;
        default:
            mReservedCapacity = 0;
            break;
    }
}

void DynamicStructure::ReleasePayload() noexcept
{
    switch (mValueType)
    {
        case StringType:
            mString.~basic_string();
            break;
        case ArrayType:
        case StructureType:
            ReleaseTree();
            break;
        default:
            break;
    }
    mValueType = NilType;
    mReservedCapacity = 0;
}

// Containers are taken apart depth first, recursing only a bounded number of levels: deeper
// containers are moved onto a pending list and taken apart from there, so the stack stays small
// however deep the tree is, while the usual shallow data file costs no list at all.
void DynamicStructure::ReleaseTree() noexcept
{
    std::vector<DynamicStructure> pending;
    ReleaseContainer(kReleaseRecursionLimit, pending);
    while (!pending.empty())
    {
        DynamicStructure node(std::move(pending.back()));
        pending.pop_back();
        node.ReleaseContainer(kReleaseRecursionLimit, pending);
    }
}

// Frees this container, whose container children are taken apart first (or queued), and leaves
// this value Nil. Does nothing to other kinds.
void DynamicStructure::ReleaseContainer(int recursionLeft,
                                        std::vector<DynamicStructure>& pending) noexcept
{
    const auto releaseChild = [recursionLeft, &pending](DynamicStructure& child)
    {
        if (!IsContainer(child.mValueType))
        {
            return;
        }
        if (recursionLeft > 0)
        {
            child.ReleaseContainer(recursionLeft - 1, pending);
        }
        else
        {
            pending.push_back(std::move(child));
        }
    };
    if (mValueType == ArrayType)
    {
        for (DynamicStructure& element : mElements)
        {
            releaseChild(element);
        }
        mElements.~ElementList();
    }
    else if (mValueType == StructureType)
    {
        for (Member& member : mMembers)
        {
            releaseChild(member.value);
        }
        mMembers.~MemberTable();
    }
    else
    {
        return;
    }
    mValueType = NilType;
    mReservedCapacity = 0;
}

// Breadth by pending list: each node is copied shallowly, its container children are created
// empty in place and queued. The destination containers are sized before any child is queued,
// so the queued addresses stay valid.
void DynamicStructure::CopyTreeFrom(const DynamicStructure& source)
{
    std::vector<std::pair<const DynamicStructure*, DynamicStructure*>> pending;
    CopyNodeFrom(source, pending);
    while (!pending.empty())
    {
        const auto [from, to] = pending.back();
        pending.pop_back();
        to->CopyNodeFrom(*from, pending);
    }
}

// This value must be Nil.
void DynamicStructure::CopyNodeFrom(
    const DynamicStructure& source,
    std::vector<std::pair<const DynamicStructure*, DynamicStructure*>>& pending)
{
    switch (source.mValueType)
    {
        case NilType:
        case IntegerType:
        case FloatType:
        case BooleanType:
            CopyScalarFrom(source);
            break;
        case StringType:
            new (&mString) std::string(source.mString);
            break;
        case ArrayType:
            new (&mElements) ElementList(source.mElements.size());
            mValueType = ArrayType;
            for (std::size_t index = 0; index < source.mElements.size(); ++index)
            {
                const DynamicStructure& element = source.mElements[index];
                if (IsContainer(element.mValueType))
                {
                    pending.emplace_back(&element, &mElements[index]);
                }
                else
                {
                    mElements[index].CopyNodeFrom(element, pending);
                }
            }
            break;
        case StructureType:
            new (&mMembers) MemberTable();
            mValueType = StructureType;
            mMembers.reserve(source.mMembers.size());
            for (const Member& member : source.mMembers)
            {
                mMembers.emplace_back(member.name);
                if (IsContainer(member.value.mValueType))
                {
                    pending.emplace_back(&member.value, &mMembers.back().value);
                }
                else
                {
                    mMembers.back().value.CopyNodeFrom(member.value, pending);
                }
            }
            break;
        default:
            qmTriggerError("qmInternalError: Unexpected value for mValueType.");
            break;
    }
    mValueType = source.mValueType;
}

std::int32_t DynamicStructure::AsInteger(bool implicitConversion) const
{
    if (mValueType == IntegerType)
    {
        return mInteger;
    }
    qmTriggerErrorIf(!implicitConversion,
                     "This is not an IntegerType, type-safety required without implicit "
                     "conversion.\n");
    switch (mValueType)
    {
        case FloatType:
            return TruncateToInteger(mFloat);
        case BooleanType:
            return mBoolean ? 1 : 0;
        case NilType:
            return 0;
        default:
            qmTriggerError("Cannot convert this type(%d) to an integer.\n",
                           static_cast<int>(mValueType));
            return 0;
    }
}

std::string DynamicStructure::AsString(bool implicitConversion) const
{
    if (mValueType == StringType)
    {
        return mString;
    }
    qmTriggerErrorIf(!implicitConversion,
                     "This is not an StringType, type-safety required without implicit "
                     "conversion.\n");
    return ToString();
}

std::string DynamicStructure::ToString() const
{
    switch (mValueType)
    {
        case NilType:
            return std::string();
        case IntegerType:
            return std::to_string(mInteger);
        case FloatType:
        {
            std::ostringstream stream;
            stream << mFloat;
            return stream.str();
        }
        case BooleanType:
            return mBoolean ? "true" : "false";
        case StringType:
            return mString;
        default:
            qmTriggerError("Cannot convert this type(%d) to a string.\n",
                           static_cast<int>(mValueType));
            return std::string();
    }
}

std::int32_t DynamicStructure::AsIntegerOr(std::int32_t defaultValue) const
{
    return mValueType == IntegerType ? mInteger : defaultValue;
}

float DynamicStructure::AsFloatOr(float defaultValue) const
{
    return mValueType == FloatType ? mFloat : defaultValue;
}

bool DynamicStructure::AsBooleanOr(bool defaultValue) const
{
    return mValueType == BooleanType ? mBoolean : defaultValue;
}

void DynamicStructure::SetInteger(std::int32_t value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != IntegerType,
                     "Expected NilType or IntegerType types in order to set a integer value.\n");
    ReleasePayload();
    mInteger = value;
    mValueType = IntegerType;
}

void DynamicStructure::SetFloat(float value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != FloatType,
                     "Expected NilType or FloatType types in order to set a float value.\n");
    ReleasePayload();
    mFloat = value;
    mValueType = FloatType;
}

void DynamicStructure::SetBoolean(bool value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != BooleanType,
                     "Expected NilType or BooleanType types in order to set a booelean value.\n");
    ReleasePayload();
    mBoolean = value;
    mValueType = BooleanType;
}

void DynamicStructure::SetString(const std::string& value, bool implicitTypeChange)
{
    // Copied before the payload goes, in case the text belongs to this value.
    SetString(std::string(value), implicitTypeChange);
}

void DynamicStructure::SetString(std::string&& value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != StringType,
                     "Expected NilType or StringType types in order to set a string value.\n");
    // No text of this value can be handed in here (none is reachable as a modifiable string), so
    // the payload may go before the text is moved in.
    ReleasePayload();
    new (&mString) std::string(std::move(value));
    mValueType = StringType;
}

void DynamicStructure::BecomeEmptyArray()
{
    const std::uint32_t capacity = mReservedCapacity;
    new (&mElements) ElementList();
    mValueType = ArrayType;
    mElements.reserve(capacity);
}

void DynamicStructure::BecomeEmptyStructure()
{
    const std::uint32_t capacity = mReservedCapacity;
    new (&mMembers) MemberTable();
    mValueType = StructureType;
    mMembers.reserve(capacity);
}

DynamicStructure& DynamicStructure::PushValue(const DynamicStructure& value)
{
    return PushValue(DynamicStructure(value));
}

DynamicStructure& DynamicStructure::PushValue(DynamicStructure&& value)
{
    if (&value == this)
    {
        return PushValue(static_cast<const DynamicStructure&>(value));
    }
    // The conditions are tested here rather than in qmTriggerErrorIf only because this runs once
    // per element of every loaded array; the reports are the same.
    if (mValueType != NilType && mValueType != ArrayType)
    {
        qmTriggerError(
            "qmExternalError: Expected this DynamicStructure to be NilType or ArrayType.");
    }
    if (value.IsNil())
    {
        qmTriggerError("Cannot push a Nil value into an array.\n");
    }
    if (mValueType == NilType)
    {
        BecomeEmptyArray();
    }
    else
    {
        if (mValueType != ArrayType)
        {
            qmTriggerError("qmExternalError: Expected this DynamicStructure to be an ArrayType.\n");
            return DiscardedValue();
        }
        if (!mElements.empty() && mElements.front().mValueType != value.mValueType)
        {
            qmTriggerError("ValueType does not match array value type.\n");
        }
    }
    // Lifted out first: value may be an element of this very array.
    DynamicStructure element(std::move(value));
    mElements.push_back(std::move(element));
    return mElements.back();
}

const DynamicStructure& DynamicStructure::GetValue(std::uint32_t index) const
{
    if (mValueType != ArrayType)
    {
        qmTriggerError("qmExternalError: Expected this MagicValue to be an ArrayType.\n");
        return kNilStructure;
    }
    if (index >= mElements.size())
    {
        qmTriggerError("qmExternalError: Expected index to be in bounds of array size.\n");
        return kNilStructure;
    }
    return mElements[index];
}

DynamicStructure& DynamicStructure::AddMember(const std::string& name,
                                              const DynamicStructure& value)
{
    return AddMember(std::string(name), DynamicStructure(value));
}

DynamicStructure& DynamicStructure::AddMember(std::string&& name, DynamicStructure&& value)
{
    if (&value == this)
    {
        return AddMember(std::move(name), DynamicStructure(value));
    }
    if (mValueType == NilType)
    {
        BecomeEmptyStructure();
    }
    else if (mValueType != StructureType)
    {
        qmTriggerError(
            "qmExternalError: Expected this DynamicStructure to be NilType or StructureType.");
        return DiscardedValue();
    }
    // Loaders add names in ascending order, so appending is checked first.
    MemberTable::iterator position = mMembers.end();
    if (!mMembers.empty() && !IsNameBefore(mMembers.back().name, name))
    {
        position = std::lower_bound(mMembers.begin(), mMembers.end(), name,
                                    [](const Member& member, const std::string& key)
                                    { return IsNameBefore(member.name, key); });
        if (position->name == name)
        {
            qmTriggerError(
                "qmExternalError: Expected not to find a member with name \"%s\" already "
                "existing.",
                name.c_str());
            return position->value;
        }
    }
    if (position == mMembers.end())
    {
        return mMembers.emplace_back(std::move(name), std::move(value)).value;
    }
    return mMembers.emplace(position, std::move(name), std::move(value))->value;
}

const DynamicStructure& DynamicStructure::GetMember(const std::string& name) const
{
    return FindMember(name);
}

const DynamicStructure& DynamicStructure::GetMember(const char* name) const
{
    // A null name matches no member (not even the empty name) rather than crashing the lookup;
    // the kind is still checked as for any name.
    const DynamicStructure& found = FindMember(name != nullptr ? name : "");
    return name != nullptr ? found : kNilStructure;
}

const DynamicStructure& DynamicStructure::FindMember(std::string_view name) const
{
    if (mValueType == NilType)
    {
        return kNilStructure;
    }
    if (mValueType != StructureType)
    {
        qmTriggerError("Expected this MagicValue to be an StructureType or a NilType.\n");
        return kNilStructure;
    }
    const auto position = std::lower_bound(mMembers.begin(), mMembers.end(), name,
                                           [](const Member& member, std::string_view key)
                                           { return IsNameBefore(member.name, key); });
    if (position == mMembers.end() || position->name != name)
    {
        return kNilStructure;
    }
    return position->value;
}

const std::string& DynamicStructure::GetMemberName(std::uint32_t index) const
{
    if (mValueType != StructureType)
    {
        qmTriggerError("qmExternalError: Expected this DynamicStructure to be a StructureType.\n");
        return kNoName;
    }
    if (index >= mMembers.size())
    {
        qmTriggerError("qmExternalError: Expected index to be in bounds of structure size.\n");
        return kNoName;
    }
    return mMembers[index].name;
}

std::uint32_t DynamicStructure::Size() const
{
    switch (mValueType)
    {
        case ArrayType:
            return static_cast<std::uint32_t>(mElements.size());
        case StructureType:
            return static_cast<std::uint32_t>(mMembers.size());
        default:
            return 0;
    }
}

void DynamicStructure::Reserve(std::uint32_t capacity)
{
    if (mValueType == NilType)
    {
        mReservedCapacity = capacity;
    }
    else if (mValueType == ArrayType)
    {
        mElements.reserve(capacity);
    }
    else if (mValueType == StructureType)
    {
        mMembers.reserve(capacity);
    }
}

}  // namespace QuillmarkReference
