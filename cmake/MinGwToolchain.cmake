# SPDX-License-Identifier: Zlib
# Cross-compiling for 64-bit Windows on Debian with its MinGW-w64 compilers, the POSIX-threads
# variant (std::thread and std::mutex work as on Linux). Programs are linked statically: they need
# no DLL of the compiler's, only the system's own and, for sound, an OpenAL library beside them.
# Libraries and headers are looked up in the MinGW tree only, never in the build machine's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QM_MINGW_TARGET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QM_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
