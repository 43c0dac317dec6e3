// SPDX-License-Identifier: Zlib
// Game loop frames with no scene made current, in a real OpenGL context: the default scene shows
// its logo centred from the first frame, makes it once, and leaves the drawing state as found.
#include "quill_mark/game/implementation/qmi_default_scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "support/gl_test_context.h"

TEST(DefaultScene, ShowsItsLogoFromTheFirstFrameAndLeavesTheDrawingStateAsItFoundIt)
{
    QuillmarkTest::GlTestContext context;
    if (!context.IsValid())
        GTEST_SKIP() << "no OpenGL context: " << context.Error();
    glEnable(GL_LIGHTING);  // the frame turns it off while it draws
    const GLenum depths[] = {GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH,
                             GL_ATTRIB_STACK_DEPTH, GL_MATRIX_MODE};
    const GLenum switches[] = {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_BLEND, GL_ALPHA_TEST};
    const auto state = [&]
    {
        std::vector<GLint> values;
        for (const GLenum name : depths)
            glGetIntegerv(name, &values.emplace_back(-1));
        for (const GLenum name : switches)
            values.push_back(glIsEnabled(name));
        return values;
    };
    const std::vector<GLint> before = state();
    qmImplementation::theGameApplicationHandler.StepScene(0.016f);
    const QuillmarkTest::PixelImage first = QuillmarkTest::PixelImage::ReadFramebuffer();
    const Quillmark::Graphics::Sprite* logo = qmImplementation::theDefaultScene.GetLogo();
    qmImplementation::theGameApplicationHandler.StepScene(0.016f);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(qmImplementation::theDefaultScene.GetLogo(), logo);
    // The 256 x 256 logo in the middle of the black window, the same in both frames.
    EXPECT_FALSE(first.At(640, 360) == QuillmarkTest::Rgba{});
    EXPECT_EQ(first.At(640 - 129, 360), QuillmarkTest::Rgba{});
    EXPECT_EQ(first.At(640 + 128, 360), QuillmarkTest::Rgba{});
    EXPECT_EQ(QuillmarkTest::PixelImage::ReadFramebuffer().At(640, 360), first.At(640, 360));
}
