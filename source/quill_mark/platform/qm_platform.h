// The platform seam: the few operating-system services the framework uses, under the names and
// signatures of the original platform. Two implementations exist, on SDL2 for the game and a
// scripted one for tests; the framework library never knows which one is linked.
#pragma once

// The C runtime's generator of the original platform: 15-bit results (0 to 32767) from one
// process-wide sequence that is never seeded, so every run draws the same numbers.
int CrtRand();
constexpr int kCrtRandMaximum = 0x7FFF;
