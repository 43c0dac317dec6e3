// SPDX-License-Identifier: Zlib
// The drawing state every scene is drawn in: a pixel-exact 2D projection over the viewport and
// the fixed-function state (depth test, blending, alpha test) sprites rely on. Nothing else.
#pragma once

namespace qmImplementation
{

// One pixel per unit, origin at the top-left corner, y down; depth -1 to 1. Pushes the
// projection and model-view matrices and the attributes it changes.
void BeginDrawing2D();
// Restores what BeginDrawing2D pushed.
void EndDrawing2D();

}  // namespace qmImplementation
