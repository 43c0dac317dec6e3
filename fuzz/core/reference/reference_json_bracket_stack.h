// SPDX-License-Identifier: Zlib
// The JSON reader's stack of open-container marks and its closing-bracket search. The search
// remembers where every bracket it walks over is closed, so nested containers are not walked
// again by their own searches. Knows nothing of values.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace qmReference
{

class JsonBracketStack
{
public:
    enum Mark : char
    {
        kArrayMark,
        kObjectMark
    };
    static constexpr std::size_t kNotFound = std::string_view::npos;

    // Empties the stack for a parse of document; every text searched later lies within it.
    void Reset(std::string_view document);
    void Push(Mark mark) { mMarks.push_back(mark); }
    void Pop() { mMarks.pop_back(); }
    // False on an empty stack.
    bool IsTop(Mark mark) const { return !mMarks.empty() && mMarks.back() == mark; }

    // text begins with the bracket whose mark was just pushed; gives the position of the bracket
    // that pops it again, or kNotFound. The container starts at nesting level `level`; a bracket
    // inside it that would nest deeper than maximumLevel stops the search and sets tooDeep.
    std::size_t FindClosingBracket(std::string_view text, std::size_t level,
                                   std::size_t maximumLevel, bool& tooDeep);

private:
    struct BracketPair
    {
        std::size_t open;
        std::size_t close;
        // Levels of brackets from this one inward: 1 for a container with none inside.
        std::size_t height;
    };

    const BracketPair* FindRecordedPair(std::size_t offset);

    // Marks left behind by failed nested containers stay on the stack for the rest of the parse.
    std::vector<Mark> mMarks;
    // Positions in the document of the brackets earlier searches walked over and where each one
    // closes; ascending by opening position, as searches come in document order.
    const char* mDocument = nullptr;
    std::vector<BracketPair> mPairs;
    std::size_t mPairCursor = 0;
    std::vector<std::size_t> mOpenPairs;
};

}  // namespace qmReference
