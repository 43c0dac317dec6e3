// SPDX-License-Identifier: Zlib
// RealtimeApplication hands its handler to the window layer; all the work and all the state
// live there, since the window is one per process.
#include "quill_mark/application/qm_realtime_application.h"

#include "quill_mark/application/implementation/windows/qmi_realtime_windows_application.h"

namespace Quillmark::Application
{

namespace WindowLayer = qmImplementation::RealtimeWindowsApplication;

RealtimeApplication::RealtimeApplication(ApplicationHandlerInterface& applicationHandler)
    : applicationHandler(applicationHandler)
{
}

void RealtimeApplication::Open()
{
    WindowLayer::Open(applicationHandler);
}

void RealtimeApplication::Run()
{
    WindowLayer::Run(applicationHandler);
}

void RealtimeApplication::Close()
{
    WindowLayer::Close(applicationHandler);
}

bool RealtimeApplication::HasWindow() const
{
    return WindowLayer::HasWindow();
}

void RealtimeApplication::SetWindowTitle(const std::string& title)
{
    WindowLayer::SetWindowTitle(title);
}

bool RealtimeApplication::OpenMessageBox(const std::string& title, const std::string& message)
{
    return WindowLayer::OpenMessageBox(title, message, "Okay", "");
}

}  // namespace Quillmark::Application
