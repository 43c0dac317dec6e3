// SPDX-License-Identifier: Zlib
// The variant value's operations, its reports and fallbacks, and its storage: every payload lives
// in an arena owned by the outermost value, so values inside containers own nothing and are never
// released one by one. Copies work through an explicit list of pending nodes instead of recursion.
// The Builder at the end makes whole trees for readers. Parsing and loading of JSON live in
// qm_json_parser.
#include "quill_mark/core/qm_dynamic_structure.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <sstream>
#include <utility>

#include "quill_mark/core/implementation/qmi_integer_conversion.h"
#include "quill_mark/core/implementation/qmi_member_order.h"
#include "quill_mark/core/implementation/qmi_value_arena.h"
#include "quill_mark/core/qm_error.h"

namespace Quillmark::Core
{

const DynamicStructure kNilStructure;

namespace
{

// Ascending order of bytes compared as unsigned values, a name before every longer name that
// starts with it. Names are short, so a plain loop beats a call to the library's comparison.
bool IsNameBefore(std::string_view first, std::string_view second)
{
    const std::size_t common = std::min(first.size(), second.size());
    for (std::size_t index = 0; index < common; ++index)
    {
        if (first[index] != second[index])
        {
            return static_cast<unsigned char>(first[index]) <
                   static_cast<unsigned char>(second[index]);
        }
    }
    return first.size() < second.size();
}

bool IsSameName(std::string_view first, std::string_view second)
{
    if (first.size() != second.size())
    {
        return false;
    }
    for (std::size_t index = 0; index < first.size(); ++index)
    {
        if (first[index] != second[index])
        {
            return false;
        }
    }
    return true;
}

bool IsContainer(ValueType type)
{
    return type == ArrayType || type == StructureType;
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

// A table's capacity is kept just before its first entry, so a value needs no field for it.
constexpr std::size_t kTableHeader = 8;

// A moved-in tree whose arena holds at least this much is adopted by the container's arena rather
// than copied into it; smaller ones are copied, so hand-built trees do not collect tiny arenas.
constexpr std::size_t kAdoptionThreshold = 4096;

std::uintptr_t ContainedIn(qmImplementation::ValueArena& arena)
{
    return reinterpret_cast<std::uintptr_t>(&arena);
}

template <typename Entry>
Entry* AllocateTable(qmImplementation::ValueArena& arena, std::uint32_t capacity)
{
    char* const memory =
        static_cast<char*>(arena.Allocate(kTableHeader + sizeof(Entry) * capacity));
    *reinterpret_cast<std::uint32_t*>(memory) = capacity;
    return reinterpret_cast<Entry*>(memory + kTableHeader);
}

std::uint32_t TableCapacity(const void* table)
{
    return *reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(table) - kTableHeader);
}

}  // namespace

DynamicStructure* DynamicStructure::AllocateElements(Arena& arena, std::uint32_t capacity)
{
    return AllocateTable<DynamicStructure>(arena, capacity);
}

DynamicStructure::Member* DynamicStructure::AllocateMembers(Arena& arena, std::uint32_t capacity)
{
    return AllocateTable<Member>(arena, capacity);
}

DynamicStructure::DynamicStructure(const DynamicStructure& other) : DynamicStructure()
{
    if (other.HasPayload())
    {
        CopyTree(other, *this, ProvideArena());
    }
    else
    {
        CopyScalarFrom(other);
    }
}

DynamicStructure::DynamicStructure(DynamicStructure&& other) noexcept : DynamicStructure()
{
    MoveFrom(other);
}

DynamicStructure& DynamicStructure::operator=(const DynamicStructure& other)
{
    DynamicStructure copy(other);
    return *this = std::move(copy);
}

DynamicStructure& DynamicStructure::operator=(DynamicStructure&& other) noexcept
{
    if (this == &other)
    {
        return *this;
    }
    // other may live inside this tree; lift it out before this payload is released.
    DynamicStructure lifted(std::move(other));
    if (IsInContainer())
    {
        Arena& arena = *GetArena();
        ReleasePayload();
        PlaceInContainer(std::move(lifted), arena);
        return *this;
    }
    if (OwnsArena())
    {
        Arena::Destroy(GetArena());
    }
    mValueType = NilType;
    mArena = 0;
    TakeOwnedFrom(lifted);
    return *this;
}

DynamicStructure::~DynamicStructure()
{
    if (OwnsArena())
    {
        Arena::Destroy(GetArena());
    }
}

DynamicStructure::Arena& DynamicStructure::ProvideArena()
{
    if (mArena == 0)
    {
        mArena = reinterpret_cast<std::uintptr_t>(Arena::Create(0)) | kOwnedArena;
    }
    return *GetArena();
}

// This value is Nil and in no container. A value in a container cannot give its payload away (it
// belongs to the container's arena), so it is copied and then left Nil.
void DynamicStructure::MoveFrom(DynamicStructure& other)
{
    if (!other.IsInContainer())
    {
        TakeOwnedFrom(other);
        return;
    }
    if (other.HasPayload())
    {
        CopyTree(other, *this, ProvideArena());
    }
    else
    {
        CopyScalarFrom(other);
    }
    other.ReleasePayload();
}

// This value is Nil and holds no arena; other is in no container and is left Nil without one.
void DynamicStructure::TakeOwnedFrom(DynamicStructure& other) noexcept
{
    if (other.HasPayload())
    {
        mValueType = other.mValueType;
        mCount = other.mCount;
        mPayload = other.mPayload;
    }
    else
    {
        CopyScalarFrom(other);
    }
    mArena = other.mArena;
    other.mValueType = NilType;
    other.mCount = 0;
    other.mPayload.text = nullptr;
    other.mArena = 0;
}

// Only the member that is alive is read: a boolean read from an integer's bytes is not a bool.
void DynamicStructure::CopyScalarFrom(const DynamicStructure& other) noexcept
{
    mCount = 0;
    switch (other.mValueType)
    {
        case IntegerType:
            mPayload.integer = other.mPayload.integer;
            break;
        case FloatType:
            mPayload.real = other.mPayload.real;
            break;
        case BooleanType:
            mPayload.boolean = other.mPayload.boolean;
            break;
        default:
            mPayload.text = nullptr;
            break;
    }
    mValueType = other.mValueType;
}

// A payload of a value in a container stays in the container's arena until the arena goes; an
// owned arena holds nothing but this payload, so it is emptied at once.
void DynamicStructure::ReleasePayload() noexcept
{
    if (OwnsArena() && HasPayload())
    {
        GetArena()->Reset();
    }
    mValueType = NilType;
    mCount = 0;
    mPayload.text = nullptr;
}

// This value is a Nil value in a container of arena. A large owned tree is adopted, arena and
// all; anything else is copied into the container's arena.
void DynamicStructure::PlaceInContainer(DynamicStructure&& value, Arena& arena)
{
    mArena = ContainedIn(arena);
    if (!value.HasPayload())
    {
        CopyScalarFrom(value);
        return;
    }
    if (value.OwnsArena() && value.GetArena()->UsedBytes() >= kAdoptionThreshold)
    {
        Arena* const adopted = value.GetArena();
        arena.Adopt(adopted);
        mValueType = value.mValueType;
        mCount = value.mCount;
        mPayload = value.mPayload;
        mArena = ContainedIn(*adopted);
        value.mValueType = NilType;
        value.mCount = 0;
        value.mPayload.text = nullptr;
        value.mArena = 0;
        return;
    }
    CopyTree(value, *this, arena);
}

// Breadth by pending list: each node is copied shallowly, its container children are created
// in place and queued. Tables are sized before any child is queued, so queued addresses stay valid.
void DynamicStructure::CopyTree(const DynamicStructure& source, DynamicStructure& target,
                                Arena& arena)
{
    std::vector<std::pair<const DynamicStructure*, DynamicStructure*>> pending;
    target.CopyNodeFrom(source, arena, pending);
    while (!pending.empty())
    {
        const auto [from, to] = pending.back();
        pending.pop_back();
        to->CopyNodeFrom(*from, arena, pending);
    }
}

// This value is Nil; its children are made in arena.
void DynamicStructure::CopyNodeFrom(
    const DynamicStructure& source, Arena& arena,
    std::vector<std::pair<const DynamicStructure*, DynamicStructure*>>& pending)
{
    const auto copyChild = [&arena, &pending](const DynamicStructure& from, DynamicStructure& to)
    {
        to.mArena = ContainedIn(arena);
        if (IsContainer(from.mValueType))
        {
            pending.emplace_back(&from, &to);
        }
        else
        {
            to.CopyNodeFrom(from, arena, pending);
        }
    };
    switch (source.mValueType)
    {
        case NilType:
        case IntegerType:
        case FloatType:
        case BooleanType:
            CopyScalarFrom(source);
            return;
        case StringType:
        {
            char* const text = static_cast<char*>(arena.Allocate(source.mCount));
            std::memcpy(text, source.mPayload.text, source.mCount);
            mPayload.text = text;
            break;
        }
        case ArrayType:
            mPayload.elements = AllocateElements(arena, source.mCount);
            for (std::uint32_t index = 0; index < source.mCount; ++index)
            {
                copyChild(source.mPayload.elements[index],
                          *new (&mPayload.elements[index]) DynamicStructure());
            }
            break;
        case StructureType:
            mPayload.members = AllocateMembers(arena, source.mCount);
            for (std::uint32_t index = 0; index < source.mCount; ++index)
            {
                const Member& from = source.mPayload.members[index];
                Member* const to =
                    new (&mPayload.members[index]) Member{arena.MakeName(*from.name), {}};
                copyChild(from.value, to->value);
            }
            break;
        default:
            qmTriggerError("qmInternalError: Unexpected value for mValueType.");
            mValueType = source.mValueType;
            return;
    }
    mCount = source.mCount;
    mValueType = source.mValueType;
}

std::int32_t DynamicStructure::AsInteger(bool implicitConversion) const
{
    if (mValueType == IntegerType)
    {
        return mPayload.integer;
    }
    qmTriggerErrorIf(!implicitConversion,
                     "This is not an IntegerType, type-safety required without implicit "
                     "conversion.\n");
    switch (mValueType)
    {
        case FloatType:
            return qmImplementation::TruncateToInteger(mPayload.real);
        case BooleanType:
            return mPayload.boolean ? 1 : 0;
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
        return std::string(mPayload.text, mCount);
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
            return std::to_string(mPayload.integer);
        case FloatType:
        {
            std::ostringstream stream;
            stream << mPayload.real;
            return stream.str();
        }
        case BooleanType:
            return mPayload.boolean ? "true" : "false";
        case StringType:
            return std::string(mPayload.text, mCount);
        default:
            qmTriggerError("Cannot convert this type(%d) to a string.\n",
                           static_cast<int>(mValueType));
            return std::string();
    }
}

std::int32_t DynamicStructure::AsIntegerOr(std::int32_t defaultValue) const
{
    return mValueType == IntegerType ? mPayload.integer : defaultValue;
}

float DynamicStructure::AsFloatOr(float defaultValue) const
{
    return mValueType == FloatType ? mPayload.real : defaultValue;
}

bool DynamicStructure::AsBooleanOr(bool defaultValue) const
{
    return mValueType == BooleanType ? mPayload.boolean : defaultValue;
}

void DynamicStructure::SetInteger(std::int32_t value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != IntegerType,
                     "Expected NilType or IntegerType types in order to set a integer value.\n");
    ReleasePayload();
    mPayload.integer = value;
    mValueType = IntegerType;
}

