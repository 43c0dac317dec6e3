// SPDX-License-Identifier: Zlib
// The token forms of the answers, and their names as a replay's report uses them ("the game asks
// for the cursor").
#include "quill_mark/platform/recording/qmi_session_answer.h"

namespace qmImplementation::Session
{

namespace
{

constexpr AnswerForm kForms[] = {
    {AnswerKind::kFrequency, true, false, false, 1, {Field::kInteger}, 1},
    {AnswerKind::kCounter, true, false, false, 1, {Field::kInteger}, 1},
    {AnswerKind::kCursor, true, true, false, 2, {Field::kInt32, Field::kInt32}, 1},
    {AnswerKind::kClientOrigin, true, true, false, 2, {Field::kInt32, Field::kInt32}, 1},
    {AnswerKind::kNoMessage, false, true, false, 0, {}, 1},
    {AnswerKind::kMessage,
     false,
     false,
     false,
     4,
     {Field::kWindow, Field::kUint32, Field::kUnsigned, Field::kInteger},
     1},
    {AnswerKind::kClientRect,
     true,
     false,
     false,
     4,
     {Field::kInt32, Field::kInt32, Field::kInt32, Field::kInt32},
     1},
    {AnswerKind::kWindowRect,
     true,
     false,
     false,
     4,
     {Field::kInt32, Field::kInt32, Field::kInt32, Field::kInt32},
     1},
    {AnswerKind::kMessageBox, false, false, false, 2, {Field::kInt32, Field::kHex}, 1},
    {AnswerKind::kFrameEnd, false, false, false, 2, {Field::kHex, Field::kHex}, 1},
    // The slot, the buttons, the left and right triggers, the left stick's x and y, the right's.
    {AnswerKind::kGamepad,
     true,
     true,
     true,
     8,
     {Field::kSlot, Field::kBits16, Field::kByte, Field::kByte, Field::kInt16, Field::kInt16,
      Field::kInt16, Field::kInt16},
     kFirstVersionWithGamepads},
};

}  // namespace

const AnswerForm* FindForm(char letter, int version)
{
    for (const AnswerForm& form : kForms)
    {
        if (static_cast<char>(form.kind) == letter && form.sinceVersion <= version)
        {
            return &form;
        }
    }
    return nullptr;
}

const char* DescribeKind(AnswerKind kind)
{
    switch (kind)
    {
        case AnswerKind::kFrequency:
            return "the counter's frequency";
        case AnswerKind::kCounter:
            return "the counter";
        case AnswerKind::kCursor:
            return "the cursor";
        case AnswerKind::kClientOrigin:
            return "the client area's origin";
        case AnswerKind::kNoMessage:
        case AnswerKind::kMessage:
            return "a message";
        case AnswerKind::kClientRect:
            return "the client rectangle";
        case AnswerKind::kWindowRect:
            return "the window rectangle";
        case AnswerKind::kMessageBox:
            return "a message box";
        case AnswerKind::kGamepad:
            return "a pad";
        case AnswerKind::kFrameEnd:
            return "the end of a frame";
        case AnswerKind::kEnd:
            return "the end of the game";
    }
    return "an unknown answer";
}

}  // namespace qmImplementation::Session
