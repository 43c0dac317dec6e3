// SPDX-License-Identifier: Zlib
// AnimationSequence: the frames of one animation, in playing order, all on one texture. Built
// frame by frame or in one step from a grid of equal frames laid out row by row on the texture.
// Playing a sequence is AnimationPlayer's (qm_animation_player.h); here sequences are only built
// and checked, and sprite sheets store them.
#pragma once

#include <cstdint>
#include <vector>

#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_texture_manager.h"

namespace Quillmark::Graphics
{

class AnimationSequence
{
public:
    // Grid indices are 16-bit, so a longer run of consecutive indices only repeats frames: a
    // start-and-count sequence asked for more than this is cut to the frames of its grid.
    static constexpr std::uint32_t kMaximumGridFrames = 65536;

    explicit AnimationSequence(const TextureHandle& texture);

    // The grid frames at the listed indices, in list order; each index is taken modulo 65536.
    AnimationSequence(const TextureHandle& texture, const PixelSpace& frameWidth,
                      const PixelSpace& frameHeight, std::vector<std::int32_t> frameIndices,
                      const PixelSpace& locationX, const PixelSpace& locationY);

    // The grid frames start, start + 1, ..., start + frameCount - 1, each modulo 65536.
    AnimationSequence(const TextureHandle& texture, const PixelSpace& frameWidth,
                      const PixelSpace& frameHeight, const PixelSpace& startFrame,
                      const std::uint32_t& frameCount, const PixelSpace& locationX,
                      const PixelSpace& locationY);

    void AddFrame(const SpriteFrame& frame);
    void AddFrame(const PixelSpace& frameX, const PixelSpace& frameY, const PixelSpace& frameWidth,
                  const PixelSpace& frameHeight);

    const TextureHandle& GetTexture() const { return mTexture; }
    const std::vector<SpriteFrame>& GetFrames() const { return mFrames; }

private:
    // The grid as the two grid constructors see it once its checks have been made.
    struct Grid
    {
        PixelSpace textureWidth = 0;
        PixelSpace textureHeight = 0;
        PixelSpace frameWidth = 0;
        PixelSpace frameHeight = 0;
        PixelSpace locationX = 0;
        PixelSpace locationY = 0;
        std::uint32_t columns = 0;
        std::uint32_t rows = 0;
    };

    Grid CheckGrid(const PixelSpace& frameWidth, const PixelSpace& frameHeight,
                   const PixelSpace& locationX, const PixelSpace& locationY) const;
    void AddGridFrame(const Grid& grid, std::uint16_t index);

    TextureHandle mTexture;
    std::vector<SpriteFrame> mFrames;
};

}  // namespace Quillmark::Graphics
