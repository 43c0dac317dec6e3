// SPDX-License-Identifier: Zlib
// The one translation unit that compiles stb_truetype. Nothing else includes its implementation:
// fonts reach it only through the checked reader in qmi_truetype_file.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
