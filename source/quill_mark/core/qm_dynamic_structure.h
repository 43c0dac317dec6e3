// SPDX-License-Identifier: Zlib
// The framework's variant value: Nil, integer, float, boolean, string, array or structure of
// named values. Data-file loaders walk it; it is strict about kinds and reports misuse through the
// error checks, then carries on with a defined result. No comparison or serialisation of trees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qmImplementation
{
class ValueArena;
}  // namespace qmImplementation

namespace Quillmark::Core
{

// The numbers appear in messages, so they are fixed.
enum ValueType : std::int32_t
{
    NilType = 0,
    IntegerType = 1,
    FloatType = 2,
    BooleanType = 3,
    StringType = 4,
    ArrayType = 5,
    StructureType = 6
};

// Copies are deep; copying and releasing never recurse, so values nested arbitrarily deep are
// safe. A value that holds a string, an array or a structure keeps all of it in one arena that
// the value owns: a tree costs a few block allocations, and releasing it frees the blocks without
// visiting the values. Values inside a container belong to the container's arena; replacing one
// of them leaves its old payload in the arena until the outermost value is released or replaced.
// References returned by PushValue, AddMember, GetValue and GetMember stay valid until the next
// PushValue or AddMember on the same container, or until the outermost value is released or
// replaced; a name from GetMemberName stays valid until the latter. A value moved into a container
// may be copied into the container's arena, so references into it do not follow it there.
class DynamicStructure
{
public:
    // constexpr so that kNilStructure is constant-initialised and usable during static start-up.
    constexpr DynamicStructure() noexcept : mValueType(NilType), mCount(0), mPayload{0}, mArena(0)
    {
    }
    DynamicStructure(const DynamicStructure& other);
    // Moving a value out of a container copies it, since its payload belongs to the container's
    // arena; the container's value is then Nil, as after any move. Such a copy that runs out of
    // memory ends the program, as moves must not throw.
    DynamicStructure(DynamicStructure&& other) noexcept;
    DynamicStructure& operator=(const DynamicStructure& other);
    DynamicStructure& operator=(DynamicStructure&& other) noexcept;
    ~DynamicStructure();

    bool IsNil() const { return mValueType == NilType; }
    bool IsString() const { return mValueType == StringType; }
    bool IsArray() const { return mValueType == ArrayType; }
    bool IsStructure() const { return mValueType == StructureType; }
    ValueType GetValueType() const { return mValueType; }

    std::int32_t AsInteger(bool implicitConversion) const;
    std::string AsString(bool implicitConversion) const;
    std::string ToString() const;
    std::int32_t AsIntegerOr(std::int32_t defaultValue) const;
    float AsFloatOr(float defaultValue) const;
    bool AsBooleanOr(bool defaultValue) const;

    void SetInteger(std::int32_t value, bool implicitTypeChange);
    void SetFloat(float value, bool implicitTypeChange);
    void SetBoolean(bool value, bool implicitTypeChange);
    void SetString(const std::string& value, bool implicitTypeChange);
    void SetString(std::string&& value, bool implicitTypeChange);

    // The value is copied (or moved) in; containers never share elements with the caller. On a
    // scalar or string value both report, leave the value as it is and hand back a writable
    // scratch Nil value that belongs to no tree (never kNilStructure).
    DynamicStructure& PushValue(const DynamicStructure& value);
    DynamicStructure& PushValue(DynamicStructure&& value);
    const DynamicStructure& GetValue(std::uint32_t index) const;

    DynamicStructure& AddMember(const std::string& name, const DynamicStructure& value);
    DynamicStructure& AddMember(std::string&& name, DynamicStructure&& value);
    // Members are kept in ascending byte order of their names and found by binary search.
    const DynamicStructure& GetMember(const std::string& name) const;
    const DynamicStructure& GetMember(const char* name) const;
    // Gives the name at a position of that order, so tools can enumerate a structure. Reports and
    // gives "" when this is not a structure or the index is out of range.
    const std::string& GetMemberName(std::uint32_t index) const;

    std::uint32_t Size() const;
    // Makes room for this many elements or members, so a loader that knows the count appends
    // without regrowing. A Nil value stays Nil in every respect; it only keeps the capacity for
    // the array or structure its first PushValue or AddMember makes of it. No effect on scalars.
    void Reserve(std::uint32_t capacity);

    class Builder;

private:
    struct Member;
    using Arena = qmImplementation::ValueArena;

    // Only the member of mValueType is alive. Strings are not zero-terminated; their length, and
    // the number of elements or members, is mCount (for Nil, the reserved capacity).
    union Payload
    {
        std::int32_t integer;
        float real;
        bool boolean;
        const char* text;
        DynamicStructure* elements;
        Member* members;
    };

