// SPDX-License-Identifier: Zlib
// Writes a session recording: the header, then each answer as a short token, a frame per line.
// The counter is written as the step from its previous reading, an unchanged cursor or client
// origin as its bare letter and an unchanged pad as its letter and slot, so an idle frame takes a
// few dozen bytes. Writes are buffered and
// reach the file in blocks; a recording cut short by a crash keeps all but its last block.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "quill_mark/platform/recording/qmi_session_answer.h"

namespace qmImplementation::Session
{

class SessionWriter
{
public:
    SessionWriter() = default;
    ~SessionWriter();
    SessionWriter(const SessionWriter&) = delete;
    SessionWriter& operator=(const SessionWriter&) = delete;

    // Creates the file and writes the header; false (with the reason in error) if it cannot.
    bool Open(const std::string& path, const std::string& game, std::string& error);
    bool IsOpen() const { return mFile != nullptr; }

    // Values as the call gave them; the writer does the step and repeat encoding.
    void Write(const Answer& answer);
    // Writes "end", flushes and closes.
    void Close();

private:
    void WriteToken(const Answer& answer);
    void WriteKeyedToken(const AnswerForm& form, const Answer& answer);
    void WriteValues(const AnswerForm& form, const Answer& answer, int first);
    bool RepeatsPrevious(const Answer& answer);
    std::int64_t CounterStep(std::int64_t count);
    void Put(char character);
    void PutField(Field field, std::int64_t value);
    void Flush();

    std::FILE* mFile = nullptr;
    std::string mBuffer;
    std::int64_t mPreviousCount = 0;
    Answer mPreviousCursor;
    Answer mPreviousOrigin;
    Answer mPreviousPads[kGamepadSlots];
};

}  // namespace qmImplementation::Session
