// The queue both platform layers drain in the message loop: posted messages first in order, then
// the quit message, then a paint for each window until it is validated. A key released just
// before the window closes must still reach the game.
#include "quill_mark/platform/implementation/qmi_message_queue.h"

#include <gtest/gtest.h>

#include <vector>

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
