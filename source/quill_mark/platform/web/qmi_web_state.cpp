// SPDX-License-Identifier: Zlib
// The web layer's process-wide state and the helpers its files share. A page has one canvas, so
// there is at most one live window; destroyed ones stay in the tables for the stale-handle checks.
#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation::WebLayer
{

State& GetState()
{
    static State state;
    return state;
}

Window* CanvasWindow()
{
    return GetState().FirstLiveWindow();
}

}  // namespace qmImplementation::WebLayer
