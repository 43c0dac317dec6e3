// Program entry of the game: plays it, records it (--record FILE) or replays a recording of it
// (--replay FILE [--show] [--until-frame N]); the framework's session runner reads the arguments.
#include "cinderpath2/game_entry.h"
#include "quill_mark/platform/qm_session.h"

int main(int argc, char** argv)
{
    return Quillmark::Platform::RunSession(argc, argv, "Cinderpath2", Cinderpath2::RunCinderpath2);
}
