// The random sequence every run repeats: the spawn directions and the audio event choices of
// the game are defined by these numbers, so the generator must match them exactly.
#include <gtest/gtest.h>

#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/qm_random.h"

TEST(CrtRand, StartsWithTheKnownSequenceAndStaysIn15Bits)
{
    SetCrtRandState(1);
    EXPECT_EQ(CrtRand(), 41);
    EXPECT_EQ(CrtRand(), 18467);
    EXPECT_EQ(CrtRand(), 6334);
    EXPECT_EQ(CrtRand(), 26500);
    EXPECT_EQ(CrtRand(), 19169);
    for (int i = 0; i < 100000; ++i)
    {
        const int value = CrtRand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, kCrtRandMaximum);
    }
}

TEST(RandomFloat, ScalesTheSharedSequenceBy2PowMinus15)
{
    SetCrtRandState(1);
    EXPECT_EQ(Quillmark::Platform::RandomFloat(), 41.0f / 32768.0f);
    // The float draw and a direct draw share one sequence.
    EXPECT_EQ(CrtRand(), 18467);
    SetCrtRandState(1);
    CrtRand();
    EXPECT_EQ(Quillmark::Platform::RandomFloat(), 18467.0f / 32768.0f);
}
