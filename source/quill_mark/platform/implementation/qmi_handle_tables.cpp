// SPDX-License-Identifier: Zlib
// The module handle and the system resources the layers hand out; the tables themselves are a
// template in the header, as each layer's window record is its own.
#include "quill_mark/platform/implementation/qmi_handle_tables.h"

#include "quill_mark/platform/qmi_seam_numbers.h"

namespace qmImplementation
{

using namespace qmSeam;

namespace
{
// Addresses that stand for the three things; nothing is stored behind them.
char theModuleInstance;
char theApplicationIcon;
char theArrowCursor;
}  // namespace

HMODULE ModuleHandle(LPCSTR moduleName)
{
    return moduleName == nullptr ? reinterpret_cast<HMODULE>(&theModuleInstance) : nullptr;
}

HICON SystemIcon(HINSTANCE instance, LPCSTR iconName)
{
    return instance == nullptr && iconName == IDI_APPLICATION
               ? reinterpret_cast<HICON>(&theApplicationIcon)
               : nullptr;
}

HCURSOR SystemCursor(HINSTANCE instance, LPCSTR cursorName)
{
    return instance == nullptr && cursorName == IDC_ARROW
               ? reinterpret_cast<HCURSOR>(&theArrowCursor)
               : nullptr;
}

}  // namespace qmImplementation
