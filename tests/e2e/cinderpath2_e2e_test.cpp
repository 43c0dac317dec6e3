// The real game program, watched from the outside on a private X server: its window, what it
// draws under the pointer, the sound it makes, its error boxes and its exit. Sound is captured
// with OpenAL Soft's wave backend; the pointer and keys are driven with xdotool.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "e2e/captured_sound.h"
#include "e2e/child_process.h"
#include "e2e/private_display.h"
#include "support/png_writer.h"

namespace
{

using QuillmarkTest::ChildProcess;
using QuillmarkTest::PrivateDisplay;
using QuillmarkTest::RunCommand;
using QuillmarkTest::SleepSeconds;

// Deadlines, not measurements: generous so a slow software-rendered machine still passes.
constexpr double kWindowDeadline = 60.0;
constexpr double kExitDeadline = 30.0;

class Cinderpath2EndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* source = std::getenv("QM_SOURCE_DIR");
        if (source == nullptr)
        {
            GTEST_SKIP() << "QM_SOURCE_DIR is not set";
        }
        mSourceDir = source;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "cinderpath2_e2e_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mFolder = pattern;
        mDisplay = std::make_unique<PrivateDisplay>();
        ASSERT_TRUE(mDisplay->IsOpen()) << mDisplay->Error();
    }

    void TearDown() override
    {
        mDisplay.reset();
        if (!mFolder.empty())
        {
            std::filesystem::remove_all(mFolder);
        }
    }

    // The game with its sound written to capture.wav in the test folder.
    std::unique_ptr<ChildProcess> StartGame(const std::string& workingDirectory)
    {
        const std::string configuration = mFolder + "/alsoft.conf";
        std::ofstream(configuration)
            << "[general]\nsample-type = int16\n[wave]\nfile = " << CapturePath() << "\n";
        // In a sanitizer build the game still stops on any memory error, but its exit-time
        // leak check is off here: on a real display the system's D-Bus library (pulled in by
        // SDL) leaves blocks whose allocation stacks cannot be unwound, so no system-library
        // suppression can name them. The game's own leaks are checked in process, on the
        // scripted platform layer (tests/scenes/whole_game_test.cpp).
        return std::make_unique<ChildProcess>(
            QM_GAME_PROGRAM, workingDirectory,
            std::vector<std::string>{"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + configuration,
                                     "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"},
            OutputPath());
    }

    std::string CapturePath() const { return mFolder + "/capture.wav"; }
    std::string OutputPath() const { return mFolder + "/output.txt"; }

    std::string Output() const
    {
        std::ifstream stream(OutputPath());
        std::stringstream text;
        text << stream.rdbuf();
        return text.str();
    }

    // Pressing and holding Escape must not end the game; letting it go must.
    void HoldThenReleaseEscape(ChildProcess& game, unsigned long window)
    {
        RunCommand("xdotool windowfocus " + std::to_string(window) + " >/dev/null 2>&1");
        ASSERT_EQ(RunCommand("xdotool keydown Escape"), 0);
        // Long enough for several frames even of a sanitizer build, so the press and the
        // release are not seen in the same loop iteration.
        SleepSeconds(1.0);
        EXPECT_TRUE(game.IsRunning()) << "pressing Escape alone ended the game";
        ASSERT_EQ(RunCommand("xdotool keyup Escape"), 0);
    }

    std::string mSourceDir;
    std::string mFolder;
    std::unique_ptr<PrivateDisplay> mDisplay;
};

bool IsColor(const QuillmarkTest::Pixel& pixel, int red, int green, int blue)
{
    return std::abs(pixel.red - red) <= 3 && std::abs(pixel.green - green) <= 3 &&
           std::abs(pixel.blue - blue) <= 3;
}

void SaveScreenshotWhenAsked(const QuillmarkTest::WindowImage& image, const std::string& source)
{
    const char* save = std::getenv("QM_SAVE_SCREENSHOT");
    if (save == nullptr || std::string(save) != "1")
    {
        return;
    }
    std::vector<std::uint8_t> rgb;
    for (const QuillmarkTest::Pixel& pixel : image.pixels)
    {
        rgb.insert(rgb.end(), {pixel.red, pixel.green, pixel.blue});
    }
    EXPECT_TRUE(QuillmarkTest::WritePngFile(source + "/docs/screenshot.png", image.width,
                                            image.height, 3, rgb));
}

