// SPDX-License-Identifier: Zlib
// Fuzzes the session recording reader: any bytes are read as a recording of any version it reads,
// header and every token, until the end or the first bad token; nothing may crash or overflow.
// What was read is then written back by the writer (in the current version) and read again, which
// must give the very same answers, values of failed calls too (a pad's slot): a recording that
// the reader accepts is one the writer can produce.
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "quill_mark/platform/recording/qmi_session_reader.h"
#include "quill_mark/platform/recording/qmi_session_writer.h"
#include "support/fuzz_input_file.h"

namespace
{

using qmImplementation::Session::Answer;
using qmImplementation::Session::SessionReader;

// Where the write-back goes.
const QuillmarkFuzz::InputFile theFile("fuzz_session_reader", ".replay");

std::vector<Answer> ReadAnswers(SessionReader& reader, SessionReader::Status& status)
{
    std::vector<Answer> answers;
    Answer answer;
    while ((status = reader.Next(answer)) == SessionReader::Status::kAnswer)
    {
        answers.push_back(answer);
    }
    return answers;
}

bool Same(const Answer& left, const Answer& right)
{
    if (left.kind != right.kind || left.failed != right.failed)
    {
        return false;
    }
    for (int index = 0; index < qmImplementation::Session::kMostValues; ++index)
    {
        if (left.values[index] != right.values[index])
        {
            return false;
        }
    }
    return true;
}

void WriteBackAndCompare(const std::string& game, const std::vector<Answer>& answers)
{
    std::string error;
    qmImplementation::Session::SessionWriter writer;
    if (!writer.Open(theFile.Path(), game, error))
    {
        __builtin_trap();
    }
    for (const Answer& answer : answers)
    {
        writer.Write(answer);
    }
    writer.Close();
    std::ostringstream text;
    text << std::ifstream(theFile.Path(), std::ios::binary).rdbuf();
    SessionReader again;
    SessionReader::Status status = SessionReader::Status::kAnswer;
    if (!again.Open(text.str()))
    {
        __builtin_trap();
    }
    const std::vector<Answer> reread = ReadAnswers(again, status);
    if (status != SessionReader::Status::kEnd || reread.size() != answers.size())
    {
        __builtin_trap();
    }
    for (std::size_t index = 0; index < answers.size(); ++index)
    {
        if (!Same(answers[index], reread[index]))
        {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    SessionReader reader;
    if (!reader.Open(std::string(reinterpret_cast<const char*>(bytes), size)) ||
        reader.Version() < qmImplementation::Session::kOldestFormatVersion ||
        reader.Version() > qmImplementation::Session::kFormatVersion)
    {
        return 0;
    }
    SessionReader::Status status = SessionReader::Status::kAnswer;
    WriteBackAndCompare(reader.Game(), ReadAnswers(reader, status));
    return 0;
}
