// SPDX-License-Identifier: Zlib
// The JSON text reader: turns one document into a JsonValue tree by the framework's own rules,
// which accept some malformed texts and refuse some well-formed ones (the data-file contract).
// It knows nothing of DynamicStructure; failures give the null value and never report.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "reference/reference_json_bracket_stack.h"
#include "reference/reference_json_value.h"

namespace qmReference
{

class JsonTextParser
{
public:
    // Containers nested deeper than this make the whole document null: the reader recurses once
    // per level, and a hostile file must not be able to exhaust the stack.
    static constexpr int kMaximumNesting = 512;

    JsonValue Parse(std::string_view text);

private:
    JsonValue ParseDocument(std::string_view text);
    JsonValue ParseObjectBody(std::string_view text);
    JsonValue ParseArrayBody(std::string_view text);
    JsonValue ParseNextElement(std::string_view& text, bool& error);
    // Consumes one value from the front of text and leaves the rest in it.
    JsonValue ParseValue(std::string_view& text, bool& error);
    JsonValue ParseScalarToken(std::string_view& text, bool& error);
    static bool ReadPlainInteger(std::string_view& text, JsonValue& number);
    JsonValue ReadScalarToken(bool decimalPointSeen, bool exponentSeen, bool& error) const;
    bool EnterContainer();

    JsonBracketStack mBrackets;
    // Containers whose bodies are being read right now.
    int mNesting = 0;
    bool mTooDeep = false;
    std::string mToken;
    // Members and elements of the containers being read, gathered here and moved into an exactly
    // sized table when a container is complete.
    JsonValue::MemberTable mPendingMembers;
    JsonValue::ElementList mPendingElements;
};

}  // namespace qmReference
