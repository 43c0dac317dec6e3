// SPDX-License-Identifier: Zlib
// The hash a recording keeps of a message box's caption and text: enough to tell, in a replay,
// that the game showed another message than it did when it was recorded, in eight characters.
#pragma once

#include <cstdint>

namespace qmImplementation::Session
{

// FNV-1a over the caption, a zero byte and the text; null strings count as empty.
inline std::uint32_t HashMessageBox(const char* caption, const char* text)
{
    std::uint32_t hash = 2166136261u;
    const auto add = [&hash](const char* characters)
    {
        for (const char* at = characters != nullptr ? characters : ""; *at != '\0'; ++at)
        {
            hash = (hash ^ static_cast<unsigned char>(*at)) * 16777619u;
        }
    };
    add(caption);
    hash = hash * 16777619u;
    add(text);
    return hash;
}

}  // namespace qmImplementation::Session
