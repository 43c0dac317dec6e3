// SPDX-License-Identifier: Zlib
// The default scene: a 256 x 256 logo texture decoded from the PNG bytes built into the program,
// drawn as one sprite centred on the middle of the default 1280 x 720 window.
#include "quill_mark/game/implementation/qmi_default_scene.h"

#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_texture_manager.h"

namespace qmImplementation
{

using Quillmark::Graphics::Sprite;
using Quillmark::Graphics::SpriteFrame;
using Quillmark::Graphics::TextureHandle;

DefaultScene theDefaultScene;

namespace
{

constexpr float kLogoSize = 256.0f;
constexpr float kWindowCentreX = 640.0f;
constexpr float kWindowCentreY = 360.0f;

// The whole texture, filled in directly: the logo's size is known, so no size query is needed.
SpriteFrame WholeLogoFrame(TextureHandle texture)
{
    SpriteFrame frame;
    frame.x = 0.0f;
    frame.y = 0.0f;
    frame.width = kLogoSize;
    frame.height = kLogoSize;
    frame.uvLeft = 0.0f;
    frame.uvTop = 0.0f;
    frame.uvRight = 1.0f;
    frame.uvBottom = 1.0f;
    frame.texture = texture;
    return frame;
}

}  // namespace

DefaultScene::~DefaultScene()
{
    if (mLogo != nullptr)
    {
        RemoveGraphic(*mLogo);
        delete mLogo;
        mLogo = nullptr;
    }
}

void DefaultScene::OnSimulate() {}

void DefaultScene::OnUpdate(float /*frameTime*/)
{
    if (mLogo != nullptr)
    {
        return;
    }
    const TextureHandle texture =
        Quillmark::Graphics::theTextureManager.CreateTextureFromFileInMemory(kLogoImage,
                                                                             kLogoImageSize);
    mLogo = new Sprite(WholeLogoFrame(texture));
    mLogo->SetOrigin(Quillmark::Graphics::kAnchorCenter);
    mLogo->SetPosition(kWindowCentreX, kWindowCentreY);
    AddGraphic(*mLogo);
}

}  // namespace qmImplementation
