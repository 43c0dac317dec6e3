// SPDX-License-Identifier: Zlib
// Bump allocation for the payloads of one tree of DynamicStructure values: strings, element and
// member tables, member names. Nothing is freed on its own; the arena frees everything at once,
// together with the arenas it adopted. It knows nothing of values beyond the names it holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qmImplementation
{

class ValueArena
{
public:
    // expectedBytes sizes the first block, so a reader that knows roughly what it will build
    // does not grow block by block.
    static ValueArena* Create(std::size_t expectedBytes);
    static void Destroy(ValueArena* arena) noexcept;

    // Aligned for any value, table or name; throws std::bad_alloc like the standard containers.
    void* Allocate(std::size_t bytes)
    {
        bytes = (bytes + kAlignment - 1) & ~(kAlignment - 1);
        if (static_cast<std::size_t>(mEnd - mCursor) < bytes)
        {
            AddBlock(bytes);
        }
        void* const memory = mCursor;
        mCursor += bytes;
        return memory;
    }

    // A member name lives here for the arena's lifetime; one too long for the string's own buffer
    // is destroyed with the arena.
    const std::string* MakeName(std::string_view text);
    // other's memory then lives as long as this arena's.
    void Adopt(ValueArena* other) noexcept;
    // Frees everything allocated so far (the first block is kept for reuse).
    void Reset() noexcept;
    // Bytes handed out, those of adopted arenas included (as they stood when adopted).
    std::size_t UsedBytes() const
    {
        return mUsedBytes + mAdoptedBytes + static_cast<std::size_t>(mCursor - mStart);
    }

private:
    static constexpr std::size_t kAlignment = 8;
    struct Block;
    struct LongName;

    ValueArena() = default;
    void AddBlock(std::size_t bytes);
    void ReleaseAllButFirst() noexcept;

    char* mStart = nullptr;
    char* mCursor = nullptr;
    char* mEnd = nullptr;
    // Blocks after the first, newest first; the first is part of the arena's own allocation.
    Block* mBlocks = nullptr;
    std::size_t mFirstBlockSize = 0;
    std::size_t mNextBlockSize = 0;
    // Bytes in blocks that are full, for UsedBytes.
    std::size_t mUsedBytes = 0;
    std::size_t mAdoptedBytes = 0;
    LongName* mLongNames = nullptr;
    ValueArena* mAdopted = nullptr;
    ValueArena* mNextAdopted = nullptr;
};

}  // namespace qmImplementation
