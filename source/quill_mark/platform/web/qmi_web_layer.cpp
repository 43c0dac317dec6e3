// SPDX-License-Identifier: Zlib
// The web layer's operations gathered into its table, which is the live layer in a browser page.
#include "quill_mark/platform/qmi_live_layer.h"
#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation
{

namespace WebLayer
{
constexpr qmSeam::Table kTable = QM_SEAM_LAYER_TABLE;
}

const qmSeam::Table& LiveLayer()
{
    return WebLayer::kTable;
}

}  // namespace qmImplementation
