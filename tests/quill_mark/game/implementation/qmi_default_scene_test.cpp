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
        GTEST_SKIP() << "no OpenGL context: " << context.Error();
    ASSERT_EQ(qmImplementation::theDefaultScene.GetLogo(), nullptr);
    qmImplementation::theGameApplicationHandler.StepScene(0.016f);
    const PixelImage window = PixelImage::ReadFramebuffer();
    int size = 0, channels = 0;
    unsigned char* logo = stbi_load_from_memory(qmImplementation::kLogoImage,
                                                static_cast<int>(qmImplementation::kLogoImageSize),
                                                &size, &size, &channels, 4);
    ASSERT_NE(logo, nullptr);
    int mismatches = 0;
    for (int y = 0; y < 720; ++y)
        for (int x = 0; x < 1280; ++x)
        {
            // Over the black clear colour: texels at or below alpha 0.1 are cut, others blended.
            const int u = x - (640 - size / 2), v = y - (360 - size / 2);
            const bool inside = u >= 0 && v >= 0 && u < size && v < size;
            const unsigned char* t = inside ? logo + (v * size + u) * 4 : nullptr;
            const bool drawn = inside && t[3] > 0.1 * 255.0;
            const QuillmarkTest::Rgba p = window.At(x, y);
            const int actual[] = {p.red, p.green, p.blue};
            for (int c = 0; c < 3; ++c)
                if (std::abs((drawn ? t[c] * t[3] / 255.0 : 0) - actual[c]) >= 3.5 &&
                    ++mismatches <= 5)
                    ADD_FAILURE() << "at (" << x << ", " << y << "): " << p;
        }
    stbi_image_free(logo);
    EXPECT_EQ(mismatches, 0);

    // Later frames draw the same sprite: nothing is made again.
    const Quillmark::Graphics::Sprite* first = qmImplementation::theDefaultScene.GetLogo();
    qmImplementation::theGameApplicationHandler.StepScene(0.016f);
    EXPECT_EQ(qmImplementation::theDefaultScene.GetLogo(), first);
    EXPECT_EQ(PixelImage::ReadFramebuffer().At(640, 360), window.At(640, 360));
}
