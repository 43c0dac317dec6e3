// SPDX-License-Identifier: Zlib
// Window class registration. Atoms count up from the first value Win32 hands
// out for registered classes, so a class atom never looks like a small integer.
#include "quill_mark/platform/implementation/qmi_window_class_table.h"

#include <strings.h>

namespace qmImplementation
{

using qmSeam::ATOM;
using qmSeam::LPCSTR;
using qmSeam::WNDCLASSA;

namespace
{
constexpr ATOM kFirstClassAtom = 0xC000;
}  // namespace

ATOM WindowClassTable::Register(const WNDCLASSA& windowClass)
{
    if (windowClass.lpszClassName == nullptr || windowClass.lpfnWndProc == nullptr ||
        Find(windowClass.lpszClassName) != nullptr)
    {
        return 0;
    }
    RegisteredWindowClass& added = classes.emplace_back();
    added.atom = static_cast<ATOM>(kFirstClassAtom + classes.size() - 1);
    added.name = windowClass.lpszClassName;
    added.menuName = windowClass.lpszMenuName != nullptr ? windowClass.lpszMenuName : "";
    added.windowClass = windowClass;
    added.windowClass.lpszClassName = nullptr;
    added.windowClass.lpszMenuName = nullptr;
    return added.atom;
}

const RegisteredWindowClass* WindowClassTable::Find(LPCSTR name) const
{
    if (name == nullptr)
    {
        return nullptr;
    }
    for (const RegisteredWindowClass& registered : classes)
    {
        if (strcasecmp(registered.name.c_str(), name) == 0)
        {
            return &registered;
        }
    }
    return nullptr;
}

void WindowClassTable::Clear()
{
    classes.clear();
}

}  // namespace qmImplementation
