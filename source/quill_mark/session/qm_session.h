// SPDX-License-Identifier: Zlib
// How a game's program runs: live on its platform's layer, live and written down to a session
// recording, or replayed from one and checked frame by frame. Any game on the framework gets the
// three by handing its whole run to RunSession, which also chooses the platform layer.
//   (no arguments)                              live
//   --record FILE                               live, every answer also written to FILE
//   --replay FILE [--show] [--until-frame N]    answered from FILE: headless and as fast as the
//                                               machine allows, or in a window at recorded speed;
//                                               stopping after frame N if asked
//   --version                                   prints the game's and the framework's versions
// Other arguments are left to the game (a launcher may pass its own): the game plays as if they
// were absent. The recording format is described in docs/replay_format.md.
#pragma once

namespace Quillmark::Session
{

// runGame is the game's whole run (window, data, loop, tear-down), returning its exit code;
// gameName is written into recordings and must match when one is replayed. --version prints
// "<gameName> <gameVersion> (Quillmark <version>)" (without the game's version when it has none)
// and returns 0 without running the game.
// Returns the process's exit code: the game's own when it runs live, recorded or not. A replay
// prints its verdict and returns 0 when it ran identical (or stopped where asked), 1 when the
// game took another course (naming the first frame that differs, and what), and 2 for input it
// cannot replay: a file that is unreadable, truncated, of another version, of another game, or
// that runs out before the game ends. A malformed value of one of the options above, or options
// that do not go together, also give 2 with a message, before anything runs.
int RunSession(int argc, char** argv, const char* gameName, int (*runGame)(),
               const char* gameVersion = nullptr);

}  // namespace Quillmark::Session
