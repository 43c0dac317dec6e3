// The assertion report and the handler protocol: what reaches standard output, in which order
// handlers run, and how the last error location follows the reports.
#include "quill_mark/core/qm_error.h"

#include <gtest/gtest.h>

#include <string>

#include "quill_mark/core/implementation/qmi_exceptional_error_handler.h"
#include "support/recording_error_handler.h"

namespace Error = Quillmark::Core::Error;
using QuillmarkTest::RecordingErrorHandler;

namespace
{

const std::string kBanner = "ASSERTION FAILED! -----------------------------------\n";

// Records the calls of several handlers into one shared log, to check their order.
class OrderedHandler : public Error::ErrorHandlerInterface
{
public:
    OrderedHandler(std::string name, std::string& log) : name(std::move(name)), log(log) {}
    void OnErrorTriggered(const std::string& message) override
    {
        log += name + ":" + message + ";";
    }
    std::string name;
    std::string& log;
};

}  // namespace

TEST(ErrorReport, PrintsTheReportByteForByteAndRecordsTheLocation)
{
    EXPECT_EQ(Error::GetLastErrorLine(), -1);
    EXPECT_EQ(Error::GetLastErrorFile(), "");

    testing::internal::CaptureStdout();
    Error::TriggerError("source/quill_mark/core/qm_json_parser.cpp", 65,
                        "Was unable to load json file: %s\n", "data/missing.json");
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_EQ(output, "\n" + kBanner + "FILE source/quill_mark/core/qm_json_parser.cpp[65]\n" +
                          "MESSAGE: Was unable to load json file: data/missing.json\n\n" + kBanner);
    EXPECT_EQ(Error::GetLastErrorFile(), "source/quill_mark/core/qm_json_parser.cpp");
    EXPECT_EQ(Error::GetLastErrorLine(), 65);

    // A false condition leaves no trace.
    RecordingErrorHandler handler;
    testing::internal::CaptureStdout();
    Error::TriggerErrorIf(false, "second.cpp", 9, "never %d", 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(handler.messages.empty());
    EXPECT_EQ(Error::GetLastErrorLine(), 65);
}

TEST(ErrorReport, FormatOnlyReportNamesAnUnknownFileAndTheMacroTheSourceRelativeFile)
{
    testing::internal::CaptureStdout();
    Error::TriggerError("qmError: %s %d", "value", 7);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("FILE unknown file[0]\nMESSAGE: qmError: value 7\n"), std::string::npos);
    EXPECT_EQ(Error::GetLastErrorFile(), "unknown file");
    EXPECT_EQ(Error::GetLastErrorLine(), 0);

    testing::internal::CaptureStdout();
    const int line = __LINE__ + 1;
    qmTriggerErrorIf(true, "qmError: from the macro");
    testing::internal::GetCapturedStdout();
    // The build maps the source prefix away, so reports never carry the build machine's path.
    EXPECT_EQ(Error::GetLastErrorFile(), "tests/quill_mark/core/qm_error_test.cpp");
    EXPECT_EQ(Error::GetLastErrorLine(), line);
}

TEST(ErrorHandlers, RunInRegistrationOrderAfterThePrintedReport)
{
    std::string log;
    OrderedHandler first("first", log);
    OrderedHandler second("second", log);
    Error::AddErrorHandler(first);
    Error::AddErrorHandler(second);
    Error::AddErrorHandler(first);

    testing::internal::CaptureStdout();
    qmTriggerError("boom %d", 1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "first:boom 1;second:boom 1;first:boom 1;");

    // Removing a handler added twice removes both entries; removing an unknown one does nothing.
    Error::RemoveErrorHandler(first);
    OrderedHandler stranger("stranger", log);
    Error::RemoveErrorHandler(stranger);
    log.clear();
    testing::internal::CaptureStdout();
    qmTriggerError("again");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "second:again;");
    Error::RemoveErrorHandler(second);
}

TEST(ErrorHandlers, HandlerThatReportsOrRemovesItselfDoesNotRecurseOrDangle)
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
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(reentrant.calls, 1);
    EXPECT_NE(output.find("MESSAGE: nested report\n"), std::string::npos);
    EXPECT_EQ(recorder.messages, std::vector<std::string>{"outer"});
}

TEST(ErrorReport, LongMessagesAreCutToTheBuffer)
{
    RecordingErrorHandler handler;
    const std::string longText(10000, 'x');
    testing::internal::CaptureStdout();
    qmTriggerError("%s", longText.c_str());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(handler.messages.size(), 1u);
    EXPECT_EQ(handler.messages[0], std::string(Error::kMaximumMessageSize - 1, 'x'));
}

TEST(ErrorReport, ThrowOnErrorThrowsInsteadOfReporting)
{
    RecordingErrorHandler handler;
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
    EXPECT_TRUE(handler.messages.empty());
    EXPECT_EQ(Error::GetLastErrorLine(), line);
}
