// SPDX-License-Identifier: Zlib
// File loading and the entry points of the JSON reader (implementation/qmi_json_reader), which
// reads plain and lenient text alike in one pass.
#include "quill_mark/core/qm_json_parser.h"

#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <memory>

#include "quill_mark/core/implementation/qmi_json_reader.h"
#include "quill_mark/core/qm_error.h"

namespace Quillmark::Core
{

namespace
{

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file's size, or -1 when it has none to find: a folder (which the C library opens like a
// file, but whose "size" is meaningless) or a stream that cannot seek.
long FindFileSize(std::FILE* file)
{
    struct stat status = {};
    if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode))
    {
        return -1;
    }
    if (std::fseek(file, 0, SEEK_END) != 0)
    {
        return -1;
    }
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0)
    {
        return -1;
    }
    return size;
}

}  // namespace

DynamicStructure LoadJsonFile(const std::string& filePath)
{
    // Text mode: where lines end in CR LF on disk (Windows), each pair reads as one LF, also inside
    // strings; elsewhere text mode reads the bytes as they are.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(filePath.c_str(), "r"));
    const long size = file ? FindFileSize(file.get()) : -1;
    if (size < 0)
    {
        qmTriggerError("Was unable to load json file: %s\n", filePath.c_str());
        return kNilStructure;
    }
    std::string buffer;
    try
    {
        // One zero byte more than the file, as the text ends at the first zero byte.
        buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
    }
    catch (const std::exception&)
    {
        qmTriggerError("Was unable to allocate memory to load json file: %s", filePath.c_str());
        return kNilStructure;
    }
    const std::size_t read =
        std::fread(buffer.data(), 1, static_cast<std::size_t>(size), file.get());
    buffer.resize(read);
    const std::size_t end = buffer.find('\0');
    return ParseJson(std::string_view(buffer).substr(0, end));
}

DynamicStructure ParseJson(const std::string& jsonText)
{
    return ParseJson(std::string_view(jsonText));
}

DynamicStructure ParseJson(const char* jsonText)
{
    return ParseJson(jsonText != nullptr ? std::string_view(jsonText) : std::string_view());
}

DynamicStructure ParseJson(std::string_view jsonText)
{
    return qmImplementation::JsonReader().Read(jsonText);
}

}  // namespace Quillmark::Core
