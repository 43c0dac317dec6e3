// SPDX-License-Identifier: Zlib
// Texture creation, sharing and lookup. The tables are function-local statics so that a texture
// requested during static initialisation finds them built; the program never empties them (only a
// fuzzer's reset does), and no OpenGL call is made at exit, when the context is already gone.
#include "quill_mark/graphics/qm_texture_manager.h"

#include <GL/gl.h>
#include <stb_image.h>

#include <climits>
#include <map>

#include "quill_mark/core/qm_error.h"
#include "quill_mark/graphics/implementation/qmi_texture_reset.h"

namespace Quillmark::Graphics
{

TextureManager theTextureManager;

namespace
{

constexpr int kRequestedChannels = 4;  // every image arrives as 8-bit RGBA
constexpr unsigned kLargestPixelSpace = 0xFFFF;

std::map<TextureHandle, TextureRecord>& TextureTable()
{
    static std::map<TextureHandle, TextureRecord> table;
    return table;
}

std::map<std::string, TextureHandle>& FileTable()
{
    static std::map<std::string, TextureHandle> table;
    return table;
}

// What stb_image handed back; the pixels are freed with the object.
struct DecodedImage
{
    stbi_uc* pixels = nullptr;
    int width = 0;
    int height = 0;
    int channelsInFile = 0;  // received, never used: the requested 4 channels are what counts

