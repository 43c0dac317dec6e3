// File loading, and the conversion of the parse tree into a DynamicStructure. The conversion
// goes through the value's own PushValue and AddMember, so mixed arrays and empty nested
// containers produce the same reports as when a program builds the value by hand.
#include "reference/reference_json_parser.h"

#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <memory>

#include "quill_mark/core/qm_error.h"
#include "reference/reference_json_text_parser.h"
#include "reference/reference_json_value.h"

namespace QuillmarkReference
{

namespace
{

using qmReference::JsonValue;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Consumes the tree. Depth is bounded by the reader's nesting limit, so recursion is safe here.
DynamicStructure ToDynamicStructure(JsonValue&& value)
{
    DynamicStructure result;
    switch (value.GetKind())
    {
        case JsonValue::StringVal:
            result.SetString(value.TakeString(), true);
            break;
        case JsonValue::IntVal:
            result.SetInteger(value.GetInteger(), true);
            break;
        case JsonValue::FloatVal:
        case JsonValue::DoubleVal:
            // The float field holds the double rounded to the nearest float.
            result.SetFloat(value.GetFloat(), true);
            break;
        case JsonValue::BoolVal:
            result.SetBoolean(value.GetBoolean(), true);
            break;
        case JsonValue::ObjectVal:
        {
            JsonValue::MemberTable members = value.TakeMembers();
            result.Reserve(static_cast<std::uint32_t>(members.size()));
            for (JsonValue::Member& member : members)
            {
                result.AddMember(std::move(member.first),
                                 ToDynamicStructure(std::move(member.second)));
            }
            break;
        }
        case JsonValue::ArrayVal:
        {
            JsonValue::ElementList elements = value.TakeElements();
            result.Reserve(static_cast<std::uint32_t>(elements.size()));
            for (JsonValue& element : elements)
            {
                result.PushValue(ToDynamicStructure(std::move(element)));
            }
            break;
        }
        default:
            break;
    }
    return result;
}

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
    // Binary and text mode read alike on this platform.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(filePath.c_str(), "rb"));
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
    qmReference::JsonTextParser parser;
    return ToDynamicStructure(parser.Parse(jsonText));
}

}  // namespace QuillmarkReference
