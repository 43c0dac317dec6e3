// The frame observer is a plain pointer: the loop reads it once per frame, so an unobserved run
// pays one load and one branch.
#include "quill_mark/platform/qm_frame_observer.h"

namespace Quillmark::Platform
{

namespace
{
FrameObserver theFrameObserver = nullptr;
}

void SetFrameObserver(FrameObserver observer)
{
    theFrameObserver = observer;
}

FrameObserver GetFrameObserver()
{
    return theFrameObserver;
}

}  // namespace Quillmark::Platform
