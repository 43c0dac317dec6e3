// SPDX-License-Identifier: Zlib
// Access to the random sequence's state for the platform implementations only (the headless
// layer lets a test restart the sequence, a session recording writes down where it stands);
// framework code draws through CrtRand() alone.
#pragma once

#include <cstdint>

void SetCrtRandState(std::uint32_t state);
std::uint32_t GetCrtRandState();
