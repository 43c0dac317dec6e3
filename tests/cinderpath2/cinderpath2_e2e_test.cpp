// SPDX-License-Identifier: Zlib
// The real game program watched from outside on a private X server, driven with xdotool: window,
// pixels, sound, error boxes, window manager and exit. QM_GAME_COMMAND starts another build.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/captured_sound.h"
#include "support/png_writer.h"
#include "support/private_x_server.h"
#include "support/temporary_folder.h"
#include "support/x11_desktop.h"

namespace
{

using QuillmarkTest::DesktopWindow;
using QuillmarkTest::RunDesktopCommand;
using Clock = std::chrono::steady_clock;

// Deadlines, not measurements: generous so a slow software-rendered machine still passes.
constexpr int kWindowDeadline = 60;
constexpr int kExitDeadline = 30;

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool IsColor(unsigned long pixel, int red, int green, int blue)
{
    return std::abs(static_cast<int>(pixel >> 16) - red) <= 3 &&
           std::abs(static_cast<int>((pixel >> 8) & 0xFF) - green) <= 3 &&
           std::abs(static_cast<int>(pixel & 0xFF) - blue) <= 3;
}

bool IsAzure(unsigned long pixel)
{
    return IsColor(pixel, 0, 170, 255);
}

// How many pixels of a 1280 x 720 capture pass `test`, given the pixel and its column and row.
template <typename Test>
int Count(const std::vector<unsigned long>& pixels, Test test)
{
    int count = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        count += test(pixels[i], double(i % 1280), double(i / 1280)) ? 1 : 0;
    return count;
}

std::string Pointer(const DesktopWindow& window, int x, int y)
{
    return "xdotool mousemove " + std::to_string(window.x + x) + " " + std::to_string(window.y + y);
}

class Cinderpath2EndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* source = std::getenv("QM_SOURCE_DIR");
        if (source == nullptr)
            GTEST_SKIP() << "QM_SOURCE_DIR is not set";
        mSourceDir = source;
        ASSERT_FALSE(QuillmarkTest::StartPrivateXServer().empty()) << "no Xvfb";
    }

    void TearDown() override
    {
        std::system(("kill $(cat '" + mFolder + "/wm.pid' 2>/dev/null) 2>/dev/null").c_str());
    }

    // The game in the background under a time limit, sound to capture.wav, exit code to exit.txt.
    // No leak check: the system's D-Bus library leaves blocks no suppression can name.
    void StartGame(const std::string& directory, const std::string& environment = "")
    {
        std::ofstream(mFolder + "/alsoft.conf")
            << "[general]\nchannels = mono\nsample-type = int16\nfrequency = 22050\n[wave]\nfile = "
            << mFolder << "/capture.wav\n";
        const char* game = std::getenv("QM_GAME_COMMAND");
        const std::string command =
            "cd '" + directory + "' && (env " + environment + " ALSOFT_DRIVERS=wave ALSOFT_CONF='" +
            mFolder +
            "/alsoft.conf' ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 timeout -s KILL 300 " +
            (game != nullptr ? game : "'" QM_GAME_PROGRAM "'") + " >'" + mFolder +
            "/output.txt' 2>&1; echo $? >'" + mFolder + "/exit.txt') >/dev/null 2>&1 &";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    // openbox, stopped in TearDown. A window mapped while it still starts may never be shown (SDL
    // would wait for ever), so probe windows go up one after another until one is framed.
    void StartWindowManager()
    {
        const std::string openbox =
            "openbox >'" + mFolder + "/openbox.txt' 2>&1 & echo $! >'" + mFolder + "/wm.pid'";
        ASSERT_EQ(std::system(openbox.c_str()), 0);
        const auto deadline = Clock::now() + std::chrono::seconds(kWindowDeadline);
        bool framed = false;
        while (!framed && Clock::now() < deadline)
        {
            ASSERT_EQ(std::system("xmessage -title wmready ready >/dev/null 2>&1 &"), 0);
            const auto probeEnd = Clock::now() + std::chrono::seconds(3);
            while (!framed && Clock::now() < probeEnd)
            {
                const DesktopWindow probe = QuillmarkTest::FindWindowNamed("wmready");
                framed = probe.found && probe.frameY != probe.y;
                Sleep(0.1);
            }
            RunDesktopCommand("pkill -f 'xmessage -title wmready'");
        }
        ASSERT_TRUE(framed) << "openbox framed no window: "
                            << QuillmarkTest::ReadBytes(mFolder + "/openbox.txt");
    }

    static bool IsAnotherBuild() { return std::getenv("QM_GAME_COMMAND") != nullptr; }

    bool IsRunning() const { return !std::filesystem::exists(mFolder + "/exit.txt"); }

    // The exit code, or -1 when the game did not end within the deadline.
    int WaitForExit()
    {
        const auto deadline = Clock::now() + std::chrono::seconds(kExitDeadline);
        while (IsRunning() && Clock::now() < deadline)
            Sleep(0.05);
        Sleep(0.2);  // the shell creates the file before writing the code
        int code = -1;
        std::ifstream(mFolder + "/exit.txt") >> code;
        return code;
    }

    DesktopWindow WaitForWindow(const std::string& name = "Cinderpath2")
    {
        const auto deadline = Clock::now() + std::chrono::seconds(kWindowDeadline);
        DesktopWindow window;
        while (!(window = QuillmarkTest::FindWindowNamed(name)).found && Clock::now() < deadline)
            Sleep(0.05);
        return window;
    }

    std::string Output() const { return QuillmarkTest::ReadBytes(mFolder + "/output.txt"); }

    QuillmarkTest::TemporaryFolder mTemporary;
    std::string mSourceDir, mFolder = mTemporary.path.string();
};

