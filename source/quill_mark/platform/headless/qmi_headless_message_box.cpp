// SPDX-License-Identifier: Zlib
// Message boxes of the headless layer: nothing is shown; the box is recorded and answered
// with the next queued answer, or the default one.
#include "quill_mark/platform/headless/qmi_headless_state.h"

namespace qmImplementation::HeadlessLayer
{

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    State& state = GetState();
    int answer = state.defaultAnswer;
    if (!state.queuedAnswers.empty())
    {
        answer = state.queuedAnswers.front();
        state.queuedAnswers.pop_front();
    }
    ++state.messageBoxCount;
    if (state.messageBoxes.size() < kMessageBoxRecordLimit)
    {
        // A missing caption reads "Error", as Win32 shows it.
        state.messageBoxes.push_back(MessageBoxRecord{owner, text != nullptr ? text : "",
                                                      caption != nullptr ? caption : "Error", type,
                                                      answer});
    }
    return answer;
}

}  // namespace qmImplementation::HeadlessLayer
