// SPDX-License-Identifier: Zlib
// RunSession's command line: other arguments leave the game to play, a malformed option ends with 2
// before the game runs, and a replay answers from the recording.
#include "quill_mark/session/qm_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quill_mark/core/qm_version.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/qmi_seam.h"
#include "support/temporary_folder.h"

namespace
{

int theRuns = 0;
qmSeam::LARGE_INTEGER theFrequency = {};

// A game that only asks the clock's frequency and ends after one frame, as a real one would.
int Play()
{
    ++theRuns;
    qmSeam::Calls::QueryPerformanceFrequency(&theFrequency);
    if (Quillmark::Platform::GetFrameObserver() != nullptr)
        Quillmark::Platform::GetFrameObserver()(0x2A);
    return 7;
}

int RunWith(std::vector<std::string> arguments, const char* version = nullptr)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    return Quillmark::Session::RunSession(static_cast<int>(argv.size()), argv.data(), "Tested",
                                          Play, version);
}

constexpr char kOneFrame[] = "quillmark-session 1\ngame Tested\nf12345 =00000001,0000002a\nend\n";
const QuillmarkTest::TemporaryFolder theFolder;  // this process's own: tests run side by side

TEST(RunSession, ArgumentsThatAreNotTheSessionsOwnLeaveTheGameToPlay)
{
    EXPECT_EQ(RunWith({"game", "--from-launcher", "-x", "42"}), 7);
    EXPECT_EQ(theRuns, 1);
}

// The framework's version is the project's one version, the one its packages, CMake package and
// pkg-config files carry (QM_TEST_PROJECT_VERSION, from the same definition).
TEST(Version, TheFrameworkReportsTheProjectVersion)
{
    EXPECT_EQ(std::string(Quillmark::GetVersion()), QM_TEST_PROJECT_VERSION);
}

TEST(RunSession, VersionNamesTheGameThenTheFrameworkAndPlaysNothing)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunWith({"game", "--version"}, "4.5.6"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              std::string("Tested 4.5.6 (Quillmark ") + Quillmark::GetVersion() + ")\n");
    EXPECT_EQ(theRuns, 0);
}

TEST(RunSession, AReplayAnswersFromTheRecordingAlsoAmongOtherArguments)
{
    const std::string path = theFolder.Write("one.replay", kOneFrame);
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunWith({"game", "--fullscreen", "--replay", path}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "replay: 1 frames, identical\n");
    EXPECT_EQ(theRuns, 1);
    EXPECT_EQ(theFrequency.QuadPart, 12345);
}

TEST(RunSession, MalformedOptionsAndMissingRecordingsEndWithTwoBeforeTheGameRuns)
{
    const std::string path = theFolder.Write("one.replay", kOneFrame);
    const std::vector<std::vector<std::string>> commandLines = {
        {"game", "--record"},
        {"game", "--replay"},
        {"game", "--replay", path, "--until-frame", "0"},
        {"game", "--replay", path, "--until-frame", "12x"},
        {"game", "--show"},
        {"game", "--record", path + ".new", "--replay", path},
        {"game", "--replay", theFolder.File("no such recording")},
    };
    for (const std::vector<std::string>& commandLine : commandLines)
        EXPECT_EQ(RunWith(commandLine), 2) << commandLine.back();
    EXPECT_EQ(theRuns, 0);
}

}  // namespace