TEST_F(Cinderpath2EndToEnd, PlaysUnderThePointerAndEndsWhenEscapeIsReleased)
{
    StartGame(mSourceDir);
    const DesktopWindow window = WaitForWindow();
    ASSERT_TRUE(window.found) << "no window captioned Cinderpath2; output:\n" << Output();
    EXPECT_EQ(window.width, 1280);
    EXPECT_EQ(window.height, 720);
    ASSERT_TRUE(RunDesktopCommand(Pointer(window, 640, 360)));

    // The first collision needs 1.57 s of game time; game time never runs ahead of real time.
    Sleep(4.0);
    const std::vector<unsigned long> pixels = QuillmarkTest::CaptureWindow(window);
    ASSERT_EQ(pixels.size(), 1280u * 720u);
    if (const char* save = std::getenv("QM_SAVE_SCREENSHOT"); save != nullptr && *save == '1')
    {
        std::vector<std::uint8_t> rgb;
        for (unsigned long pixel : pixels)
            rgb.insert(rgb.end(),
                       {std::uint8_t(pixel >> 16), std::uint8_t(pixel >> 8), std::uint8_t(pixel)});
        EXPECT_TRUE(
            QuillmarkTest::WritePngFile(mSourceDir + "/docs/screenshot.png", 1280, 720, 3, rgb));
    }

    // The azure disc under the pointer (a white one may pass over it), white discs away from it.
    const auto far = [](double x, double y, double radius)
    { return std::hypot(x + 0.5 - 640.0, y + 0.5 - 360.0) > radius; };
    EXPECT_GT(Count(pixels, [](auto pixel, double, double) { return IsAzure(pixel); }), 5000);
    EXPECT_EQ(Count(pixels, [&](auto pixel, double x, double y)
                    { return IsAzure(pixel) && far(x, y, 130.0); }),
              0);
    EXPECT_GT(Count(pixels, [&](auto pixel, double x, double y)
                    { return IsColor(pixel, 255, 255, 255) && far(x, y, 140.0); }),
              5000);

    // The pointer is followed beyond the window's left edge: only the disc's right part shows.
    ASSERT_TRUE(RunDesktopCommand(Pointer(window, -40, 360)));
    Sleep(0.5);
    const std::vector<unsigned long> outside = QuillmarkTest::CaptureWindow(window);
    EXPECT_GT(
        Count(outside, [](auto pixel, double x, double) { return IsAzure(pixel) && x < 100; }),
        500);
    EXPECT_EQ(
        Count(outside, [](auto pixel, double x, double) { return IsAzure(pixel) && x >= 100; }), 0);

    // Holding Escape (for several frames even of a sanitizer build) must not end the game.
    RunDesktopCommand("xdotool windowfocus " + std::to_string(window.id));
    ASSERT_TRUE(RunDesktopCommand("xdotool keydown Escape"));
    Sleep(1.0);
    EXPECT_TRUE(IsRunning()) << "pressing Escape alone ended the game";
    ASSERT_TRUE(RunDesktopCommand("xdotool keyup Escape"));
    EXPECT_EQ(WaitForExit(), 0) << Output();

    // With no OpenAL library to load (Wine has none) the game's first report is the missing
    // device, its last the context that could then not be made: it played on in silence.
    if (std::getenv("QM_GAME_WITHOUT_OPENAL") != nullptr)
    {
        const std::string output = Output(), report = "MESSAGE: AudioManager could not ";
        EXPECT_EQ(output.find("MESSAGE: "), output.find(report + "create the default audio"));
        EXPECT_EQ(output.rfind("MESSAGE: "), output.find(report + "set audio context."));
        return;
    }

    const std::vector<std::int16_t> samples =
        QuillmarkTest::ReadCapturedSamples(mFolder + "/capture.wav");
    const auto first = std::find_if(samples.begin(), samples.end(),
                                    [](std::int16_t sample) { return std::abs(sample) > 300; });
    ASSERT_NE(first, samples.end());
    EXPECT_GE(static_cast<double>(first - samples.begin()) / 22050, 1.5);
    const auto loudest = std::max_element(samples.begin(), samples.end());
    EXPECT_GT(*loudest, 3000);
}

