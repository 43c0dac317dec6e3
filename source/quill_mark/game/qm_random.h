// Random numbers for the game and the audio events, all from the platform's one sequence.
#pragma once

namespace Quillmark::Game
{

// A float in [0, 1) on a grid of 1/32768: one CrtRand() draw times 2^-15, rounded to float.
float RandomFloat();

}  // namespace Quillmark::Game
