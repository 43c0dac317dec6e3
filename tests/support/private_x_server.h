// SPDX-License-Identifier: Zlib
// Test support: a private Xvfb per test process, so display tests side by side never share pointer,
// focus or screen; it is stopped after every exit handler registered later (SDL's) has run.
#pragma once

#include <string>

namespace QuillmarkTest
{

// Starts the server once and points DISPLAY at it; its name, or empty when none could start.
std::string StartPrivateXServer();

}  // namespace QuillmarkTest
