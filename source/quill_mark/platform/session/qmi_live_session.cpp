// RunSession where sessions cannot be recorded or replayed (the Windows build, on the system's own
// API): the game runs live, and a command line asking for a recording or a replay is refused
// with exit code 2, as any command line RunSession does not understand is.
#include <cstdio>

#include "quill_mark/platform/qm_session.h"

namespace Quillmark::Platform
{

int RunSession(int argc, char** argv, const char* gameName, int (*runGame)())
{
    if (argc > 1)
    {
        std::fprintf(stderr,
                     "%s: recording and replaying sessions (%s) is not available in this build.\n",
                     gameName, argv[1]);
        return 2;
    }
    return runGame();
}

}  // namespace Quillmark::Platform
