// SPDX-License-Identifier: Zlib
// The Ogg Vorbis reader on stb_vorbis's pull interface over stdio: it keeps one page and the
// decoder's state in memory, never the file. A stream that ends before the length its last page
// states, or that stb_vorbis finds broken, is damaged: reported once, and it reads no further.
#include "quill_mark/audio/implementation/qmi_ogg_reader.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "quill_mark/core/qm_error.h"

namespace qmImplementation
{

namespace
{

// stb_vorbis states "no length" as 0 or as all bits set; and a length beyond what a 32-bit frame
// count holds in seconds at any real rate is no length either.
std::uint32_t StatedLength(stb_vorbis* vorbis)
{
    const unsigned int length = stb_vorbis_stream_length_in_samples(vorbis);
    return length == 0xFFFFFFFFu ? 0 : length;
}

// Whether the file ends with a page marked as the stream's last. A file cut short ends without one
// (a page cut in two, or none marked last), however well the pages before it decode. The last page
// is at most about 64 KB long, so only the file's tail is read.
bool EndsWithTheLastPage(const std::string& filePath)
{
    std::ifstream file(filePath, std::ios::binary | std::ios::ate);
    const std::streamoff size = file.tellg();
    file.seekg(std::max<std::streamoff>(0, size - 70000));
    const std::string tail((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    const std::size_t page = tail.rfind("OggS");
    return page != std::string::npos && page + 5 < tail.size() && (tail[page + 5] & 4) != 0;
}

std::uint32_t LittleEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
}

// The first two packets (the identification and comment headers), joined from the pages at the
// start of the file; false when the first 1 MB of pages does not hold them.
bool ReadHeaderPackets(std::istream& file, std::string (&packets)[2])
{
    std::size_t packet = 0, total = 0;
    while (packet < 2 && total < (1u << 20))
    {
        char header[27];
        unsigned char lacing[255];
        if (!file.read(header, 27) || std::string(header, 4) != "OggS" ||
            !file.read(reinterpret_cast<char*>(lacing), std::uint8_t(header[26])))
            return false;
        for (int segment = 0; segment < std::uint8_t(header[26]) && packet < 2; ++segment)
        {
            std::string bytes(lacing[segment], '\0');
            if (!file.read(bytes.data(), std::streamsize(bytes.size())))
                return false;
            packets[packet] += bytes;
            total += bytes.size();
            packet += lacing[segment] < 255 ? 1 : 0;
        }
    }
    return packet == 2;
}

// stb_vorbis sizes its comment tables by the counts the comment header states, in 32-bit
// arithmetic that can wrap: so the counts and lengths must fit in the packet that holds them.
bool CommentsFitTheirPacket(const std::string& filePath)
{
    std::ifstream file(filePath, std::ios::binary);
    std::string packets[2];
    if (!ReadHeaderPackets(file, packets))
        return false;
    const std::string& comments = packets[1];
    std::size_t at = 7;  // packet type and "vorbis"
    for (std::uint32_t count = 1, item = 0; item < count; ++item)
    {
        if (comments.size() < at + 4 || LittleEndian32(comments, at) > comments.size() - at - 4)
            return false;
        at += 4 + LittleEndian32(comments, at);
        if (item == 0)  // the vendor string, then the number of comments
        {
            if (comments.size() < at + 4 ||
                LittleEndian32(comments, at) > (comments.size() - at) / 4)
                return false;
            count = 1 + LittleEndian32(comments, at);
            at += 4;
        }
    }
    return true;
}

}  // namespace

// The decoder works in one block of this size per stream and never beyond it: stb_vorbis would
// otherwise size its tables, and its scratch space on the stack, by whatever the file's headers
// claim. Files from common encoders need about 200 KB.
constexpr int kDecoderMemoryBytes = 512 * 1024;

OggReader::OggReader(const std::string& filePath)
    : mFilePath(filePath), mDecoderMemory(kDecoderMemoryBytes)
{
    int error = std::ifstream(filePath).is_open() ? VORBIS_invalid_setup : VORBIS_file_open_failure;
    const stb_vorbis_alloc memory{mDecoderMemory.data(), kDecoderMemoryBytes};
    if (CommentsFitTheirPacket(filePath))
    {
        mVorbis = stb_vorbis_open_filename(filePath.c_str(), &error, &memory);
    }
    if (mVorbis == nullptr)
    {
        qmTriggerErrorIf(error == VORBIS_file_open_failure,
                         "qmExternalError: Failed to open music file, \"%s\".", filePath.c_str());
        qmTriggerErrorIf(
            error == VORBIS_outofmem,
            "qmDataError: Music \"%s\" needs more decoder memory than the 512 KB a stream has.",
            filePath.c_str());
        qmTriggerErrorIf(error != VORBIS_file_open_failure && error != VORBIS_outofmem,
                         "qmDataError: Music \"%s\" is not an Ogg Vorbis file that can be read.",
                         filePath.c_str());
        return;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(mVorbis);
    mChannels = info.channels == 1 ? 1 : 2;
    mSampleRate = int(info.sample_rate);
    mLength = StatedLength(mVorbis);
    mEndsProperly = EndsWithTheLastPage(filePath);
    // A rate OpenAL cannot take, or a length-finding walk that broke the stream, is no stream.
    if (mSampleRate < 1000 || mSampleRate > 192000 || !Seek(0))
    {
        stb_vorbis_close(mVorbis);
        mVorbis = nullptr;
        mChannels = 0;
        qmTriggerError("qmDataError: Music \"%s\" is not an Ogg Vorbis file that can be read.",
                       filePath.c_str());
    }
}

OggReader::~OggReader()
{
    if (mVorbis != nullptr)
    {
        stb_vorbis_close(mVorbis);
    }
}

int OggReader::Read(std::int16_t* samples, int frames)
{
    if (mVorbis == nullptr || mDamaged || frames <= 0)
    {
        return 0;
    }
    const int read =
        stb_vorbis_get_samples_short_interleaved(mVorbis, mChannels, samples, frames * mChannels);
    mPosition += std::uint32_t(std::max(read, 0));
    if (read < frames)
    {
        const int error = stb_vorbis_get_error(mVorbis);
        const bool broken = error != VORBIS__no_error && error != VORBIS_need_more_data;
        if (broken || mPosition < mLength || !mEndsProperly)
        {
            Fail();
        }
    }
    return std::max(read, 0);
}

bool OggReader::Seek(std::uint32_t frame)
{
    if (mVorbis == nullptr || mDamaged)
    {
        return false;
    }
    const bool sought = frame == 0 ? stb_vorbis_seek_start(mVorbis) != 0
                                   : stb_vorbis_seek(mVorbis, std::min(frame, mLength)) != 0;
    // Clears what the seek itself left, so the next read judges the stream on its own.
    stb_vorbis_get_error(mVorbis);
    if (sought)
    {
        mPosition = frame == 0 ? 0 : std::min(frame, mLength);
    }
    return sought;
}

void OggReader::Fail()
{
    mDamaged = true;
    qmTriggerError(
        "qmDataError: Music \"%s\" is damaged or cut short after %.2f seconds; the stream stops there.",
        mFilePath.c_str(), double(mPosition) / double(mSampleRate));
}

}  // namespace qmImplementation
