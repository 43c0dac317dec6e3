// SPDX-License-Identifier: Zlib
// Throws the reported message; see the header for when this handler is used.
#include "quill_mark/core/implementation/qmi_exceptional_error_handler.h"

namespace qmImplementation
{

void ExceptionalErrorHandler::OnErrorTriggered(const std::string& message)
{
    throw ErroredException(message);
}

}  // namespace qmImplementation
