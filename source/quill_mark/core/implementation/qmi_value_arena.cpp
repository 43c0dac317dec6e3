// SPDX-License-Identifier: Zlib
// The arena's blocks grow geometrically, so a tree of any size costs a handful of allocations and
// a release walks blocks, never values. Long member names are the one thing with a destructor.
#include "quill_mark/core/implementation/qmi_value_arena.h"

#include <algorithm>
#include <new>

namespace qmImplementation
{

struct ValueArena::Block
{
    Block* next;
    std::size_t size;
};

struct ValueArena::LongName
{
    std::string* name;
    LongName* next;
};

namespace
{

constexpr std::size_t kSmallestBlock = 128;
constexpr std::size_t kLargestFirstBlock = std::size_t(64) << 20;

// Offset of a block's (or the arena's) payload from its start, keeping the payload aligned.
template <typename Header>
constexpr std::size_t HeaderBytes()
{
    return (sizeof(Header) + 15) & ~std::size_t(15);
}

}  // namespace

ValueArena* ValueArena::Create(std::size_t expectedBytes)
{
    const std::size_t size = std::min(std::max(expectedBytes, kSmallestBlock), kLargestFirstBlock);
    char* const memory = static_cast<char*>(::operator new(HeaderBytes<ValueArena>() + size));
    ValueArena* const arena = new (memory) ValueArena();
    arena->mStart = memory + HeaderBytes<ValueArena>();
    arena->mCursor = arena->mStart;
    arena->mEnd = arena->mStart + size;
    arena->mFirstBlockSize = size;
    arena->mNextBlockSize = size * 2;
    return arena;
}

// Adopted arenas may adopt others in turn; they are freed through a work list rather than by
// recursion, so a long chain of adoptions cannot exhaust the stack.
void ValueArena::Destroy(ValueArena* arena) noexcept
{
    if (arena != nullptr)
    {
        arena->mNextAdopted = nullptr;
    }
    while (arena != nullptr)
    {
        ValueArena* next = arena->mNextAdopted;
        while (arena->mAdopted != nullptr)
        {
            ValueArena* const child = arena->mAdopted;
            arena->mAdopted = child->mNextAdopted;
            child->mNextAdopted = next;
            next = child;
        }
        arena->ReleaseAllButFirst();
        arena->~ValueArena();
        ::operator delete(static_cast<void*>(arena));
        arena = next;
    }
}

void ValueArena::AddBlock(std::size_t bytes)
{
    const std::size_t size = std::max(bytes, mNextBlockSize);
    char* const memory = static_cast<char*>(::operator new(HeaderBytes<Block>() + size));
    Block* const block = new (memory) Block{mBlocks, size};
    mBlocks = block;
    mUsedBytes += static_cast<std::size_t>(mCursor - mStart);
    mStart = memory + HeaderBytes<Block>();
    mCursor = mStart;
    mEnd = mStart + size;
    mNextBlockSize = size * 2;
}

const std::string* ValueArena::MakeName(std::string_view text)
{
    std::string* const name = new (Allocate(sizeof(std::string))) std::string(text);
    if (name->capacity() > std::string().capacity())
    {
        mLongNames = new (Allocate(sizeof(LongName))) LongName{name, mLongNames};
    }
    return name;
}

void ValueArena::Adopt(ValueArena* other) noexcept
{
    mAdoptedBytes += other->UsedBytes();
    other->mNextAdopted = mAdopted;
    mAdopted = other;
}

void ValueArena::Reset() noexcept
{
    ReleaseAllButFirst();
    char* const first = reinterpret_cast<char*>(this) + HeaderBytes<ValueArena>();
    mStart = first;
    mCursor = first;
    mEnd = first + mFirstBlockSize;
    mNextBlockSize = mFirstBlockSize * 2;
    mUsedBytes = 0;
    mAdoptedBytes = 0;
}

void ValueArena::ReleaseAllButFirst() noexcept
{
    for (LongName* entry = mLongNames; entry != nullptr; entry = entry->next)
    {
        using String = std::string;
        entry->name->~String();
    }
    mLongNames = nullptr;
    while (mAdopted != nullptr)
    {
        ValueArena* const child = mAdopted;
        mAdopted = child->mNextAdopted;
        Destroy(child);
    }
    while (mBlocks != nullptr)
    {
        Block* const next = mBlocks->next;
        ::operator delete(static_cast<void*>(mBlocks));
        mBlocks = next;
    }
}

}  // namespace qmImplementation
