// SPDX-License-Identifier: Zlib
// What recording a session costs a frame: the game's real frame on the live layer (a window under
// X, the gameplay scene advanced to 0, 10 and 30 minutes of play), once as the plain game runs it
// and once with every answer written down and the scene's checksum taken. The two alternate in
// every iteration, so machine load hits them alike; the counters give microseconds per frame for
// each and their ratio (recorded / plain). A frame here is what one turn of the message loop does:
// the cursor, the message queue, the counter, the scene step (fixed steps, update, drawing, the
// frame's digest) and the buffer swap.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "cinderpath2/gameplay_scene.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/graphics/qm_sprite_manager.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/qmi_live_layer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"
#include "quill_mark/platform/recording/qmi_session_recorder.h"

namespace
{

using namespace qmSeam;
using namespace qmSeam::Calls;

using Clock = std::chrono::steady_clock;
using qmImplementation::Session::SessionRecorder;

constexpr long long kStepsPerMinute = 6000;
constexpr float kFrameTime = 1.0f / 60.0f;

// The window the game application opens, caught on its way through the seam.
HWND theWindow = nullptr;

HWND CatchWindow(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                 int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                 LPVOID parameter)
{
    theWindow =
        SessionRecorder::Table().CreateWindowExA(exStyle, className, windowName, style, x, y, width,
                                                 height, parent, menu, instance, parameter);
    return theWindow;
}

class Session
{
public:
    Session()
    {
        std::string error;
        SessionRecorder::Start(qmImplementation::LiveLayer(), mPath, "Cinderpath2", error);
        mRecordingObserver = Quillmark::Platform::GetFrameObserver();
        mRecordingTable = SessionRecorder::Table();
        mRecordingTable.CreateWindowExA = CatchWindow;
        Record(true);
    }

    ~Session()
    {
        Record(true);
        SessionRecorder::Finish();
        std::remove(mPath.c_str());
    }

    void Record(bool isRecorded)
    {
        UseLayer(isRecorded ? mRecordingTable : qmImplementation::LiveLayer());
        Quillmark::Platform::SetFrameObserver(isRecorded ? mRecordingObserver : nullptr);
    }

private:
    std::string mPath = "/tmp/bench_recording_" + std::to_string(getpid()) + ".replay";
    qmSeam::Table mRecordingTable = {};
    Quillmark::Platform::FrameObserver mRecordingObserver = nullptr;
};

Session& TheSession()
{
    static Session session;
    return session;
}

void Frame(HDC deviceContext)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(theWindow, &cursor);
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    LARGE_INTEGER count = {};
    QueryPerformanceCounter(&count);
    qmImplementation::theGameApplicationHandler.StepScene(kFrameTime);
    SwapBuffers(deviceContext);
    glFinish();
}

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

void BM_RecordedFrame(benchmark::State& state)
{
    Session& session = TheSession();
    Cinderpath2::GameplayScene scene;
    scene.OnOpen();
    for (long long step = 0; step < state.range(0) * kStepsPerMinute; ++step)
    {
        scene.OnSimulate();
    }
    qmImplementation::currentScene = &scene;
    HDC deviceContext = GetDC(theWindow);

    double plainSeconds = 0.0;
    double recordedSeconds = 0.0;
    for (auto _ : state)
    {
        session.Record(false);
        const Clock::time_point start = Clock::now();
        Frame(deviceContext);
        const Clock::time_point middle = Clock::now();
        session.Record(true);
        Frame(deviceContext);
        const Clock::time_point end = Clock::now();
        plainSeconds += Seconds(middle - start);
        recordedSeconds += Seconds(end - middle);
        state.SetIterationTime(Seconds(end - middle));
    }
    ReleaseDC(theWindow, deviceContext);
    qmImplementation::currentScene = nullptr;

    const double frames = static_cast<double>(state.iterations());
    state.counters["entities"] = static_cast<double>(scene.GetEntities().size());
    state.counters["plain_us"] = plainSeconds / frames * 1e6;
    state.counters["recorded_us"] = recordedSeconds / frames * 1e6;
    state.counters["ratio"] = plainSeconds > 0.0 ? recordedSeconds / plainSeconds : 0.0;
}

BENCHMARK(BM_RecordedFrame)
    ->ArgName("minutes")
    ->Arg(0)
    ->Arg(10)
    ->Arg(30)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(1.0);

}  // namespace

int main(int argc, char** argv)
{
    // The window opens through the recording layer (so that its window is the session's first),
    // and the game's data load from the repository root, as when it is played.
    if (chdir(QM_SOURCE_DIR_PATH) != 0)
    {
        return 1;
    }
    TheSession();
    Quillmark::Game::GameApplication application;
    Quillmark::Graphics::theSpriteManager.LoadSpriteSheetFromFile("prototyping_sheet",
                                                                  "data/prototyping_sheet.json");
    Quillmark::Audio::theAudioManager.LoadEventTable("audio_events",
                                                     "data/audio/audio_events.json");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
