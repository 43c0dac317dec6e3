// SPDX-License-Identifier: Zlib
// The handler used while throwOnError is on: it turns a report into an exception so a caller
// (a test, a tool) can stop at the first failed check. It prints nothing itself.
#pragma once

#include <stdexcept>
#include <string>

#include "quill_mark/core/qm_error.h"

namespace qmImplementation
{

class ExceptionalErrorHandler : public Quillmark::Core::Error::ErrorHandlerInterface
{
public:
    class ErroredException : public std::runtime_error
    {
    public:
        explicit ErroredException(const std::string& message) : std::runtime_error(message) {}
    };

    void OnErrorTriggered(const std::string& message) override;
};

}  // namespace qmImplementation
