// SPDX-License-Identifier: Zlib
// Which frame an animation shows is worked out from the time played, not counted up frame by
// frame, so an uneven frame time or a long stall never drifts it or costs a loop per frame.
#include "quill_mark/graphics/qm_animation_player.h"

#include <algorithm>
#include <cmath>

#include "quill_mark/core/qm_error.h"

namespace Quillmark::Graphics
{

namespace
{

const std::vector<SpriteFrame>& FramesOf(const SpriteSheet& sheet, const std::string& name)
{
    static const std::vector<SpriteFrame> kNoFrames;
    const auto found = sheet.GetAnimations().find(name);
    if (found == sheet.GetAnimations().end())
    {
        qmTriggerError("qmExternalError: Animation with name %s does not exist on sprite sheet.",
                       name.c_str());
        return kNoFrames;
    }
    return found->second.GetFrames();
}

}  // namespace

AnimationPlayer::AnimationPlayer(const AnimationSequence& sequence, float framesPerSecond,
                                 bool isLooping)
    : AnimationPlayer(sequence.GetFrames(), framesPerSecond, isLooping)
{
    qmTriggerErrorIf(mFrames.empty(),
                     "qmExternalError: Expected animation sequence to hold at least one frame.");
}

// A missing name has been reported by the lookup; the empty player that follows says no more.
AnimationPlayer::AnimationPlayer(const SpriteSheet& sheet, const std::string& animationName,
                                 float framesPerSecond, bool isLooping)
    : AnimationPlayer(FramesOf(sheet, animationName), framesPerSecond, isLooping)
{
}

AnimationPlayer::AnimationPlayer(const std::vector<SpriteFrame>& frames, float framesPerSecond,
                                 bool isLooping)
    : mFrames(frames),
      mFramesPerSecond(framesPerSecond),
      mIsLooping(isLooping),
      mSprite(frames.empty() ? SpriteFrame{} : frames.front())
{
    qmTriggerErrorIf(!(framesPerSecond > 0.0f),
                     "qmExternalError: Expected framesPerSecond to be above 0.");
}

void AnimationPlayer::Restart()
{
    mIsPaused = false;
    mPlayedTime = 0.0;
    ShowFrame(0);
}

bool AnimationPlayer::IsFinished() const
{
    return !mIsLooping && !mFrames.empty() && mPlayedTime * mFramesPerSecond >= mFrames.size();
}

void AnimationPlayer::SetOrigin(const AnchorLocation& anchor)
{
    mAnchor = anchor;
    mSprite.SetOrigin(anchor);
}

void AnimationPlayer::SetColor(const Color& color)
{
    mSprite.SetColor(color);
}

void AnimationPlayer::SetScale(float x, float y)
{
    mSprite.SetScale(x, y);
}

void AnimationPlayer::SetRotation(float degrees)
{
    mSprite.SetRotation(degrees);
}

void AnimationPlayer::OnUpdate(float frameTime)
{
    // An endless or undefined frame time would leave no defined place in the round.
    if (mIsPaused || mFrames.empty() || !(mFramesPerSecond > 0.0f) || IsFinished() ||
        !std::isfinite(frameTime))
    {
        return;
    }
    const double roundTime = static_cast<double>(mFrames.size()) / mFramesPerSecond;
    mPlayedTime += std::max(0.0f, frameTime);
    if (mPlayedTime >= roundTime)
    {
        // A one-shot rests at its end; a loop carries what ran past the end into the next round.
        mPlayedTime = mIsLooping ? std::fmod(mPlayedTime, roundTime) : roundTime;
    }
    const auto index = static_cast<std::size_t>(std::floor(mPlayedTime * mFramesPerSecond));
    ShowFrame(std::min(index, mFrames.size() - 1));
}

void AnimationPlayer::OnRender()
{
    if (mFrames.empty())
    {
        return;
    }
    mSprite.SetPosition(GetPosition());
    mSprite.SetDepth(GetDepth());
    mSprite.Render();
}

void AnimationPlayer::ShowFrame(std::size_t index)
{
    if (mFrames.empty() || index == mFrameIndex)
    {
        return;
    }
    Sprite next(mFrames[index]);
    next.SetOrigin(mAnchor);
    next.SetColor(mSprite.GetColor());
    next.SetScale(mSprite.GetScale().x, mSprite.GetScale().y);
    next.SetRotation(mSprite.GetRotation());
    mSprite = next;
    mFrameIndex = index;
}

}  // namespace Quillmark::Graphics
