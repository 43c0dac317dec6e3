// SPDX-License-Identifier: Zlib
// Streaming through an OpenAL buffer queue. A loop is joined inside the block being decoded: the
// reader goes back to the start and the same buffer goes on filling, so the seam has no gap and
// no repeated sample. The source sits in front of the listener like every player's.
#include "quill_mark/audio/implementation/qmi_music_stream.h"

#include <AL/al.h>

#include <algorithm>

#include "quill_mark/audio/implementation/qmi_audio_manager_state.h"
#include "quill_mark/core/qm_error.h"

namespace qmImplementation
{

namespace
{

ALint GetSourceInteger(ALuint source, ALenum parameter)
{
    ALint value = 0;
    alGetSourcei(source, parameter, &value);
    return value;
}

std::vector<MusicStream*>& Streams()
{
    return AudioManagerState::Of(Quillmark::Audio::theAudioManager).musicStreams;
}

}  // namespace

MusicStream::MusicStream(const std::string& filePath) : mReader(filePath)
{
    alGenSources(1, &mSource);
    alSourcei(mSource, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(mSource, AL_POSITION, 0.0f, 0.1f, 0.0f);
    alSourcef(mSource, AL_REFERENCE_DISTANCE, 100.0f);
    mFreeBuffers.resize(kBufferCount);
    alGenBuffers(kBufferCount, mFreeBuffers.data());
    mFramesPerBuffer = std::max(1, mReader.GetSampleRate() / 4);
    Streams().push_back(this);
}

MusicStream::~MusicStream()
{
    Streams().erase(std::remove(Streams().begin(), Streams().end(), this), Streams().end());
    ClearQueue();
    alDeleteSources(1, &mSource);
    alDeleteBuffers(kBufferCount, mFreeBuffers.data());
}

void MusicStream::Play()
{
    if (mState == State::kPaused)
    {
        Resume();
        return;
    }
    if (mState == State::kPlaying || !mReader.IsOpen())
    {
        return;
    }
    mEnded = false;
    FillFreeBuffers();
    if (!mQueue.empty())
    {
        alSourcePlay(mSource);
        mState = State::kPlaying;
    }
}

void MusicStream::Pause()
{
    if (mState == State::kPlaying)
    {
        alSourcePause(mSource);
        mState = State::kPaused;
    }
}

void MusicStream::Resume()
{
    if (mState == State::kPaused)
    {
        alSourcePlay(mSource);
        mState = State::kPlaying;
    }
}

void MusicStream::Stop()
{
    ClearQueue();
    mState = State::kStopped;
    mReader.Seek(0);
}

void MusicStream::SetVolume(float volume)
{
    qmTriggerErrorIf(
        volume < 0.0f || volume > 1.0f,
        "qmExternalError: Expected volume to remain within range: (0.0f <= volume <= 1.0f).");
    alSourcef(mSource, AL_GAIN, volume);
}

void MusicStream::SetPitch(float pitch)
{
    qmTriggerErrorIf(!(pitch > 0.0f),
                     "qmExternalError: Expected pitch to remain a positive value.");
    alSourcef(mSource, AL_PITCH, pitch);
}

// The queue is emptied and filled anew from the new place; a paused stream stays paused there.
void MusicStream::SetPosition(float seconds)
{
    if (!mReader.IsOpen())
    {
        return;
    }
    const double frame = std::max(0.0, double(seconds) * mReader.GetSampleRate());
    const bool wasPlaying = mState == State::kPlaying;
    ClearQueue();
    mReader.Seek(std::uint32_t(std::min(frame, 4294967295.0)));
    if (mState == State::kStopped)
    {
        return;
    }
    mEnded = false;
    FillFreeBuffers();
    if (wasPlaying)
    {
        alSourcePlay(mSource);
    }
    else
    {
        mState = mQueue.empty() ? State::kStopped : State::kPaused;
    }
}

float MusicStream::GetPosition() const
{
    if (!mReader.IsOpen())
    {
        return 0.0f;
    }
    std::uint64_t frame = mReader.GetPosition();
    if (!mQueue.empty())
    {
        frame = std::uint64_t(mQueue.front().firstFrame) +
                std::uint64_t(std::max(0, GetSourceInteger(mSource, AL_SAMPLE_OFFSET)));
    }
    return float(double(WrapFrame(frame)) / mReader.GetSampleRate());
}

float MusicStream::GetDuration() const
{
    return mReader.IsOpen() ? float(double(mReader.GetLengthInFrames()) / mReader.GetSampleRate())
                            : 0.0f;
}

void MusicStream::Service()
{
    if (mState != State::kPlaying)
    {
        return;
    }
    Unqueue(GetSourceInteger(mSource, AL_BUFFERS_PROCESSED));
    FillFreeBuffers();
    if (mQueue.empty())
    {
        // Everything was heard: the track ended, or the stream was damaged.
        mState = State::kStopped;
        mReader.Seek(0);
    }
    else if (GetSourceInteger(mSource, AL_SOURCE_STATE) != AL_PLAYING)
    {
        // The frame came too late and the queue ran dry: carry on from where it stopped.
        alSourcePlay(mSource);
    }
}

std::size_t MusicStream::GetDecodedBytesHeld() const
{
    std::size_t bytes = mBlock.capacity() * sizeof(std::int16_t);
    for (const Queued& queued : mQueue)
    {
        bytes += std::size_t(queued.frames) * std::size_t(mReader.GetChannels()) * 2;
    }
    return bytes;
}

void MusicStream::FillFreeBuffers()
{
    while (!mFreeBuffers.empty() && !mEnded && Fill(mFreeBuffers.back()))
    {
        mFreeBuffers.pop_back();
    }
}

bool MusicStream::Fill(std::uint32_t buffer)
{
    const std::uint32_t firstFrame = mReader.GetPosition();
    const int frames = Decode();
    if (frames == 0)
    {
        mEnded = true;
        return false;
    }
    const ALenum format = mReader.GetChannels() == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    alBufferData(buffer, format, mBlock.data(), ALsizei(frames * mReader.GetChannels() * 2),
                 mReader.GetSampleRate());
    alSourceQueueBuffers(mSource, 1, &buffer);
    mQueue.push_back(Queued{buffer, firstFrame, std::uint32_t(frames)});
    return true;
}

// One buffer's worth of frames, joined across the loop point; fewer only at the end of a track
// that does not loop, or where the file is damaged.
int MusicStream::Decode()
{
    mBlock.resize(std::size_t(mFramesPerBuffer) * std::size_t(mReader.GetChannels()));
    int filled = 0;
    bool rewound = false;
    while (filled < mFramesPerBuffer)
    {
        const int read =
            mReader.Read(mBlock.data() + filled * mReader.GetChannels(), mFramesPerBuffer - filled);
        filled += read;
        rewound = rewound && read == 0;
        if (read > 0)
        {
            continue;
        }
        // A track that gives nothing right after going back to its start would loop for ever.
        if (!mIsLooping || mReader.IsDamaged() || rewound || !mReader.Seek(0))
        {
            mEnded = true;
            break;
        }
        rewound = true;
    }
    return filled;
}

void MusicStream::Unqueue(int count)
{
    for (int i = 0; i < count && !mQueue.empty(); ++i)
    {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(mSource, 1, &buffer);
        mQueue.pop_front();
        mFreeBuffers.push_back(buffer);
    }
}

void MusicStream::ClearQueue()
{
    alSourceStop(mSource);
    Unqueue(int(mQueue.size()));
}

std::uint32_t MusicStream::WrapFrame(std::uint64_t frame) const
{
    const std::uint32_t length = mReader.GetLengthInFrames();
    return std::uint32_t(length > 0 ? frame % length : frame);
}

}  // namespace qmImplementation
