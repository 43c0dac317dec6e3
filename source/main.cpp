// Program entry of the game. Command-line arguments are not used.
#include "game_entry.h"

int main()
{
    return Cinderpath2::RunCinderpath2();
}
