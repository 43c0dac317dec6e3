// SPDX-License-Identifier: Zlib
// AnimationSequence: frame-by-frame building and the two grid builders with their checks. Every
// check reports and carries on; frames that fail a position check are still appended, so callers
// see every problem at once. The grid arithmetic never divides by a size that was reported as 0.
#include "quill_mark/graphics/qm_animated_sprite.h"

#include <algorithm>

#include "quill_mark/core/qm_error.h"

namespace Quillmark::Graphics
{

namespace
{

// Report texts, each one literal so that a printed report can be searched for in the code.
constexpr char kInvalidTextureMessage[] =
    "qmExternalError: Expected parameter texture to be a valid texture.";
constexpr char kNoTextureForFrameMessage[] =
    "qmExternalError: Expected texture handle to be valid before a frame is added.";
constexpr char kOtherTextureMessage[] =
    "qmExternalErro: Expected frame texture to be the same as the texture of sequence.";
constexpr char kFrameWidthMessage[] =
    "qmExternalError: Expected parameter frameWidth to be within range: (1 <= frameWidth <= textureWidth).";
constexpr char kFrameHeightMessage[] =
    "qmExternalError: Expected parameter frameHeight to be within range: (1 <= frameHeight <= textureHeight).";
constexpr char kLocationXMessage[] =
    "qmExternalError: Expected parameter locationX to allow enough room for at least one column of frames.";
constexpr char kLocationYMessage[] =
    "qmExternalError: Expected parameter locationY to allow enough room for at least one row of frames.";
constexpr char kNoColumnMessage[] =
    "qmInternalError: Expected textureFrameColumns to be at least 1.";
constexpr char kNoRowMessage[] = "qmInternalError: Expected textureFrameRows to be at least 1.";
constexpr char kFrameXMessage[] =
    "qmInternalError: Expected frameX to be on texture with enough space for frame.";
constexpr char kFrameYMessage[] =
    "qmInternalError: Expected frameY to be on texture with enough space for frame.";
constexpr char kFrameCountMessage[] =
    "qmExternalError: Expected parameter frameCount to be at most 65536; the sequence is cut to the %u frames of the grid.";

// How many whole frames fit between `location` and the edge of the texture, in unsigned 32-bit
// arithmetic: a location beyond the edge wraps to a huge count, so its frames are still laid out
// (and each reported as off the texture) like any other grid's. A frame size of 0 (already
// reported) fits nowhere instead of dividing by zero.
std::uint32_t CountWholeFrames(std::uint32_t textureSize, std::uint32_t location,
                               std::uint32_t frameSize)
{
    if (frameSize == 0)
    {
        return 0;
    }
    return (textureSize - location) / frameSize;
}

// Frames store pixel positions in 16 bits, so a position past 65535 keeps its low 16 bits. The
// grid checks have already reported such a frame on the whole position, even when the wrapped
// one lands back on the texture.
PixelSpace LowSixteenBits(std::uint64_t value)
{
    return static_cast<PixelSpace>(value & 0xFFFF);
}

}  // namespace

AnimationSequence::AnimationSequence(const TextureHandle& texture) : mTexture(texture)
{
    qmTriggerErrorIf(texture == kInvalidTexture, kInvalidTextureMessage);
}

AnimationSequence::AnimationSequence(const TextureHandle& texture, const PixelSpace& frameWidth,
                                     const PixelSpace& frameHeight,
                                     std::vector<std::int32_t> frameIndices,
                                     const PixelSpace& locationX, const PixelSpace& locationY)
    : AnimationSequence(texture)
{
    const Grid grid = CheckGrid(frameWidth, frameHeight, locationX, locationY);
    // With no whole column or row (reported by CheckGrid) no index has a place on the grid, so
    // the sequence stays empty.
    if (grid.columns == 0 || grid.rows == 0)
    {
        return;
    }
    mFrames.reserve(frameIndices.size());
    for (const std::int32_t index : frameIndices)
    {
        AddGridFrame(grid, static_cast<std::uint16_t>(index));
    }
}

AnimationSequence::AnimationSequence(const TextureHandle& texture, const PixelSpace& frameWidth,
                                     const PixelSpace& frameHeight, const PixelSpace& startFrame,
                                     const std::uint32_t& frameCount, const PixelSpace& locationX,
                                     const PixelSpace& locationY)
    : AnimationSequence(texture)
{
    const Grid grid = CheckGrid(frameWidth, frameHeight, locationX, locationY);
    if (grid.columns == 0 || grid.rows == 0)
    {
        return;
    }
    // Indices wrap at 16 bits, so a count above 65536 only repeats frames, and a negative count
    // from a data file arrives here as billions: such a count is cut to the grid so that no input
    // can make the sequence allocate or report without bound. Any smaller count is built as asked,
    // frames past the grid included, each with its reports.
    std::uint32_t count = frameCount;
    if (frameCount > kMaximumGridFrames)
    {
        count = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(std::uint64_t{grid.columns} * grid.rows, kMaximumGridFrames));
        qmTriggerError(kFrameCountMessage, count);
    }
    mFrames.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        AddGridFrame(grid, static_cast<std::uint16_t>(startFrame + i));
    }
}

