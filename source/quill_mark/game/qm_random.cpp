// RandomFloat: the draw is scaled in double precision and then rounded, as the data-driven
// sequences (spawn directions, event volumes) were computed that way.
#include "quill_mark/game/qm_random.h"

#include "quill_mark/platform/qm_platform.h"

namespace Quillmark::Game
{

float RandomFloat()
{
    return static_cast<float>(CrtRand() * 0.000030517578125);
}

}  // namespace Quillmark::Game
