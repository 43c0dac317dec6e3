// SPDX-License-Identifier: Zlib
// Parses arbitrary bytes and walks the whole result the way data-file loaders do: a deep copy,
// the size of every container, every element by index, every member by name (enumerated with
// GetMemberName), and the text of every leaf with and without permission.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "quill_mark/core/qm_json_parser.h"

using Quillmark::Core::DynamicStructure;

namespace
{

// Iterative, like the value's own copy: depth is bounded by the reader, but the walk must not
// depend on that.
std::size_t Walk(const DynamicStructure& root)
{
    std::size_t visited = 0;
    std::vector<const DynamicStructure*> pending{&root};
    while (!pending.empty())
    {
        const DynamicStructure& value = *pending.back();
        pending.pop_back();
        ++visited;
        const std::uint32_t size = value.Size();
        if (value.IsArray())
        {
            for (std::uint32_t index = 0; index < size; ++index)
            {
                pending.push_back(&value.GetValue(index));
            }
        }
        else if (value.IsStructure())
        {
            for (std::uint32_t index = 0; index < size; ++index)
            {
                const std::string& name = value.GetMemberName(index);
                pending.push_back(&value.GetMember(name));
                pending.push_back(&value.GetMember(name.c_str()));
            }
        }
        else
        {
            visited += value.ToString().size() + value.AsString(true).size();
            visited += static_cast<std::size_t>(value.AsIntegerOr(0) & 1);
        }
    }
    return visited;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Reports print to standard output; libFuzzer writes to standard error. Dropping them keeps
    // the fuzzer fast.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
    {
        std::perror("reports stay on standard output");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DynamicStructure parsed =
        Quillmark::Core::ParseJson(std::string_view(reinterpret_cast<const char*>(data), size));
    DynamicStructure copy = parsed;
    const std::size_t first = Walk(parsed);
    const std::size_t second = Walk(copy);
    // A copy is deep and equal in shape: walking both must visit the same number of things.
    if (first != second)
    {
        __builtin_trap();
    }
    copy = DynamicStructure();
    return 0;
}
