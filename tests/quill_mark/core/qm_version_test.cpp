// SPDX-License-Identifier: Zlib
// The framework's version at run time is the project's one version, the one its packages, CMake
// package and pkg-config files carry (QM_TEST_PROJECT_VERSION, from the same definition).
#include "quill_mark/core/qm_version.h"

#include <gtest/gtest.h>

#include <string>

TEST(Version, TheFrameworkReportsTheProjectVersion)
{
    EXPECT_EQ(std::string(Quillmark::GetVersion()), QM_TEST_PROJECT_VERSION);
}
