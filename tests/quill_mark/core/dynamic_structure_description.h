// SPDX-License-Identifier: Zlib
// Test support: scalar values made in one call, and a compact text form of a DynamicStructure so a
// whole expected tree fits in one string: nil, 12, 1.5f, true, "text" (bytes outside printable
// ASCII as \xNN), [a,b], {"n":v}.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

#include "quill_mark/core/qm_dynamic_structure.h"

namespace QuillmarkTest
{

template <typename T>
Quillmark::Core::DynamicStructure Make(T value)
{
    Quillmark::Core::DynamicStructure result;
    if constexpr (std::is_same_v<T, bool>)
        result.SetBoolean(value, false);
    else if constexpr (std::is_same_v<T, float>)
        result.SetFloat(value, false);
    else if constexpr (std::is_integral_v<T>)
        result.SetInteger(value, false);
    else
        result.SetString(value, false);
    return result;
}

inline std::string QuoteBytes(const std::string& text)
{
    std::string quoted = "\"";
    for (const char character : text)
    {
        const unsigned char byte = static_cast<unsigned char>(character);
        char escape[8] = {character, '\0'};
        if (byte < 0x20 || byte >= 0x7F || character == '"' || character == '\\')
            std::snprintf(escape, sizeof(escape), "\\x%02x", byte);
        quoted += escape;
    }
    return quoted + "\"";
}

// Recursive, so meant for the shallow values of tests.
inline std::string Describe(const Quillmark::Core::DynamicStructure& value)
{
    using namespace Quillmark::Core;
    const ValueType type = value.GetValueType();
    if (type != ArrayType && type != StructureType)
        return type == NilType      ? "nil"
               : type == FloatType  ? value.ToString() + "f"
               : type == StringType ? QuoteBytes(value.AsString(false))
                                    : value.ToString();
    std::string text = type == ArrayType ? "[" : "{";
    for (std::uint32_t index = 0; index < value.Size(); ++index)
    {
        text += index > 0 ? "," : "";
        text += type == ArrayType ? Describe(value.GetValue(index))
                                  : QuoteBytes(value.GetMemberName(index)) + ":" +
                                        Describe(value.GetMember(value.GetMemberName(index)));
    }
    return text + (type == ArrayType ? "]" : "}");
}

}  // namespace QuillmarkTest
