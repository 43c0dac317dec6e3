// SPDX-License-Identifier: Zlib
// Error checks and the assertion report: every broken expectation in the framework and the game
// goes through here, prints a report, tells the registered handlers and then returns to the caller.
// Use the qmTriggerErrorIf / qmTriggerError macros so reports name the file and line of the check.
#pragma once

#include <string>

#if defined(__GNUC__)
#define QM_PRINTF_FORMAT(formatIndex, firstArgument) \
    __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define QM_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

namespace Quillmark::Core::Error
{

class ErrorHandlerInterface
{
public:
    virtual ~ErrorHandlerInterface();
    virtual void OnErrorTriggered(const std::string& message) = 0;
};

// The condition and every argument are evaluated by the caller either way; only the formatting
// and the report depend on the condition.
void TriggerErrorIf(bool condition, const char* file, int line, const char* format, ...)
    QM_PRINTF_FORMAT(4, 5);
void TriggerError(const char* file, int line, const char* format, ...) QM_PRINTF_FORMAT(3, 4);
// Reports with the file "unknown file" and line 0.
void TriggerError(const char* format, ...) QM_PRINTF_FORMAT(1, 2);

// Handlers are not owned; a handler must remove itself before it is destroyed. The same handler
// may be added more than once and is then told once per entry.
void AddErrorHandler(ErrorHandlerInterface& handler);
void RemoveErrorHandler(ErrorHandlerInterface& handler);

const std::string& GetLastErrorFile();
int GetLastErrorLine();

// While on, a triggered error throws ExceptionalErrorHandler::ErroredException instead of
// printing and telling the handlers. Nothing in the game turns it on; tests may.
void SetThrowOnError(bool throwOnError);
bool IsThrowOnError();

// Messages are cut to this many bytes (including the terminating zero).
constexpr int kMaximumMessageSize = 4096;

}  // namespace Quillmark::Core::Error

#define qmTriggerErrorIf(condition, ...) \
    ::Quillmark::Core::Error::TriggerErrorIf((condition), __FILE__, __LINE__, __VA_ARGS__)
#define qmTriggerError(...) ::Quillmark::Core::Error::TriggerError(__FILE__, __LINE__, __VA_ARGS__)
