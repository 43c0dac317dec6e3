// SPDX-License-Identifier: Zlib
// The conversion of the parse tree into a DynamicStructure (file loading is not needed here). The
// conversion goes through the value's own PushValue and AddMember, so mixed arrays and empty nested
// containers produce the same reports as when a program builds the value by hand.
#include "reference/reference_json_parser.h"

#include <cstdio>

#include "quill_mark/core/qm_error.h"
#include "reference/reference_json_text_parser.h"
#include "reference/reference_json_value.h"

namespace QuillmarkReference
{

namespace
{

using qmReference::JsonValue;

// Consumes the tree. Depth is bounded by the reader's nesting limit, so recursion is safe here.
DynamicStructure ToDynamicStructure(JsonValue&& value)
{
    DynamicStructure result;
    switch (value.GetKind())
    {
        case JsonValue::StringVal:
            result.SetString(value.TakeString(), true);
            break;
        case JsonValue::IntVal:
            result.SetInteger(value.GetInteger(), true);
            break;
        case JsonValue::FloatVal:
        case JsonValue::DoubleVal:
            // The float field holds the double rounded to the nearest float.
            result.SetFloat(value.GetFloat(), true);
            break;
        case JsonValue::BoolVal:
            result.SetBoolean(value.GetBoolean(), true);
            break;
        case JsonValue::ObjectVal:
        {
            JsonValue::MemberTable members = value.TakeMembers();
            result.Reserve(static_cast<std::uint32_t>(members.size()));
            for (JsonValue::Member& member : members)
            {
                result.AddMember(std::move(member.first),
                                 ToDynamicStructure(std::move(member.second)));
            }
            break;
        }
        case JsonValue::ArrayVal:
        {
            JsonValue::ElementList elements = value.TakeElements();
            result.Reserve(static_cast<std::uint32_t>(elements.size()));
            for (JsonValue& element : elements)
            {
                result.PushValue(ToDynamicStructure(std::move(element)));
            }
            break;
        }
        default:
            break;
    }
    return result;
}

}  // namespace

DynamicStructure ParseJson(const std::string& jsonText)
{
    return ParseJson(std::string_view(jsonText));
}

DynamicStructure ParseJson(const char* jsonText)
{
    return ParseJson(jsonText != nullptr ? std::string_view(jsonText) : std::string_view());
}

DynamicStructure ParseJson(std::string_view jsonText)
{
    qmReference::JsonTextParser parser;
    return ToDynamicStructure(parser.Parse(jsonText));
}

}  // namespace QuillmarkReference
