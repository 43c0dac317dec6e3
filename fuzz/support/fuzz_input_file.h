// SPDX-License-Identifier: Zlib
// Fuzz support: the file a target writes each input to, for readers that take a path. It is the
// process's own (named after it, in the system's temporary folder) and removed when the run ends
// normally; a crash leaves it, beside the reproducer libFuzzer writes.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace QuillmarkFuzz
{

class InputFile
{
public:
    // The name is the target's, the extension the one its reader expects (".wav", ".json", …).
    InputFile(const std::string& name, const std::string& extension)
        : mPath((std::filesystem::temp_directory_path() /
                 (name + "_" + std::to_string(getpid()) + extension))
                    .string())
    {
    }
    ~InputFile() { std::remove(mPath.c_str()); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Replaces the file's contents with the input; gives the path to read it from.
    const std::string& Write(const std::uint8_t* bytes, std::size_t size) const
    {
        std::ofstream(mPath, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        return mPath;
    }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

}  // namespace QuillmarkFuzz