void DynamicStructure::SetFloat(float value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != FloatType,
                     "Expected NilType or FloatType types in order to set a float value.\n");
    ReleasePayload();
    mPayload.real = value;
    mValueType = FloatType;
}

void DynamicStructure::SetBoolean(bool value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != BooleanType,
                     "Expected NilType or BooleanType types in order to set a booelean value.\n");
    ReleasePayload();
    mPayload.boolean = value;
    mValueType = BooleanType;
}

void DynamicStructure::SetString(const std::string& value, bool implicitTypeChange)
{
    // Copied before the payload goes, in case the text belongs to this value (a member name).
    SetString(std::string(value), implicitTypeChange);
}

void DynamicStructure::SetString(std::string&& value, bool implicitTypeChange)
{
    qmTriggerErrorIf(!implicitTypeChange && mValueType != NilType && mValueType != StringType,
                     "Expected NilType or StringType types in order to set a string value.\n");
    ReleasePayload();
    SetText(value);
}

// This value is Nil.
void DynamicStructure::SetText(std::string_view text)
{
    char* const copy = static_cast<char*>(ProvideArena().Allocate(text.size()));
    std::memcpy(copy, text.data(), text.size());
    mPayload.text = copy;
    mCount = static_cast<std::uint32_t>(text.size());
    mValueType = StringType;
}