// Clicks an error box's OK button, found on the box's pixels by a colour of its own: the SDL box's
// border, or the white edge of Wine's (no other pixel there is white). False until it is drawn.
bool ClickOk(const DesktopWindow& box, int red, int green, int blue)
{
    const std::vector<unsigned long> pixels = QuillmarkTest::CaptureWindow(box);
    int left = box.width, top = box.height, right = -1, bottom = -1;
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        const int x = static_cast<int>(i % static_cast<std::size_t>(box.width));
        const int y = static_cast<int>(i / static_cast<std::size_t>(box.width));
        if (IsColor(pixels[i], red, green, blue))
        {
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    }
    return right >= 0 &&
           RunDesktopCommand(Pointer(box, (left + right) / 2, (top + bottom) / 2) + " click 1");
}

TEST_F(Cinderpath2EndToEnd, WithoutItsDataItReportsEachFaultAndPlaysOn)
{
    StartGame(mFolder);  // a folder without data/: every data file is missing
    const DesktopWindow window = WaitForWindow();
    ASSERT_TRUE(window.found) << Output();

    // Answer the boxes as they come (start-up ones, then one per spawned circle: it has no sprite).
    int answered = 0;
    bool released = false;
    auto nextRelease = Clock::now();
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    while (IsRunning() && Clock::now() < deadline)
    {
        const DesktopWindow box = QuillmarkTest::FindWindowNamed("Error Condition Triggered");
        if (box.found)
        {
            answered += ClickOk(box, 140, 135, 129) || ClickOk(box, 255, 255, 255) ? 1 : 0;
            Sleep(0.2);
        }
        else if (answered >= 8 && Clock::now() >= nextRelease)
        {
            // Again later if a box opened meanwhile and took the release (Wine's take the focus).
            RunDesktopCommand("xdotool windowfocus " + std::to_string(window.id));
            RunDesktopCommand("xdotool keydown Escape sleep 0.2 keyup Escape");
            released = true;
            nextRelease = Clock::now() + std::chrono::seconds(5);
        }
        Sleep(0.1);
    }
    EXPECT_TRUE(released);
    EXPECT_GE(answered, 8);
    EXPECT_EQ(WaitForExit(), 0);
    const std::string output = Output();
    for (
        const char* report :
        {"qmDataError: Expected sprite sheet data to be a structure of information.  Sheet: prototyping_sheet",
         "qmDataError: Expected event table data to be a structure of information. Table: \"data/audio/audio_events.json\"",
         "SpriteSheet with name prototyping_sheet does not exist."})
    {
        EXPECT_NE(output.find(report), std::string::npos) << report << "\n" << output;
    }
}

// Under a window manager: the frame sits where asked, a key held while another window takes the
// focus stays down (letting it go there does not quit), and the manager's close ends the game.
TEST_F(Cinderpath2EndToEnd, UnderAWindowManagerKeepsItsPlaceHeldKeysAndCloses)
{
    if (IsAnotherBuild())
        GTEST_SKIP() << "checks the SDL layer, not the build QM_GAME_COMMAND starts";
    StartWindowManager();
    StartGame(mSourceDir);
    const DesktopWindow window = WaitForWindow();
    ASSERT_TRUE(window.found) << "windows: " << QuillmarkTest::ListWindowNames()
                              << "\nopenbox: " << QuillmarkTest::ReadBytes(mFolder + "/openbox.txt")
                              << "\n"
                              << Output();
    EXPECT_EQ(window.frameX, 50);
    EXPECT_EQ(window.frameY, 50);
    EXPECT_EQ(window.width, 1280);
    EXPECT_EQ(window.height, 720);

    const std::string focusGame = "xdotool windowactivate --sync " + std::to_string(window.id);
    ASSERT_TRUE(RunDesktopCommand(focusGame));
    ASSERT_TRUE(RunDesktopCommand("xdotool keydown Escape"));
    ASSERT_EQ(std::system("xmessage -title focusthief 'another window' >/dev/null 2>&1 &"), 0);
    const DesktopWindow thief = WaitForWindow("focusthief");
    ASSERT_TRUE(thief.found);
    ASSERT_TRUE(RunDesktopCommand("xdotool windowactivate --sync " + std::to_string(thief.id)));
    ASSERT_TRUE(RunDesktopCommand("xdotool keyup Escape"));
    Sleep(1.0);
    ASSERT_TRUE(IsRunning()) << "Escape let go in another window ended the game, code "
                             << WaitForExit() << ":\n"
                             << Output();

    RunDesktopCommand("pkill -x xmessage");
    ASSERT_TRUE(RunDesktopCommand(focusGame));
    ASSERT_TRUE(RunDesktopCommand("xdotool key alt+F4"));
    EXPECT_EQ(WaitForExit(), 0) << Output();
}

// With no desktop at all the game says why and ends at once with a failure code.
TEST_F(Cinderpath2EndToEnd, WithoutADisplayItSaysWhyAndFails)
{
    if (IsAnotherBuild())
        GTEST_SKIP() << "checks the SDL layer, not the build QM_GAME_COMMAND starts";
    StartGame(mSourceDir, "-u DISPLAY -u WAYLAND_DISPLAY");
    const int code = WaitForExit();
    EXPECT_NE(code, 0);
    EXPECT_NE(code, -1) << "still running";
    const std::string output = Output();
    EXPECT_NE(output.find("qmInternalError, Expected window handle to be valid."),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("the window could not be created"), std::string::npos) << output;
}

}  // namespace
