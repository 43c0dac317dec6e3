// SPDX-License-Identifier: Zlib
// Loading of JSON data files into a DynamicStructure. The accepted syntax is the framework's own
// (lenient in places, strict in others); text that does not parse gives Nil without a report.
// Only a file that cannot be read is reported.
#pragma once

#include <string>
#include <string_view>

#include "reference/reference_dynamic_structure.h"

namespace QuillmarkReference
{

// An object or an array at the top level; anything else, and containers nested deeper than 512
// levels, give Nil. Empty arrays and objects also give Nil.
DynamicStructure ParseJson(const std::string& jsonText);
DynamicStructure ParseJson(std::string_view jsonText);
DynamicStructure ParseJson(const char* jsonText);

}  // namespace QuillmarkReference
