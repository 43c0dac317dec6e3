// SPDX-License-Identifier: Zlib
// One answer of the platform seam as a session recording keeps it: which call it answered, and
// the values it gave. Only the calls whose answers the framework reads are kept (the counter, the
// cursor, messages, message boxes, window geometry, pads), plus a digest of the simulation after
// each frame and the end of the session. The file's text form is in docs/replay_format.md.
#pragma once

#include <cstdint>

namespace qmImplementation::Session
{

constexpr char kFormatName[] = "quillmark-session";
// The version written; every version from the oldest on is read.
constexpr int kFormatVersion = 2;
constexpr int kOldestFormatVersion = 1;
// Pads are answered from the file from this version on; before it, none was ever connected.
constexpr int kFirstVersionWithGamepads = 2;
// The pads' slots, as many as XInput has.
constexpr int kGamepadSlots = 4;

// The letter that starts the answer's token in the file.
enum class AnswerKind : char
{
    kFrequency = 'f',     // QueryPerformanceFrequency: counts per second
    kCounter = 't',       // QueryPerformanceCounter: the count
    kCursor = 'c',        // GetCursorPos: x, y in screen pixels
    kClientOrigin = 'o',  // ScreenToClient: x, y that it subtracted
    kNoMessage = 'n',     // PeekMessageA: nothing waiting
    kMessage = 'm',       // PeekMessageA: window number, message, wParam, lParam
    kClientRect = 'k',    // GetClientRect: left, top, right, bottom
    kWindowRect = 'w',    // GetWindowRect: left, top, right, bottom
    kMessageBox = 'b',    // MessageBoxA: the button, a hash of the caption and text
    kGamepad = 'p',       // XInputGetState: the slot, then buttons, triggers and sticks (failed:
                          // not connected)
    kFrameEnd = '=',      // end of a frame: the random sequence's state, the scene checksum
    kEnd = 'e',           // the game ended (written "end")
};

constexpr int kMostValues = 8;

struct Answer
{
    AnswerKind kind = AnswerKind::kEnd;
    // The call returned 0 (a pad: was not connected); its values mean nothing, except a pad's
    // slot.
    bool failed = false;
    std::int64_t values[kMostValues] = {};
};

// How a token writes its values: the reader checks each against its range.
enum class Field
{
    kInteger,   // any signed 64-bit value
    kUnsigned,  // any unsigned 64-bit value (kept bit for bit in the signed slot)
    kInt32,     // a LONG or an int
    kUint32,    // a message number
    kWindow,    // a window number, 0 to 65535
    kHex,       // a 32-bit value in up to 8 hexadecimal digits
    kSlot,      // a pad's slot, 0 to 3
    kBits16,    // a 16-bit value in up to 4 hexadecimal digits (a pad's buttons)
    kByte,      // 0 to 255
    kInt16,     // -32768 to 32767
};

// The shape of each kind's token, shared by the writer and the reader.
struct AnswerForm
{
    AnswerKind kind;
    bool canFail;    // "x!" stands for a call that returned 0
    bool canBeBare;  // "x" alone: no message, or the same cursor or origin as before
    // The first value names what the answer is about (a pad's slot) and is always written:
    // "x<key>!" for a failure, "x<key>" alone for the same answer as that key's previous one.
    bool isKeyed;
    int count;
    Field fields[kMostValues];
    int sinceVersion;  // the first version of the format that has it
};

// Null for a letter that starts no answer in that version of the format ("end" is no answer).
const AnswerForm* FindForm(char letter, int version = kFormatVersion);

// What the game asked for, as a replay names it: "the cursor", "a message box", ...
const char* DescribeKind(AnswerKind kind);

}  // namespace qmImplementation::Session
