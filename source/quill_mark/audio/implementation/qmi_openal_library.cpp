// SPDX-License-Identifier: Zlib
// The table of OpenAL entry points on Windows, filled once from the first library that has them
// all, and the OpenAL functions the framework calls, each forwarding to its entry or, without a
// library, to a stub that leaves every output as the caller initialised it. The library is never
// unloaded: the device closes during static destruction, later than anything could free it.
#include "quill_mark/audio/implementation/qmi_openal_library.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <windows.h>

namespace
{

struct EntryPoints
{
    LPALCOPENDEVICE alcOpenDevice = nullptr;
    LPALCCLOSEDEVICE alcCloseDevice = nullptr;
    LPALCCREATECONTEXT alcCreateContext = nullptr;
    LPALCDESTROYCONTEXT alcDestroyContext = nullptr;
    LPALCMAKECONTEXTCURRENT alcMakeContextCurrent = nullptr;
    LPALCISEXTENSIONPRESENT alcIsExtensionPresent = nullptr;
    LPALCGETPROCADDRESS alcGetProcAddress = nullptr;
    LPALGETERROR alGetError = nullptr;
    LPALLISTENERFV alListenerfv = nullptr;
    LPALGENBUFFERS alGenBuffers = nullptr;
    LPALDELETEBUFFERS alDeleteBuffers = nullptr;
    LPALBUFFERDATA alBufferData = nullptr;
    LPALGENSOURCES alGenSources = nullptr;
    LPALDELETESOURCES alDeleteSources = nullptr;
    LPALSOURCEI alSourcei = nullptr;
    LPALSOURCEF alSourcef = nullptr;
    LPALSOURCE3F alSource3f = nullptr;
    LPALGETSOURCEI alGetSourcei = nullptr;
    LPALSOURCEPLAY alSourcePlay = nullptr;
    LPALSOURCEREWIND alSourceRewind = nullptr;
    LPALSOURCEPAUSE alSourcePause = nullptr;
    LPALSOURCESTOP alSourceStop = nullptr;
    LPALSOURCEQUEUEBUFFERS alSourceQueueBuffers = nullptr;
    LPALSOURCEUNQUEUEBUFFERS alSourceUnqueueBuffers = nullptr;
};

template <typename Pointer>
bool Find(HMODULE library, const char* name, Pointer& entry)
{
    // Through the generic function pointer type, which every function pointer converts from.
    entry = reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    return entry != nullptr;
}

bool FindAll(HMODULE library, EntryPoints& e)
{
    return Find(library, "alcOpenDevice", e.alcOpenDevice) &&
           Find(library, "alcCloseDevice", e.alcCloseDevice) &&
           Find(library, "alcCreateContext", e.alcCreateContext) &&
           Find(library, "alcDestroyContext", e.alcDestroyContext) &&
           Find(library, "alcMakeContextCurrent", e.alcMakeContextCurrent) &&
           Find(library, "alcIsExtensionPresent", e.alcIsExtensionPresent) &&
           Find(library, "alcGetProcAddress", e.alcGetProcAddress) &&
           Find(library, "alGetError", e.alGetError) &&
           Find(library, "alListenerfv", e.alListenerfv) &&
           Find(library, "alGenBuffers", e.alGenBuffers) &&
           Find(library, "alDeleteBuffers", e.alDeleteBuffers) &&
           Find(library, "alBufferData", e.alBufferData) &&
           Find(library, "alGenSources", e.alGenSources) &&
           Find(library, "alDeleteSources", e.alDeleteSources) &&
           Find(library, "alSourcei", e.alSourcei) && Find(library, "alSourcef", e.alSourcef) &&
           Find(library, "alSource3f", e.alSource3f) &&
           Find(library, "alGetSourcei", e.alGetSourcei) &&
           Find(library, "alSourcePlay", e.alSourcePlay) &&
           Find(library, "alSourceRewind", e.alSourceRewind) &&
           Find(library, "alSourcePause", e.alSourcePause) &&
           Find(library, "alSourceStop", e.alSourceStop) &&
           Find(library, "alSourceQueueBuffers", e.alSourceQueueBuffers) &&
           Find(library, "alSourceUnqueueBuffers", e.alSourceUnqueueBuffers);
}

// A library lacking any entry point is not used at all: half a table would open a device whose
// sources could never be made.
EntryPoints Load()
{
    for (const char* name : qmImplementation::OpenAlLibrary::kLibraryNames)
    {
        HMODULE library = LoadLibraryA(name);
        EntryPoints entryPoints;
        if (library != nullptr && FindAll(library, entryPoints))
        {
            return entryPoints;
        }
        if (library != nullptr)
        {
            FreeLibrary(library);
        }
    }
    return EntryPoints{};
}

// Filled by the first OpenAL call, which the audio manager makes while the program starts.
const EntryPoints& Table()
{
    static const EntryPoints table = Load();
    return table;
}

template <typename Pointer, typename... Arguments>
void Forward(Pointer EntryPoints::*entry, Arguments... arguments)
{
    const Pointer function = Table().*entry;
    if (function != nullptr)
    {
        function(arguments...);
    }
}

template <typename Result, typename Pointer, typename... Arguments>
Result ForwardOr(Result stubResult, Pointer EntryPoints::*entry, Arguments... arguments)
{
    const Pointer function = Table().*entry;
    return function != nullptr ? function(arguments...) : stubResult;
}

}  // namespace