std::uint32_t DynamicStructure::Capacity() const
{
    return TableCapacity(mValueType == ArrayType ? static_cast<const void*>(mPayload.elements)
                                                 : static_cast<const void*>(mPayload.members));
}

// Values in a table own nothing, so a table moves by copying its values' fields; the old table
// stays in the arena.
void DynamicStructure::GrowTable(std::uint32_t capacity)
{
    Arena& arena = *GetArena();
    if (mValueType == ArrayType)
    {
        DynamicStructure* const elements = AllocateElements(arena, capacity);
        for (std::uint32_t index = 0; index < mCount; ++index)
        {
            DynamicStructure* const moved = new (&elements[index]) DynamicStructure();
            const DynamicStructure& old = mPayload.elements[index];
            moved->mValueType = old.mValueType;
            moved->mCount = old.mCount;
            moved->mPayload = old.mPayload;
            moved->mArena = old.mArena;
        }
        mPayload.elements = elements;
        return;
    }
    Member* const members = AllocateMembers(arena, capacity);
    for (std::uint32_t index = 0; index < mCount; ++index)
    {
        const Member& old = mPayload.members[index];
        Member* const moved = new (&members[index]) Member{old.name, {}};
        moved->value.mValueType = old.value.mValueType;
        moved->value.mCount = old.value.mCount;
        moved->value.mPayload = old.value.mPayload;
        moved->value.mArena = old.value.mArena;
    }
    mPayload.members = members;
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
        const std::uint32_t capacity = std::max<std::uint32_t>(mCount, 2);
        mPayload.elements = AllocateElements(ProvideArena(), capacity);
        mCount = 0;
        mValueType = ArrayType;
    }
    else
    {
        if (mValueType != ArrayType)
        {
            qmTriggerError("qmExternalError: Expected this DynamicStructure to be an ArrayType.\n");
            return DiscardedValue();
        }
        if (mCount > 0 && mPayload.elements[0].mValueType != value.mValueType)
        {
            qmTriggerError("ValueType does not match array value type.\n");
        }
    }
    // Lifted out first: value may be an element of this very array.
    DynamicStructure lifted(std::move(value));
    if (mCount == Capacity())
    {
        GrowTable(std::max<std::uint32_t>(mCount * 2, 2));
    }
    DynamicStructure* const element = new (&mPayload.elements[mCount]) DynamicStructure();
    element->PlaceInContainer(std::move(lifted), *GetArena());
    ++mCount;
    return *element;
}

