// The real game program watched from outside on a private X server (tests/support): its window,
// what it draws under the pointer, the sound it makes (OpenAL Soft's wave backend), its error
// boxes and its exit. The pointer and keys are driven with xdotool. QM_GAME_COMMAND starts another
// build instead (scripts/test_windows.sh: the Windows one under Wine).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/png_writer.h"
#include "support/private_x_server.h"
#include "support/x11_desktop.h"

// Last: its macros (None, Bool) clash with the test framework.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{

using QuillmarkTest::DesktopWindow;
using Clock = std::chrono::steady_clock;

// Deadlines, not measurements: generous so a slow software-rendered machine still passes.
constexpr int kWindowDeadline = 60;
constexpr int kExitDeadline = 30;

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool Shell(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

// The screen's pixels (0xRRGGBB) inside a window's rectangle, rows from the top down.
std::vector<unsigned long> Capture(const DesktopWindow& window)
{
    std::vector<unsigned long> pixels;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        return pixels;
    }
    XImage* image = XGetImage(display, DefaultRootWindow(display), window.x, window.y,
                              static_cast<unsigned>(window.width),
                              static_cast<unsigned>(window.height), AllPlanes, ZPixmap);
    for (int y = 0; image != nullptr && y < window.height; ++y)
    {
        for (int x = 0; x < window.width; ++x)
        {
            pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFFu);
        }
    }
    if (image != nullptr)
    {
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return pixels;
}

bool IsColor(unsigned long pixel, int red, int green, int blue)
{
    return std::abs(static_cast<int>(pixel >> 16) - red) <= 3 &&
           std::abs(static_cast<int>((pixel >> 8) & 0xFF) - green) <= 3 &&
           std::abs(static_cast<int>(pixel & 0xFF) - blue) <= 3;
}

