// The JSON reader's single pass: reads the plain documents data files are made of straight into a
// DynamicStructure whose payload lives in one arena, with no parse tree in between. It gives up on
// anything outside that plain form, or that the conversion would report, and leaves it to
// JsonTextParser, whose rules decide every case; on plain text both give the same value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "quill_mark/core/qm_dynamic_structure.h"

namespace qmImplementation
{

class ValueArena;

class JsonDocumentReader
{
public:
    // The same bound as JsonTextParser's: deeper documents are left to it.
    static constexpr int kMaximumNesting = 512;

    // True with result set (result must be a new Nil value) when the text is plain; false, with
    // result untouched, when the text must be read by JsonTextParser.
    bool Read(std::string_view text, Quillmark::Core::DynamicStructure& result);

private:
    using DynamicStructure = Quillmark::Core::DynamicStructure;

    // A value read but not yet placed in its container's table.
    struct Pending
    {
        Quillmark::Core::ValueType type;
        std::uint32_t count;
        DynamicStructure::Payload payload;
    };
    struct PendingMember
    {
        std::string_view name;
        Pending value;
    };

    bool ReadValue(Pending& value, bool inArray, int depth);
    bool ReadObject(Pending& value, int depth);
    bool ReadMember(int depth);
    bool ReadArray(Pending& value, int depth);
    bool EnterContainer(char closing, int depth, bool& empty);
    bool ReadSeparator(char closing, bool& closed);
    bool ReadString(Pending& value, bool inArray);
    bool ReadScalar(Pending& value);
    bool ReadNumber(std::string_view token, Pending& value);
    bool ReadDouble(std::string_view token, double& number);
    void FinishObject(Pending& value, std::size_t firstMember);
    void FinishArray(Pending& value, std::size_t firstElement);
    void Place(DynamicStructure& slot, const Pending& value) const;
    const char* FindClosingQuote(const char* position) const;
    void SkipWhitespace();
    bool AtEnd() const { return mCursor == mEnd; }

    const char* mCursor = nullptr;
    const char* mEnd = nullptr;
    ValueArena* mArena = nullptr;
    // Members and elements of the containers being read; each container takes its own off the
    // end when it is complete.
    std::vector<PendingMember> mMembers;
    std::vector<Pending> mElements;
    std::string mToken;
};

}  // namespace qmImplementation
