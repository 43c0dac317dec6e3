// SPDX-License-Identifier: Zlib
// The process-wide error state and the assertion report. The state lives in a function-local
// static so that checks made during static initialisation (the audio device opens then) find it.
// Locking is left out on purpose: the whole system runs on one thread.
#include "quill_mark/core/qm_error.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "quill_mark/core/implementation/qmi_exceptional_error_handler.h"

namespace Quillmark::Core::Error
{

namespace
{

struct ErrorState
{
    std::string lastErrorFile;
    int lastErrorLine = -1;
    std::vector<ErrorHandlerInterface*> handlers;
    bool throwOnError = false;
    // A handler that reports from inside its own OnErrorTriggered (a message box whose window
    // procedure fails a check, say) would otherwise recurse without end: nested reports are
    // printed but not handed to the handlers again.
    bool notifyingHandlers = false;
    qmImplementation::ExceptionalErrorHandler exceptionalHandler;
};

ErrorState& State()
{
    static ErrorState state;
    return state;
}

const char kBanner[] = "ASSERTION FAILED! -----------------------------------\n";

bool IsRegistered(const ErrorState& state, const ErrorHandlerInterface* handler)
{
    return std::find(state.handlers.begin(), state.handlers.end(), handler) != state.handlers.end();
}

void NotifyHandlers(ErrorState& state, const std::string& message)
{
    // Walk a snapshot so handlers may add or remove handlers; skip any removed meanwhile, since
    // it may already be destroyed.
    const std::vector<ErrorHandlerInterface*> snapshot = state.handlers;
    // Cleared on the way out also when a handler throws, or every later report would be printed
    // without reaching any handler.
    struct NotifyingScope
    {
        bool& notifying;
        explicit NotifyingScope(bool& flag) : notifying(flag) { notifying = true; }
        ~NotifyingScope() { notifying = false; }
    } scope(state.notifyingHandlers);
    for (ErrorHandlerInterface* handler : snapshot)
    {
        if (IsRegistered(state, handler))
        {
            handler->OnErrorTriggered(message);
        }
    }
}

struct Message
{
    char text[kMaximumMessageSize] = {};
};

// vsnprintf cuts a longer message at kMaximumMessageSize - 1 bytes and always terminates it.
#define QM_FORMAT_MESSAGE(message, format)                                 \
    va_list arguments;                                                     \
    va_start(arguments, format);                                           \
    std::vsnprintf(message.text, sizeof(message.text), format, arguments); \
    va_end(arguments)

void Report(const char* file, int line, const char* message)
{
    ErrorState& state = State();
    state.lastErrorLine = line;
    state.lastErrorFile = file;
    if (state.throwOnError)
    {
        state.exceptionalHandler.OnErrorTriggered(message);
        return;
    }

    std::fputs("\n", stdout);
    std::fputs(kBanner, stdout);
    std::fprintf(stdout, "FILE %s[%d]\n", file, line);
    std::fprintf(stdout, "MESSAGE: %s\n", message);
    std::fputs(kBanner, stdout);
    std::fflush(stdout);

    if (!state.notifyingHandlers)
    {
        NotifyHandlers(state, message);
    }
}

}  // namespace

ErrorHandlerInterface::~ErrorHandlerInterface() = default;

void TriggerErrorIf(bool condition, const char* file, int line, const char* format, ...)
{
    if (!condition)
    {
        return;
    }
    Message message;
    QM_FORMAT_MESSAGE(message, format);
    Report(file, line, message.text);
}

void TriggerError(const char* file, int line, const char* format, ...)
{
    Message message;
    QM_FORMAT_MESSAGE(message, format);
    Report(file, line, message.text);
}

void TriggerError(const char* format, ...)
{
    Message message;
    QM_FORMAT_MESSAGE(message, format);
    Report("unknown file", 0, message.text);
}

void AddErrorHandler(ErrorHandlerInterface& handler)
{
    State().handlers.push_back(&handler);
}

void RemoveErrorHandler(ErrorHandlerInterface& handler)
{
    std::vector<ErrorHandlerInterface*>& handlers = State().handlers;
    handlers.erase(std::remove(handlers.begin(), handlers.end(), &handler), handlers.end());
}

const std::string& GetLastErrorFile()
{
    return State().lastErrorFile;
}

int GetLastErrorLine()
{
    return State().lastErrorLine;
}

void SetThrowOnError(bool throwOnError)
{
    State().throwOnError = throwOnError;
}

bool IsThrowOnError()
{
    return State().throwOnError;
}

}  // namespace Quillmark::Core::Error
