// SPDX-License-Identifier: Zlib
// The layer a program plays on: the one of the platform it was built for (SDL on the desktop,
// Win32 on Windows, the page in a browser). That layer defines LiveLayer; a build has exactly one.
#pragma once

#include "quill_mark/platform/qmi_seam.h"

namespace qmImplementation
{

const qmSeam::Table& LiveLayer();

}  // namespace qmImplementation
