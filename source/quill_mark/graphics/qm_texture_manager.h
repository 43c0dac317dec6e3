// SPDX-License-Identifier: Zlib
// The process-wide owner of every OpenGL texture: decodes image files to 8-bit RGBA with
// stb_image, uploads them, shares one texture per exact file path and answers size queries.
// Textures are never released; every operation needs the window's OpenGL context current.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "quill_mark/core/qm_noncopyable.h"

namespace Quillmark::Graphics
{

// The OpenGL texture name doubles as the handle; OpenGL never generates 0, so 0 means "none".
using TextureHandle = std::uint32_t;
// A width or height in pixels.
using PixelSpace = std::uint16_t;

constexpr TextureHandle kInvalidTexture = 0;

struct TextureRecord
{
    // The path exactly as the caller gave it; empty for textures made from data in memory.
    std::string fileName;
    std::uint32_t glTextureName = 0;
    PixelSpace width = 0;
    PixelSpace height = 0;
    // 1 when created, plus one for every later request for the same path.
    std::uint32_t referenceCount = 0;
};

class TextureManager : private Core::Noncopyable
{
public:
    // Stateless itself (the tables live in the implementation), so theTextureManager is constant-
    // initialised and usable from any static initialiser.
    constexpr TextureManager() = default;

    // A second request for the same path (exact bytes) returns the first texture and reads nothing.
    // A file that cannot be decoded is reported and still gives a handle, of a 0 x 0 texture.
    // The path is resolved against the working directory.
    TextureHandle CreateTextureFromFile(const std::string& filePath);
    // Always a new texture, even for the same bytes.
    TextureHandle CreateTextureFromFileInMemory(const void* fileDataInMemory,
                                                const std::size_t& fileSizeInBytes);
    // A texture of pixels made by the program (a font's glyph atlas, say): width x height 8-bit
    // RGBA pixels, rows from the top down. A non-empty name is shared as a file path is: a later
    // request under the same name returns the first texture and uploads nothing. Null pixels are
    // reported and give a texture without pixels.
    TextureHandle CreateTextureFromPixels(const std::string& name, const unsigned char* rgbaPixels,
                                          const PixelSpace& width, const PixelSpace& height);

    // kInvalidTexture unbinds; so does an unknown handle, after its report.
    void BindTexture(const TextureHandle& handle);
    // 0 for kInvalidTexture; 0 for an unknown handle, after its report.
    PixelSpace GetTextureWidth(const TextureHandle& handle) const;
    PixelSpace GetTextureHeight(const TextureHandle& handle) const;

    // How often the texture's file was requested; 0 for unknown handles, without a report.
    // A diagnostic: nothing in the framework depends on it.
    std::uint32_t GetReferenceCount(const TextureHandle& handle) const;

private:
    TextureHandle OnCreateTexture(const unsigned char* imageData, TextureRecord record);
    void IncrementReferenceOf(const TextureHandle& handle);
    const TextureRecord* GetTextureRecord(const TextureHandle& handle) const;
    TextureHandle FindTextureForFile(const std::string& filePath) const;
};

extern TextureManager theTextureManager;

}  // namespace Quillmark::Graphics
