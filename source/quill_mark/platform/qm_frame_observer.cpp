// SPDX-License-Identifier: Zlib
// The observer and the switch are plain values: the loop reads each once per frame, so a plain
// run pays a load and a branch for each.
#include "quill_mark/platform/qm_frame_observer.h"

namespace Quillmark::Platform
{

namespace
{
FrameObserver theFrameObserver = nullptr;
bool theFramesAreDrawn = true;
}  // namespace

void SetFrameObserver(FrameObserver observer)
{
    theFrameObserver = observer;
}

FrameObserver GetFrameObserver()
{
    return theFrameObserver;
}

void SetFramesDrawn(bool drawn)
{
    theFramesAreDrawn = drawn;
}

bool AreFramesDrawn()
{
    return theFramesAreDrawn;
}

}  // namespace Quillmark::Platform
