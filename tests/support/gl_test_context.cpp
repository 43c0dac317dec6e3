// SPDX-License-Identifier: Zlib
// SDL2 window and context creation for display tests, and the colour buffer read back from it.
// The context asks for 32-bit colour, a 16-bit depth buffer and 8 stencil bits, double-buffered.
#include "support/gl_test_context.h"

#include <GL/gl.h>
#ifndef _WIN32
#include <SDL.h>
#include <dlfcn.h>
#include <link.h>
#endif

#include <algorithm>
#include <ostream>

namespace QuillmarkTest
{

#ifndef _WIN32  // on Windows: gl_test_context_wgl.cpp
namespace
{

// Closing the window unloads the OpenGL driver, whose unfreed blocks the leak checker would then
// blame on an unknown module no suppression reaches: one more reference keeps each library.
int KeepLoaded(dl_phdr_info* info, std::size_t /*size*/, void* /*data*/)
{
    if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

}  // namespace

GlTestContext::GlTestContext()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        mError = SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    for (const SDL_GLattr size : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE,
                                  SDL_GL_ALPHA_SIZE, SDL_GL_STENCIL_SIZE})
        SDL_GL_SetAttribute(size, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    mWindow = SDL_CreateWindow("Quillmark test", 50, 50, 1280, 720,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    mContext = mWindow != nullptr ? SDL_GL_CreateContext(mWindow) : nullptr;
    if (mContext == nullptr || SDL_GL_MakeCurrent(mWindow, mContext) != 0)
    {
        mError = SDL_GetError();
        return;
    }
    dl_iterate_phdr(KeepLoaded, nullptr);
}

GlTestContext::~GlTestContext()
{
    if (mContext != nullptr)
    {
        SDL_GL_MakeCurrent(mWindow, nullptr);
        SDL_GL_DeleteContext(mContext);
    }
    if (mWindow != nullptr)
        SDL_DestroyWindow(mWindow);
    SDL_Quit();
}

#endif

void ClearFrame()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool Rgba::operator==(const Rgba& other) const
{
    return red == other.red && green == other.green && blue == other.blue && alpha == other.alpha;
}

std::ostream& operator<<(std::ostream& stream, const Rgba& pixel)
{
    return stream << "(" << int(pixel.red) << ", " << int(pixel.green) << ", " << int(pixel.blue)
                  << ", " << int(pixel.alpha) << ")";
}

PixelImage PixelImage::ReadFramebuffer()
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    PixelImage image;
    image.mWidth = viewport[2];
    image.mHeight = viewport[3];
    const std::size_t rowBytes = std::size_t(image.mWidth) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * image.mHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(viewport[0], viewport[1], image.mWidth, image.mHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                 bottomUp.data());
    for (int row = image.mHeight - 1; row >= 0; --row)
        image.mRgba.insert(image.mRgba.end(), bottomUp.begin() + row * rowBytes,
                           bottomUp.begin() + (row + 1) * rowBytes);
    return image;
}

Rgba PixelImage::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return Rgba();
    const std::size_t at = (std::size_t(y) * mWidth + x) * 4;
    return Rgba{mRgba[at], mRgba[at + 1], mRgba[at + 2], mRgba[at + 3]};
}

}  // namespace QuillmarkTest
