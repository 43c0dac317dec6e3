// SPDX-License-Identifier: Zlib
// The one conversion of a JSON number or a float value to a 32-bit integer, shared by the reader
// and the dynamic structure so both give the same integer for the same number.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace qmImplementation
{

// Truncation toward zero, saturated at the 32-bit limits: a number beyond them (or NaN, which
// gives 0) has no integer value, and a plain cast would be undefined there.
inline std::int32_t TruncateToInteger(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    if (value >= 2147483648.0)
    {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483649.0)
    {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace qmImplementation
