// SPDX-License-Identifier: Zlib
// Decoding UTF-8 text one character at a time, for laying out text. Malformed input never stops
// the walk: each byte that does not start a well-formed sequence stands for U+FFFD.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qmImplementation
{

constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

// The character starting at `at`, which moves past it. Overlong forms, surrogates, values above
// U+10FFFF and cut sequences give U+FFFD and move one byte on.
std::uint32_t NextCodepoint(const std::string& text, std::size_t& at);

}  // namespace qmImplementation
