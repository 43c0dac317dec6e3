// SPDX-License-Identifier: Zlib
// The replay layer: wrapped around another layer's table (the headless layer for a headless
// replay, the live one to show it in a window), it answers every call a recording holds from the
// file, in order, and lets the layer underneath do the rest (windows, contexts, dispatch). After
// every frame it compares the simulation's digest with the recorded one. At the first difference,
// at the frame asked to stop at, or when the file runs out, it stops answering from the file and
// lets the game end: headless by closing the window, in a window by freezing game time and
// leaving the window to the user. One replay per process.
#pragma once

#include <cstdint>
#include <string>

#include "quill_mark/platform/qmi_seam.h"
#include "quill_mark/platform/recording/qmi_session_reader.h"

namespace qmImplementation::Session
{

class SessionReplayer
{
public:
    struct Options
    {
        std::string path;   // for the reports
        bool show = false;  // paced to the recorded counter; an OpenGL context of the layer's
        // Headless, frames need not be drawn; they are when the recording holds message boxes,
        // which drawing may have opened.
        bool draw = true;
        std::int64_t untilFrame = 0;  // stop after this frame; 0 for never
    };

    enum class Outcome
    {
        kIdentical,  // every answer taken, every digest equal, and the game ended with the file
        kStopped,    // stopped early on request, identical so far
        kDiffers,    // the course changed; the report names the first frame and what
        kBadInput,   // the file ran out or held something that is not an answer
    };

    // The reader has read the header. The layer's table must outlive the replay.
    static void Start(const qmSeam::Table& layer, SessionReader reader, const Options& options);
    // The layer's table answered from the recording; make it the active table after Start.
    static const qmSeam::Table& Table();
    // Once the game has returned: the verdict and the line that reports it.
    static Outcome Finish(std::string& report);
};

}  // namespace qmImplementation::Session
