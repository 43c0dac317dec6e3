// SPDX-License-Identifier: Zlib
// The one random sequence of the framework and its games: the C runtime's generator, ours on
// every platform so a run draws the same numbers everywhere, and RandomFloat scaled from it.
// Seeding and other distributions are left out: the sequence is never seeded.
#pragma once

// 15-bit results (0 to 32767) from one process-wide sequence, as rand is on Win32: the state
// starts at 1, and every run draws 41, 18467, 6334, 26500, 19169, ...
int CrtRand();
constexpr int kCrtRandMaximum = 0x7FFF;

namespace Quillmark::Platform
{

// A float in [0, 1) on a grid of 1/32768: one CrtRand() draw times 2^-15, rounded to float.
// Every run draws the same sequence, shared by everything that calls it or CrtRand().
float RandomFloat();

}  // namespace Quillmark::Platform
