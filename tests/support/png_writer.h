// SPDX-License-Identifier: Zlib
// Test support: PNG files made by the tests themselves, so image loading is checked against
// pixels the test knows. Greyscale, grey + alpha, RGB and RGBA, 8 bits per channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace QuillmarkTest
{

// pixels: rows from the top down, `channels` bytes per pixel, no padding.
std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels);
bool WritePngFile(const std::string& path, int width, int height, int channels,
                  const std::vector<std::uint8_t>& pixels);
std::vector<std::uint8_t> SolidRgba(int width, int height, std::uint32_t rgba);

}  // namespace QuillmarkTest
