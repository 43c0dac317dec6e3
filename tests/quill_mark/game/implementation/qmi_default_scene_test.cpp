// The default scene in a real OpenGL context: with no scene made current, the first frame shows
// the built-in logo centred (blended, alpha-tested), and later frames reuse the logo it made.
#include "quill_mark/game/implementation/qmi_default_scene.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdlib>

#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "support/gl_test_context.h"

using QuillmarkTest::PixelImage;

TEST(DefaultScene, ShowsTheLogoCentredFromTheFirstFrameAndMakesItOnce)
{
    QuillmarkTest::GlTestContext context;
    if (!context.IsValid())
    {
        GTEST_SKIP() << "no OpenGL context: " << context.Error();
    }
    ASSERT_EQ(qmImplementation::theDefaultScene.GetLogo(), nullptr);
    qmImplementation::theGameApplicationHandler.StepScene(0.016f);
    const PixelImage window = PixelImage::ReadFramebuffer();
    ASSERT_EQ(window.Width(), 1280);
    ASSERT_EQ(window.Height(), 720);

    int size = 0, height = 0, channels = 0;
    unsigned char* logo = stbi_load_from_memory(qmImplementation::kLogoImage,
                                                static_cast<int>(qmImplementation::kLogoImageSize),
                                                &size, &height, &channels, 4);
    ASSERT_NE(logo, nullptr);
    int mismatches = 0;
    for (int y = 0; y < 720; ++y)
    {
        for (int x = 0; x < 1280; ++x)
        {
            // Over the black clear colour: texels at or below alpha 0.1 are cut, others blended.
            const int u = x - (640 - size / 2), v = y - (360 - height / 2);
            const bool inside = u >= 0 && v >= 0 && u < size && v < height;
            const unsigned char* t = inside ? logo + (v * size + u) * 4 : nullptr;
            const bool drawn = inside && t[3] > 0.1 * 255.0;
            const auto expect = [&](int c, int actual)
            { return std::abs((drawn ? t[c] * t[3] / 255.0 : 0) - actual) < 3.5; };
            const auto p = window.At(x, y);
            if (!(expect(0, p.red) && expect(1, p.green) && expect(2, p.blue)) && ++mismatches <= 5)
            {
                ADD_FAILURE() << "at (" << x << ", " << y << "): " << p;
            }
        }
    }
    stbi_image_free(logo);
    EXPECT_EQ(mismatches, 0);

    // Later frames draw the same sprite on the same texture: nothing is made again.
    const Quillmark::Graphics::Sprite* first = qmImplementation::theDefaultScene.GetLogo();
    ASSERT_NE(first, nullptr);
    const Quillmark::Graphics::TextureHandle texture = first->GetFrame().texture;
    qmImplementation::theGameApplicationHandler.StepScene(0.016f);
    EXPECT_EQ(qmImplementation::theDefaultScene.GetLogo(), first);
    EXPECT_EQ(first->GetFrame().texture, texture);
    EXPECT_EQ(PixelImage::ReadFramebuffer().At(640, 360), window.At(640, 360));
}