namespace qmImplementation::OpenAlLibrary
{

bool IsLoaded()
{
    return Table().alcOpenDevice != nullptr;
}

}  // namespace qmImplementation::OpenAlLibrary

extern "C"
{
    ALCdevice* ALC_APIENTRY alcOpenDevice(const ALCchar* deviceName)
    {
        return ForwardOr<ALCdevice*>(nullptr, &EntryPoints::alcOpenDevice, deviceName);
    }

    ALCboolean ALC_APIENTRY alcCloseDevice(ALCdevice* device)
    {
        return ForwardOr<ALCboolean>(ALC_FALSE, &EntryPoints::alcCloseDevice, device);
    }

    ALCcontext* ALC_APIENTRY alcCreateContext(ALCdevice* device, const ALCint* attributes)
    {
        return ForwardOr<ALCcontext*>(nullptr, &EntryPoints::alcCreateContext, device, attributes);
    }

    void ALC_APIENTRY alcDestroyContext(ALCcontext* context)
    {
        Forward(&EntryPoints::alcDestroyContext, context);
    }

    ALCboolean ALC_APIENTRY alcMakeContextCurrent(ALCcontext* context)
    {
        return ForwardOr<ALCboolean>(ALC_FALSE, &EntryPoints::alcMakeContextCurrent, context);
    }

    ALCboolean ALC_APIENTRY alcIsExtensionPresent(ALCdevice* device, const ALCchar* name)
    {
        return ForwardOr<ALCboolean>(ALC_FALSE, &EntryPoints::alcIsExtensionPresent, device, name);
    }

    ALCvoid* ALC_APIENTRY alcGetProcAddress(ALCdevice* device, const ALCchar* name)
    {
        return ForwardOr<ALCvoid*>(nullptr, &EntryPoints::alcGetProcAddress, device, name);
    }

    // Without a library nothing can have gone wrong in OpenAL: each play is silent, not an error.
    ALenum AL_APIENTRY alGetError()
    {
        return ForwardOr<ALenum>(AL_NO_ERROR, &EntryPoints::alGetError);
    }

    void AL_APIENTRY alListenerfv(ALenum parameter, const ALfloat* values)
    {
        Forward(&EntryPoints::alListenerfv, parameter, values);
    }

    void AL_APIENTRY alGenBuffers(ALsizei count, ALuint* buffers)
    {
        Forward(&EntryPoints::alGenBuffers, count, buffers);
    }

    void AL_APIENTRY alDeleteBuffers(ALsizei count, const ALuint* buffers)
    {
        Forward(&EntryPoints::alDeleteBuffers, count, buffers);
    }

    void AL_APIENTRY alBufferData(ALuint buffer, ALenum format, const ALvoid* data, ALsizei size,
                                  ALsizei frequency)
    {
        Forward(&EntryPoints::alBufferData, buffer, format, data, size, frequency);
    }

    void AL_APIENTRY alGenSources(ALsizei count, ALuint* sources)
    {
        Forward(&EntryPoints::alGenSources, count, sources);
    }

    void AL_APIENTRY alDeleteSources(ALsizei count, const ALuint* sources)
    {
        Forward(&EntryPoints::alDeleteSources, count, sources);
    }

    void AL_APIENTRY alSourcei(ALuint source, ALenum parameter, ALint value)
    {
        Forward(&EntryPoints::alSourcei, source, parameter, value);
    }

    void AL_APIENTRY alSourcef(ALuint source, ALenum parameter, ALfloat value)
    {
        Forward(&EntryPoints::alSourcef, source, parameter, value);
    }

    void AL_APIENTRY alSource3f(ALuint source, ALenum parameter, ALfloat x, ALfloat y, ALfloat z)
    {
        Forward(&EntryPoints::alSource3f, source, parameter, x, y, z);
    }

    // The stub leaves the value as the caller set it: 0, which the players read as stopped and
    // empty, so each silent play is released by the next Update.
    void AL_APIENTRY alGetSourcei(ALuint source, ALenum parameter, ALint* value)
    {
        Forward(&EntryPoints::alGetSourcei, source, parameter, value);
    }

    void AL_APIENTRY alSourcePlay(ALuint source)
    {
        Forward(&EntryPoints::alSourcePlay, source);
    }

    void AL_APIENTRY alSourceRewind(ALuint source)
    {
        Forward(&EntryPoints::alSourceRewind, source);
    }

    void AL_APIENTRY alSourcePause(ALuint source)
    {
        Forward(&EntryPoints::alSourcePause, source);
    }

    void AL_APIENTRY alSourceStop(ALuint source)
    {
        Forward(&EntryPoints::alSourceStop, source);
    }

    void AL_APIENTRY alSourceQueueBuffers(ALuint source, ALsizei count, const ALuint* buffers)
    {
        Forward(&EntryPoints::alSourceQueueBuffers, source, count, buffers);
    }

    void AL_APIENTRY alSourceUnqueueBuffers(ALuint source, ALsizei count, ALuint* buffers)
    {
        Forward(&EntryPoints::alSourceUnqueueBuffers, source, count, buffers);
    }

}  // extern "C"
