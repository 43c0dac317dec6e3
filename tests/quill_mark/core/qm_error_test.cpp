// SPDX-License-Identifier: Zlib
// The assertion report and the handler protocol: what reaches standard output and when, in which
// order handlers run, how the last error location follows the reports, and a throwing handler.
#include "quill_mark/core/qm_error.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <algorithm>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/recording_error_handler.h"

namespace Error = Quillmark::Core::Error;
using QuillmarkTest::RecordingErrorHandler;
using Strings = std::vector<std::string>;

namespace
{

const std::string kBanner = "ASSERTION FAILED! -----------------------------------\n";

struct CallbackHandler : Error::ErrorHandlerInterface
{
    explicit CallbackHandler(std::function<void(const std::string&)> callback)
        : onError(std::move(callback))
    {
        Error::AddErrorHandler(*this);
    }
    ~CallbackHandler() override { Error::RemoveErrorHandler(*this); }
    void OnErrorTriggered(const std::string& message) override { onError(message); }
    std::function<void(const std::string&)> onError;
};

// The bytes standard output's file holds now; what the stream still buffers does not count.
std::string BytesOnTheConsole()
{
    struct stat file = {};
    fstat(fileno(stdout), &file);
    return std::to_string(file.st_size);
}

// The bytes a text takes in that file: Windows writes each line break as two.
std::string SizeOnTheConsole(const std::string& text)
{
#ifdef _WIN32
    return std::to_string(text.size() + std::count(text.begin(), text.end(), '\n'));
#else
    return std::to_string(text.size());
#endif
}

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

    RecordingErrorHandler handler;
    testing::internal::CaptureStdout();
    Error::TriggerErrorIf(false, "second.cpp", 9, "never %d", 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(handler.messages, Strings{});
    EXPECT_EQ(Error::GetLastErrorLine(), 65);

    // The macro names the file as the build maps it, never with the build machine's path.
    testing::internal::CaptureStdout();
    Error::TriggerError("qmError: %s %d", "value", 7);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("FILE unknown file[0]\nMESSAGE: q"),
              std::string::npos);
    EXPECT_EQ(Error::GetLastErrorFile(), "unknown file");
    EXPECT_EQ(Error::GetLastErrorLine(), 0);
    const int line = __LINE__ + 1;
    qmTriggerErrorIf(true, "qmError: from the macro");
    EXPECT_EQ(Error::GetLastErrorFile(), "tests/quill_mark/core/qm_error_test.cpp");
    EXPECT_EQ(Error::GetLastErrorLine(), line);
}

TEST(ErrorHandlers, RunInRegistrationOrderOnceTheReportIsOnTheConsole)
{
    Strings log;
    CallbackHandler first([&](const std::string& m) { log.push_back("first:" + m); });
    CallbackHandler second([&](const std::string& m)
                           { log.push_back("second:" + m + " after " + BytesOnTheConsole()); });
    Error::AddErrorHandler(first);
    CallbackHandler third([&](const std::string& m) { log.push_back("third:" + m); });
    testing::internal::CaptureStdout();
    Error::TriggerError("f.cpp", 3, "boom %d", 1);
    const std::string report = testing::internal::GetCapturedStdout();
    EXPECT_EQ(report, "\n" + kBanner + "FILE f.cpp[3]\nMESSAGE: boom 1\n" + kBanner);
    // Registered first, second, first again, third: an order that reads differently backwards.
    EXPECT_EQ(log, (Strings{"first:boom 1", "second:boom 1 after " + SizeOnTheConsole(report),
                            "first:boom 1", "third:boom 1"}));

    // Removing a handler added twice removes both entries; removing an unknown one does nothing.
    struct : Error::ErrorHandlerInterface
    {
        void OnErrorTriggered(const std::string&) override {}
    } stranger;
    Error::RemoveErrorHandler(first);
    Error::RemoveErrorHandler(stranger);
    log.clear();
    testing::internal::CaptureStdout();
    Error::TriggerError("f.cpp", 3, "again");
    const std::string again = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, (Strings{"second:again after " + SizeOnTheConsole(again), "third:again"}));
}

TEST(ErrorHandlers, AThrowingHandlerDoesNotSilenceLaterReports)
{
    // The exception leaves the report through the caller; the next report is told again.
    auto thrower = std::make_unique<CallbackHandler>([](const std::string& m) { throw m; });
    EXPECT_THROW(qmTriggerError("thrown"), std::string);
    thrower.reset();
    RecordingErrorHandler recorder;
    qmTriggerError("after");
    EXPECT_EQ(recorder.messages, Strings{"after"});
}
