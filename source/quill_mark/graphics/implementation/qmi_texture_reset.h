// SPDX-License-Identifier: Zlib
// Lets a fuzzer or test start each input from an empty texture manager. The framework itself never
// releases a texture (sheets and sprites keep their handles for the whole run), so nothing but
// such drivers may call it.
#pragma once

namespace qmImplementation
{

// Deletes every texture (the OpenGL context they were made in must be current) and empties the
// tables; every handle handed out before is unknown afterwards.
void ReleaseAllTextures();

}  // namespace qmImplementation
