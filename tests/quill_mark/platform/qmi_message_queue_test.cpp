// SPDX-License-Identifier: Zlib
// The queue the layers without a system queue drain: posted messages in order, then quit, then a
// paint per window until validated. A key released just before the window closes still arrives.
#include "quill_mark/platform/implementation/qmi_message_queue.h"

#include <gtest/gtest.h>

#include <vector>

#include "quill_mark/platform/qmi_seam_numbers.h"

using namespace qmSeam;

TEST(MessageQueue, HandsOutPostedThenQuitThenPaintUntilValidated)
{
    qmImplementation::MessageQueue queue;
    HWND window = reinterpret_cast<HWND>(std::uintptr_t{0x1000});
    MSG message = {};
    EXPECT_FALSE(queue.Retrieve(message));

    queue.Invalidate(window);
    queue.PostQuit(3);
    queue.Post(window, WM_KEYDOWN, 'A', 1);
    queue.Post(window, WM_KEYUP, 'A', 2);
    std::vector<UINT> order;
    std::vector<WPARAM> wParams;
    for (int i = 0; i < 5 && queue.Retrieve(message); ++i)
    {
        order.push_back(message.message);
        wParams.push_back(message.wParam);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_QUIT, WM_PAINT, WM_PAINT}));
    EXPECT_EQ(wParams[2], 3u) << "the quit message carries the exit code";
    queue.Validate(window);
    EXPECT_FALSE(queue.Retrieve(message));
}
