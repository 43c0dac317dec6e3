// The assertion report and the handler protocol: what reaches standard output and when, in which
// order handlers run, how the last error location follows the reports, and what throwing does.
#include "quill_mark/core/qm_error.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "quill_mark/core/implementation/qmi_exceptional_error_handler.h"
#include "support/recording_error_handler.h"

namespace Error = Quillmark::Core::Error;
using QuillmarkTest::RecordingErrorHandler;
using Strings = std::vector<std::string>;

namespace
{

const std::string kBanner = "ASSERTION FAILED! -----------------------------------\n";

// Standard output sent to a file of our own, so a handler can look at what had reached the file
// (not just the stream's buffer) at the moment it is told.
class StdoutFile
{
public:
    StdoutFile() : mFile(std::tmpfile()), mSaved((std::fflush(stdout), dup(STDOUT_FILENO)))
    {
        dup2(fileno(mFile), STDOUT_FILENO);
    }
    ~StdoutFile()
    {
        std::fflush(stdout);
        dup2(mSaved, STDOUT_FILENO);
        close(mSaved);
        std::fclose(mFile);
    }
    std::string Written() const
    {
        std::string text(4096, '\0');
        text.resize(static_cast<std::size_t>(pread(fileno(mFile), text.data(), text.size(), 0)));
        return text;
    }

private:
    std::FILE* mFile;
    int mSaved;
};

// Notes its name, the message and what the file already held when it was told.
class WitnessHandler : public Error::ErrorHandlerInterface
{
public:
    WitnessHandler(std::string name, Strings& log, const StdoutFile& out)
        : mName(std::move(name)), mLog(log), mOut(out)
    {
    }
    void OnErrorTriggered(const std::string& message) override
    {
        mLog.push_back(mName + ":" + message);
        mLog.push_back(mOut.Written());
    }

private:
    std::string mName;
    Strings& mLog;
    const StdoutFile& mOut;
};

}  // namespace

TEST(ErrorReport, PrintsTheReportByteForByteAndRecordsTheLocation)
{
    EXPECT_EQ(Error::GetLastErrorLine(), -1);
    EXPECT_EQ(Error::GetLastErrorFile(), "");
    testing::internal::CaptureStdout();
    Error::TriggerError("source/quill_mark/core/qm_json_parser.cpp", 65,
                        "Was unable to load json file: %s\n", "data/missing.json");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\n" + kBanner + "FILE source/quill_mark/core/qm_json_parser.cpp[65]\n" +
                  "MESSAGE: Was unable to load json file: data/missing.json\n\n" + kBanner);
    EXPECT_EQ(Error::GetLastErrorFile(), "source/quill_mark/core/qm_json_parser.cpp");
    EXPECT_EQ(Error::GetLastErrorLine(), 65);

    // A false condition leaves no trace.
    RecordingErrorHandler handler;
    testing::internal::CaptureStdout();
    Error::TriggerErrorIf(false, "second.cpp", 9, "never %d", 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(handler.messages, Strings{});
    EXPECT_EQ(Error::GetLastErrorLine(), 65);

    // Without a location: "unknown file", line 0. The macro names the file as the build maps it,
    // so reports never carry the build machine's path.
    testing::internal::CaptureStdout();
    Error::TriggerError("qmError: %s %d", "value", 7);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("FILE unknown file[0]\n"),
              std::string::npos);
    EXPECT_EQ(Error::GetLastErrorFile(), "unknown file");
    EXPECT_EQ(Error::GetLastErrorLine(), 0);
    testing::internal::CaptureStdout();
    const int line = __LINE__ + 1;
    qmTriggerErrorIf(true, "qmError: from the macro");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Error::GetLastErrorFile(), "tests/quill_mark/core/qm_error_test.cpp");
    EXPECT_EQ(Error::GetLastErrorLine(), line);
}

TEST(ErrorHandlers, RunInRegistrationOrderOnceTheReportIsOnTheConsole)
{
    Strings log;
    StdoutFile out;
    WitnessHandler first("first", log, out), second("second", log, out);
    Error::AddErrorHandler(first);
    Error::AddErrorHandler(second);
    Error::AddErrorHandler(first);
    Error::TriggerError("f.cpp", 3, "boom %d", 1);
    const std::string report = "\n" + kBanner + "FILE f.cpp[3]\nMESSAGE: boom 1\n" + kBanner;
    EXPECT_EQ(log,
              (Strings{"first:boom 1", report, "second:boom 1", report, "first:boom 1", report}));

    // Removing a handler added twice removes both entries; removing an unknown one does nothing.
    Error::RemoveErrorHandler(first);
    WitnessHandler stranger("stranger", log, out);
    Error::RemoveErrorHandler(stranger);
    log.clear();
    qmTriggerError("again");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "second:again");
    Error::RemoveErrorHandler(second);
}

TEST(ErrorHandlers, AHandlerThatReportsOrRemovesItselfDoesNotRecurseOrDangle)
{
    struct Reentrant : Error::ErrorHandlerInterface
    {
        int calls = 0;
        void OnErrorTriggered(const std::string&) override
        {
            ++calls;
            qmTriggerError("nested report");
            Error::RemoveErrorHandler(*this);
        }
    } reentrant;
    RecordingErrorHandler recorder;
    Error::RemoveErrorHandler(recorder);
    Error::AddErrorHandler(reentrant);
    Error::AddErrorHandler(recorder);
    testing::internal::CaptureStdout();
    qmTriggerError("outer");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("MESSAGE: nested report\n"),
              std::string::npos);
    EXPECT_EQ(reentrant.calls, 1);
    EXPECT_EQ(recorder.messages, Strings{"outer"});
}

TEST(ErrorHandlers, AThrowingHandlerDoesNotSilenceLaterReports)
{
    struct Throwing : Error::ErrorHandlerInterface
    {
        void OnErrorTriggered(const std::string& message) override { throw message; }
    } throwing;
    Error::AddErrorHandler(throwing);
    testing::internal::CaptureStdout();
    EXPECT_THROW(qmTriggerError("first"), std::string);
    Error::RemoveErrorHandler(throwing);
    RecordingErrorHandler recorder;
    qmTriggerError("second");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(recorder.messages, Strings{"second"});
}

TEST(ErrorReport, LongMessagesAreCutAndThrowOnErrorThrowsInsteadOfReporting)
{
    RecordingErrorHandler handler;
    testing::internal::CaptureStdout();
    qmTriggerError("%s", std::string(10000, 'x').c_str());
    EXPECT_EQ(handler.messages, Strings{std::string(Error::kMaximumMessageSize - 1, 'x')});
    testing::internal::GetCapturedStdout();

    handler.messages.clear();
    Error::SetThrowOnError(true);
    testing::internal::CaptureStdout();
    int line = 0;
    try
    {
        line = __LINE__ + 1;
        qmTriggerError("qmError: thrown %d", 5);
        ADD_FAILURE() << "no exception";
    }
    catch (const qmImplementation::ExceptionalErrorHandler::ErroredException& exception)
    {
        EXPECT_STREQ(exception.what(), "qmError: thrown 5");
    }
    Error::SetThrowOnError(false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(handler.messages, Strings{});
    EXPECT_EQ(Error::GetLastErrorLine(), line);
}
