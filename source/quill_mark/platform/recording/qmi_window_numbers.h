// SPDX-License-Identifier: Zlib
// Windows as a recording names them: by the order they were created in the session (1 for the
// first), since handles are addresses that differ from run to run. 0 is "no window", also for a
// handle the session never saw created.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quill_mark/platform/qmi_seam.h"

namespace qmImplementation::Session
{

class WindowNumbers
{
public:
    void Add(qmSeam::HWND window) { mWindows.push_back(window); }

    std::int64_t NumberOf(qmSeam::HWND window) const
    {
        for (std::size_t index = 0; window != nullptr && index < mWindows.size(); ++index)
        {
            if (mWindows[index] == window)
            {
                return static_cast<std::int64_t>(index) + 1;
            }
        }
        return 0;
    }

    qmSeam::HWND WindowOf(std::int64_t number) const
    {
        const bool known = number >= 1 && number <= static_cast<std::int64_t>(mWindows.size());
        return known ? mWindows[static_cast<std::size_t>(number - 1)] : nullptr;
    }

private:
    std::vector<qmSeam::HWND> mWindows;
};

}  // namespace qmImplementation::Session
