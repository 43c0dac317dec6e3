// SPDX-License-Identifier: Zlib
// Fixture for the display suites: an OpenGL context for textures (skipped without one), a private
// folder for the files the tests write, a report recorder, and frames as "x,y wxh" texts.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "quill_mark/game/implementation/qmi_drawing_2d.h"
#include "quill_mark/graphics/implementation/qmi_texture_reset.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_texture_manager.h"
#include "support/gl_test_context.h"
#include "support/png_writer.h"
#include "support/recording_error_handler.h"
#include "support/temporary_folder.h"

namespace QuillmarkTest
{

using Strings = std::vector<std::string>;

// Reports of a frame off its texture: from the frame maker, and from a grid's own walk.
constexpr char kOffTextureX[] =
    "qmExternalError: Expected frameX location to allow frame (width) to fit on texture.";
constexpr char kOffTextureY[] =
    "qmExternalError: Expected frameY location to allow frame (height) to fit on texture.";
constexpr char kOffGridX[] =
    "qmInternalError: Expected frameX to be on texture with enough space for frame.";
constexpr char kOffGridY[] =
    "qmInternalError: Expected frameY to be on texture with enough space for frame.";
constexpr char kCutToGrid[] =
    "qmExternalError: Expected parameter frameCount to be at most 65536; the sequence is cut to the 8 frames of the grid.";

class GraphicsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!mContext.IsValid())
            GTEST_SKIP() << "no OpenGL context: " << mContext.Error();
    }
    // Each test has a context of its own, so a texture shared by name (a font's atlas) must not
    // outlive the context it was made in.
    void TearDown() override
    {
        if (mContext.IsValid())
            qmImplementation::ReleaseAllTextures();
    }
    std::string WriteText(const std::string& name, const std::string& text)
    {
        return mTemporary.Write(name, text);
    }
    std::string WritePng(int width, int height, int channels = 4, std::vector<uint8_t> pixels = {})
    {
        const std::string path = mFolder + "/" + std::to_string(width) + "x" +
                                 std::to_string(height) + "_" + std::to_string(channels) + ".png";
        pixels.resize(std::size_t(width) * height * channels, 255);
        EXPECT_TRUE(WritePngFile(path, width, height, channels, pixels));
        return path;
    }
    // By default the 128 x 64 texture of 4 columns and 2 rows of 32 x 32 frames.
    Quillmark::Graphics::TextureHandle MakeTexture(int width = 128, int height = 64)
    {
        return Quillmark::Graphics::theTextureManager.CreateTextureFromFile(
            WritePng(width, height));
    }
    // The box around every drawn pixel (right and bottom exclusive); all zero when none was drawn.
    static std::array<int, 4> DrawnBox(const PixelImage& image)
    {
        std::array<int, 4> box{image.Width(), image.Height(), 0, 0};
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                if (!(image.At(x, y) == Rgba{}))
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1),
                           std::max(box[3], y + 1)};
        return box[2] == 0 ? std::array<int, 4>{} : box;
    }
    static std::string Rectangle(const Quillmark::Graphics::SpriteFrame& f)
    {
        return std::to_string(int(f.x)) + "," + std::to_string(int(f.y)) + " " +
               std::to_string(int(f.width)) + "x" + std::to_string(int(f.height));
    }
    static Strings Rectangles(const std::vector<Quillmark::Graphics::SpriteFrame>& frames)
    {
        Strings out;
        for (const auto& frame : frames)
            out.push_back(Rectangle(frame));
        return out;
    }

    GlTestContext mContext;
    RecordingErrorHandler errors;
    TemporaryFolder mTemporary;
    std::string mFolder = mTemporary.path.generic_string();
};

// The same in the game loop's 2D drawing state, with graphics drawn alone on a cleared frame.
class DrawingTest : public GraphicsTest
{
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        if (!IsSkipped())
            qmImplementation::BeginDrawing2D();
    }
    void TearDown() override
    {
        if (mContext.IsValid())
            qmImplementation::EndDrawing2D();
        GraphicsTest::TearDown();
    }
    static PixelImage DrawAlone(Quillmark::Graphics::Graphic& graphic)
    {
        ClearFrame();
        graphic.Render();
        return PixelImage::ReadFramebuffer();
    }
};

}  // namespace QuillmarkTest
