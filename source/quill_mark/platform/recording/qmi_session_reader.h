// SPDX-License-Identifier: Zlib
// Reads a session recording back, answer by answer, undoing the writer's step and repeat
// encoding. It never trusts the file: every token is checked for its form and its numbers for
// their range, and a bad one stops the reading with its line, so a replay can report bad input
// instead of handing the game nonsense. The whole text is held in memory (an hour of play is
// tens of megabytes at most).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "quill_mark/platform/recording/qmi_session_answer.h"

namespace qmImplementation::Session
{

class SessionReader
{
public:
    enum class Status
    {
        kAnswer,     // the next answer was read
        kEnd,        // "end": the recorded game ended here
        kExhausted,  // no more tokens and no "end": the recording was cut short
        kMalformed,  // a token that is not an answer; Line() and Token() say where
    };

    // Reads the header. False when the text does not start as a session recording does; the
    // version is known once the first line was read, the game only for the versions this reader
    // reads (kOldestFormatVersion to kFormatVersion), whose answers it then reads as that version
    // wrote them.
    bool Open(std::string text);
    int Version() const { return mVersion; }
    const std::string& Game() const { return mGame; }
    // A recording that was written to the end finishes its last line.
    bool EndsWithLineBreak() const;

    Status Next(Answer& answer);
    // Where the last token started (1-based), and the token itself.
    int Line() const { return mTokenLine; }
    std::string_view Token() const { return mToken; }

private:
    bool ReadHeaderLine(std::string_view& line);
    bool ParseToken(Answer& answer);
    bool ParseKeyed(const AnswerForm& form, std::string_view rest, Answer& answer);
    bool ParseValues(const AnswerForm& form, std::string_view fields, Answer& answer);
    bool Decode(Answer& answer, bool isBare);
    Answer* PreviousOf(const Answer& answer);

    std::string mText;
    std::size_t mPosition = 0;
    int mLine = 1;
    int mTokenLine = 0;
    std::string_view mToken;
    int mVersion = 0;
    std::string mGame;
    std::uint64_t mCount = 0;
    Answer mPreviousCursor;
    Answer mPreviousOrigin;
    Answer mPreviousPads[kGamepadSlots];
};

}  // namespace qmImplementation::Session
