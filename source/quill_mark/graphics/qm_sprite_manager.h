// SPDX-License-Identifier: Zlib
// SpriteManager: every sprite sheet of the program under a name, the loader of sprite-sheet files
// (JSON; the format is described in docs/sprite_sheet_format.md) and the maker of sprites by
// sheet and sprite name. Sheets are only ever added or filled, never unloaded.
#pragma once

#include <map>
#include <string>

#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_sprite_sheet.h"

namespace Quillmark::Graphics
{

class SpriteManager : private Core::Noncopyable
{
public:
    SpriteManager() = default;

    // Loads the file into the sheet of that name (an existing sheet is added to). Returns false
    // when the file stopped the load: nothing is stored when the file as a whole is unusable, and
    // a nameless sprite keeps the frames added before it. The texture is created through the
    // texture manager, so the window's OpenGL context must be current.
    bool LoadSpriteSheetFromFile(const std::string& sheetName, const std::string& filePath);

    // A new sprite from a copy of the named frame. An unknown sheet or sprite is reported and gives
    // a sprite of the empty frame (no texture, zero size), which draws nothing; no sheet is made.
    Sprite GetSprite(const std::string& sheetName, const std::string& spriteName) const;

    // The sheet under that name; an empty sheet without texture is made for a new name.
    SpriteSheet& GetSpriteSheet(const std::string& sheetName);

private:
    std::map<std::string, SpriteSheet> mSpriteSheets;
};

extern SpriteManager theSpriteManager;

}  // namespace Quillmark::Graphics
