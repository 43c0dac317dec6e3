// SPDX-License-Identifier: Zlib
// AnimationPlayer: a graphic that plays an AnimationSequence, showing its frames one after another
// at a fixed rate, looping or once, with pause and restart; Update(frameTime) advances it like
// every graphic. Each frame is drawn as a Sprite draws it. Sequences are built elsewhere.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "quill_mark/graphics/qm_animated_sprite.h"
#include "quill_mark/graphics/qm_color.h"
#include "quill_mark/graphics/qm_graphic.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_sprite_sheet.h"

namespace Quillmark::Graphics
{

class AnimationPlayer : public Graphic
{
public:
    // Copies the sequence's frames and starts on the first one, playing. A rate of 0 or less is
    // reported and the player then stays on its first frame; an empty sequence is reported and
    // the player then draws nothing.
    AnimationPlayer(const AnimationSequence& sequence, float framesPerSecond, bool isLooping);
    // The sheet's sequence of that name; a name not on the sheet is reported, and the player is
    // then empty and draws nothing.
    AnimationPlayer(const SpriteSheet& sheet, const std::string& animationName,
                    float framesPerSecond, bool isLooping);

    // The time stops; the frame on show stays on show.
    void Pause() { mIsPaused = true; }
    void Resume() { mIsPaused = false; }
    bool IsPaused() const { return mIsPaused; }
    // Back to the first frame, playing, also after a one-shot has finished or while paused.
    void Restart();

    // A one-shot has finished once its last frame has been shown for a whole frame time; it then
    // keeps showing that frame. A looping player never finishes.
    bool IsFinished() const;
    // Index of the frame on show into the sequence's frames.
    std::size_t GetFrameIndex() const { return mFrameIndex; }
    std::size_t GetFrameCount() const { return mFrames.size(); }

    // These apply to every frame, as on a Sprite: the anchor places each frame on the position
    // whatever its size; scale is a factor, rotation in degrees (clockwise on screen).
    void SetOrigin(const AnchorLocation& anchor);
    void SetColor(const Color& color);
    void SetScale(float x, float y);
    void SetRotation(float degrees);

    // Seconds since the last update; a negative, endless or undefined time changes nothing.
    void OnUpdate(float frameTime) override;
    void OnRender() override;

private:
    AnimationPlayer(const std::vector<SpriteFrame>& frames, float framesPerSecond, bool isLooping);
    void ShowFrame(std::size_t index);

    std::vector<SpriteFrame> mFrames;
    float mFramesPerSecond;
    bool mIsLooping;
    bool mIsPaused = false;
    // Seconds played in the current round; kept within one round while looping, so its precision
    // does not wear away over a long run.
    double mPlayedTime = 0.0;
    std::size_t mFrameIndex = 0;
    AnchorLocation mAnchor = kAnchorCenter;
    // Draws the frame on show; rebuilt from the settings above when the frame changes.
    Sprite mSprite;
};

}  // namespace Quillmark::Graphics
