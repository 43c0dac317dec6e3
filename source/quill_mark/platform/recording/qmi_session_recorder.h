// SPDX-License-Identifier: Zlib
// The recording layer: wrapped around another layer's table, it lets that layer answer every call
// and writes down each answer the framework reads, in the order the calls come, with a digest of
// the simulation after every frame (the random sequence's state and the scene checksum that the
// game loop hands the frame observer). Calls whose results the framework never reads (class and
// window management, device contexts, OpenGL contexts, dispatch) are passed on unwritten.
// One recording per process.
#pragma once

#include <string>

#include "quill_mark/platform/qmi_seam.h"

namespace qmImplementation::Session
{

class SessionRecorder
{
public:
    // Creates the file and starts watching frames; false (with the reason) if the file cannot be
    // written. The layer's table must outlive the recording.
    static bool Start(const qmSeam::Table& layer, const std::string& path, const std::string& game,
                      std::string& error);
    // The layer's table with the answers written down; make it the active table after Start.
    static const qmSeam::Table& Table();
    // Writes the end of the session and closes the file.
    static void Finish();
};

}  // namespace qmImplementation::Session
