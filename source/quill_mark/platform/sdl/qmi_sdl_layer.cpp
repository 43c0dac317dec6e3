// SPDX-License-Identifier: Zlib
// The SDL layer's operations gathered into its table, which is the desktop's live layer.
#include "quill_mark/platform/qmi_live_layer.h"
#include "quill_mark/platform/sdl/qmi_sdl_state.h"

namespace qmImplementation
{

namespace SdlLayer
{
constexpr qmSeam::Table kTable = QM_SEAM_LAYER_TABLE;
}

const qmSeam::Table& LiveLayer()
{
    return SdlLayer::kTable;
}

}  // namespace qmImplementation
