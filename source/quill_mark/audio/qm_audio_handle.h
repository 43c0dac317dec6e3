// SPDX-License-Identifier: Zlib
// The number under which the audio manager keeps one loaded sound. Handles count up from 1 in
// load order and are never reused, since sounds are never unloaded.
#pragma once

#include <cstdint>

namespace Quillmark::Audio
{

using AudioHandle = std::uint32_t;
constexpr AudioHandle kInvalidAudio = 0;

}  // namespace Quillmark::Audio
