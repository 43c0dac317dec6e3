// SPDX-License-Identifier: Zlib
// MessageBoxA as a modal dialog on the page, with the platform's own button captions: "OK"
// alone, or "OK" and "Cancel". The program waits until a button is pressed, as it does for the
// desktop's box; meanwhile the page's keys and mouse buttons belong to the dialog. Escape
// cancels, or answers OK when there is nothing else. On a page that cannot show a dialog the
// answer is 0 and the reason goes to the console once.
#include <cstdio>

#include "quill_mark/platform/web/qmi_web_page.h"
#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation::WebLayer
{

namespace
{
constexpr UINT kButtonsMask = 0x0F;
}  // namespace

int MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT type)
{
    const bool hasCancel = (type & kButtonsMask) == MB_OKCANCEL;
    State& state = GetState();
    state.isDialogOpen = true;
    // A missing caption reads "Error", as Win32 shows it.
    const int answer = Page::ShowDialog(text != nullptr ? text : "",
                                        caption != nullptr ? caption : "Error", hasCancel);
    state.isDialogOpen = false;
    static bool explained = false;
    if (answer == 0 && !explained)
    {
        explained = true;
        std::fprintf(stderr, "Quillmark: a message box could not be shown: %s\n",
                     "this browser has no modal dialogs");
    }
    return answer;
}

}  // namespace qmImplementation::WebLayer
