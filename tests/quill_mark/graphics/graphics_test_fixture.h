// Fixture for the display suites: an OpenGL context for textures (skipped without one), a private
// folder for the files the tests write, a report recorder, and frames as "x,y wxh" texts.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_texture_manager.h"
#include "support/gl_test_context.h"
#include "support/png_writer.h"
#include "support/recording_error_handler.h"

namespace QuillmarkTest
{

using Strings = std::vector<std::string>;

class GraphicsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!mContext.IsValid())
            GTEST_SKIP() << "no OpenGL context: " << mContext.Error();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmark_gfx_XXXXXX").generic_string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mFolder = pattern;
    }
    void TearDown() override
    {
        if (!mFolder.empty())
            std::filesystem::remove_all(mFolder);
    }
    std::string WriteText(const std::string& name, const std::string& text)
    {
        std::ofstream(mFolder + "/" + name, std::ios::binary) << text;
        return mFolder + "/" + name;
    }
    // A PNG in the test folder (white unless pixels are given); its path.
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
    std::string mFolder;
};

}  // namespace QuillmarkTest