void AnimationSequence::AddFrame(const SpriteFrame& frame)
{
    qmTriggerErrorIf(mTexture == kInvalidTexture, kNoTextureForFrameMessage);
    qmTriggerErrorIf(frame.texture != mTexture, kOtherTextureMessage);
    // Copied before the append: the frame may be one of this sequence's own frames, which a
    // growing vector would move away.
    const SpriteFrame copy = frame;
    mFrames.push_back(copy);
}

void AnimationSequence::AddFrame(const PixelSpace& frameX, const PixelSpace& frameY,
                                 const PixelSpace& frameWidth, const PixelSpace& frameHeight)
{
    qmTriggerErrorIf(mTexture == kInvalidTexture, kNoTextureForFrameMessage);
    mFrames.push_back(CreateSpriteFrame(mTexture, frameX, frameY, frameWidth, frameHeight));
}

AnimationSequence::Grid AnimationSequence::CheckGrid(const PixelSpace& frameWidth,
                                                     const PixelSpace& frameHeight,
                                                     const PixelSpace& locationX,
                                                     const PixelSpace& locationY) const
{
    Grid grid;
    grid.textureWidth = theTextureManager.GetTextureWidth(mTexture);
    grid.textureHeight = theTextureManager.GetTextureHeight(mTexture);
    grid.frameWidth = frameWidth;
    grid.frameHeight = frameHeight;
    grid.locationX = locationX;
    grid.locationY = locationY;

    qmTriggerErrorIf(frameWidth < 1 || frameWidth > grid.textureWidth, kFrameWidthMessage);
    qmTriggerErrorIf(frameHeight < 1 || frameHeight > grid.textureHeight, kFrameHeightMessage);
    // A frame wider than the texture was reported above; the room test would wrap around then.
    qmTriggerErrorIf(frameWidth <= grid.textureWidth && locationX > grid.textureWidth - frameWidth,
                     kLocationXMessage);
    qmTriggerErrorIf(
        frameHeight <= grid.textureHeight && locationY > grid.textureHeight - frameHeight,
        kLocationYMessage);

    grid.columns = CountWholeFrames(grid.textureWidth, locationX, frameWidth);
    grid.rows = CountWholeFrames(grid.textureHeight, locationY, frameHeight);
    qmTriggerErrorIf(grid.columns == 0, kNoColumnMessage);
    qmTriggerErrorIf(grid.rows == 0, kNoRowMessage);
    return grid;
}

void AnimationSequence::AddGridFrame(const Grid& grid, std::uint16_t index)
{
    // Only called with at least one column and row; the 64-bit positions cannot overflow, and
    // the room left right of and below them is compared as the grid checks compare it.
    const std::uint64_t column = index % grid.columns;
    const std::uint64_t row = index / grid.columns;
    const std::uint64_t x = grid.locationX + column * grid.frameWidth;
    const std::uint64_t y = grid.locationY + row * grid.frameHeight;

    qmTriggerErrorIf(x > std::uint64_t{grid.textureWidth} - grid.frameWidth, kFrameXMessage);
    qmTriggerErrorIf(y > std::uint64_t{grid.textureHeight} - grid.frameHeight, kFrameYMessage);
    AddFrame(LowSixteenBits(x), LowSixteenBits(y), grid.frameWidth, grid.frameHeight);
}

}  // namespace Quillmark::Graphics
