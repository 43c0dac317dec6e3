// SPDX-License-Identifier: Zlib
// UTF-8 decoding by the rules of the standard: the shortest form only, no surrogates, nothing
// above U+10FFFF. A bad byte is replaced on its own, so the rest of the text still shows.
#include "quill_mark/graphics/implementation/qmi_utf8.h"

namespace qmImplementation
{

namespace
{

// The sequence length a lead byte announces and the bits it carries; 0 for a byte that cannot
// start a sequence.
int SequenceLength(unsigned char lead, std::uint32_t& bits)
{
    if (lead < 0x80)
    {
        bits = lead;
        return 1;
    }
    const int length = (lead & 0xE0) == 0xC0   ? 2
                       : (lead & 0xF0) == 0xE0 ? 3
                       : (lead & 0xF8) == 0xF0 ? 4
                                               : 0;
    bits = lead & (0x7Fu >> length);
    return length;
}

}  // namespace

std::uint32_t NextCodepoint(const std::string& text, std::size_t& at)
{
    std::uint32_t codepoint = 0;
    const int length = SequenceLength(static_cast<unsigned char>(text[at]), codepoint);
    if (length == 0 || text.size() - at < static_cast<std::size_t>(length))
    {
        ++at;
        return kReplacementCharacter;
    }
    for (int i = 1; i < length; ++i)
    {
        const unsigned char next =
            static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
        {
            ++at;
            return kReplacementCharacter;
        }
        codepoint = (codepoint << 6) | (next & 0x3Fu);
    }
    static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = codepoint >= 0xD800 && codepoint <= 0xDFFF;
    if (codepoint < kSmallest[length] || surrogate || codepoint > 0x10FFFF)
    {
        ++at;
        return kReplacementCharacter;
    }
    at += static_cast<std::size_t>(length);
    return codepoint;
}

}  // namespace qmImplementation
