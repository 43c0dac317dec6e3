// A frame of the game loop in a real OpenGL context leaves every piece of drawing state as it found
// it: matrix stacks, attribute stack, matrix mode and switches. Otherwise each frame would start
// from what the last one left, or overflow a stack after a few dozen frames.
#include "quill_mark/game/implementation/qmi_drawing_2d.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "support/gl_test_context.h"

TEST(Drawing2D, AFrameLeavesTheDrawingStateAsItFoundIt)
{
    QuillmarkTest::GlTestContext context;
    if (!context.IsValid())
        GTEST_SKIP() << "no OpenGL context: " << context.Error();
    glEnable(GL_LIGHTING);  // the frame turns it off while it draws
    const auto integer = [](GLenum name)
    {
        GLint value = -1;
        glGetIntegerv(name, &value);
        return value;
    };
    const std::vector<std::pair<std::string, std::function<GLint()>>> state = {
        {"modelview stack", [&] { return integer(GL_MODELVIEW_STACK_DEPTH); }},
        {"projection stack", [&] { return integer(GL_PROJECTION_STACK_DEPTH); }},
        {"attribute stack", [&] { return integer(GL_ATTRIB_STACK_DEPTH); }},
        {"matrix mode", [&] { return integer(GL_MATRIX_MODE); }},
        {"lighting", [] { return GLint(glIsEnabled(GL_LIGHTING)); }},
        {"texturing", [] { return GLint(glIsEnabled(GL_TEXTURE_2D)); }},
        {"depth test", [] { return GLint(glIsEnabled(GL_DEPTH_TEST)); }},
        {"blending", [] { return GLint(glIsEnabled(GL_BLEND)); }},
        {"alpha test", [] { return GLint(glIsEnabled(GL_ALPHA_TEST)); }}};
    std::vector<GLint> before;
    for (const auto& [name, read] : state)
        before.push_back(read());
    for (int frame = 0; frame < 2; ++frame)
        qmImplementation::theGameApplicationHandler.StepScene(0.016f);
    for (std::size_t i = 0; i < state.size(); ++i)
        EXPECT_EQ(state[i].second(), before[i]) << state[i].first;
}
