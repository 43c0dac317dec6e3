// SPDX-License-Identifier: Zlib
// The framework's version at run time: the one its packages, CMake package and pkg-config files
// carry, all taken from the project's single version. Says nothing of the game's own version.
#pragma once

namespace Quillmark
{

// "major.minor.patch" of the framework library linked into the program, which is the version
// that counts when a game was compiled against other headers than the library it runs with.
const char* GetVersion();

}  // namespace Quillmark
