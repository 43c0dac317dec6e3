// SPDX-License-Identifier: Zlib
// The JSON reader: one pass from the text to a DynamicStructure, built bottom-up in one arena.
// Plain documents, which data files are, go through tight loops; a container that meets anything
// else carries on from its last settled point by the framework's lenient rules, in the same pass.
// File loading and the public entry points live in qm_json_parser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quill_mark/core/qm_dynamic_structure.h"

namespace qmImplementation
{

class JsonReader
{
public:
    // Containers nested deeper than this make the whole document Nil, so a hostile file cannot
    // exhaust the stack: the reader recurses once per level.
    static constexpr int kMaximumNesting = 512;

    Quillmark::Core::DynamicStructure Read(std::string_view text);

private:
    using Builder = Quillmark::Core::DynamicStructure::Builder;
    using Node = Builder::Node;
    using NamedNode = Builder::NamedNode;

    enum class Step
    {
        kRead,
        // Not plain: the container goes on by the lenient rules from its last settled point.
        kLenient,
        // A container up to mUnwindTo fails: its search for its closing bracket would have
        // failed (or the document nests too deep, with mUnwindTo 0).
        kUnwind
    };
    // A value as read: null values are dropped from arrays and make Nil members, while an empty
    // container is a Nil value that an array keeps (and reports).
    struct Value
    {
        Node node;
        bool null = false;
    };
    // An open container; close is its closing bracket once known (always for the document).
    struct Level
    {
        const char* open;
        const char* close;
    };
    // A container that a search walked through, found closing there at that depth.
    struct Pair
    {
        const char* open;
        const char* close;
        int depth;
    };
    // Where a container's lenient rules would stand after its last plainly read item, and the
    // items read until then.
    struct Settled
    {
        const char* position;
        std::size_t count;
        bool afterValue;
    };
    // The lenient rules see a text as a view whose front they consume.
    struct Text
    {
        const char* begin;
        const char* end;
        bool IsEmpty() const { return begin == end; }
    };
    enum class Lenient
    {
        kValue,
        kError,
        kUnwind
    };

    Step ReadContainer(Value& value);
    Step ReadObject(Value& value);
    Step ReadArray(Value& value);
    Step ReadMember(Settled& settled);
    Step ReadElement(Settled& settled, std::size_t firstElement);
    Step ReadString(Value& value, bool inArray);
    Step ReadScalar(Value& value);
    bool IsClosing(char closing) const;
    Step FinishObject(Value& value, Step step, std::size_t firstMember);
    Step FinishArray(Value& value, Step step, std::size_t firstElement);
    Step FinishWithoutTable(Value& value, Step step);
    void AddElement(const Value& element, std::size_t firstElement);
    Step SettleLevels(const char* from);
    const char* FindRecordedClose();
    void SkipWhitespace();
    const char* FindClosingQuote(const char* from, bool& escaped) const;

    Lenient ReadObjectLeniently(Text text, bool afterValue);
    Lenient ReadArrayLeniently(Text text, std::size_t firstElement);
    Lenient ReadNextElementLeniently(Text& text, Value& element);
    Lenient ReadValueLeniently(Text& text, Value& value);
    Lenient ReadTokenLeniently(Text& text, Value& value);
    Lenient ReadTokenValue(bool decimalPoint, bool exponent, Value& value);
    Node MakeString(const char* begin, const char* end, bool escaped);

    Builder* mBuilder = nullptr;
    const char* mCursor = nullptr;
    // The closing bracket of the innermost container whose close is known: plain reading never
    // passes it, and as it is a bracket, scans that stop at other characters need no bound.
    const char* mEnd = nullptr;
    Level mLevels[kMaximumNesting + 1] = {};
    int mDepth = 0;
    int mKnownDepth = 0;
    int mUnwindTo = 0;
    bool mTooDeep = false;
    bool mReportsDue = false;
    std::vector<NamedNode> mMembers;
    std::vector<Node> mElements;
    std::string mScratch;
    // Containers the searches walked through, by their opening brackets, so that a lenient
    // container's search is never walked again for the containers inside it.
    std::vector<Pair> mPairs;
    std::size_t mPairCursor = 0;
};

}  // namespace qmImplementation
