// The default scene in a real OpenGL context (an SDL2 window, needs an X display): with no scene
// made current, the loop's first frame already shows the built-in logo centred in the window,
// drawn with the loop's blending and alpha test, and later frames reuse the logo it made.
#include "quill_mark/game/implementation/qmi_default_scene.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "support/gl_test_context.h"

using QuillmarkTest::PixelImage;
using QuillmarkTest::Rgba;

namespace
{

constexpr int kLogoSize = 256;
constexpr int kLogoLeft = 640 - kLogoSize / 2;
constexpr int kLogoTop = 360 - kLogoSize / 2;
constexpr float kFrameTime = 0.016f;

struct DecodedImage
{
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, stbi_image_free};
};

DecodedImage DecodeBuiltInLogo()
{
    DecodedImage image;
    int channels = 0;
    image.pixels.reset(stbi_load_from_memory(qmImplementation::kLogoImage,
                                             static_cast<int>(qmImplementation::kLogoImageSize),
                                             &image.width, &image.height, &channels, 4));
    return image;
}

// What the window shows at a logo texel over the black clear colour: pixels at or below the
// alpha test's 0.1 are not drawn, the others are blended by their alpha.
Rgba Composited(const unsigned char* texel)
{
    if (texel[3] <= 0.1 * 255.0)
    {
        return Rgba{};
    }
    const auto blend = [texel](int channel)
    { return static_cast<std::uint8_t>(texel[channel] * texel[3] / 255.0 + 0.5); };
    return Rgba{blend(0), blend(1), blend(2), 0};
}

bool Near(const Rgba& actual, const Rgba& expected)
{
    const auto close = [](int a, int b) { return std::abs(a - b) <= 3; };
    return close(actual.red, expected.red) && close(actual.green, expected.green) &&
           close(actual.blue, expected.blue);
}

}  // namespace

TEST(BuiltInLogo, IsTheRepositoryPngBuiltIntoTheProgram)
{
    const char* sourceDirectory = std::getenv("QM_SOURCE_DIR");
    if (sourceDirectory == nullptr)
    {
        GTEST_SKIP() << "QM_SOURCE_DIR is not set";
    }
    std::ifstream file(
        std::string(sourceDirectory) + "/source/quill_mark/game/implementation/qmi_logo.png",
        std::ios::binary);
    ASSERT_TRUE(file.is_open());
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                           std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), qmImplementation::kLogoImageSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), qmImplementation::kLogoImage));

    const DecodedImage logo = DecodeBuiltInLogo();
    ASSERT_NE(logo.pixels, nullptr);
    EXPECT_EQ(logo.width, kLogoSize);
    EXPECT_EQ(logo.height, kLogoSize);
}

TEST(DefaultScene, ShowsTheLogoCentredFromTheFirstFrameAndMakesItOnce)
{
    QuillmarkTest::GlTestContext context;
    if (!context.IsValid())
    {
        GTEST_SKIP() << "no OpenGL context: " << context.Error();
    }
    qmImplementation::GameApplicationHandler& loop = qmImplementation::theGameApplicationHandler;
    ASSERT_EQ(qmImplementation::currentScene, nullptr);
    ASSERT_EQ(qmImplementation::theDefaultScene.GetLogo(), nullptr);

    loop.StepScene(kFrameTime);
    const PixelImage window = PixelImage::ReadFramebuffer();
    ASSERT_EQ(window.Width(), 1280);
    ASSERT_EQ(window.Height(), 720);
    const DecodedImage logo = DecodeBuiltInLogo();
    ASSERT_NE(logo.pixels, nullptr);

    int mismatches = 0;
    for (int y = 0; y < window.Height(); ++y)
    {
        for (int x = 0; x < window.Width(); ++x)
        {
            const int u = x - kLogoLeft;
            const int v = y - kLogoTop;
            const bool inLogo = u >= 0 && v >= 0 && u < kLogoSize && v < kLogoSize;
            const Rgba expected =
                inLogo ? Composited(logo.pixels.get() + (v * kLogoSize + u) * 4) : Rgba{};
            if (!Near(window.At(x, y), expected) && ++mismatches <= 5)
            {
                ADD_FAILURE() << "at (" << x << ", " << y << "): " << window.At(x, y)
                              << ", expected " << expected;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);

    // Later frames draw the same sprite on the same texture: nothing is made again.
    const Quillmark::Graphics::Sprite* firstLogo = qmImplementation::theDefaultScene.GetLogo();
    ASSERT_NE(firstLogo, nullptr);
    const Quillmark::Graphics::TextureHandle texture = firstLogo->GetFrame().texture;
    loop.StepScene(kFrameTime);
    loop.StepScene(kFrameTime);
    EXPECT_EQ(qmImplementation::theDefaultScene.GetLogo(), firstLogo);
    EXPECT_EQ(firstLogo->GetFrame().texture, texture);
    EXPECT_EQ(PixelImage::ReadFramebuffer().At(640, 360), window.At(640, 360));
}
