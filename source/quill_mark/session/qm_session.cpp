// SPDX-License-Identifier: Zlib
// The command line, the choice of layer, and the checks a recording must pass before it is
// replayed at all (header, version, game, a last line written to its end, every token readable),
// so that bad input is reported before the game starts instead of halfway through it.
#include "quill_mark/session/qm_session.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/core/qm_version.h"
#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "quill_mark/platform/qmi_live_layer.h"
#include "quill_mark/platform/recording/qmi_session_recorder.h"
#include "quill_mark/platform/recording/qmi_session_replayer.h"

namespace Quillmark::Session
{

namespace
{

using qmImplementation::Session::SessionReader;
using qmImplementation::Session::SessionRecorder;
using qmImplementation::Session::SessionReplayer;

constexpr int kBadInput = 2;

struct Arguments
{
    std::string record;
    std::string replay;
    bool show = false;
    bool version = false;
    long long untilFrame = 0;
};

bool CheckCombination(const Arguments& arguments)
{
    const bool replays = !arguments.replay.empty();
    if (replays && !arguments.record.empty())
    {
        std::fputs("--record and --replay cannot be used together\n", stderr);
        return false;
    }
    if (!replays && (arguments.show || arguments.untilFrame > 0))
    {
        std::fputs("--show and --until-frame go with --replay FILE\n", stderr);
        return false;
    }
    return true;
}

bool ParseFrame(const char* text, long long& frame)
{
    char* end = nullptr;
    errno = 0;
    frame = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && frame > 0;
}

// Says what is wrong and gives false for a known option without its value, or with one that is
// no value of it; arguments the session does not know are the game's and are passed over.
bool ParseArguments(int argc, char** argv, Arguments& arguments)
{
    for (int index = 1; index < argc; ++index)
    {
        const std::string argument = argv[index];
        const bool takesValue =
            argument == "--record" || argument == "--replay" || argument == "--until-frame";
        if (takesValue && index + 1 >= argc)
        {
            std::fprintf(stderr, "%s needs a value\n", argument.c_str());
            return false;
        }
        if (argument == "--record")
        {
            arguments.record = argv[++index];
        }
        else if (argument == "--replay")
        {
            arguments.replay = argv[++index];
        }
        else if (argument == "--show")
        {
            arguments.show = true;
        }
        else if (argument == "--version")
        {
            arguments.version = true;
        }
        else if (argument == "--until-frame" && !ParseFrame(argv[++index], arguments.untilFrame))
        {
            std::fprintf(stderr, "--until-frame needs a frame number from 1 on, not \"%s\"\n",
                         argv[index]);
            return false;
        }
    }
    return CheckCombination(arguments);
}

int Record(const std::string& path, const char* gameName, int (*runGame)())
{
    std::string error;
    if (!SessionRecorder::Start(qmImplementation::LiveLayer(), path, gameName, error))
    {
        std::fprintf(stderr, "record: cannot write %s: %s\n", path.c_str(), error.c_str());
        return kBadInput;
    }
    qmSeam::UseLayer(SessionRecorder::Table());
    const int exitCode = runGame();
    SessionRecorder::Finish();
    qmSeam::UseLayer(qmImplementation::LiveLayer());
    return exitCode;
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return file.good() || file.eof();
}

// Every token is read once before the replay starts; the reader then starts over.
bool CheckTokens(SessionReader reader, const std::string& path, bool& hasMessageBoxes)
{
    qmImplementation::Session::Answer answer;
    SessionReader::Status status = SessionReader::Status::kAnswer;
    while (status == SessionReader::Status::kAnswer)
    {
        status = reader.Next(answer);
        hasMessageBoxes |= status == SessionReader::Status::kAnswer &&
                           answer.kind == qmImplementation::Session::AnswerKind::kMessageBox;
    }
    if (status == SessionReader::Status::kMalformed)
    {
        std::fprintf(stderr, "replay: %s line %d: \"%.40s\" is not a recorded answer\n",
                     path.c_str(), reader.Line(), std::string(reader.Token()).c_str());
        return false;
    }
    return true;
}

bool CheckRecording(const std::string& path, const char* gameName, SessionReader& reader,
                    bool& hasMessageBoxes)
{
    std::string text;
    if (!ReadWholeFile(path, text))
    {
        std::fprintf(stderr, "replay: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    if (!reader.Open(std::move(text)))
    {
        std::fprintf(stderr, "replay: %s is not a session recording\n", path.c_str());
        return false;
    }
    using qmImplementation::Session::kFormatVersion;
    using qmImplementation::Session::kOldestFormatVersion;
    if (reader.Version() < kOldestFormatVersion || reader.Version() > kFormatVersion)
    {
        std::fprintf(stderr,
                     "replay: %s is a version %d recording; this program reads versions %d to %d\n",
                     path.c_str(), reader.Version(), kOldestFormatVersion, kFormatVersion);
        return false;
    }
    if (reader.Game() != gameName)
    {
        std::fprintf(stderr, "replay: %s was recorded by %s, not by %s\n", path.c_str(),
                     reader.Game().c_str(), gameName);
        return false;
    }
    if (!reader.EndsWithLineBreak())
    {
        std::fprintf(stderr, "replay: %s is truncated: its last line is cut off\n", path.c_str());
        return false;
    }
    return CheckTokens(reader, path, hasMessageBoxes);
}

// A headless replay draws into contexts without a window, so the game's textures load as they
// did when it was recorded, and is silent whatever the machine has: a sound set-up that fails
// would report and change the course, and sounds at many times the speed help nobody.
const qmSeam::Table& HeadlessReplayLayer()
{
    namespace Headless = qmImplementation::HeadlessLayer;
    Headless::Reset();
    if (!Headless::UseOffscreenGl(true))
    {
        std::fputs("replay: no OpenGL context without a window here: textures will not load\n",
                   stderr);
    }
    Audio::theAudioManager.UseSilentOutput();
    return Headless::Table();
}

int Replay(const Arguments& arguments, const char* gameName, int (*runGame)())
{
    SessionReader reader;
    bool hasMessageBoxes = false;
    if (!CheckRecording(arguments.replay, gameName, reader, hasMessageBoxes))
    {
        return kBadInput;
    }
    SessionReplayer::Options options;
    options.path = arguments.replay;
    options.show = arguments.show;
    options.draw = arguments.show || hasMessageBoxes;
    options.untilFrame = arguments.untilFrame;
    const qmSeam::Table& layer =
        arguments.show ? qmImplementation::LiveLayer() : HeadlessReplayLayer();
    SessionReplayer::Start(layer, std::move(reader), options);
    qmSeam::UseLayer(SessionReplayer::Table());
    runGame();
    std::string report;
    const SessionReplayer::Outcome outcome = SessionReplayer::Finish(report);
    if (!arguments.show)
    {
        // A game closed from outside (as most recorded sessions end) leaves its OpenGL context
        // for the end of the process; the real one behind it is let go here, with the rest of the
        // headless layer's state.
        qmImplementation::HeadlessLayer::Reset();
    }
    qmSeam::UseLayer(layer);
    std::fflush(stdout);
    if (outcome == SessionReplayer::Outcome::kBadInput)
    {
        std::fprintf(stderr, "%s\n", report.c_str());
        return kBadInput;
    }
    std::printf("%s\n", report.c_str());
    return outcome == SessionReplayer::Outcome::kDiffers ? 1 : 0;
}

// In a browser page a program that once waited for the browser is not ended by returning from
// main: it is ended here, so the page learns that the game is over, and how.
int EndProgram(int exitCode)
{
#if defined(__EMSCRIPTEN__)
    emscripten_force_exit(exitCode);
#endif
    return exitCode;
}

int RunChosen(int argc, char** argv, const char* gameName, int (*runGame)(),
              const char* gameVersion)
{
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments))
    {
        std::fprintf(stderr,
                     "usage: %s [--record FILE | --replay FILE [--show] [--until-frame N]]\n",
                     argc > 0 ? argv[0] : "game");
        return kBadInput;
    }
    if (arguments.version)
    {
        std::printf("%s%s%s (Quillmark %s)\n", gameName, gameVersion != nullptr ? " " : "",
                    gameVersion != nullptr ? gameVersion : "", Quillmark::GetVersion());
        return 0;
    }
    if (!arguments.record.empty())
    {
        return Record(arguments.record, gameName, runGame);
    }
    if (!arguments.replay.empty())
    {
        return Replay(arguments, gameName, runGame);
    }
    qmSeam::UseLayer(qmImplementation::LiveLayer());
    return runGame();
}

}  // namespace

int RunSession(int argc, char** argv, const char* gameName, int (*runGame)(),
               const char* gameVersion)
{
    return EndProgram(RunChosen(argc, argv, gameName, runGame, gameVersion));
}

}  // namespace Quillmark::Session
