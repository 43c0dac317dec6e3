// SPDX-License-Identifier: Zlib
// Feeds arbitrary bytes (zero bytes included) to ParseJson: any input must give a value or Nil
// without a crash, a hang, a leak or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "quill_mark/core/qm_json_parser.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Conversion reports (mixed arrays, Nil elements) print to standard output; libFuzzer writes
    // to standard error, so the reports are dropped to keep the fuzzer fast.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
    {
        std::perror("reports stay on standard output");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Quillmark::Core::ParseJson(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
