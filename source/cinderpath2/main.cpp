// Program entry of the game. Command-line arguments are not used.
#include "cinderpath2/game_entry.h"

int main()
{
    return Cinderpath2::RunCinderpath2();
}
