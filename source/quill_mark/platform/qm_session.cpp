// The command line, the choice of layer, and the checks a recording must pass before it is
// replayed at all (header, version, game, a last line written to its end, every token readable),
// so that bad input is reported before the game starts instead of halfway through it.
#include "quill_mark/platform/qm_session.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "quill_mark/platform/session/qmi_seam_table.h"
#include "quill_mark/platform/session/qmi_session_recorder.h"
#include "quill_mark/platform/session/qmi_session_replayer.h"

namespace Quillmark::Platform
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
    long long untilFrame = 0;
};

bool ParseFrame(const char* text, long long& frame)
{
    char* end = nullptr;
    errno = 0;
    frame = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && frame > 0;
}

bool ParseArguments(int argc, char** argv, Arguments& arguments)
{
    for (int index = 1; index < argc; ++index)
    {
        const std::string argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == "--record" && hasValue)
        {
            arguments.record = argv[++index];
        }
        else if (argument == "--replay" && hasValue)
        {
            arguments.replay = argv[++index];
        }
        else if (argument == "--show")
        {
            arguments.show = true;
        }
        else if (argument != "--until-frame" || !hasValue ||
                 !ParseFrame(argv[++index], arguments.untilFrame))
        {
            return false;
        }
    }
    const bool replays = !arguments.replay.empty();
    const bool replayOnly = arguments.show || arguments.untilFrame > 0;
    return !(replays && !arguments.record.empty()) && (replays || !replayOnly);
}

int Record(const std::string& path, const char* gameName, int (*runGame)())
{
    std::string error;
    if (!SessionRecorder::Start(qmSdlLayerTable, path, gameName, error))
    {
        std::fprintf(stderr, "record: cannot write %s: %s\n", path.c_str(), error.c_str());
        return kBadInput;
    }
    qmSeam::SetActiveTable(SessionRecorder::Table());
    const int exitCode = runGame();
    SessionRecorder::Finish();
    qmSeam::SetActiveTable(qmSdlLayerTable);
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
    if (reader.Version() != qmImplementation::Session::kFormatVersion)
    {
        std::fprintf(stderr,
                     "replay: %s is a version %d recording; this program reads version %d\n",
                     path.c_str(), reader.Version(), qmImplementation::Session::kFormatVersion);
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
    const qmSeam::Table& layer = arguments.show ? qmSdlLayerTable : qmScriptedLayerTable;
    SessionReplayer::Start(layer, std::move(reader), options);
    qmSeam::SetActiveTable(SessionReplayer::Table());
    runGame();
    std::string report;
    const SessionReplayer::Outcome outcome = SessionReplayer::Finish(report);
    qmSeam::SetActiveTable(layer);
    std::fflush(stdout);
    if (outcome == SessionReplayer::Outcome::kBadInput)
    {
        std::fprintf(stderr, "%s\n", report.c_str());
        return kBadInput;
    }
    std::printf("%s\n", report.c_str());
    return outcome == SessionReplayer::Outcome::kDiffers ? 1 : 0;
}

// A headless replay is silent: its sounds go to OpenAL Soft's null device whatever the machine
// has, so neither the replaying machine's sound set-up (a failing device reports errors, which
// would change the course) nor a burst of sounds at many times the speed get in the way. The
// audio manager opens its device during static initialisation, so this runs before that, as an
// early ELF constructor, to which the C library hands the command line.
__attribute__((constructor(101))) void SilenceHeadlessReplays(int argc, char** argv, char**)
{
    Arguments arguments;
    if (ParseArguments(argc, argv, arguments) && !arguments.replay.empty() && !arguments.show)
    {
        setenv("ALSOFT_DRIVERS", "null", 1);
    }
}

}  // namespace

int RunSession(int argc, char** argv, const char* gameName, int (*runGame)())
{
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments))
    {
        std::fprintf(stderr,
                     "usage: %s [--record FILE | --replay FILE [--show] [--until-frame N]]\n",
                     argc > 0 ? argv[0] : "game");
        return kBadInput;
    }
    if (!arguments.record.empty())
    {
        return Record(arguments.record, gameName, runGame);
    }
    if (!arguments.replay.empty())
    {
        return Replay(arguments, gameName, runGame);
    }
    return runGame();
}

}  // namespace Quillmark::Platform
