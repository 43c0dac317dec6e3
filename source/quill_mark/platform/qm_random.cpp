// SPDX-License-Identifier: Zlib
// RandomFloat: the draw is scaled in double precision and then rounded, as the data-driven
// sequences (spawn directions, event volumes) were computed that way.
#include "quill_mark/platform/qm_random.h"

namespace Quillmark::Platform
{

float RandomFloat()
{
    return static_cast<float>(CrtRand() * 0.000030517578125);
}

}  // namespace Quillmark::Platform
