// SPDX-License-Identifier: Zlib
// The token forms are those the reader accepts; docs/replay_format.md describes them.
#include "quill_mark/platform/recording/qmi_session_writer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iterator>

namespace qmImplementation::Session
{

namespace
{
// Large enough that a plain frame never waits on the disk, small enough to lose little.
constexpr std::size_t kFlushSize = 16384;

}  // namespace

SessionWriter::~SessionWriter()
{
    Flush();
    if (mFile != nullptr)
    {
        std::fclose(mFile);
    }
}

bool SessionWriter::Open(const std::string& path, const std::string& game, std::string& error)
{
    // A writer opened again starts from nothing: a repeat in the new file is one of its own.
    Close();
    mBuffer.clear();
    mPreviousCount = 0;
    mPreviousCursor = Answer{};
    mPreviousOrigin = Answer{};
    std::fill(std::begin(mPreviousPads), std::end(mPreviousPads), Answer{});
    mFile = std::fopen(path.c_str(), "wb");
    if (mFile == nullptr)
    {
        error = std::strerror(errno);
        return false;
    }
    mBuffer.reserve(kFlushSize * 2);
    mBuffer += kFormatName;
    Put(' ');
    PutField(Field::kInteger, kFormatVersion);
    mBuffer += "\ngame ";
    mBuffer += game;
    Put('\n');
    return true;
}

void SessionWriter::Write(const Answer& answer)
{
    if (mFile == nullptr)
    {
        return;
    }
    WriteToken(answer);
    if (answer.kind == AnswerKind::kFrameEnd)
    {
        Put('\n');
        if (mBuffer.size() >= kFlushSize)
        {
            Flush();
        }
    }
    else
    {
        Put(' ');
    }
}

void SessionWriter::Close()
{
    if (mFile == nullptr)
    {
        return;
    }
    mBuffer += "end\n";
    Flush();
    std::fclose(mFile);
    mFile = nullptr;
}

void SessionWriter::WriteToken(const Answer& answer)
{
    Put(static_cast<char>(answer.kind));
    const AnswerForm* form = FindForm(static_cast<char>(answer.kind));
    if (form != nullptr && form->isKeyed)
    {
        WriteKeyedToken(*form, answer);
        return;
    }
    if (answer.failed)
    {
        Put('!');
        return;
    }
    if (form != nullptr && !RepeatsPrevious(answer))
    {
        WriteValues(*form, answer, 0);
    }
}

// The key always; then nothing when the key's previous answer was the same, failures included.
void SessionWriter::WriteKeyedToken(const AnswerForm& form, const Answer& answer)
{
    PutField(form.fields[0], answer.values[0]);
    if (RepeatsPrevious(answer))
    {
        return;
    }
    if (answer.failed)
    {
        Put('!');
        return;
    }
    Put(',');
    WriteValues(form, answer, 1);
}

void SessionWriter::WriteValues(const AnswerForm& form, const Answer& answer, int first)
{
    for (int index = first; index < form.count; ++index)
    {
        if (index > first)
        {
            Put(',');
        }
        PutField(form.fields[index], answer.kind == AnswerKind::kCounter
                                         ? CounterStep(answer.values[0])
                                         : answer.values[index]);
    }
}

// The step from the previous reading, in unsigned arithmetic, so no reading can overflow it.
std::int64_t SessionWriter::CounterStep(std::int64_t count)
{
    const std::uint64_t step =
        static_cast<std::uint64_t>(count) - static_cast<std::uint64_t>(mPreviousCount);
    mPreviousCount = count;
    return static_cast<std::int64_t>(step);
}

void SessionWriter::PutField(Field field, std::int64_t value)
{
    char digits[24];
    std::to_chars_result result;
    if (field == Field::kHex || field == Field::kBits16)
    {
        // Always eight (four) digits, so digests (buttons) line up from frame to frame.
        const std::size_t width = field == Field::kHex ? 8 : 4;
        result =
            std::to_chars(digits, digits + sizeof(digits), static_cast<std::uint32_t>(value), 16);
        const auto length = static_cast<std::size_t>(result.ptr - digits);
        mBuffer.append(length < width ? width - length : 0, '0');
    }
    else if (field == Field::kUnsigned)
    {
        result = std::to_chars(digits, digits + sizeof(digits), static_cast<std::uint64_t>(value));
    }
    else
    {
        result = std::to_chars(digits, digits + sizeof(digits), value);
    }
    mBuffer.append(digits, result.ptr);
}

// A cursor or origin equal to the previous one of its kind is written as its bare letter, and a
// pad's answer equal to the previous one of its slot as the letter and the slot.
bool SessionWriter::RepeatsPrevious(const Answer& answer)
{
    Answer* previous = nullptr;
    switch (answer.kind)
    {
        case AnswerKind::kCursor:
            previous = &mPreviousCursor;
            break;
        case AnswerKind::kClientOrigin:
            previous = &mPreviousOrigin;
            break;
        case AnswerKind::kGamepad:
            // A slot no reader takes is written out in full, and then refused by the reader.
            if (answer.values[0] < 0 || answer.values[0] >= kGamepadSlots)
            {
                return false;
            }
            previous = &mPreviousPads[answer.values[0]];
            break;
        default:
            return false;
    }
    bool repeats = previous->kind == answer.kind && previous->failed == answer.failed;
    for (int index = 0; index < kMostValues; ++index)
    {
        repeats = repeats && previous->values[index] == answer.values[index];
    }
    *previous = answer;
    return repeats;
}

void SessionWriter::Put(char character)
{
    mBuffer.push_back(character);
}

void SessionWriter::Flush()
{
    if (mFile != nullptr && !mBuffer.empty())
    {
        std::fwrite(mBuffer.data(), 1, mBuffer.size(), mFile);
        std::fflush(mFile);
    }
    mBuffer.clear();
}

}  // namespace qmImplementation::Session
