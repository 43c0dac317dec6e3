// SPDX-License-Identifier: Zlib
// SpriteSheet: the three name tables and their duplicate rules. Frames and name lists are
// replaced by a second add under the same name, sequences are not; every duplicate is reported
// either way so a data file that names something twice is noticed.
#include "quill_mark/graphics/qm_sprite_sheet.h"

#include "quill_mark/core/qm_error.h"

namespace Quillmark::Graphics
{

namespace
{

// Report texts, each one literal so that a printed report can be searched for in the code.
constexpr char kMissingFrameMessage[] =
    "qmExternalError: Sprite with name %s does not exist on sprite sheet.";
constexpr char kDuplicateFrameMessage[] =
    "qmExternalError: Attempting to add sprite frame %s which already exists on sprite sheet.";
constexpr char kNoTextureMessage[] =
    "qmExternalError: Cannot add sprite %s without setting a texture first.";
constexpr char kOtherTextureMessage[] =
    "qmExternalError: Cannot add sprite %s with different texture than sheet.";
constexpr char kDuplicateAnimationMessage[] =
    "qmExternalError: Attempting to add animation %s which already exists on sprite sheet.";

// What a lookup of a missing name yields once it has been reported: no texture and no size.
const SpriteFrame kEmptySpriteFrame{};

}  // namespace

SpriteSheet::SpriteSheet(const TextureHandle& texture) : mTexture(texture) {}

void SpriteSheet::SetTexture(const TextureHandle& texture)
{
    mTexture = texture;
}

const SpriteFrame& SpriteSheet::GetSpriteFrame(const std::string& name) const
{
    const auto found = mSpriteFrames.find(name);
    if (found == mSpriteFrames.end())
    {
        qmTriggerError(kMissingFrameMessage, name.c_str());
        return kEmptySpriteFrame;
    }
    return found->second;
}

void SpriteSheet::AddSpriteFrame(const std::string& name, const SpriteFrame& frame)
{
    // One lookup serves both the duplicate check and the store: sheets hold thousands of frames.
    const auto place = mSpriteFrames.lower_bound(name);
    const bool exists = place != mSpriteFrames.end() && place->first == name;
    qmTriggerErrorIf(exists, kDuplicateFrameMessage, name.c_str());
    qmTriggerErrorIf(mTexture == kInvalidTexture, kNoTextureMessage, name.c_str());
    qmTriggerErrorIf(frame.texture != mTexture, kOtherTextureMessage, name.c_str());
    if (exists)
    {
        place->second = frame;
    }
    else
    {
        mSpriteFrames.emplace_hint(place, name, frame);
    }
}

void SpriteSheet::AddAnimation(const std::string& name, const AnimationSequence& sequence)
{
    qmTriggerErrorIf(mAnimations.count(name) != 0, kDuplicateAnimationMessage, name.c_str());
    // emplace keeps an existing sequence. The sequence's texture is not compared with the
    // sheet's: a sequence carries its own.
    mAnimations.emplace(name, sequence);
}

void SpriteSheet::AddAnimation(const std::string& name, const FrameNameList& frameNames)
{
    qmTriggerErrorIf(mFrameNameAnimations.count(name) != 0, kDuplicateAnimationMessage,
                     name.c_str());
    mFrameNameAnimations.insert_or_assign(name, frameNames);
}

}  // namespace Quillmark::Graphics