// Loudness per sample frame (largest |sample| of its channels, 0 to 1) of the 16-bit WAV the wave
// backend writes; chunks other than "fmt " and "data" are skipped by their padded size.
std::vector<float> ReadLevels(const std::string& path, int& rate)
{
    std::ifstream stream(path, std::ios::binary);
    const std::vector<char> b((std::istreambuf_iterator<char>(stream)), {});
    auto u16 = [&b](std::size_t at)
    { return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8; };
    auto u32 = [&u16](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    std::vector<float> levels;
    std::uint32_t channels = 0;
    std::uint32_t bits = 0;
    const bool isWave = b.size() >= 12 && std::memcmp(b.data() + 8, "WAVE", 4) == 0;
    for (std::size_t at = 12; isWave && at + 8 <= b.size();
         at += 8 + u32(at + 4) + (u32(at + 4) & 1))
    {
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && at + 24 <= b.size())
        {
            channels = u16(at + 10);
            rate = static_cast<int>(u32(at + 12));
            bits = u16(at + 22);
        }
        else if (std::memcmp(&b[at], "data", 4) == 0 && bits == 16 && channels > 0)
        {
            const std::size_t end = std::min<std::size_t>(b.size(), at + 8 + u32(at + 4));
            for (std::size_t frame = at + 8; frame + 2 * channels <= end; frame += 2 * channels)
            {
                float level = 0.0f;
                for (std::uint32_t c = 0; c < channels; ++c)
                {
                    level = std::max(level, std::fabs(std::int16_t(u16(frame + 2 * c)) / 32768.0f));
                }
                levels.push_back(level);
            }
            break;
        }
    }
    return levels;
}

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
        ASSERT_FALSE(QuillmarkTest::StartPrivateXServer().empty()) << "no Xvfb";
    }

    void TearDown() override
    {
        if (!mFolder.empty())
        {
            std::filesystem::remove_all(mFolder);
        }
    }

    // Starts the game in the background with its sound going to capture.wav; exit.txt receives
    // its exit code. The time limit (and the X server stopping with this process) ensure no test
    // leaves a game behind. Sanitizer builds skip the exit-time leak check here: the system's
    // D-Bus library leaves blocks no suppression can name; the game's own leaks are checked on the
    // scripted layer (tests/scenes/whole_game_test.cpp).
    void StartGame(const std::string& directory)
    {
        std::ofstream(mFolder + "/alsoft.conf")
            << "[general]\nsample-type = int16\n[wave]\nfile = " << mFolder << "/capture.wav\n";
        const char* command = std::getenv("QM_GAME_COMMAND");
        ASSERT_TRUE(Shell("cd '" + directory + "' && (ALSOFT_DRIVERS=wave ALSOFT_CONF='" + mFolder +
                          "/alsoft.conf' ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 timeout -s "
                          "KILL 300 " +
                          (command != nullptr ? command : "'" QM_GAME_PROGRAM "'") + " >'" +
                          mFolder + "/output.txt' 2>&1; echo $? >'" + mFolder +
                          "/exit.txt') >/dev/null 2>&1 &"));
    }

    bool IsRunning() const { return !std::filesystem::exists(mFolder + "/exit.txt"); }

    // The exit code, or -1 when the game did not end within the deadline.
    int WaitForExit()
    {
        const auto deadline = Clock::now() + std::chrono::seconds(kExitDeadline);
        while (IsRunning() && Clock::now() < deadline)
        {
            Sleep(0.05);
        }
        Sleep(0.2);  // the shell creates the file before writing the code
        int code = -1;
        std::ifstream(mFolder + "/exit.txt") >> code;
        return code;
    }

    DesktopWindow WaitForWindow()
    {
        const auto deadline = Clock::now() + std::chrono::seconds(kWindowDeadline);
        DesktopWindow window;
        while (!(window = QuillmarkTest::FindTopLevelWindow("Cinderpath2")).found &&
               Clock::now() < deadline)
        {
            Sleep(0.05);
        }
        return window;
    }

    std::string Output() const
    {
        std::stringstream text;
        text << std::ifstream(mFolder + "/output.txt").rdbuf();
        return text.str();
    }

    // Pressing and holding Escape must not end the game; letting it go must. The hold spans
    // several frames even of a sanitizer build.
    void HoldThenReleaseEscape(const DesktopWindow& window)
    {
        Shell("xdotool windowfocus " + std::to_string(window.id) + " >/dev/null 2>&1");
        ASSERT_TRUE(Shell("xdotool keydown Escape"));
        Sleep(1.0);
        EXPECT_TRUE(IsRunning()) << "pressing Escape alone ended the game";
        ASSERT_TRUE(Shell("xdotool keyup Escape"));
    }

    std::string mSourceDir;
    std::string mFolder;
};

