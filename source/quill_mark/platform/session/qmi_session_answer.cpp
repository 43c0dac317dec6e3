// The token forms of the answers, and their names as a replay's report uses them ("the game asks
// for the cursor").
#include "quill_mark/platform/session/qmi_session_answer.h"

namespace qmImplementation::Session
{

namespace
{

constexpr AnswerForm kForms[] = {
    {AnswerKind::kFrequency, true, false, 1, {Field::kInteger}},
    {AnswerKind::kCounter, true, false, 1, {Field::kInteger}},
    {AnswerKind::kCursor, true, true, 2, {Field::kInt32, Field::kInt32}},
    {AnswerKind::kClientOrigin, true, true, 2, {Field::kInt32, Field::kInt32}},
    {AnswerKind::kNoMessage, false, true, 0, {}},
    {AnswerKind::kMessage,
     false,
     false,
     4,
     {Field::kWindow, Field::kUint32, Field::kUnsigned, Field::kInteger}},
    {AnswerKind::kClientRect,
     true,
     false,
     4,
     {Field::kInt32, Field::kInt32, Field::kInt32, Field::kInt32}},
    {AnswerKind::kWindowRect,
     true,
     false,
     4,
     {Field::kInt32, Field::kInt32, Field::kInt32, Field::kInt32}},
    {AnswerKind::kMessageBox, false, false, 2, {Field::kInt32, Field::kHex}},
    {AnswerKind::kFrameEnd, false, false, 2, {Field::kHex, Field::kHex}},
};

}  // namespace

const AnswerForm* FindForm(char letter)
{
    for (const AnswerForm& form : kForms)
    {
        if (static_cast<char>(form.kind) == letter)
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
        case AnswerKind::kFrameEnd:
            return "the end of a frame";
        case AnswerKind::kEnd:
            return "the end of the game";
    }
    return "an unknown answer";
}

}  // namespace qmImplementation::Session
