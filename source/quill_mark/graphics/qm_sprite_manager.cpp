// SPDX-License-Identifier: Zlib
// SpriteManager: the sheet table and the sprite-sheet file loader. A load first checks the parts
// of the file it cannot do without and stops before storing anything; sprites are added next and
// a nameless one stops the load; animations come last, and their faults are reported and skipped.
#include "quill_mark/graphics/qm_sprite_manager.h"

#include <cstdint>
#include <vector>

#include "quill_mark/core/qm_dynamic_structure.h"
#include "quill_mark/core/qm_error.h"
#include "quill_mark/core/qm_json_parser.h"
#include "quill_mark/graphics/qm_texture_manager.h"

namespace Quillmark::Graphics
{

SpriteManager theSpriteManager;

namespace
{

using Core::DynamicStructure;

// Report texts, each one literal so that a printed report can be searched for in the code.
constexpr char kNotAStructureMessage[] =
    "qmDataError: Expected sprite sheet data to be a structure of information.  Sheet: %s";
constexpr char kTextureMessage[] = "Was unable to load texture: %s\n";
constexpr char kNoSpritesMessage[] =
    "qmDataError: Expected sprite sheet to have an array named: sprites. Sheet: \"%s\"";
constexpr char kAnimationsKindMessage[] =
    "qmDataError: \"animations\" must be an array if included in sprite object. Sheet: \"%s\"";
constexpr char kNamelessSpriteMessage[] =
    "qmDataError: Expected each sprite_frame object to have a name. Sheet: %s";
constexpr char kSpriteAnimationsMessage[] =
    "qmDataError: Expected sprite_frame animations item to be an array if it exists. Sprite \"%s\" on Sheet: \"%s\"";
constexpr char kNamelessAnimationMessage[] =
    "qmDataError: Expected each animation object to have a name. Sheet: %s";
constexpr char kFramelessAnimationMessage[] =
    "qmDataError: Expected each animation object to have frames. Animation: \"%s\" on Sheet: \"%s\"";
constexpr char kFramesKindMessage[] =
    "qmDataError: Expected animation frames to be an array or mapped structure. Sheet: %s";
constexpr char kListItemMessage[] =
    "qmDataError: Expected each item in Animation \"%s\" frames array to be a string. Sheet: \"%s\"";
constexpr char kMappedWidthMessage[] =
    "qmDataError: Expected each mapped animation object to have a width. Animation: \"%s\" on Sheet: %s";
constexpr char kMappedHeightMessage[] =
    "qmDataError: Expected each mapped animation object to have a height. Animation: \"%s\" on Sheet: %s";
constexpr char kMappedStartMessage[] =
    "qmDataError: Expected each mapped animation object to have a start frame. Animation: \"%s\" on Sheet: \"%s\"";
constexpr char kMappedCountMessage[] =
    "qmDataError: Expected each mapped animation object to have a frame count. Animation: \"%s\" on Sheet: \"%s\"";
constexpr char kMappedFramesMessage[] =
    "qmDataError: Expected mapped animation object with frames item being an array: %s";
constexpr char kUnknownSheetMessage[] = "SpriteSheet with name %s does not exist.";

// What the sprites and animations of one file are read against.
struct SheetContext
{
    SpriteSheet& sheet;
    const std::string& sheetName;
    TextureHandle texture;
    std::int32_t defaultWidth;
    std::int32_t defaultHeight;
};

// Sizes and positions keep their low 16 bits, as every pixel value of the texture does.
PixelSpace ToPixelSpace(std::int32_t value)
{
    return static_cast<PixelSpace>(value);
}

std::int32_t ReadCoordinate(const DynamicStructure& value)
{
    return value.IsNil() ? 0 : value.AsInteger(true);
}

std::vector<std::string> ReadStrings(const DynamicStructure& array)
{
    std::vector<std::string> strings;
    strings.reserve(array.Size());
    for (std::uint32_t i = 0; i < array.Size(); ++i)
    {
        strings.push_back(array.GetValue(i).AsString(true));
    }
    return strings;
}

// False when the sprite stops the load.
bool AddSprite(const SheetContext& context, const DynamicStructure& sprite)
{
    const DynamicStructure& nameValue = sprite.GetMember("name");
    if (nameValue.IsNil())
    {
        qmTriggerError(kNamelessSpriteMessage, context.sheetName.c_str());
        return false;
    }
    const std::string name = nameValue.AsString(true);
    const std::int32_t x = ReadCoordinate(sprite.GetMember("x"));
    const std::int32_t y = ReadCoordinate(sprite.GetMember("y"));
    const std::int32_t width = sprite.GetMember("width").AsIntegerOr(context.defaultWidth);
    const std::int32_t height = sprite.GetMember("height").AsIntegerOr(context.defaultHeight);
    context.sheet.AddSpriteFrame(
        name, CreateSpriteFrame(context.texture, ToPixelSpace(x), ToPixelSpace(y),
                                ToPixelSpace(width), ToPixelSpace(height)));

    const DynamicStructure& animations = sprite.GetMember("animations");
    if (animations.IsNil())
    {
        return true;
    }
    if (!animations.IsArray())
    {
        qmTriggerError(kSpriteAnimationsMessage, name.c_str(), context.sheetName.c_str());
        return false;
    }
    context.sheet.AddAnimation(name, ReadStrings(animations));
    return true;
}

AnimationSequence BuildListAnimation(const SheetContext& context, const DynamicStructure& frames,
                                     const std::string& name)
{
    AnimationSequence sequence(context.texture);
    for (std::uint32_t i = 0; i < frames.Size(); ++i)
    {
        const DynamicStructure& item = frames.GetValue(i);
        qmTriggerErrorIf(!item.IsString(), kListItemMessage, name.c_str(),
                         context.sheetName.c_str());
        sequence.AddFrame(context.sheet.GetSpriteFrame(item.AsString(true)));
    }
    return sequence;
}

// A structure in place of the array is read the same way: each of its members is asked for as
// an element, and the value reports the wrong kind for each.
std::vector<std::int32_t> ReadIndices(const DynamicStructure& frames)
{
    std::vector<std::int32_t> indices;
    indices.reserve(frames.Size());
    for (std::uint32_t i = 0; i < frames.Size(); ++i)
    {
        indices.push_back(frames.GetValue(i).AsInteger(true));
    }
    return indices;
}

AnimationSequence BuildMappedAnimation(const SheetContext& context, const DynamicStructure& mapped,
                                       const std::string& name)
{
    const char* const sheetName = context.sheetName.c_str();
    const DynamicStructure& width = mapped.GetMember("width");
    const DynamicStructure& height = mapped.GetMember("height");
    qmTriggerErrorIf(width.IsNil(), kMappedWidthMessage, name.c_str(), sheetName);
    qmTriggerErrorIf(height.IsNil(), kMappedHeightMessage, name.c_str(), sheetName);
    const PixelSpace frameWidth = ToPixelSpace(width.AsIntegerOr(context.defaultWidth));
    const PixelSpace frameHeight = ToPixelSpace(height.AsIntegerOr(context.defaultHeight));
    const PixelSpace locationX = ToPixelSpace(mapped.GetMember("locationX").AsIntegerOr(0));
    const PixelSpace locationY = ToPixelSpace(mapped.GetMember("locationY").AsIntegerOr(0));

    const DynamicStructure& indices = mapped.GetMember("frames");
    if (!indices.IsNil())
    {
        qmTriggerErrorIf(!indices.IsArray(), kMappedFramesMessage, sheetName);
        return AnimationSequence(context.texture, frameWidth, frameHeight, ReadIndices(indices),
                                 locationX, locationY);
    }
    const DynamicStructure& start = mapped.GetMember("start");
    const DynamicStructure& count = mapped.GetMember("count");
    qmTriggerErrorIf(start.IsNil(), kMappedStartMessage, name.c_str(), sheetName);
    qmTriggerErrorIf(count.IsNil(), kMappedCountMessage, name.c_str(), sheetName);
    // Read in this order: start, then count. A negative count reads as a huge unsigned one,
    // which the grid builder cuts.
    const PixelSpace startFrame = ToPixelSpace(start.AsInteger(true));
    const auto frameCount = static_cast<std::uint32_t>(count.AsInteger(true));
    return AnimationSequence(context.texture, frameWidth, frameHeight, startFrame, frameCount,
                             locationX, locationY);
}

void AddAnimationObject(const SheetContext& context, const DynamicStructure& animation)
{
    const char* const sheetName = context.sheetName.c_str();
    const DynamicStructure& nameValue = animation.GetMember("name");
    qmTriggerErrorIf(nameValue.IsNil(), kNamelessAnimationMessage, sheetName);
    const std::string name = nameValue.AsString(true);
    const DynamicStructure& frames = animation.GetMember("frames");
    qmTriggerErrorIf(frames.IsNil(), kFramelessAnimationMessage, name.c_str(), sheetName);

    if (frames.IsArray())
    {
        context.sheet.AddAnimation(name, BuildListAnimation(context, frames, name));
    }
    else if (frames.IsStructure())
    {
        context.sheet.AddAnimation(name, BuildMappedAnimation(context, frames, name));
    }
    else
    {
        qmTriggerError(kFramesKindMessage, sheetName);
    }
}

}  // namespace

bool SpriteManager::LoadSpriteSheetFromFile(const std::string& sheetName,
                                            const std::string& filePath)
{
    const DynamicStructure data = Core::LoadJsonFile(filePath);
    if (!data.IsStructure())
    {
        qmTriggerError(kNotAStructureMessage, sheetName.c_str());
        return false;
    }
    const std::string texturePath = data.GetMember("texture").AsString(true);
    const TextureHandle texture = theTextureManager.CreateTextureFromFile(texturePath);
    // An image that could not be decoded still gets a handle, of a texture without pixels: the
    // texture manager has reported it, and the sheet loads with empty frames, so sprites taken
    // from it later draw nothing instead of reporting once each.
    if (texture == kInvalidTexture)
    {
        qmTriggerError(kTextureMessage, texturePath.c_str());
        return false;
    }
    const PixelSpace textureWidth = theTextureManager.GetTextureWidth(texture);
    const PixelSpace textureHeight = theTextureManager.GetTextureHeight(texture);
    const std::int32_t defaultWidth = data.GetMember("sprite_width").AsIntegerOr(textureWidth);
    const std::int32_t defaultHeight = data.GetMember("sprite_height").AsIntegerOr(textureHeight);

    const DynamicStructure& sprites = data.GetMember("sprites");
    if (!sprites.IsArray())
    {
        qmTriggerError(kNoSpritesMessage, sheetName.c_str());
        return false;
    }
    const DynamicStructure& animations = data.GetMember("animations");
    if (!animations.IsNil() && !animations.IsArray())
    {
        qmTriggerError(kAnimationsKindMessage, sheetName.c_str());
        return false;
    }

    SpriteSheet& sheet = GetSpriteSheet(sheetName);
    sheet.SetTexture(texture);
    const SheetContext context{sheet, sheetName, texture, defaultWidth, defaultHeight};
    for (std::uint32_t i = 0; i < sprites.Size(); ++i)
    {
        if (!AddSprite(context, sprites.GetValue(i)))
        {
            return false;
        }
    }
    // Animations come after every sprite, so a list may name frames from anywhere in the file.
    for (std::uint32_t i = 0; i < animations.Size(); ++i)
    {
        AddAnimationObject(context, animations.GetValue(i));
    }
    return true;
}

Sprite SpriteManager::GetSprite(const std::string& sheetName, const std::string& spriteName) const
{
    const auto found = mSpriteSheets.find(sheetName);
    if (found == mSpriteSheets.end())
    {
        qmTriggerError(kUnknownSheetMessage, sheetName.c_str());
        return Sprite(SpriteFrame{});
    }
    return Sprite(found->second.GetSpriteFrame(spriteName));
}

SpriteSheet& SpriteManager::GetSpriteSheet(const std::string& sheetName)
{
    return mSpriteSheets.try_emplace(sheetName, kInvalidTexture).first->second;
}

}  // namespace Quillmark::Graphics
