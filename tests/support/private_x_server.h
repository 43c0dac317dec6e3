// Test support: a private Xvfb for one test process, so display tests running side by side never
// share a pointer, a keyboard focus or a screen position. The server lives until the process
// exits and is stopped after every exit handler registered later (SDL's among them) has run.
#pragma once

#include <string>

namespace QuillmarkTest
{

// Starts the server on the first call and points DISPLAY at it; later calls return the same
// display name. Returns an empty string when no server could be started.
std::string StartPrivateXServer();

}  // namespace QuillmarkTest