    DecodedImage() = default;
    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;
    ~DecodedImage() { stbi_image_free(pixels); }
};

void CheckDecodedSize(const DecodedImage& image)
{
    qmTriggerErrorIf(
        static_cast<unsigned>(image.width) > kLargestPixelSpace,
        "qmError: Expected imageWidth to be in range: (0 < imageWidth <= 65536), inprecise cast to PixelSpace.");
    qmTriggerErrorIf(
        static_cast<unsigned>(image.height) > kLargestPixelSpace,
        "qmError: Expected imageHeight to be in range: (0 < imageHeight <= 65536), inprecise cast to PixelSpace.");
}

// A failed decode yields a texture without pixels. It is made 0 by 0 whatever sizes the decoder
// left behind: some formats write the header's sizes before failing, and a corrupt header must
// not make OpenGL reserve storage for an image that was never there.
TextureRecord MakeRecord(const std::string& fileName, const DecodedImage& image)
{
    TextureRecord record;
    record.fileName = fileName;
    if (image.pixels != nullptr)
    {
        record.width = static_cast<PixelSpace>(image.width & 0xFFFF);
        record.height = static_cast<PixelSpace>(image.height & 0xFFFF);
    }
    record.referenceCount = 1;
    return record;
}

void SetTextureParameters()
{
    // Opaque magenta makes a sampled border stand out.
    const GLfloat borderColor[4] = {1.0f, 0.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, borderColor);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

}  // namespace

TextureHandle TextureManager::CreateTextureFromFile(const std::string& filePath)
{
    const TextureHandle shared = FindTextureForFile(filePath);
    if (shared != kInvalidTexture)
    {
        IncrementReferenceOf(shared);
        return shared;
    }
    DecodedImage image;
    image.pixels = stbi_load(filePath.c_str(), &image.width, &image.height, &image.channelsInFile,
                             kRequestedChannels);
    qmTriggerErrorIf(image.pixels == nullptr,
                     "qmExternalError: Texture \"%s\" could not be loaded from file.",
                     filePath.c_str());
    CheckDecodedSize(image);
    return OnCreateTexture(image.pixels, MakeRecord(filePath, image));
}

TextureHandle TextureManager::CreateTextureFromFileInMemory(const void* fileDataInMemory,
                                                            const std::size_t& fileSizeInBytes)
{
    const bool sizeFitsInt = fileSizeInBytes <= static_cast<std::size_t>(INT_MAX);
    qmTriggerErrorIf(
        fileDataInMemory == nullptr,
        "qmExternalError: The fileDataInMemory parameter is expected to be a valid pointer.");
    qmTriggerErrorIf(
        !sizeFitsInt,
        "qmError: TextureData fileSizeInBytes too large for following cast into into int, corrupt size?");
    DecodedImage image;
    // Without a pointer or with a size that does not fit there is nothing safe to decode: a cut
    // size would make stb_image read a length the caller never vouched for.
    if (fileDataInMemory != nullptr && sizeFitsInt)
    {
        image.pixels = stbi_load_from_memory(
            static_cast<const stbi_uc*>(fileDataInMemory), static_cast<int>(fileSizeInBytes),
            &image.width, &image.height, &image.channelsInFile, kRequestedChannels);
    }
    const TextureRecord record = MakeRecord(std::string(), image);
    qmTriggerErrorIf(
        image.pixels == nullptr,
        "qmExternalError: Texture \"%s\" could not be loaded from file data provided, corrupt?",
        record.fileName.c_str());
    CheckDecodedSize(image);
    return OnCreateTexture(image.pixels, record);
}

TextureHandle TextureManager::CreateTextureFromPixels(const std::string& name,
                                                      const unsigned char* rgbaPixels,
                                                      const PixelSpace& width,
                                                      const PixelSpace& height)
{
    const TextureHandle shared = FindTextureForFile(name);
    if (shared != kInvalidTexture)
    {
        IncrementReferenceOf(shared);
        return shared;
    }
    TextureRecord record;
    record.fileName = name;
    // Without pixels the texture is 0 x 0, as for a file that did not decode.
    record.width = rgbaPixels != nullptr ? width : 0;
    record.height = rgbaPixels != nullptr ? height : 0;
    record.referenceCount = 1;
    return OnCreateTexture(rgbaPixels, record);
}

TextureHandle TextureManager::OnCreateTexture(const unsigned char* imageData, TextureRecord record)
{
    qmTriggerErrorIf(imageData == nullptr,
                     "qmInternalError: Invalid imageData passed to OnCreateTexture()");
    GLuint name = 0;
    glGenTextures(1, &name);
    record.glTextureName = name;
    // Without a current context no name is generated. 0 already means "no texture", so it is
    // handed back as kInvalidTexture and kept out of the tables.
    if (name == 0)
    {
        qmTriggerError("qmInternalError: Failed assumption that no gl texture names can be 0.");
        return kInvalidTexture;
    }
    glBindTexture(GL_TEXTURE_2D, name);
    SetTextureParameters();
    // Rows go up in decoded order, so the image's top row becomes texture row t = 0.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, record.width, record.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, imageData);
    const auto entry = TextureTable().emplace(name, record).first;
    if (!record.fileName.empty())
    {
        FileTable()[record.fileName] = name;
    }
    return entry->first;
}

void TextureManager::IncrementReferenceOf(const TextureHandle& handle)
{
    const auto entry = TextureTable().find(handle);
    if (entry == TextureTable().end())
    {
        qmTriggerError("qmError: Attempting to IncrementReferenceOf a handle that was not found.");
        return;
    }
    ++entry->second.referenceCount;
}

const TextureRecord* TextureManager::GetTextureRecord(const TextureHandle& handle) const
{
    const auto entry = TextureTable().find(handle);
    if (entry == TextureTable().end())
    {
        qmTriggerError("qmError: Attempting to get a texture that does not exist! Invalid Handle.");
        return nullptr;
    }
    return &entry->second;
}

TextureHandle TextureManager::FindTextureForFile(const std::string& filePath) const
{
    const auto entry = FileTable().find(filePath);
    return entry == FileTable().end() ? kInvalidTexture : entry->second;
}

void TextureManager::BindTexture(const TextureHandle& handle)
{
    GLuint name = 0;
    if (handle != kInvalidTexture)
    {
        const TextureRecord* record = GetTextureRecord(handle);
        name = record != nullptr ? record->glTextureName : 0;
    }
    glBindTexture(GL_TEXTURE_2D, name);
}

PixelSpace TextureManager::GetTextureWidth(const TextureHandle& handle) const
{
    if (handle == kInvalidTexture)
    {
        return 0;
    }
    const TextureRecord* record = GetTextureRecord(handle);
    return record != nullptr ? record->width : 0;
}

PixelSpace TextureManager::GetTextureHeight(const TextureHandle& handle) const
{
    if (handle == kInvalidTexture)
    {
        return 0;
    }
    const TextureRecord* record = GetTextureRecord(handle);
    return record != nullptr ? record->height : 0;
}

std::uint32_t TextureManager::GetReferenceCount(const TextureHandle& handle) const
{
    const auto entry = TextureTable().find(handle);
    return entry == TextureTable().end() ? 0 : entry->second.referenceCount;
}

}  // namespace Quillmark::Graphics

void qmImplementation::ReleaseAllTextures()
{
    using Quillmark::Graphics::FileTable;
    using Quillmark::Graphics::TextureTable;
    for (const auto& entry : TextureTable())
    {
        glDeleteTextures(1, &entry.second.glTextureName);
    }
    TextureTable().clear();
    FileTable().clear();
}
