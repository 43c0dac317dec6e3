// SPDX-License-Identifier: Zlib
// What an application built on the realtime window application implements: callbacks for the
// window's life and for every loop iteration, and the chance to choose the client size.
// Every callback but the destructor does nothing unless overridden.
#pragma once

#include <cstdint>

namespace Quillmark::Application
{

// The size of the window's client area in pixels.
struct WindowProperties
{
    std::int32_t width = 1280;
    std::int32_t height = 720;
};

class ApplicationHandlerInterface
{
public:
    virtual ~ApplicationHandlerInterface() = 0;
    // Once, at the end of Open(): the window and the OpenGL context exist, the window is not
    // shown yet.
    virtual void OnOpen() {}
    // When the window is destroyed, by Close() or by the user closing it.
    virtual void OnClose() {}
    virtual void OnBecomeActive() {}
    virtual void OnBecomeInactive() {}
    // Once per loop iteration, after the pending messages were handled and before the back
    // buffer is presented.
    virtual void OnFrame() {}
    // Reserved; never raised by the window layer.
    virtual void OnReservedEvent1(std::int32_t /*first*/, std::int32_t /*second*/) {}
    virtual void OnReservedEvent2(std::int32_t /*first*/, std::int32_t /*second*/) {}
    // Once in Open(), before the window is created; the handler may change the values.
    virtual void CollectWindowProperties(WindowProperties& /*properties*/) {}
};

inline ApplicationHandlerInterface::~ApplicationHandlerInterface() = default;

}  // namespace Quillmark::Application
