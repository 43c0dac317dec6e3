// The module handle and the system resources both layers hand out; the tables themselves are a
// template in the header, as each layer's window type is its own.
#include "quill_mark/platform/implementation/qmi_handle_tables.h"

namespace qmImplementation
{

namespace
{
HINSTANCE__ theModuleInstance = {};
HICON__ theApplicationIcon = {};
HICON__ theArrowCursor = {};
}  // namespace

HMODULE ModuleHandle(LPCSTR moduleName)
{
    return moduleName == nullptr ? &theModuleInstance : nullptr;
}

HICON SystemIcon(HINSTANCE instance, LPCSTR iconName)
{
    return instance == nullptr && iconName == IDI_APPLICATION ? &theApplicationIcon : nullptr;
}

HCURSOR SystemCursor(HINSTANCE instance, LPCSTR cursorName)
{
    return instance == nullptr && cursorName == IDC_ARROW ? &theArrowCursor : nullptr;
}

}  // namespace qmImplementation
