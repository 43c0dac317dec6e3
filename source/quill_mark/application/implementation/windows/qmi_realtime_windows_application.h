// SPDX-License-Identifier: Zlib
// The window layer: the window, its OpenGL context, the message loop and the window procedure,
// written against the platform seam (quill_mark/platform/qmi_seam.h) alone.
// It holds the process-wide window state; RealtimeApplication only forwards to it.
#pragma once

#include <string>

#include "quill_mark/application/qm_application_handler_interface.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

namespace qmImplementation::RealtimeWindowsApplication
{

// Win32's types, numbers and calls, answered by whichever layer the program chose.
using namespace qmSeam;
using namespace qmSeam::Calls;

using Quillmark::Application::ApplicationHandlerInterface;

void Open(ApplicationHandlerInterface& applicationHandler);
void Run(ApplicationHandlerInterface& applicationHandler);
void Close(ApplicationHandlerInterface& applicationHandler);
// True while there is a window: from an Open() that could make one until Close().
bool HasWindow();

void SetWindowTitle(const std::string& title);
// The labels are not displayed: the platform's own button captions are. An empty cancel label
// gives a single button.
bool OpenMessageBox(const std::string& title, const std::string& message,
                    const std::string& confirmLabel, const std::string& cancelLabel);

LRESULT WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qmImplementation::RealtimeWindowsApplication
