// SPDX-License-Identifier: Zlib
// Parses arbitrary bytes with the JSON reader and with the earlier reader, which parsed by the
// lenient rules alone into a tree and converted it value by value (kept under reference/ with a
// value type of its own, as the oracle): both must give the same tree, compared through the
// value's public operations, and the same reports in the same order. The same edits on both trees
// afterwards must keep them equal, so the storage of loaded trees is exercised where they change.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "quill_mark/core/qm_error.h"
#include "quill_mark/core/qm_json_parser.h"
#include "reference/reference_json_parser.h"

namespace
{

using Quillmark::Core::DynamicStructure;
using Reference = QuillmarkReference::DynamicStructure;

class ReportRecorder : public Quillmark::Core::Error::ErrorHandlerInterface
{
public:
    void OnErrorTriggered(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

ReportRecorder theRecorder;

[[noreturn]] void Differ(const char* what)
{
    std::fprintf(stderr, "the readers differ: %s\n", what);
    __builtin_trap();
}

std::uint32_t FloatBits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// Only operations that never report are used here, so the recorder holds the parse's reports
// alone. Iterative: nesting is bounded by the readers, but the comparison must not rely on it.
void CompareTrees(const DynamicStructure& ours, const Reference& theirs)
{
    std::vector<std::pair<const DynamicStructure*, const Reference*>> pending{{&ours, &theirs}};
    while (!pending.empty())
    {
        const auto [left, right] = pending.back();
        pending.pop_back();
        if (static_cast<int>(left->GetValueType()) != static_cast<int>(right->GetValueType()))
            Differ("kind");
        if (left->Size() != right->Size())
            Differ("size");
        if (left->AsIntegerOr(7) != right->AsIntegerOr(7))
            Differ("integer");
        if (FloatBits(left->AsFloatOr(0.5f)) != FloatBits(right->AsFloatOr(0.5f)))
            Differ("float");
        if (left->AsBooleanOr(true) != right->AsBooleanOr(true))
            Differ("boolean");
        if (left->IsString() && left->AsString(false) != right->AsString(false))
            Differ("string");
        for (std::uint32_t index = 0; left->IsArray() && index < left->Size(); ++index)
            pending.emplace_back(&left->GetValue(index), &right->GetValue(index));
        for (std::uint32_t index = 0; left->IsStructure() && index < left->Size(); ++index)
        {
            const std::string name = left->GetMemberName(index);
            if (name != right->GetMemberName(index))
                Differ("member name");
            pending.emplace_back(&left->GetMember(name), &right->GetMember(name));
        }
    }
}

// Replaces a member, copies the whole tree into itself, moves values out of and into containers:
// the paths where a tree's storage is shared, copied or handed over.
template <typename Value>
void EditAlike(Value& root)
{
    if (root.IsStructure())
    {
        const std::string first = root.GetMemberName(0);
        root.AddMember(first, Value()).SetString("edited", true);
        Value taken = std::move(root.AddMember("~taken", root));
        root.AddMember("~tree", std::move(taken));
    }
    else if (root.IsArray())
    {
        Value copy = root;
        root.PushValue(root.GetValue(0));
        root.PushValue(std::move(copy));
        Value taken = std::move(root.PushValue(Value()));
        root.PushValue(std::move(taken));
    }
}

template <typename Value>
std::vector<std::string> Reports(void (*action)(Value&), Value& value)
{
    theRecorder.messages.clear();
    action(value);
    return std::move(theRecorder.messages);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Reports also print to standard output; libFuzzer writes to standard error, so the printed
    // copies are dropped to keep the fuzzer fast. The recorder still sees every report.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
    {
        std::perror("reports stay on standard output");
    }
    Quillmark::Core::Error::AddErrorHandler(theRecorder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    theRecorder.messages.clear();
    Reference theirs = QuillmarkReference::ParseJson(text);
    const std::vector<std::string> theirReports = std::move(theRecorder.messages);
    theRecorder.messages.clear();
    DynamicStructure ours = Quillmark::Core::ParseJson(text);
    if (theRecorder.messages != theirReports)
        Differ("reports");
    CompareTrees(ours, theirs);
    // A copy of our tree must compare equal too: copies are deep and complete.
    const DynamicStructure copy = ours;
    CompareTrees(copy, theirs);
    if (Reports(EditAlike<DynamicStructure>, ours) != Reports(EditAlike<Reference>, theirs))
        Differ("reports of the edits");
    CompareTrees(ours, theirs);
    CompareTrees(copy, QuillmarkReference::ParseJson(text));
    return 0;
}
