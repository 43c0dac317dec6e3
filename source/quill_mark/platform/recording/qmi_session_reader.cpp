// SPDX-License-Identifier: Zlib
// Token forms: a letter, then "!" for a failed call, nothing for "no message" or a repeated
// cursor or origin, or the values separated by commas (decimal, hexadecimal for hashes, the frame
// digest and a pad's buttons). A pad's token always starts with its slot, and the "!" or the
// bare form follow that. Whitespace of any kind separates tokens; lines only matter for the
// reports.
#include "quill_mark/platform/recording/qmi_session_reader.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace qmImplementation::Session
{

namespace
{

constexpr int kMaximumWindowNumber = 65535;

bool IsSpace(char character)
{
    return character == ' ' || character == '\n' || character == '\t' || character == '\r';
}

template <typename Number>
bool ParseWhole(std::string_view text, Number& number, int base = 10)
{
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, number, base);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool ParseField(std::string_view text, Field field, std::int64_t& value)
{
    switch (field)
    {
        case Field::kInteger:
            return ParseWhole(text, value);
        case Field::kUnsigned:
        {
            std::uint64_t bits = 0;
            const bool parsed = ParseWhole(text, bits);
            std::memcpy(&value, &bits, sizeof(value));
            return parsed;
        }
        case Field::kInt32:
            return ParseWhole(text, value) && value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max();
        case Field::kUint32:
            return ParseWhole(text, value) && value >= 0 &&
                   value <= std::numeric_limits<std::uint32_t>::max();
        case Field::kWindow:
            return ParseWhole(text, value) && value >= 0 && value <= kMaximumWindowNumber;
        case Field::kHex:
        {
            std::uint32_t hex = 0;
            const bool parsed = text.size() <= 8 && ParseWhole(text, hex, 16);
            value = hex;
            return parsed;
        }
        case Field::kSlot:
            return ParseWhole(text, value) && value >= 0 && value < kGamepadSlots;
        case Field::kBits16:
        {
            std::uint16_t bits = 0;
            const bool parsed = text.size() <= 4 && ParseWhole(text, bits, 16);
            value = bits;
            return parsed;
        }
        case Field::kByte:
            return ParseWhole(text, value) && value >= 0 && value <= 255;
        case Field::kInt16:
            return ParseWhole(text, value) && value >= std::numeric_limits<std::int16_t>::min() &&
                   value <= std::numeric_limits<std::int16_t>::max();
    }
    return false;
}

}  // namespace

bool SessionReader::Open(std::string text)
{
    mText = std::move(text);
    const std::string formatPrefix = std::string(kFormatName) + " ";
    std::string_view line;
    if (!ReadHeaderLine(line) || line.substr(0, formatPrefix.size()) != formatPrefix ||
        !ParseWhole(line.substr(formatPrefix.size()), mVersion))
    {
        return false;
    }
    if (mVersion < kOldestFormatVersion || mVersion > kFormatVersion)
    {
        return true;
    }
    constexpr std::string_view kGamePrefix = "game ";
    if (!ReadHeaderLine(line) || line.substr(0, kGamePrefix.size()) != kGamePrefix ||
        line.size() == kGamePrefix.size())
    {
        return false;
    }
    mGame = std::string(line.substr(kGamePrefix.size()));
    return true;
}

bool SessionReader::EndsWithLineBreak() const
{
    return !mText.empty() && mText.back() == '\n';
}

bool SessionReader::ReadHeaderLine(std::string_view& line)
{
    const std::size_t end = mText.find('\n', mPosition);
    if (end == std::string::npos)
    {
        return false;
    }
    line = std::string_view(mText).substr(mPosition, end - mPosition);
    mPosition = end + 1;
    ++mLine;
    return true;
}

SessionReader::Status SessionReader::Next(Answer& answer)
{
    while (mPosition < mText.size() && IsSpace(mText[mPosition]))
    {
        mLine += mText[mPosition] == '\n' ? 1 : 0;
        ++mPosition;
    }
    if (mPosition >= mText.size())
    {
        return Status::kExhausted;
    }
    const std::size_t start = mPosition;
    while (mPosition < mText.size() && !IsSpace(mText[mPosition]))
    {
        ++mPosition;
    }
    mToken = std::string_view(mText).substr(start, mPosition - start);
    mTokenLine = mLine;
    if (mToken == "end")
    {
        // Nothing may follow the end but whitespace.
        const bool onlySpace = mText.find_first_not_of(" \n\t\r", mPosition) == std::string::npos;
        return onlySpace ? Status::kEnd : Status::kMalformed;
    }
    return ParseToken(answer) ? Status::kAnswer : Status::kMalformed;
}

bool SessionReader::ParseToken(Answer& answer)
{
    const AnswerForm* form = FindForm(mToken[0], mVersion);
    if (form == nullptr)
    {
        return false;
    }
    answer = Answer{};
    answer.kind = form->kind;
    const std::string_view rest = mToken.substr(1);
    if (form->isKeyed)
    {
        return ParseKeyed(*form, rest, answer);
    }
    if (rest == "!")
    {
        answer.failed = true;
        return form->canFail;
    }
    if (rest.empty())
    {
        return form->canBeBare && Decode(answer, true);
    }
    return form->count > 0 && ParseValues(*form, rest, answer) && Decode(answer, false);
}

// The key, then nothing (the key's previous answer again), "!" or the other values.
bool SessionReader::ParseKeyed(const AnswerForm& form, std::string_view rest, Answer& answer)
{
    const std::size_t keyEnd = rest.find_first_of(",!");
    if (!ParseField(rest.substr(0, keyEnd), form.fields[0], answer.values[0]))
    {
        return false;
    }
    if (keyEnd == std::string_view::npos)
    {
        return form.canBeBare && Decode(answer, true);
    }
    if (rest.substr(keyEnd) == "!")
    {
        answer.failed = true;
        return form.canFail && Decode(answer, false);
    }
    return rest[keyEnd] == ',' && ParseValues(form, rest, answer) && Decode(answer, false);
}

bool SessionReader::ParseValues(const AnswerForm& form, std::string_view fields, Answer& answer)
{
    for (int index = 0; index < form.count; ++index)
    {
        const std::size_t comma = fields.find(',');
        const bool isLast = index + 1 == form.count;
        // The last value takes the rest, which must then hold no further comma.
        if (isLast != (comma == std::string_view::npos))
        {
            return false;
        }
        if (!ParseField(fields.substr(0, comma), form.fields[index], answer.values[index]))
        {
            return false;
        }
        fields = isLast ? std::string_view() : fields.substr(comma + 1);
    }
    return true;
}

// Turns the written form into the call's values: counter steps into counts, bare letters into
// the previous cursor, origin or answer of the same pad.
bool SessionReader::Decode(Answer& answer, bool isBare)
{
    if (answer.kind == AnswerKind::kCounter)
    {
        mCount += static_cast<std::uint64_t>(answer.values[0]);
        answer.values[0] = static_cast<std::int64_t>(mCount);
        return true;
    }
    Answer* previous = PreviousOf(answer);
    if (previous == nullptr)
    {
        return true;
    }
    if (isBare)
    {
        // A bare letter needs something to repeat.
        if (previous->kind != answer.kind)
        {
            return false;
        }
        answer = *previous;
        return true;
    }
    *previous = answer;
    return true;
}

// Where the answers that a bare letter repeats are kept; null for the other kinds.
Answer* SessionReader::PreviousOf(const Answer& answer)
{
    switch (answer.kind)
    {
        case AnswerKind::kCursor:
            return &mPreviousCursor;
        case AnswerKind::kClientOrigin:
            return &mPreviousOrigin;
        case AnswerKind::kGamepad:
            return &mPreviousPads[answer.values[0]];
        default:
            return nullptr;
    }
}

}  // namespace qmImplementation::Session