const DynamicStructure& DynamicStructure::GetValue(std::uint32_t index) const
{
    if (mValueType != ArrayType)
    {
        qmTriggerError("qmExternalError: Expected this MagicValue to be an ArrayType.\n");
        return kNilStructure;
    }
    if (index >= mCount)
    {
        qmTriggerError("qmExternalError: Expected index to be in bounds of array size.\n");
        return kNilStructure;
    }
    return mPayload.elements[index];
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
        const std::uint32_t capacity = std::max<std::uint32_t>(mCount, 2);
        mPayload.members = AllocateMembers(ProvideArena(), capacity);
        mCount = 0;
        mValueType = StructureType;
    }
    else if (mValueType != StructureType)
    {
        qmTriggerError(
            "qmExternalError: Expected this DynamicStructure to be NilType or StructureType.");
        return DiscardedValue();
    }
    // Loaders add names in ascending order, so appending is checked first.
    Member* const begin = mPayload.members;
    Member* position = begin + mCount;
    if (mCount > 0 && !IsNameBefore(*begin[mCount - 1].name, name))
    {
        position = std::lower_bound(begin, begin + mCount, name,
                                    [](const Member& member, const std::string& key)
                                    { return IsNameBefore(*member.name, key); });
        if (*position->name == name)
        {
            qmTriggerError(
                "qmExternalError: Expected not to find a member with name \"%s\" already "
                "existing.",
                name.c_str());
            return position->value;
        }
    }
    const std::uint32_t index = static_cast<std::uint32_t>(position - begin);
    // Lifted out first: value may be a member of this very structure.
    DynamicStructure lifted(std::move(value));
    if (mCount == Capacity())
    {
        GrowTable(std::max<std::uint32_t>(mCount * 2, 2));
    }
    Member* const members = mPayload.members;
    Arena& arena = *GetArena();
    new (&members[mCount]) Member{nullptr, {}};
    for (std::uint32_t slot = mCount; slot > index; --slot)
    {
        members[slot].name = members[slot - 1].name;
        DynamicStructure& to = members[slot].value;
        const DynamicStructure& from = members[slot - 1].value;
        to.mValueType = from.mValueType;
        to.mCount = from.mCount;
        to.mPayload = from.mPayload;
        to.mArena = from.mArena;
    }
    Member& added = members[index];
    added.name = arena.MakeName(name);
    added.value.mValueType = NilType;
    added.value.mCount = 0;
    added.value.mPayload.text = nullptr;
    added.value.PlaceInContainer(std::move(lifted), arena);
    ++mCount;
    return added.value;
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
    const Member* const begin = mPayload.members;
    const Member* const end = begin + mCount;
    const Member* const position = std::lower_bound(begin, end, name,
                                                    [](const Member& member, std::string_view key)
                                                    { return IsNameBefore(*member.name, key); });
    if (position == end || *position->name != name)
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
    if (index >= mCount)
    {
        qmTriggerError("qmExternalError: Expected index to be in bounds of structure size.\n");
        return kNoName;
    }
    return *mPayload.members[index].name;
}

