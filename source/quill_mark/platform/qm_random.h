// RandomFloat, the one random float the framework and games draw. It lives beside the C runtime
// generator it scales, in the platform module, so that audio events and game code both reach it
// without either reaching into the other; seeding and other distributions are left out.
#pragma once

namespace Quillmark::Platform
{

// A float in [0, 1) on a grid of 1/32768: one CrtRand() draw times 2^-15, rounded to float.
// Every run draws the same sequence, shared by everything that calls it or CrtRand().
float RandomFloat();

}  // namespace Quillmark::Platform
