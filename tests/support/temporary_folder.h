// SPDX-License-Identifier: Zlib
// Test support: a private temporary folder for the files a test writes, removed with everything in
// it when it goes, and a file's whole bytes read back.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

#include "support/windows_posix.h"

namespace QuillmarkTest
{

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct TemporaryFolder
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qm_test_XXXXXX").string();
    std::filesystem::path path{Made(mkdtemp(pattern.data()))};

    // Never throws: a file a failed test left open, which Windows will not remove, must not end
    // the whole test program.
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    // A test without its folder fails with the reason rather than writing somewhere else.
    static const char* Made(const char* folder)
    {
        if (folder == nullptr)
            throw std::runtime_error("no temporary folder could be made");
        return folder;
    }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::string Write(const std::string& name, const std::string& contents) const
    {
        std::ofstream(File(name), std::ios::binary) << contents;
        return File(name);
    }
};

}  // namespace QuillmarkTest
