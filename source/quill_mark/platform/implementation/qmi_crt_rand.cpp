// SPDX-License-Identifier: Zlib
// The C runtime's linear congruential generator, as rand is on Win32, shared by every layer.
// The state starts at 1 and nothing in the system ever reseeds it.
#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_random.h"

namespace
{
std::uint32_t theCrtRandState = 1;
}

int CrtRand()
{
    theCrtRandState = theCrtRandState * 214013u + 2531011u;
    return static_cast<int>((theCrtRandState >> 16) & kCrtRandMaximum);
}

void SetCrtRandState(std::uint32_t state)
{
    theCrtRandState = state;
}

std::uint32_t GetCrtRandState()
{
    return theCrtRandState;
}