TEST_F(Cinderpath2EndToEnd, PlaysUnderThePointerAndEndsWhenEscapeIsReleased)
{
    StartGame(mSourceDir);
    const DesktopWindow window = WaitForWindow();
    ASSERT_TRUE(window.found) << "no window captioned Cinderpath2; output:\n" << Output();
    EXPECT_EQ(window.width, 1280);
    EXPECT_EQ(window.height, 720);
    ASSERT_TRUE(Shell("xdotool mousemove " + std::to_string(window.x + 640) + " " +
                      std::to_string(window.y + 360)));

    // The first collision needs 1.57 s of game time; game time never runs ahead of real time.
    Sleep(4.0);
    const std::vector<unsigned long> pixels = Capture(window);
    ASSERT_EQ(pixels.size(), 1280u * 720u);
    const char* save = std::getenv("QM_SAVE_SCREENSHOT");
    if (save != nullptr && std::string(save) == "1")
    {
        std::vector<std::uint8_t> rgb;
        for (unsigned long pixel : pixels)
        {
            rgb.insert(rgb.end(),
                       {std::uint8_t(pixel >> 16), std::uint8_t(pixel >> 8), std::uint8_t(pixel)});
        }
        EXPECT_TRUE(
            QuillmarkTest::WritePngFile(mSourceDir + "/docs/screenshot.png", 1280, 720, 3, rgb));
    }

    // The azure disc sits under the pointer (partly covered by a passing white one perhaps), and
    // white discs are drawn away from it.
    int azure = 0;
    int azureFar = 0;
    int whiteFar = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        const double distance = std::hypot(i % 1280 + 0.5 - 640.0, i / 1280 + 0.5 - 360.0);
        if (IsColor(pixels[i], 0, 170, 255))
        {
            ++azure;
            azureFar += distance > 130.0 ? 1 : 0;
        }
        whiteFar += IsColor(pixels[i], 255, 255, 255) && distance > 140.0 ? 1 : 0;
    }
    EXPECT_GT(azure, 5000);
    EXPECT_EQ(azureFar, 0);
    EXPECT_GT(whiteFar, 5000);

    HoldThenReleaseEscape(window);
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

    // Silence until the first collision, then the explosion.
    int rate = 0;
    const std::vector<float> levels = ReadLevels(mFolder + "/capture.wav", rate);
    ASSERT_FALSE(levels.empty());
    const auto first =
        std::find_if(levels.begin(), levels.end(), [](float l) { return l > 0.01f; });
    ASSERT_NE(first, levels.end());
    EXPECT_GE(static_cast<double>(first - levels.begin()) / rate, 1.5);
    EXPECT_GT(*std::max_element(levels.begin(), levels.end()), 0.1f);
}

// Clicks an error box's OK button, found on the box's pixels by a colour of its own: the SDL box's
// border, or the white edge of Wine's (no other pixel there is white). False until it is drawn.
bool ClickOk(const DesktopWindow& box, int red, int green, int blue)
{
    const std::vector<unsigned long> pixels = Capture(box);
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
    return right >= 0 && Shell("xdotool mousemove " + std::to_string(box.x + (left + right) / 2) +
                               " " + std::to_string(box.y + (top + bottom) / 2) + " click 1");
}

TEST_F(Cinderpath2EndToEnd, WithoutItsDataItReportsEachFaultAndPlaysOn)
{
    StartGame(mFolder);  // a folder without data/: every data file is missing
    const DesktopWindow window = WaitForWindow();
    ASSERT_TRUE(window.found) << Output();

    // Answer the boxes as they come (start-up ones, then one per spawned circle, which has no
    // sprite); the game goes on after each.
    int answered = 0;
    bool released = false;
    auto nextRelease = Clock::now();
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    while (IsRunning() && Clock::now() < deadline)
    {
        const DesktopWindow box = QuillmarkTest::FindTopLevelWindow("Error Condition Triggered");
        if (box.found)
        {
            answered += ClickOk(box, 140, 135, 129) || ClickOk(box, 255, 255, 255) ? 1 : 0;
            Sleep(0.2);
        }
        else if (answered >= 8 && Clock::now() >= nextRelease)
        {
            // Again later if a box opened meanwhile and took the release (Wine's take the focus).
            Shell("xdotool windowfocus " + std::to_string(window.id) +
                  " >/dev/null 2>&1; xdotool keydown Escape sleep 0.2 keyup Escape");
            released = true;
            nextRelease = Clock::now() + std::chrono::seconds(5);
        }
        Sleep(0.1);
    }
    EXPECT_TRUE(released);
    EXPECT_GE(answered, 8);
    EXPECT_EQ(WaitForExit(), 0);
    const std::string output = Output();
    for (const char* report :
         {"qmDataError: Expected sprite sheet data to be a structure of information.  Sheet: "
          "prototyping_sheet",
          "qmDataError: Expected event table data to be a structure of information. Table: "
          "\"data/audio/audio_events.json\"",
          "SpriteSheet with name prototyping_sheet does not exist."})
    {
        EXPECT_NE(output.find(report), std::string::npos) << report << "\n" << output;
    }
}

}  // namespace
