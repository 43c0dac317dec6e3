// Runs a game with its platform seam answered the way its command line asks: live on SDL, live
// and written down to a session recording, or from a recording, checked frame by frame. Any game
// on the framework gets the same three ways of running by handing its whole run to RunSession.
//   (no arguments)                              live
//   --record FILE                               live, every answer also written to FILE
//   --replay FILE [--show] [--until-frame N]    answered from FILE: headless and as fast as the
//                                               machine allows, or in a window at recorded speed;
//                                               stopping after frame N if asked
// The recording format is described in docs/replay_format.md.
#pragma once

namespace Quillmark::Platform
{

// runGame is the game's whole run (window, data, loop, tear-down), returning its exit code;
// gameName is written into recordings and must match when one is replayed.
// Returns the process's exit code: the game's own when it runs live, recorded or not. A replay
// prints its verdict and returns 0 when it ran identical (or stopped where asked), 1 when the
// game took another course (naming the first frame that differs, and what), and 2 for input it
// cannot replay: a file that is unreadable, truncated, of another version, of another game, or
// that runs out before the game ends. A command line it does not understand also gives 2.
int RunSession(int argc, char** argv, const char* gameName, int (*runGame)());

}  // namespace Quillmark::Platform
