// SPDX-License-Identifier: Zlib
// The build hands the project's version to this file alone (QM_VERSION), so a new version
// recompiles one file, and no header has to be generated into the public include root.
#include "quill_mark/core/qm_version.h"

#ifndef QM_VERSION
#error "QM_VERSION must be defined by the build: the project's version, as \"major.minor.patch\""
#endif

namespace Quillmark
{

const char* GetVersion()
{
    return QM_VERSION;
}

}  // namespace Quillmark
