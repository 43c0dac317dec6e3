// SPDX-License-Identifier: Zlib
// The active table, and the one that answers before a program chose a layer: every operation
// fails as a missing window or call would, and standard error says once why nothing shows.
#include "quill_mark/platform/qmi_seam.h"

#include "quill_mark/platform/qmi_seam_numbers.h"

#include <cstdio>
#include <type_traits>

namespace qmSeam
{

namespace
{

bool theMissingLayerWasTold = false;

void TellOnce()
{
    if (!theMissingLayerWasTold)
    {
        theMissingLayerWasTold = true;
        std::fputs(
            "Quillmark: no platform layer was chosen; a program starts through Quillmark::Session::RunSession\n",
            stderr);
    }
}

// Any operation of the table, made to fail: a zero or null result, and the note.
template <typename Result, typename... Arguments>
Result Unanswered(Arguments...)
{
    TellOnce();
    if constexpr (!std::is_void_v<Result>)
    {
        return Result{};
    }
}

// Its 0 would be success: without a layer no pad is connected, with the state zeroed as the
// seam promises.
DWORD UnansweredXInputGetState(DWORD userIndex, XINPUT_STATE* state)
{
    TellOnce();
    if (userIndex >= XUSER_MAX_COUNT || state == nullptr)
    {
        return ERROR_BAD_ARGUMENTS;
    }
    *state = XINPUT_STATE{};
    return ERROR_DEVICE_NOT_CONNECTED;
}

constexpr Table MakeNoLayer()
{
#define QM_SEAM_UNANSWERED(result, name, parameters, arguments) &Unanswered<result>,
    Table table = {QM_SEAM_OPERATIONS(QM_SEAM_UNANSWERED)};
#undef QM_SEAM_UNANSWERED
    table.XInputGetState = &UnansweredXInputGetState;
    return table;
}

constexpr Table kNoLayer = MakeNoLayer();

// Constant-initialised, so a call made during static initialisation finds a table too.
const Table* theActiveLayer = &kNoLayer;

}  // namespace

void UseLayer(const Table& layer)
{
    theActiveLayer = &layer;
}

const Table& ActiveLayer()
{
    return *theActiveLayer;
}

}  // namespace qmSeam
