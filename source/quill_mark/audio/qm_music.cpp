// SPDX-License-Identifier: Zlib
// Music forwards to its stream, which the audio manager services; the public side holds no OpenAL.
#include "quill_mark/audio/qm_music.h"

#include "quill_mark/audio/implementation/qmi_music_stream.h"

namespace Quillmark::Audio
{

using State = qmImplementation::MusicStream::State;

Music::Music(const std::string& filePath)
    : mStream(std::make_unique<qmImplementation::MusicStream>(filePath))
{
}

Music::~Music() = default;

bool Music::IsOpen() const
{
    return mStream->IsOpen();
}

void Music::Play()
{
    mStream->Play();
}

void Music::Pause()
{
    mStream->Pause();
}

void Music::Resume()
{
    mStream->Resume();
}

void Music::Stop()
{
    mStream->Stop();
}

void Music::SetLooping(bool isLooping)
{
    mStream->SetLooping(isLooping);
}

bool Music::IsLooping() const
{
    return mStream->IsLooping();
}

bool Music::IsPlaying() const
{
    return mStream->GetState() == State::kPlaying;
}

bool Music::IsPaused() const
{
    return mStream->GetState() == State::kPaused;
}

void Music::SetVolume(float volume)
{
    mStream->SetVolume(volume);
}

void Music::SetPitch(float pitch)
{
    mStream->SetPitch(pitch);
}

void Music::SetPosition(float seconds)
{
    mStream->SetPosition(seconds);
}

float Music::GetPosition() const
{
    return mStream->GetPosition();
}

float Music::GetDuration() const
{
    return mStream->GetDuration();
}

}  // namespace Quillmark::Audio
