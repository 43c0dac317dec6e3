// SPDX-License-Identifier: Zlib
// Puts an object's member positions into name order for the tree builder. Stable, so members
// with equal names stay in the order they were met and the last one wins a lookup. What "before"
// means (the name comparison) stays with the caller.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace qmImplementation
{

// Objects up to this many members are sorted by insertion: most objects are that small, and
// insertion sort needs no scratch buffer and beats a merge sort there.
constexpr std::size_t kSmallObject = 24;

template <typename Before>
void SortMemberOrder(std::uint32_t* order, std::size_t count, Before before)
{
    if (count > kSmallObject)
    {
        std::stable_sort(order, order + count, before);
        return;
    }
    for (std::size_t index = 1; index < count; ++index)
    {
        const std::uint32_t moving = order[index];
        std::size_t target = index;
        while (target > 0 && before(moving, order[target - 1]))
        {
            order[target] = order[target - 1];
            --target;
        }
        order[target] = moving;
    }
}

}  // namespace qmImplementation
