// The framework's own names for the three handle types that each platform layer defines for
// itself. Layers built for the switchable seam rename their handle types (qmi_layer_names.h), so
// this header is read before any renaming and these names always mean what the framework sees.
#pragma once

struct HWND__;
struct HDC__;
struct HGLRC__;

namespace qmSeam
{

using Window = ::HWND__*;
using DeviceContext = ::HDC__*;
using GlContext = ::HGLRC__*;

}  // namespace qmSeam
