// SPDX-License-Identifier: Zlib
// Test support on Windows: the POSIX call the suites make for their private folders, which
// MinGW's C library lacks. Included by the support headers that make such folders; nothing else.
#pragma once

#if defined(_WIN32)
#include <direct.h>
#include <io.h>

inline char* mkdtemp(char* pattern)
{
    return _mktemp(pattern) != nullptr && _mkdir(pattern) == 0 ? pattern : nullptr;
}
#endif
