// SPDX-License-Identifier: Zlib
// The random sequence every run repeats: the spawn directions and the audio event choices of
// the game are defined by these numbers, so the generator must match them exactly.
#include <gtest/gtest.h>

#include <algorithm>

#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_random.h"

TEST(CrtRand, StartsWithTheKnownSequenceWhichRandomFloatSharesScaledBy2PowMinus15)
{
    SetCrtRandState(1);
    EXPECT_EQ(CrtRand(), 41);
    EXPECT_EQ(CrtRand(), 18467);
    EXPECT_EQ(Quillmark::Platform::RandomFloat(), 6334.0f / 32768.0f);
    EXPECT_EQ(CrtRand(), 26500);
    EXPECT_EQ(Quillmark::Platform::RandomFloat(), 19169.0f / 32768.0f);
    int largest = 0;
    for (int i = 0; i < 100000; ++i)
        largest = std::max(largest, CrtRand());
    EXPECT_EQ(largest, kCrtRandMaximum);
}
