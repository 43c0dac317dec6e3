// Fixture for the sequence, sheet and sprite-manager suites: a current OpenGL context (textures
// need one), a private folder for the PNG and JSON files the tests write, and a recorder of every
// report. Frames are compared as "x,y wxh" texts so whole sequences compare in one expectation.
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

class SpriteSheetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mContext.IsValid()) << mContext.Error();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmark_sprites_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mFolder = pattern;
    }

    void TearDown() override
    {
        if (!mFolder.empty())
        {
            std::filesystem::remove_all(mFolder);
        }
    }

    std::string PathOf(const std::string& name) const { return mFolder + "/" + name; }

    // A PNG of the given size in the test folder; its path, for sheet files to name.
    std::string WritePng(const std::string& name, int width, int height)
    {
        const std::string path = PathOf(name);
        EXPECT_TRUE(WritePngFile(path, width, height, 4, SolidRgba(width, height, 0xFFFFFFFF)));
        return path;
    }

    // The 128 x 64 texture the grid cases use: 4 columns and 2 rows of 32 x 32 frames.
    Quillmark::Graphics::TextureHandle MakeTexture(int width = 128, int height = 64)
    {
        const std::string name =
            "texture_" + std::to_string(width) + "x" + std::to_string(height) + ".png";
        return Quillmark::Graphics::theTextureManager.CreateTextureFromFile(
            WritePng(name, width, height));
    }

    std::string WriteText(const std::string& name, const std::string& text)
    {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static std::string Rectangle(const Quillmark::Graphics::SpriteFrame& frame)
    {
        return std::to_string(static_cast<int>(frame.x)) + "," +
               std::to_string(static_cast<int>(frame.y)) + " " +
               std::to_string(static_cast<int>(frame.width)) + "x" +
               std::to_string(static_cast<int>(frame.height));
    }

    static std::vector<std::string> Rectangles(
        const std::vector<Quillmark::Graphics::SpriteFrame>& frames)
    {
        std::vector<std::string> rectangles;
        for (const Quillmark::Graphics::SpriteFrame& frame : frames)
        {
            rectangles.push_back(Rectangle(frame));
        }
        return rectangles;
    }

    GlTestContext mContext;
    RecordingErrorHandler errors;
    std::string mFolder;
};

}  // namespace QuillmarkTest
