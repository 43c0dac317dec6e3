// SPDX-License-Identifier: Zlib
// The game's version, which --version prints beside the framework's. The game shares the
// project's single version with the framework it ships with.
#pragma once

namespace Cinderpath2
{

// "major.minor.patch" of the game.
const char* GetVersion();

}  // namespace Cinderpath2
