// Token forms: a letter, then "!" for a failed call, nothing for "no message" or a repeated
// cursor or origin, or the values separated by commas (decimal, hexadecimal for hashes and the
// frame digest). Whitespace of any kind separates tokens; lines only matter for the reports.
#include "quill_mark/platform/session/qmi_session_reader.h"

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
    if (mVersion != kFormatVersion)
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
    const AnswerForm* form = FindForm(mToken[0]);
    if (form == nullptr)
    {
        return false;
    }
    answer = Answer{};
    answer.kind = form->kind;
    const std::string_view rest = mToken.substr(1);
    if (rest == "!")
    {
        answer.failed = true;
        return form->canFail;
    }
    if (rest.empty())
    {
        return form->canBeBare && Decode(answer, true);
    }
    return form->count > 0 && ParseValues(rest, answer) && Decode(answer, false);
}

bool SessionReader::ParseValues(std::string_view fields, Answer& answer)
{
    const AnswerForm& form = *FindForm(static_cast<char>(answer.kind));
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
// the previous cursor or origin.
bool SessionReader::Decode(Answer& answer, bool isBare)
{
    if (answer.kind == AnswerKind::kCounter)
    {
        mCount += static_cast<std::uint64_t>(answer.values[0]);
        answer.values[0] = static_cast<std::int64_t>(mCount);
        return true;
    }
    if (answer.kind != AnswerKind::kCursor && answer.kind != AnswerKind::kClientOrigin)
    {
        return true;
    }
    Answer& previous = answer.kind == AnswerKind::kCursor ? mPreviousCursor : mPreviousOrigin;
    if (isBare)
    {
        // A bare letter needs something to repeat.
        if (previous.kind != answer.kind)
        {
            return false;
        }
        answer = previous;
        return true;
    }
    previous = answer;
    return true;
}

}  // namespace qmImplementation::Session
