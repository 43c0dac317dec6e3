// SPDX-License-Identifier: Zlib
// The Win32 layer's operations gathered into its table, which is the live layer on Windows.
#include "quill_mark/platform/qmi_live_layer.h"
#include "quill_mark/platform/win32/qmi_win32_state.h"

namespace qmImplementation
{

namespace Win32Layer
{
constexpr qmSeam::Table kTable = QM_SEAM_LAYER_TABLE;
}

const qmSeam::Table& LiveLayer()
{
    return Win32Layer::kTable;
}

}  // namespace qmImplementation
