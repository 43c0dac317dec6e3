// SPDX-License-Identifier: Zlib
// The game's version, which --version prints: the project's one version (QM_TEST_PROJECT_VERSION,
// from the same definition).
#include "cinderpath2/version.h"

#include <gtest/gtest.h>

#include <string>

TEST(Cinderpath2Version, IsTheProjectVersion)
{
    EXPECT_EQ(std::string(Cinderpath2::GetVersion()), QM_TEST_PROJECT_VERSION);
}