std::uint32_t DynamicStructure::Size() const
{
    return mValueType == ArrayType || mValueType == StructureType ? mCount : 0;
}

void DynamicStructure::Reserve(std::uint32_t capacity)
{
    if (mValueType == NilType)
    {
        mCount = capacity;
    }
    else if ((mValueType == ArrayType || mValueType == StructureType) && capacity > Capacity())
    {
        GrowTable(capacity);
    }
}

DynamicStructure::Builder::Builder(std::size_t expectedBytes) : mArena(Arena::Create(expectedBytes))
{
}

DynamicStructure::Builder::~Builder()
{
    Arena::Destroy(mArena);
}

DynamicStructure::Builder::Node DynamicStructure::Builder::Integer(std::int32_t value)
{
    Node node;
    node.mValueType = IntegerType;
    node.mPayload.integer = value;
    return node;
}

DynamicStructure::Builder::Node DynamicStructure::Builder::Float(float value)
{
    Node node;
    node.mValueType = FloatType;
    node.mPayload.real = value;
    return node;
}

DynamicStructure::Builder::Node DynamicStructure::Builder::Boolean(bool value)
{
    Node node;
    node.mValueType = BooleanType;
    node.mPayload.boolean = value;
    return node;
}

DynamicStructure::Builder::Node DynamicStructure::Builder::String(std::string_view text)
{
    char* copy = nullptr;
    const Node node = String(static_cast<std::uint32_t>(text.size()), copy);
    std::memcpy(copy, text.data(), text.size());
    return node;
}

DynamicStructure::Builder::Node DynamicStructure::Builder::String(std::uint32_t size, char*& text)
{
    text = static_cast<char*>(mArena->Allocate(size));
    Node node;
    node.mValueType = StringType;
    node.mCount = size;
    node.mPayload.text = text;
    return node;
}

// The tables carry their capacity like those PushValue and AddMember make, so a loaded tree can
// grow afterwards.
DynamicStructure::Builder::Node DynamicStructure::Builder::Array(const Node* elements,
                                                                 std::uint32_t count)
{
    DynamicStructure* const table = AllocateElements(*mArena, count);
    for (std::uint32_t index = 0; index < count; ++index)
    {
        DynamicStructure* const element = new (&table[index]) DynamicStructure();
        element->mValueType = elements[index].mValueType;
        element->mCount = elements[index].mCount;
        element->mPayload = elements[index].mPayload;
        element->mArena = ContainedIn(*mArena);
    }
    Node node;
    node.mValueType = ArrayType;
    node.mCount = count;
    node.mPayload.elements = table;
    return node;
}

