// SPDX-License-Identifier: Zlib
// Test support: an error handler that registers itself for its lifetime and records every
// reported message, so tests can check which reports a scripted sequence produced, in order.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "quill_mark/core/qm_error.h"

namespace QuillmarkTest
{

class RecordingErrorHandler : public Quillmark::Core::Error::ErrorHandlerInterface
{
public:
    RecordingErrorHandler() { Quillmark::Core::Error::AddErrorHandler(*this); }
    ~RecordingErrorHandler() override { Quillmark::Core::Error::RemoveErrorHandler(*this); }
    RecordingErrorHandler(const RecordingErrorHandler&) = delete;
    RecordingErrorHandler& operator=(const RecordingErrorHandler&) = delete;

    void OnErrorTriggered(const std::string& message) override { messages.push_back(message); }
    int Count(const std::string& message) const
    {
        return int(std::count(messages.begin(), messages.end(), message));
    }

    std::vector<std::string> messages;
};

}  // namespace QuillmarkTest
