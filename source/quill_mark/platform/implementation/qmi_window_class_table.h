// SPDX-License-Identifier: Zlib
// Registered window classes, shared by the layers that keep their own: a class is found by name
// (ignoring case, as Win32 class names are) and keeps its own copies of the names it was given.
// Unregistering is left out: nothing in the framework does it.
#pragma once

#include <deque>
#include <string>

#include "quill_mark/platform/qmi_seam.h"

namespace qmImplementation
{

struct RegisteredWindowClass
{
    qmSeam::ATOM atom = 0;
    std::string name;
    std::string menuName;
    // As given, except that the two name pointers are null: use the strings above.
    qmSeam::WNDCLASSA windowClass = {};
};

class WindowClassTable
{
public:
    // 0 when the class has no name or no procedure, or a class of that name already exists.
    qmSeam::ATOM Register(const qmSeam::WNDCLASSA& windowClass);
    // Null when no class of that name is registered.
    const RegisteredWindowClass* Find(qmSeam::LPCSTR name) const;
    void Clear();

private:
    // A deque, so pointers handed out by Find stay valid while classes are added.
    std::deque<RegisteredWindowClass> classes;
};

}  // namespace qmImplementation
