// SPDX-License-Identifier: Zlib
// Music: an Ogg Vorbis track streamed from its file while it plays, a quarter second at a time,
// so a track of any length holds about a second of decoded audio (under 200 KB at 48 kHz stereo).
// Play, pause, resume, stop, gapless looping, volume, pitch and position.
//
// A Music is not one of the audio manager's 16 players and never takes one of their places: it
// has its own OpenAL source for as long as it lives. The 16 places bound the sound effects that
// pile up unasked (one per play, each reading its file again); a track is made once by the game,
// lives as long as the game keeps it, and a looping one would otherwise hold a place for good and
// silence effects. The audio manager's Update (called by the game loop every frame) keeps every
// Music fed; a game that runs its own loop must call it too.
#pragma once

#include <memory>
#include <string>

#include "quill_mark/core/qm_noncopyable.h"

namespace qmImplementation
{
class MusicStream;
}  // namespace qmImplementation

namespace Quillmark::Audio
{

class Music : private Core::Noncopyable
{
public:
    // Opens the file (resolved against the working directory) and reads its headers; nothing
    // plays yet. A file that is missing or not Ogg Vorbis is reported, and the Music stays silent.
    // A file found damaged or cut short while playing is reported once and that stream stops
    // there; everything else plays on. Keep a Music as a member or a local, not as a static:
    // the audio device closes when the program's statics go.
    explicit Music(const std::string& filePath);
    ~Music();

    bool IsOpen() const;
    // From the current position (the start, unless SetPosition moved it); resumes when paused;
    // nothing when already playing.
    void Play();
    // Keeps the position; Resume (or Play) goes on from exactly there.
    void Pause();
    void Resume();
    // Silences the track and goes back to its start.
    void Stop();
    // A looping track goes from its last sample straight on to its first, with no gap.
    void SetLooping(bool isLooping);
    bool IsLooping() const;
    bool IsPlaying() const;
    bool IsPaused() const;
    // 0 (silent) to 1 (as recorded); a value outside is reported and still handed to OpenAL.
    void SetVolume(float volume);
    // A factor on speed and pitch; 0 or less is reported (and OpenAL refuses it).
    void SetPitch(float pitch);
    // In seconds from the start of the track, as heard; moving it keeps the track playing,
    // paused or stopped as it was.
    void SetPosition(float seconds);
    float GetPosition() const;
    // As the file states it; 0 when it does not.
    float GetDuration() const;

private:
    std::unique_ptr<qmImplementation::MusicStream> mStream;
};

}  // namespace Quillmark::Audio
