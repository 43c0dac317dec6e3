// SPDX-License-Identifier: Zlib
// The one translation unit that compiles stb_image's decoder. Every format it knows is kept,
// since those are the formats the texture manager accepts; nothing else lives here.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
