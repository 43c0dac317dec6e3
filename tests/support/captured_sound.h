// SPDX-License-Identifier: Zlib
// Test support: the mono 16-bit samples OpenAL Soft's wave backend wrote, read to the end of the
// file, since the data size in it is set only when the device closes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/temporary_folder.h"

namespace QuillmarkTest
{

inline std::vector<std::int16_t> ReadCapturedSamples(const std::string& path)
{
    const std::string bytes = ReadBytes(path);
    std::vector<std::int16_t> samples;
    for (std::size_t at = std::min(bytes.find("data", 12), bytes.size()) + 8; at + 1 < bytes.size();
         at += 2)
    {
        std::int16_t sample = 0;
        std::memcpy(&sample, bytes.data() + at, 2);
        samples.push_back(sample);
    }
    return samples;
}

}  // namespace QuillmarkTest
