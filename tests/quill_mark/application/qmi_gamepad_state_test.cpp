// SPDX-License-Identifier: Zlib
// Pads as a game reads them through the input state, scripted per loop iteration on the headless
// layer: connections, pressed/held/released frames, dead zones, and when empty slots are asked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quill_mark/application/qm_application_handler_interface.h"
#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/application/qm_realtime_application.h"
#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

namespace
{

namespace Headless = qmImplementation::HeadlessLayer;
using namespace qmSeam;
using namespace Quillmark::Application;
using Strings = std::vector<std::string>;

struct Handler : ApplicationHandlerInterface
{
    void OnFrame() override { onFrame(frames++); }
    int frames = 0;
    std::function<void(int frame)> onFrame = [](int) {};
};

// Runs the window layer's loop: actions[i] runs before iteration i reads the pads, then frame i
// goes to onFrame; the window closes after the last. Each test has a process of its own.
void Play(const std::vector<std::function<void()>>& actions, std::function<void(int)> onFrame)
{
    Headless::Reset();
    Handler handler;
    handler.onFrame = std::move(onFrame);
    RealtimeApplication application(handler);
    application.Open();
    Headless::SetIterationHook(
        [&actions](std::int64_t iteration)
        {
            if (iteration < std::int64_t(actions.size()) && actions[iteration])
                actions[iteration]();
            if (iteration == std::int64_t(actions.size()))
                Headless::PostUserClose();
        });
    application.Run();
}

XINPUT_GAMEPAD Buttons(WORD buttons, SHORT leftStickX = 0)
{
    XINPUT_GAMEPAD pad = {};
    pad.wButtons = buttons;
    pad.sThumbLX = leftStickX;
    return pad;
}

// Slot 0 in a frame: connection, each button's pressed (+), released (-), held (=) by name, and
// the left stick's x when it is not at rest.
std::string Describe()
{
    static const char* const kNames[kGamepadButtonCount] = {
        "A", "B", "X", "Y", "LB", "RB", "Back", "Start", "LS", "RS", "Up", "Down", "Left", "Right"};
    std::string text = IsGamepadConnected(0) ? "on" : "off";
    for (int index = 0; index < kGamepadButtonCount; ++index)
    {
        const auto button = static_cast<GamepadButton>(index);
        text += IsGamepadButtonPressed(0, button) ? std::string(" +") + kNames[index] : "";
        text += IsGamepadButtonReleased(0, button) ? std::string(" -") + kNames[index] : "";
        text += IsGamepadButtonHeld(0, button) ? std::string(" =") + kNames[index] : "";
    }
    const float stickX = GetGamepadAxis(0, kGamepadLeftStickX);
    return stickX != 0.0f ? text + " x=" + std::to_string(stickX) : text;
}

TEST(GamepadState, ButtonsCountInTheFramesTheyChangeAndAPadComesAndGoesLeavingNothingHeld)
{
    Strings frames;
    Play(
        {
            // Connected with A down: A is held, not pressed.
            [] { Headless::ConnectGamepad(0, Buttons(XINPUT_GAMEPAD_A)); },
            [] { Headless::SetGamepadState(0, Buttons(0)); },
            [] { Headless::SetGamepadState(0, Buttons(XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_START)); },
            nullptr,
            [] { Headless::SetGamepadState(0, Buttons(XINPUT_GAMEPAD_START, 32767)); },
            // Gone with Start down and the stick pushed: nothing is released, held or pushed.
            [] { Headless::DisconnectGamepad(0); },
            [] { Headless::ConnectGamepad(0, Buttons(XINPUT_GAMEPAD_DPAD_RIGHT)); },
            [] { Headless::SetGamepadState(0, Buttons(XINPUT_GAMEPAD_Y)); },
        },
        [&frames](int) { frames.push_back(Describe()); });
    // Once the pad is gone, slot 0 is asked again only at iteration 32.
    EXPECT_EQ(frames, (Strings{"on =A", "on -A", "on +B =B +Start =Start", "on =B =Start",
                               "on -B =Start x=1.000000", "off", "off", "off"}));
    // Slots out of range are empty.
    EXPECT_FALSE(IsGamepadConnected(-1));
    EXPECT_FALSE(IsGamepadConnected(4));
    EXPECT_FALSE(IsGamepadButtonHeld(4, kGamepadA));
    EXPECT_EQ(GetGamepadAxis(7, kGamepadLeftStickX), 0.0f);
}

TEST(GamepadState, AReconnectedPadIsSeenOnItsSlotsScheduleAndEmptySlotsAreAskedRarely)
{
    std::vector<std::function<void()>> actions(70);
    actions[1] = [] { Headless::ConnectGamepad(2, Buttons(XINPUT_GAMEPAD_X)); };
    actions[20] = [] { Headless::DisconnectGamepad(2); };
    actions[21] = [] { Headless::ConnectGamepad(2, Buttons(XINPUT_GAMEPAD_X)); };
    std::vector<int> connectedFrames;
    Play(actions,
         [&connectedFrames](int frame)
         {
             if (IsGamepadConnected(2))
                 connectedFrames.push_back(frame);
         });
    std::vector<int> expected = {16, 17, 18, 19};  // slot 2's empty-slot turns: 16, 48
    for (int frame = 48; frame < 70; ++frame)
        expected.push_back(frame);
    EXPECT_EQ(connectedFrames, expected);
    // Never connected: the first iteration and every 32nd after, at the slot's own offset.
    EXPECT_EQ(Headless::GetGamepadPollCount(0), 3);  // 0, 32, 64
    EXPECT_EQ(Headless::GetGamepadPollCount(1), 3);  // 0, 8, 40
    EXPECT_EQ(Headless::GetGamepadPollCount(3), 3);  // 0, 24, 56
    // 0; 16 to 20; 48 to 70, the iteration that sees the close and runs no frame.
    EXPECT_EQ(Headless::GetGamepadPollCount(2), 1 + 5 + 23);
}

struct Stick
{
    SHORT x, y;
    float right, down;
};

TEST(GamepadState, SticksAndTriggersReadPastTheirDeadZonesWithYDownwards)
{
    // Dead zones of 7849 (left stick), 8689 (right) and 30 of 255 (triggers); a stick's is round
    // and it reads at most 1. XInput's y grows upwards, the window's downwards.
    const float kHalfDiagonal = 0.70710677f;
    const std::vector<Stick> left = {
        {0, 0, 0.0f, 0.0f},
        {7849, 0, 0.0f, 0.0f},
        {5000, -5000, 0.0f, 0.0f},
        {7000, 7000, (9899.495f - 7849.0f) / 24918.0f * kHalfDiagonal,
         -(9899.495f - 7849.0f) / 24918.0f * kHalfDiagonal},
        {20308, 0, 0.5f, 0.0f},
        {0, -20308, 0.0f, 0.5f},
        {32767, 0, 1.0f, 0.0f},
        {-32768, 0, -1.0f, 0.0f},
        {0, 32767, 0.0f, -1.0f},
        {32767, -32767, kHalfDiagonal, kHalfDiagonal},
    };
    const std::vector<Stick> right = {{8689, 0, 0.0f, 0.0f},
                                      {20728, 0, 0.5f, 0.0f},
                                      {0, 20728, 0.0f, -0.5f},
                                      {-32768, 0, -1.0f, 0.0f}};
    const std::vector<std::pair<BYTE, float>> triggers = {
        {0, 0.0f}, {30, 0.0f}, {31, 1.0f / 225.0f}, {255, 1.0f}};

    std::vector<std::function<void()>> actions;
    for (std::size_t row = 0; row < left.size(); ++row)
        actions.push_back(
            [&, row]
            {
                XINPUT_GAMEPAD pad = {};
                pad.sThumbLX = left[row].x;
                pad.sThumbLY = left[row].y;
                const Stick& rightStick = right[row % right.size()];
                pad.sThumbRX = rightStick.x;
                pad.sThumbRY = rightStick.y;
                pad.bLeftTrigger = triggers[row % triggers.size()].first;
                pad.bRightTrigger = triggers[(row + 1) % triggers.size()].first;
                Headless::ConnectGamepad(0, pad);
            });
    Play(actions,
         [&](int frame)
         {
             const Stick& leftStick = left[frame];
             const Stick& rightStick = right[frame % right.size()];
             const std::string row = "row " + std::to_string(frame);
             EXPECT_NEAR(GetGamepadAxis(0, kGamepadLeftStickX), leftStick.right, 1e-6f) << row;
             EXPECT_NEAR(GetGamepadAxis(0, kGamepadLeftStickY), leftStick.down, 1e-6f) << row;
             EXPECT_NEAR(GetGamepadAxis(0, kGamepadRightStickX), rightStick.right, 1e-6f) << row;
             EXPECT_NEAR(GetGamepadAxis(0, kGamepadRightStickY), rightStick.down, 1e-6f) << row;
             EXPECT_FLOAT_EQ(GetGamepadAxis(0, kGamepadLeftTrigger),
                             triggers[frame % triggers.size()].second)
                 << row;
             EXPECT_FLOAT_EQ(GetGamepadAxis(0, kGamepadRightTrigger),
                             triggers[(frame + 1) % triggers.size()].second)
                 << row;
         });
}

}  // namespace
