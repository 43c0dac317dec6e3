// SPDX-License-Identifier: Zlib
// Program entry of the game: plays it, records it (--record FILE), replays a recording of it
// (--replay FILE [--show] [--until-frame N]) or says its version (--version); the framework's
// session runner reads the arguments.
#include "cinderpath2/game_entry.h"
#include "cinderpath2/version.h"
#include "quill_mark/session/qm_session.h"

int main(int argc, char** argv)
{
    return Quillmark::Session::RunSession(argc, argv, "Cinderpath2", Cinderpath2::RunCinderpath2,
                                          Cinderpath2::GetVersion());
}
