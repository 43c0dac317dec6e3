// SPDX-License-Identifier: Zlib
// The whole game from start to end, as the program entry runs it. Kept apart from main() so the
// tests can run the real start-up, loop and shut-down on the headless platform layer.
#pragma once

namespace Cinderpath2
{

// Opens the window, loads the data files (relative to the current directory), runs the gameplay
// scene until the loop ends and tears everything down again. Returns the process exit code: 0,
// or 1 when no window could be opened.
int RunCinderpath2();

}  // namespace Cinderpath2
