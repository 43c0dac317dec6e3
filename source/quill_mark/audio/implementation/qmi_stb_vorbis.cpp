// SPDX-License-Identifier: Zlib
// The one translation unit that compiles stb_vorbis; the framework reaches it only through the
// music stream's reader. Its integer output and file reading (stdio) are what the reader uses.
//
// stb_vorbis checks a codebook's value count by turning pow() of a count from the file into an
// int, which is undefined once the power passes the int range. Every caller compares that int with
// the codebook's entry count (below 2^24), so a power clamped to INT_MAX gives the same answers
// and keeps the conversion defined. <math.h> comes first, so only stb_vorbis sees the clamp.
#include <math.h>

#include <algorithm>
#include <climits>

namespace
{

double ClampedPower(double base, double exponent)
{
    return std::min(pow(base, exponent), double(INT_MAX));
}

}  // namespace

#define pow ClampedPower
#include <stb_vorbis.h>
#undef pow
