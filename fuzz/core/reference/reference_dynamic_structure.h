// SPDX-License-Identifier: Zlib
// The framework's variant value: Nil, integer, float, boolean, string, array or structure of
// named values. Data-file loaders walk it; it is strict about kinds and reports misuse through the
// error checks, then carries on with a defined result. No comparison or serialisation of trees.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace QuillmarkReference
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

// Copies are deep; copying and destroying walk the tree without recursion, so values nested
// arbitrarily deep are safe. References returned by PushValue and AddMember (and by GetValue and
// GetMember) stay valid until the next PushValue or AddMember on the same container.
class DynamicStructure
{
public:
    // constexpr so that kNilStructure is constant-initialised and usable during static start-up.
    constexpr DynamicStructure() noexcept : mValueType(NilType), mReservedCapacity(0) {}
    DynamicStructure(const DynamicStructure& other);
    DynamicStructure(DynamicStructure&& other) noexcept;
    DynamicStructure& operator=(const DynamicStructure& other);
    DynamicStructure& operator=(DynamicStructure&& other) noexcept;
    ~DynamicStructure();

    // Grouped otherwise than the live header: containers, then scalars, then the kind.
    DynamicStructure& AddMember(const std::string& name, const DynamicStructure& value);
    DynamicStructure& AddMember(std::string&& name, DynamicStructure&& value);
    const DynamicStructure& GetMember(const std::string& name) const;
    const DynamicStructure& GetMember(const char* name) const;
    // The name at a position of the members' ascending byte order; reports and gives "" when this
    // is not a structure or the index is out of range.
    const std::string& GetMemberName(std::uint32_t index) const;
    // On a scalar or string value both report, leave the value as it is and hand back a writable
    // scratch Nil value that belongs to no tree (never kNilStructure).
    DynamicStructure& PushValue(const DynamicStructure& value);
    DynamicStructure& PushValue(DynamicStructure&& value);
    const DynamicStructure& GetValue(std::uint32_t index) const;
    std::uint32_t Size() const;
    // Capacity for the first container a Nil value becomes; no effect on scalars.
    void Reserve(std::uint32_t capacity);

    void SetString(const std::string& value, bool implicitTypeChange);
    void SetString(std::string&& value, bool implicitTypeChange);
    void SetInteger(std::int32_t value, bool implicitTypeChange);
    void SetFloat(float value, bool implicitTypeChange);
    void SetBoolean(bool value, bool implicitTypeChange);
    std::string AsString(bool implicitConversion) const;
    std::string ToString() const;
    std::int32_t AsInteger(bool implicitConversion) const;
    std::int32_t AsIntegerOr(std::int32_t defaultValue) const;
    float AsFloatOr(float defaultValue) const;
    bool AsBooleanOr(bool defaultValue) const;

    ValueType GetValueType() const { return mValueType; }
    bool IsNil() const { return mValueType == NilType; }
    bool IsString() const { return mValueType == StringType; }
    bool IsArray() const { return mValueType == ArrayType; }
    bool IsStructure() const { return mValueType == StructureType; }

private:
    struct Member;
    using ElementList = std::vector<DynamicStructure>;
    using MemberTable = std::vector<Member>;

    const DynamicStructure& FindMember(std::string_view name) const;
    void ReleasePayload() noexcept;
    void ReleaseTree() noexcept;
    void ReleaseContainer(int recursionLeft, std::vector<DynamicStructure>& pending) noexcept;
    void TakePayloadFrom(DynamicStructure& other) noexcept;
    void CopyScalarFrom(const DynamicStructure& other) noexcept;
    void CopyTreeFrom(const DynamicStructure& source);
    void CopyNodeFrom(const DynamicStructure& source,
                      std::vector<std::pair<const DynamicStructure*, DynamicStructure*>>& pending);
    void BecomeEmptyArray();
    void BecomeEmptyStructure();

    ValueType mValueType;
    // Only the member of mValueType is alive; the payload lives in place, so a value is one
    // allocation-free object and its containers' buffers are the only allocations.
    union
    {
        std::uint32_t mReservedCapacity;  // the payload of Nil
        std::int32_t mInteger;
        float mFloat;
        bool mBoolean;
        std::string mString;
        ElementList mElements;
        MemberTable mMembers;
    };
};

// The shared Nil value handed out by failed lookups and failed loads. Never modified.
extern const DynamicStructure kNilStructure;

}  // namespace QuillmarkReference
