// SPDX-License-Identifier: Zlib
// The reader's view of pad answers, which hand-edited recordings reach: only from the version that
// brought pads, and never when out of range or repeating a slot that never answered.
#include "quill_mark/platform/recording/qmi_session_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using namespace qmImplementation::Session;

bool ReadsAsAnswers(int version, const std::string& tokens)
{
    SessionReader reader;
    EXPECT_TRUE(reader.Open("quillmark-session " + std::to_string(version) + "\ngame G\n" + tokens +
                            "\nend\n"));
    const auto count = std::count(tokens.begin(), tokens.end(), ' ') + 1;
    Answer answer;
    for (long index = 0; index < count; ++index)
    {
        if (reader.Next(answer) != SessionReader::Status::kAnswer)
            return false;
    }
    return true;
}

TEST(SessionReader, PadTokensAreReadFromVersionTwoOnAndOnlyWithinTheirRanges)
{
    struct Case
    {
        int version;
        std::string tokens;
        bool isAnswer;
    };
    const std::vector<Case> cases = {
        {2, "p3,ffff,255,0,32767,-32768,0,0", true},
        {2, "p0!", true},
        {2, "p1! p1", true},
        {1, "p0!", false},     // version 1 had no pads
        {2, "p4!", false},     // slots are 0 to 3
        {2, "p0", false},      // nothing to repeat yet
        {2, "p0! p1", false},  // another slot's answer is not repeated
        {2, "p0,10000,0,0,0,0,0,0", false},
        {2, "p0,0,256,0,0,0,0,0", false},
        {2, "p0,0,0,0,32768,0,0,0", false},
        {2, "p0,0,0,0,0,0,0", false},
        {2, "p0,0,0,0,0,0,0,0,0", false},
        {2, "p,0,0,0,0,0,0,0", false},
        {2, "p0!,1", false},
    };
    for (const Case& test : cases)
    {
        EXPECT_EQ(ReadsAsAnswers(test.version, test.tokens), test.isAnswer)
            << "version " << test.version << ": " << test.tokens;
    }
}

}  // namespace