TEST_F(Cinderpath2EndToEnd, PlaysUnderThePointerAndEndsWhenEscapeIsReleased)
{
    std::unique_ptr<ChildProcess> game = StartGame(mSourceDir);
    ASSERT_TRUE(game->Started());
    const unsigned long window = mDisplay->WaitForWindow("Cinderpath2", kWindowDeadline);
    ASSERT_NE(window, 0u) << "no window captioned Cinderpath2; output:\n" << Output();

    QuillmarkTest::WindowGeometry geometry;
    ASSERT_TRUE(mDisplay->GeometryOf(window, geometry));
    EXPECT_EQ(geometry.width, 1280);
    EXPECT_EQ(geometry.height, 720);
    const int centreX = geometry.rootX + 640;
    const int centreY = geometry.rootY + 360;
    ASSERT_EQ(
        RunCommand("xdotool mousemove " + std::to_string(centreX) + " " + std::to_string(centreY)),
        0);

    // The first collision needs 1.57 s of game time; game time never runs ahead of real time.
    SleepSeconds(4.0);
    QuillmarkTest::WindowImage image;
    ASSERT_TRUE(mDisplay->Capture(window, image));
    SaveScreenshotWhenAsked(image, mSourceDir);

    // The azure disc sits under the pointer (some of it may be covered by a passing white one),
    // and white discs are drawn away from it.
    int azure = 0;
    int azureFarFromPointer = 0;
    int whiteAwayFromPointer = 0;
    for (int y = 0; y < image.height; ++y)
    {
        for (int x = 0; x < image.width; ++x)
        {
            const double distance = std::hypot(x + 0.5 - 640.0, y + 0.5 - 360.0);
            const QuillmarkTest::Pixel pixel = image.At(x, y);
            if (IsColor(pixel, 0, 170, 255))
            {
                ++azure;
                azureFarFromPointer += distance > 130.0 ? 1 : 0;
            }
            else if (IsColor(pixel, 255, 255, 255) && distance > 140.0)
            {
                ++whiteAwayFromPointer;
            }
        }
    }
    EXPECT_GT(azure, 5000);
    EXPECT_EQ(azureFarFromPointer, 0);
    EXPECT_GT(whiteAwayFromPointer, 5000);

    HoldThenReleaseEscape(*game, window);
    int exitCode = -1;
    ASSERT_TRUE(game->WaitForExit(kExitDeadline, exitCode)) << "the game did not end";
    EXPECT_EQ(exitCode, 0) << Output();

    // Silence until the first collision, then the explosion.
    QuillmarkTest::CapturedSound sound;
    ASSERT_TRUE(QuillmarkTest::ReadCapturedSound(CapturePath(), sound));
    const double firstSound = sound.FirstSoundAt(0.01f);
    EXPECT_GE(firstSound, 1.5);
    EXPECT_GT(sound.Peak(), 0.1f);
}

// Clicks the OK button of an error box: the button is found on the box's own pixels by its
// border colour, so the test does not depend on the box's layout.
bool ClickOk(PrivateDisplay& display, unsigned long box)
{
    QuillmarkTest::WindowImage image;
    QuillmarkTest::WindowGeometry geometry;
    if (!display.Capture(box, image) || !display.GeometryOf(box, geometry))
    {
        return false;
    }
    int left = image.width;
    int top = image.height;
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.height; ++y)
    {
        for (int x = 0; x < image.width; ++x)
        {
            if (IsColor(image.At(x, y), 140, 135, 129))
            {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
    {
        return false;
    }
    const int x = geometry.rootX + (left + right) / 2;
    const int y = geometry.rootY + (top + bottom) / 2;
    return RunCommand("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                      " click 1") == 0;
}

TEST_F(Cinderpath2EndToEnd, WithoutItsDataItReportsEachFaultAndPlaysOn)
{
    // A folder without data/: every data file is missing.
    std::unique_ptr<ChildProcess> game = StartGame(mFolder);
    ASSERT_TRUE(game->Started());
    const unsigned long window = mDisplay->WaitForWindow("Cinderpath2", kWindowDeadline);
    ASSERT_NE(window, 0u) << Output();

    // Answer the boxes as they come: the start-up ones, then one per spawned circle, which has no
    // sprite to draw. The game goes on after each.
    int answered = 0;
    bool released = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (game->IsRunning() && std::chrono::steady_clock::now() < deadline)
    {
        const std::vector<unsigned long> boxes = mDisplay->FindWindows("Error Condition Triggered");
        if (!boxes.empty())
        {
            if (ClickOk(*mDisplay, boxes.front()))
            {
                ++answered;
            }
            SleepSeconds(0.2);
            continue;
        }
        if (answered >= 8 && !released)
        {
            HoldThenReleaseEscape(*game, window);
            released = true;
        }
        SleepSeconds(0.1);
    }
    int exitCode = -1;
    ASSERT_TRUE(game->WaitForExit(kExitDeadline, exitCode)) << "the game did not end";
    EXPECT_TRUE(released);
    EXPECT_EQ(exitCode, 0);
    EXPECT_GE(answered, 8);

    const std::string output = Output();
    EXPECT_NE(output.find("qmDataError: Expected sprite sheet data to be a structure of "
                          "information.  Sheet: prototyping_sheet"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("qmDataError: Expected event table data to be a structure of "
                          "information. Table: \"data/audio/audio_events.json\""),
              std::string::npos);
    EXPECT_NE(output.find("SpriteSheet with name prototyping_sheet does not exist."),
              std::string::npos);
}

}  // namespace