// Objects in a data file mostly repeat the names of one of a few shapes in the same order; then
// the order found for that shape is taken again instead of sorting.
DynamicStructure::Builder::Node DynamicStructure::Builder::Structure(const NamedNode* members,
                                                                     std::uint32_t count)
{
    std::uint64_t hash = count;
    for (std::uint32_t index = 0; index < count; ++index)
    {
        const std::string_view name = members[index].name;
        const std::uint64_t key =
            name.empty()
                ? 0
                : name.size() |
                      static_cast<std::uint64_t>(static_cast<unsigned char>(name.front())) << 16 |
                      static_cast<std::uint64_t>(static_cast<unsigned char>(name.back())) << 24;
        hash = (hash ^ key) * 0x9E3779B97F4A7C15u;
    }
    Shape& shape = mShapes[(hash >> 32) % kShapes];
    bool sameNames = shape.names.size() == count;
    for (std::uint32_t index = 0; sameNames && index < count; ++index)
    {
        sameNames = IsSameName(*shape.names[index], members[index].name);
    }
    if (!sameNames)
    {
        mNames.resize(count);
        for (std::uint32_t index = 0; index < count; ++index)
        {
            mNames[index] = MakeName(members[index].name);
        }
        OrderMembers(shape);
    }
    const std::vector<std::uint32_t>& kept = shape.kept;
    const std::uint32_t size = static_cast<std::uint32_t>(kept.size());
    Member* const table = AllocateMembers(*mArena, size);
    for (std::uint32_t index = 0; index < size; ++index)
    {
        const NamedNode& member = members[kept[index]];
        Member* const placed = new (&table[index]) Member{shape.names[kept[index]], {}};
        placed->value.mValueType = member.value.mValueType;
        placed->value.mCount = member.value.mCount;
        placed->value.mPayload = member.value.mPayload;
        placed->value.mArena = ContainedIn(*mArena);
    }
    Node node;
    node.mValueType = StructureType;
    node.mCount = size;
    node.mPayload.members = table;
    return node;
}

// Positions of the members to keep, in name order: sorting is stable, so of a run of equal names
// the last is the one met last.
void DynamicStructure::Builder::OrderMembers(Shape& shape)
{
    const std::uint32_t count = static_cast<std::uint32_t>(mNames.size());
    std::vector<std::uint32_t> order(count);
    for (std::uint32_t index = 0; index < count; ++index)
    {
        order[index] = index;
    }
    const std::string* const* const names = mNames.data();
    qmImplementation::SortMemberOrder(order.data(), count,
                                      [names](std::uint32_t left, std::uint32_t right)
                                      { return IsNameBefore(*names[left], *names[right]); });
    shape.kept.clear();
    for (std::uint32_t index = 0; index < count; ++index)
    {
        if (index + 1 == count || !IsSameName(*names[order[index + 1]], *names[order[index]]))
        {
            shape.kept.push_back(order[index]);
        }
    }
    shape.names = mNames;
}

// Names never change once made, so members of one arena may share them.
const std::string* DynamicStructure::Builder::MakeName(std::string_view text)
{
    // Length and the first two, the middle and the last two bytes tell the names of a data file
    // apart well enough.
    const std::size_t size = text.size();
    const auto byte = [text](std::size_t index)
    { return static_cast<std::uint64_t>(static_cast<unsigned char>(text[index])); };
    const std::uint64_t key = size < 2
                                  ? (size == 1 ? byte(0) : 0)
                                  : size | byte(0) << 8 | byte(1) << 16 | byte(size / 2) << 24 |
                                        byte(size - 2) << 32 | byte(size - 1) << 40;
    const std::size_t slot = ((key * 0x9E3779B97F4A7C15u) >> 40) % kNameSlots;
    const std::string*& cached = mNameSlots[slot];
    if (cached == nullptr || !IsSameName(*cached, text))
    {
        cached = mArena->MakeName(text);
    }
    return cached;
}

DynamicStructure DynamicStructure::Builder::Finish(const Node& root)
{
    DynamicStructure result;
    result.mValueType = root.mValueType;
    result.mCount = root.mCount;
    result.mPayload = root.mPayload;
    if (result.HasPayload())
    {
        result.mArena = reinterpret_cast<std::uintptr_t>(mArena) | kOwnedArena;
        mArena = nullptr;
    }
    return result;
}

// Recursive: the reader bounds the nesting of what it builds.
void DynamicStructure::Builder::ReportAsAppended(const DynamicStructure& tree)
{
    if (tree.mValueType == StructureType)
    {
        for (std::uint32_t index = 0; index < tree.mCount; ++index)
        {
            ReportAsAppended(tree.mPayload.members[index].value);
        }
        return;
    }
    for (std::uint32_t index = 0; tree.mValueType == ArrayType && index < tree.mCount; ++index)
    {
        const DynamicStructure& element = tree.mPayload.elements[index];
        ReportAsAppended(element);
        if (element.IsNil())
        {
            qmTriggerError("Cannot push a Nil value into an array.\n");
        }
        if (index > 0 && element.mValueType != tree.mPayload.elements[0].mValueType)
        {
            qmTriggerError("ValueType does not match array value type.\n");
        }
    }
}

}  // namespace Quillmark::Core
