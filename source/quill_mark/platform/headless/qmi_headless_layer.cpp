// SPDX-License-Identifier: Zlib
// The headless layer's operations gathered into its table.
#include "quill_mark/platform/headless/qmi_headless_state.h"

namespace qmImplementation::HeadlessLayer
{

const qmSeam::Table& Table()
{
    static constexpr qmSeam::Table kTable = QM_SEAM_LAYER_TABLE;
    return kTable;
}

}  // namespace qmImplementation::HeadlessLayer
