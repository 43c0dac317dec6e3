// SPDX-License-Identifier: Zlib
// What ships beside the game's code: the version --version prints (QM_TEST_PROJECT_VERSION), and
// the icon the data script draws (QM_ICON_DIR): hicolor PNGs, and an .ico describing each PNG.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cinderpath2/version.h"
#include "support/temporary_folder.h"

namespace
{

using Rgba = std::array<int, 4>;

TEST(Cinderpath2Version, IsTheProjectVersion)
{
    EXPECT_EQ(std::string(Cinderpath2::GetVersion()), QM_TEST_PROJECT_VERSION);
}

std::string ReadFile(const std::string& name)
{
    return QuillmarkTest::ReadBytes(std::string(QM_ICON_DIR) + "/" + name);
}

struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    explicit Picture(const char* bytes, std::size_t size)
    {
        int channels = 0;
        unsigned char* decoded =
            stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes), int(size), &width,
                                  &height, &channels, 4);
        if (decoded != nullptr)
        {
            pixels.assign(decoded, decoded + width * height * 4);
            stbi_image_free(decoded);
        }
    }

    Rgba At(double x, double y) const
    {
        const int column = static_cast<int>(x * width);
        const int row = static_cast<int>(y * height);
        const unsigned char* pixel = &pixels[(row * width + column) * 4];
        return {pixel[0], pixel[1], pixel[2], pixel[3]};
    }
};

std::uint32_t Little(const std::string& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

TEST(Cinderpath2Icon, HicolorPngsShowTheGameAtTheSizeOfTheirFolder)
{
    for (int size : {48, 256})
    {
        SCOPED_TRACE("cinderpath2_" + std::to_string(size) + ".png");
        const std::string file = ReadFile("cinderpath2_" + std::to_string(size) + ".png");
        const Picture picture(file.data(), file.size());
        ASSERT_EQ(picture.width, size);
        ASSERT_EQ(picture.height, size);
        EXPECT_EQ(picture.At(0.40, 0.60), (Rgba{0x00, 0xAA, 0xFF, 255})) << "the azure disc";
        EXPECT_EQ(picture.At(0.78, 0.29), (Rgba{0xFF, 0xFF, 0xFF, 255})) << "a white circle";
        EXPECT_EQ(picture.At(0.20, 0.20), (Rgba{0x0B, 0x10, 0x1A, 255})) << "the backdrop";
        EXPECT_EQ(picture.At(0.0, 0.0)[3], 0) << "the corner is see-through";
    }
}

TEST(Cinderpath2Icon, TheIcoDirectoryDescribesEachPngItHolds)
{
    const std::string ico = ReadFile("cinderpath2.ico");
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Little(ico, 0, 2), 0u) << "reserved";
    EXPECT_EQ(Little(ico, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(Little(ico, 4, 2), 4u) << "images";
    const std::array<int, 4> sizes = {16, 32, 48, 256};
    for (std::size_t i = 0; i < sizes.size(); ++i)
    {
        SCOPED_TRACE("image " + std::to_string(i));
        const std::size_t entry = 6 + 16 * i;
        ASSERT_LE(entry + 16, ico.size());
        // A side of 256 is written as 0, the only way a byte can say it.
        const int width = std::uint8_t(ico[entry]), height = std::uint8_t(ico[entry + 1]);
        EXPECT_EQ(width == 0 ? 256 : width, sizes[i]);
        EXPECT_EQ(height == 0 ? 256 : height, sizes[i]);
        EXPECT_EQ(Little(ico, entry + 6, 2), 32u) << "bits per pixel";
        const std::uint32_t length = Little(ico, entry + 8, 4);
        const std::uint32_t offset = Little(ico, entry + 12, 4);
        ASSERT_LE(std::size_t{offset} + length, ico.size());
        const Picture picture(ico.data() + offset, length);
        EXPECT_EQ(picture.width, sizes[i]);
        EXPECT_EQ(picture.height, sizes[i]);
    }
}

}  // namespace
