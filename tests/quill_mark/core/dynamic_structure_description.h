// Test support: a compact text form of a DynamicStructure so a whole expected tree fits in one
// string: nil, 12, 1.5f, true, "text" (bytes outside printable ASCII as \xNN), [a,b], {"n":v}.
// Recursive, so meant for the shallow values of tests.
#pragma once

#include <cstdio>
#include <string>

#include "quill_mark/core/qm_dynamic_structure.h"

namespace QuillmarkTest
{

inline std::string QuoteBytes(const std::string& text)
{
    std::string quoted = "\"";
    for (const char character : text)
    {
        const unsigned char byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte >= 0x7F || character == '"' || character == '\\')
        {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\x%02x", byte);
            quoted += escape;
        }
        else
        {
            quoted += character;
        }
    }
    return quoted + "\"";
}

inline std::string Describe(const Quillmark::Core::DynamicStructure& value)
{
    using namespace Quillmark::Core;
    switch (value.GetValueType())
    {
        case NilType:
            return "nil";
        case IntegerType:
        case BooleanType:
            return value.ToString();
        case FloatType:
            return value.ToString() + "f";
        case StringType:
            return QuoteBytes(value.AsString(false));
        case ArrayType:
        {
            std::string text = "[";
            for (std::uint32_t index = 0; index < value.Size(); ++index)
            {
                text += (index > 0 ? "," : "") + Describe(value.GetValue(index));
            }
            return text + "]";
        }
        case StructureType:
        {
            std::string text = "{";
            for (std::uint32_t index = 0; index < value.Size(); ++index)
            {
                const std::string& name = value.GetMemberName(index);
                text += (index > 0 ? "," : "") + QuoteBytes(name) + ":" +
                        Describe(value.GetMember(name));
            }
            return text + "}";
        }
        default:
            return "invalid";
    }
}

}  // namespace QuillmarkTest
