// SPDX-License-Identifier: Zlib
// OpenGL's attribute stack, which Emscripten's emulation of fixed-function OpenGL leaves out:
// glPushAttrib and glPopAttrib for the three groups the framework's 2D drawing saves and
// restores (enables, colour buffer, depth buffer), read back through the queries the emulation
// answers. Other groups are not saved.
#include <GL/gl.h>

#include <vector>

namespace
{

// The switches the framework or the emulation knows; GL_TEXTURE_2D and the others WebGL does not
// know are answered by the emulation.
constexpr GLenum kCapabilities[] = {GL_LIGHTING,   GL_TEXTURE_2D, GL_DEPTH_TEST,   GL_BLEND,
                                    GL_ALPHA_TEST, GL_CULL_FACE,  GL_SCISSOR_TEST, GL_FOG};
constexpr GLenum kBlendDestinationRgb = 0x80C8;
constexpr GLenum kBlendSourceRgb = 0x80C9;
constexpr std::size_t kCapabilityCount = sizeof(kCapabilities) / sizeof(kCapabilities[0]);

struct SavedAttributes
{
    GLbitfield groups = 0;
    GLboolean enabled[kCapabilityCount] = {};
    GLint blendSource = GL_ONE;
    GLint blendDestination = GL_ZERO;
    GLint alphaFunction = GL_ALWAYS;
    GLfloat alphaReference = 0.0f;
    GLfloat clearColor[4] = {};
    GLboolean colorMask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    GLint depthFunction = GL_LESS;
    GLboolean depthMask = GL_TRUE;
};

std::vector<SavedAttributes>& Stack()
{
    static std::vector<SavedAttributes> stack;
    return stack;
}

void SetEnabled(GLenum capability, GLboolean enabled)
{
    if (enabled != GL_FALSE)
    {
        glEnable(capability);
    }
    else
    {
        glDisable(capability);
    }
}

}  // namespace

extern "C" void glPushAttrib(GLbitfield groups)
{
    SavedAttributes saved;
    saved.groups = groups;
    for (std::size_t index = 0; index < kCapabilityCount; ++index)
    {
        saved.enabled[index] = glIsEnabled(kCapabilities[index]);
    }
    // WebGL knows the blend factors by their colour-channel names only.
    glGetIntegerv(kBlendSourceRgb, &saved.blendSource);
    glGetIntegerv(kBlendDestinationRgb, &saved.blendDestination);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &saved.alphaFunction);
    glGetFloatv(GL_ALPHA_TEST_REF, &saved.alphaReference);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, saved.clearColor);
    glGetBooleanv(GL_COLOR_WRITEMASK, saved.colorMask);
    glGetIntegerv(GL_DEPTH_FUNC, &saved.depthFunction);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &saved.depthMask);
    Stack().push_back(saved);
}

extern "C" void glPopAttrib()
{
    std::vector<SavedAttributes>& stack = Stack();
    if (stack.empty())
    {
        return;
    }
    const SavedAttributes saved = stack.back();
    stack.pop_back();
    if ((saved.groups & (GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) != 0)
    {
        for (std::size_t index = 0; index < kCapabilityCount; ++index)
        {
            SetEnabled(kCapabilities[index], saved.enabled[index]);
        }
    }
    if ((saved.groups & GL_COLOR_BUFFER_BIT) != 0)
    {
        glBlendFunc(static_cast<GLenum>(saved.blendSource),
                    static_cast<GLenum>(saved.blendDestination));
        glAlphaFunc(static_cast<GLenum>(saved.alphaFunction), saved.alphaReference);
        glClearColor(saved.clearColor[0], saved.clearColor[1], saved.clearColor[2],
                     saved.clearColor[3]);
        glColorMask(saved.colorMask[0], saved.colorMask[1], saved.colorMask[2], saved.colorMask[3]);
    }
    if ((saved.groups & GL_DEPTH_BUFFER_BIT) != 0)
    {
        glDepthFunc(static_cast<GLenum>(saved.depthFunction));
        glDepthMask(saved.depthMask);
    }
}
