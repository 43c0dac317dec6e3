// SPDX-License-Identifier: Zlib
// PNG encoding for tests through stb_image_write, compiled privately into this file so test
// programs do not depend on which stb pieces the system library carries.
#include "support/png_writer.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <fstream>

namespace QuillmarkTest
{

std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint8_t> bytes;
    const auto append = [](void* context, void* data, int size)
    {
        const auto* first = static_cast<const std::uint8_t*>(data);
        static_cast<std::vector<std::uint8_t>*>(context)->insert(
            static_cast<std::vector<std::uint8_t>*>(context)->end(), first, first + size);
    };
    stbi_write_png_to_func(append, &bytes, width, height, channels, pixels.data(),
                           width * channels);
    return bytes;
}

bool WritePngFile(const std::string& path, int width, int height, int channels,
                  const std::vector<std::uint8_t>& pixels)
{
    const std::vector<std::uint8_t> bytes = EncodePng(width, height, channels, pixels);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return !bytes.empty() && static_cast<bool>(file);
}

std::vector<std::uint8_t> SolidRgba(int width, int height, std::uint32_t rgba)
{
    std::vector<std::uint8_t> pixels;
    for (int pixel = 0; pixel < width * height; ++pixel)
        for (int shift = 24; shift >= 0; shift -= 8)
            pixels.push_back(static_cast<std::uint8_t>(rgba >> shift));
    return pixels;
}

}  // namespace QuillmarkTest
