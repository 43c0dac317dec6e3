// SPDX-License-Identifier: Zlib
// Test support standing in for the platform layer: an SDL2 1280 x 720 window with a current OpenGL
// compatibility context, a cleared frame, and a pixel reader with a top-left origin.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct SDL_Window;

namespace QuillmarkTest
{

class GlTestContext
{
public:
    GlTestContext();
    ~GlTestContext();
    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    // False when no display or no context could be had; Error() then says why.
    bool IsValid() const { return mContext != nullptr; }
    const std::string& Error() const { return mError; }

private:
    SDL_Window* mWindow = nullptr;
    void* mContext = nullptr;
    std::string mError;
};

// Clears colour (to 0, 0, 0, 0) and depth, as every frame starts.
void ClearFrame();

struct Rgba
{
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const Rgba& other) const;
};
std::ostream& operator<<(std::ostream& stream, const Rgba& pixel);

// The colour buffer read with glReadPixels, rows flipped so that (0, 0) is the top-left pixel.
class PixelImage
{
public:
    static PixelImage ReadFramebuffer();
    Rgba At(int x, int y) const;  // all zero outside the image
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

private:
    int mWidth = 0, mHeight = 0;
    std::vector<std::uint8_t> mRgba;
};

}  // namespace QuillmarkTest
