// SPDX-License-Identifier: Zlib
// One node of the JSON parse tree: the kind plus, side by side, every field a kind needs. The
// parser builds it and the loader turns it into a DynamicStructure; it never leaves a parse.
// Readers throw std::runtime_error when asked for a field the kind does not have.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace qmReference
{

class JsonValue
{
public:
    enum Kind : std::int32_t
    {
        NullVal = 0,
        StringVal = 1,
        IntVal = 2,
        FloatVal = 3,
        DoubleVal = 4,
        ObjectVal = 5,
        ArrayVal = 6,
        BoolVal = 7
    };
    using Member = std::pair<std::string, JsonValue>;
    using MemberTable = std::vector<Member>;
    using ElementList = std::vector<JsonValue>;

    JsonValue() = default;
    static JsonValue FromString(std::string text);
    // The three numeric fields are filled together from whichever number the value is made of.
    static JsonValue FromInteger(std::int32_t value);
    static JsonValue FromFloat(float value);
    static JsonValue FromDouble(double value);
    static JsonValue FromBoolean(bool value);
    // Members in the order they were met; the table is then put in ascending byte order of the
    // names, and of members with the same name only the last one met is kept.
    static JsonValue FromMembers(MemberTable members);
    // The same from a range of members that are moved out (each exactly once).
    static JsonValue FromMembers(Member* first, Member* last);
    static JsonValue FromElements(ElementList elements);

    Kind GetKind() const { return mValueType; }
    bool IsNull() const { return mValueType == NullVal; }
    bool IsNumeric() const;

    std::int32_t GetInteger() const;
    float GetFloat() const;
    double GetDouble() const;
    bool GetBoolean() const;
    const std::string& GetString() const;
    MemberTable GetMembers() const;
    ElementList GetElements() const;

    // The same checks as the readers, but the field is moved out: conversion consumes the tree.
    std::string TakeString();
    MemberTable TakeMembers();
    ElementList TakeElements();

private:
    void Require(bool allowed, const char* exceptionText) const;

    Kind mValueType = NullVal;
    std::int32_t mInteger = 0;
    float mFloat = 0.0f;
    double mDouble = 0.0;
    bool mBoolean = false;
    // The text, the member table and the element list share one place: no kind needs two of
    // them, and a node half the size makes the tree of a large file much cheaper to build.
    std::variant<std::monostate, std::string, MemberTable, ElementList> mOwned;
};

}  // namespace qmReference
