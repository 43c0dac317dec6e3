// SPDX-License-Identifier: Zlib
// The build hands the project's version to this file alone (CINDERPATH2_VERSION), so a new
// version recompiles one file.
#include "cinderpath2/version.h"

#ifndef CINDERPATH2_VERSION
#error "CINDERPATH2_VERSION must be defined by the build: the project's version"
#endif

namespace Cinderpath2
{

const char* GetVersion()
{
    return CINDERPATH2_VERSION;
}

}  // namespace Cinderpath2
