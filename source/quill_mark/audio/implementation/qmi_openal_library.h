// SPDX-License-Identifier: Zlib
// OpenAL on Windows, which has no OpenAL library of its own: the framework defines the OpenAL
// functions it calls and forwards each to a library found when the program starts. Built for
// Windows only; on Linux the framework links OpenAL Soft directly and this file is not used.
#pragma once

namespace qmImplementation::OpenAlLibrary
{

// Tried in this order, each beside the program first and then on the system's search path.
constexpr const char* kLibraryNames[] = {"OpenAL32.dll", "soft_oal.dll"};

// True when one of them was found with every entry point the framework calls. When false, every
// call goes to a stub that does nothing and reports no OpenAL error: no device opens (the audio
// manager reports that once, at start-up), and every play is silent and finishes at once.
bool IsLoaded();

}  // namespace qmImplementation::OpenAlLibrary
