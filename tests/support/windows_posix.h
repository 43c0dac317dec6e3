// Test support on Windows: the POSIX call the suites make for their private folders, which
// MinGW's C library lacks. Included into every Windows test source by the build; nothing else.
#pragma once

#include <direct.h>
#include <io.h>

inline char* mkdtemp(char* pattern)
{
    return _mktemp(pattern) != nullptr && _mkdir(pattern) == 0 ? pattern : nullptr;
}
