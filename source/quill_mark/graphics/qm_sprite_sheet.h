// SPDX-License-Identifier: Zlib
// SpriteSheet: the named pieces of one texture, namely sprite frames, animation sequences and
// lists of sprite-frame names, each in a table of its own so the same name may appear in all
// three. Sheets are filled by the sprite manager; they never remove anything.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "quill_mark/graphics/qm_animated_sprite.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_texture_manager.h"

namespace Quillmark::Graphics
{

class SpriteSheet
{
public:
    using FrameNameList = std::vector<std::string>;

    explicit SpriteSheet(const TextureHandle& texture);

    // Frames already stored keep the texture they were made on.
    void SetTexture(const TextureHandle& texture);
    const TextureHandle& GetTexture() const { return mTexture; }

    // A missing name is reported and gives an empty frame (no texture, zero size): drawn, it
    // shows nothing, and the reference stays valid for the whole run.
    const SpriteFrame& GetSpriteFrame(const std::string& name) const;

    // A name already present is reported and the new frame replaces the old one.
    void AddSpriteFrame(const std::string& name, const SpriteFrame& frame);
    // A name already present is reported and the first sequence stays.
    void AddAnimation(const std::string& name, const AnimationSequence& sequence);
    // A name already present is reported and the new list replaces the old one. The names in
    // the list are not looked up.
    void AddAnimation(const std::string& name, const FrameNameList& frameNames);

    const std::map<std::string, SpriteFrame>& GetSpriteFrames() const { return mSpriteFrames; }
    const std::map<std::string, AnimationSequence>& GetAnimations() const { return mAnimations; }
    const std::map<std::string, FrameNameList>& GetFrameNameAnimations() const
    {
        return mFrameNameAnimations;
    }

private:
    std::map<std::string, SpriteFrame> mSpriteFrames;
    std::map<std::string, AnimationSequence> mAnimations;
    std::map<std::string, FrameNameList> mFrameNameAnimations;
    TextureHandle mTexture;
};

}  // namespace Quillmark::Graphics
