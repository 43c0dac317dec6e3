// SPDX-License-Identifier: Zlib
// The OpenAL side of one play. Sources sit just in front of the listener, relative to it, so every
// sound is heard centred and at full distance gain; only volume and pitch vary per play.
#include "quill_mark/audio/implementation/qmi_audio_player.h"

#include <AL/al.h>

#include <algorithm>
#include <memory>

#include "quill_mark/audio/implementation/qmi_audio_data.h"
#include "quill_mark/core/qm_error.h"

namespace qmImplementation
{

namespace
{

bool HadOpenAlError()
{
    return alGetError() != AL_NO_ERROR;
}

ALint GetSourceInteger(ALuint source, ALenum parameter)
{
    ALint value = 0;
    alGetSourcei(source, parameter, &value);
    return value;
}

}  // namespace

AudioPlayer::AudioPlayer(const std::uint32_t& channel) : mChannel(channel)
{
    // An error left over from elsewhere must not be blamed on this player.
    alGetError();
    alGenBuffers(1, &mBuffer);
    qmTriggerErrorIf(HadOpenAlError(),
                     "qmInternalError: Could not create buffer for audio player.");
    alGenSources(1, &mSource);
    qmTriggerErrorIf(HadOpenAlError(),
                     "qmInternalError: Could not create source for audio player.");

    alSourcei(mSource, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcei(mSource, AL_ROLLOFF_FACTOR, 1);
    alSourcef(mSource, AL_REFERENCE_DISTANCE, 100.0f);
    alSourcef(mSource, AL_MAX_DISTANCE, 110.0f);
    alSourcef(mSource, AL_PITCH, 1.0f);
    alSourcef(mSource, AL_GAIN, 1.0f);
    alSource3f(mSource, AL_POSITION, 0.0f, 0.1f, 0.0f);
    alSource3f(mSource, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    qmTriggerErrorIf(HadOpenAlError(),
                     "qmInternalError: Could not set source parameters for audio player.");
}

AudioPlayer::~AudioPlayer()
{
    alDeleteSources(1, &mSource);
    alDeleteBuffers(1, &mBuffer);
}

void AudioPlayer::Play(AudioData& audioData, bool isLooping)
{
    mIsLooping = isLooping;
    alSourceRewind(mSource);
    alSourcei(mSource, AL_BUFFER, 0);

    // OpenAL copies the samples, so the block lives only for this call. GetData writes every byte
    // of it, so it is not cleared first. A file without samples (missing, say) gives an empty
    // block, which OpenAL refuses with the format such a file has: that refusal is reported.
    const std::int32_t dataSize = std::max(audioData.GetDataSize(), 0);
    const std::unique_ptr<char[]> samples(new char[static_cast<std::size_t>(dataSize) + 1]);
    audioData.GetData(samples.get(), dataSize);
    alGetError();
    alBufferData(mBuffer, audioData.GetFormat(), samples.get(), dataSize,
                 audioData.GetSampleRate());
    // A buffer OpenAL refused, or one without samples, holds nothing: nothing to queue, and
    // nothing for a loop to repeat.
    const bool refused = HadOpenAlError();
    qmTriggerErrorIf(refused, "qmInternalError: Could not set audio data in buffer.");
    mHasNothingToPlay = refused || dataSize == 0;
    if (mHasNothingToPlay)
    {
        return;
    }
    alSourceQueueBuffers(mSource, 1, &mBuffer);
    alSourcePlay(mSource);
}

void AudioPlayer::SetVolume(float volume)
{
    qmTriggerErrorIf(
        volume < 0.0f || volume > 1.0f,
        "qmExternalError: Expected volume to remain within range: (0.0f <= volume <= 1.0f).");
    alSourcef(mSource, AL_GAIN, volume);
}

void AudioPlayer::SetPitch(float pitch)
{
    qmTriggerErrorIf(!(pitch > 0.0f),
                     "qmExternalError: Expected pitch to remain a positive value.");
    alSourcef(mSource, AL_PITCH, pitch);
}

bool AudioPlayer::Update()
{
    const ALint processed = GetSourceInteger(mSource, AL_BUFFERS_PROCESSED);
    for (ALint i = 0; i < processed; ++i)
    {
        if (mIsLooping)
        {
            alSourceRewind(mSource);
            alSourcePlay(mSource);
        }
        else
        {
            ALuint buffer = 0;
            alSourceUnqueueBuffers(mSource, 1, &buffer);
        }
    }
    return IsFinished();
}

bool AudioPlayer::IsFinished() const
{
    if (mHasNothingToPlay)
    {
        return true;
    }
    // A looping play never finishes. Its source does stop for a moment each time the sound ends,
    // until the next Update starts it again; the mixer can end it between that Update's look at
    // the processed buffers and this look at the state, and a stopped loop must not be released.
    if (mIsLooping)
    {
        return false;
    }
    const ALint state = GetSourceInteger(mSource, AL_SOURCE_STATE);
    const ALint queued = GetSourceInteger(mSource, AL_BUFFERS_QUEUED);
    return state == AL_STOPPED || (queued == 0 && !mIsLooping);
}

}  // namespace qmImplementation
