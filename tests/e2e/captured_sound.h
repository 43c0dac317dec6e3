// End-to-end support: reads the WAV file that OpenAL Soft's wave backend writes, whatever sample
// layout it chose (16-bit integers or 32-bit floats, plain or extensible header, any number of
// channels), as one loudness value per sample frame.
#pragma once

#include <string>
#include <vector>

namespace QuillmarkTest
{

struct CapturedSound
{
    int sampleRate = 0;
    // The largest absolute sample value of each frame, 0 to 1.
    std::vector<float> levels;

    // Seconds from the start of the capture to the first frame louder than the threshold;
    // negative when there is none.
    double FirstSoundAt(float threshold) const;
    float Peak() const;
};

// False when the file is missing or not a WAV layout the reader knows.
bool ReadCapturedSound(const std::string& path, CapturedSound& sound);

}  // namespace QuillmarkTest
