// SPDX-License-Identifier: Zlib
// The pads' side of the input state: reading every pad the schedule asks about, once per loop
// iteration, when the input frame begins. The game reads the pads through qm_input_state.h only.
#pragma once

namespace Quillmark::Application
{

// Asks the platform about the slots due in this iteration, and counts the iteration.
void ReadGamepads();

}  // namespace Quillmark::Application