    bool HasPayload() const
    {
        return mValueType == StringType || mValueType == ArrayType || mValueType == StructureType;
    }
    bool OwnsArena() const { return (mArena & kOwnedArena) != 0; }
    // A value inside a container: it uses the container's arena and owns nothing.
    bool IsInContainer() const { return mArena != 0 && !OwnsArena(); }
    Arena* GetArena() const { return reinterpret_cast<Arena*>(mArena & ~kOwnedArena); }
    Arena& ProvideArena();

    const DynamicStructure& FindMember(std::string_view name) const;
    void ReleasePayload() noexcept;
    void MoveFrom(DynamicStructure& other);
    void TakeOwnedFrom(DynamicStructure& other) noexcept;
    void CopyScalarFrom(const DynamicStructure& other) noexcept;
    static void CopyTree(const DynamicStructure& source, DynamicStructure& target, Arena& arena);
    void CopyNodeFrom(const DynamicStructure& source, Arena& arena,
                      std::vector<std::pair<const DynamicStructure*, DynamicStructure*>>& pending);
    void PlaceInContainer(DynamicStructure&& value, Arena& arena);
    void SetText(std::string_view text);
    std::uint32_t Capacity() const;
    void GrowTable(std::uint32_t capacity);
    static DynamicStructure* AllocateElements(Arena& arena, std::uint32_t capacity);
    static Member* AllocateMembers(Arena& arena, std::uint32_t capacity);

    static constexpr std::uintptr_t kOwnedArena = 1;

    ValueType mValueType;
    std::uint32_t mCount;
    Payload mPayload;
    // The arena of the payload, with kOwnedArena set when this value owns it; 0 for a value that
    // has never held a payload and sits in no container.
    std::uintptr_t mArena;
};

// A member refers to its name, which is never changed once made, so moving members around a
// table moves a pointer.
struct DynamicStructure::Member
{
    const std::string* name;
    DynamicStructure value;
};

// Builds one tree from its leaves up, with all of its payload in one arena, for a reader that
// knows what a container holds when it closes it: a few block allocations for the whole tree and
// no per-value checks. Nodes are plain data the reader may keep in its own buffers; they stay
// valid until the builder finishes or goes. Nothing here reports: an array may mix kinds and hold
// Nil elements, exactly as given, and the reader decides what deserves a report.
class DynamicStructure::Builder
{
public:
    class Node
    {
    public:
        ValueType GetValueType() const { return mValueType; }

    private:
        friend class Builder;
        ValueType mValueType = NilType;
        std::uint32_t mCount = 0;
        Payload mPayload{0};
    };
    // A member as met in the text; the name is copied into the tree.
    struct NamedNode
    {
        std::string_view name;
        Node value;
    };

    // expectedBytes sizes the first block of the arena.
    explicit Builder(std::size_t expectedBytes);
    ~Builder();
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    static Node Integer(std::int32_t value);
    static Node Float(float value);
    static Node Boolean(bool value);
    Node String(std::string_view text);
    // Room for a string of size bytes, which the caller writes before the node is used.
    Node String(std::uint32_t size, char*& text);
    Node Array(const Node* elements, std::uint32_t count);
    // Members in the order they were met: the structure keeps them in name order, and of members
    // with the same name only the one met last.
    Node Structure(const NamedNode* members, std::uint32_t count);
    // The tree whose root is root; the builder is spent and may only be destroyed afterwards.
    DynamicStructure Finish(const Node& root);
    // Gives the reports PushValue would give if every array in the tree were built by appending
    // its elements one by one, members in name order, each container's contents before it.
    static void ReportAsAppended(const DynamicStructure& tree);

private:
    // Data files repeat a few names many times; a tree keeps one copy of each it meets often.
    static constexpr std::size_t kNameSlots = 256;
    // A sequence of names met before, and which of its members are kept, in name order.
    struct Shape
    {
        std::vector<const std::string*> names;
        std::vector<std::uint32_t> kept;
    };
    static constexpr std::size_t kShapes = 16;

    const std::string* MakeName(std::string_view text);
    void OrderMembers(Shape& shape);

    Arena* mArena;
    const std::string* mNameSlots[kNameSlots] = {};
    Shape mShapes[kShapes];
    // The names of the structure being made, in the order met.
    std::vector<const std::string*> mNames;
};

// The shared Nil value handed out by failed lookups and failed loads. Never modified.
extern const DynamicStructure kNilStructure;

}  // namespace Quillmark::Core
