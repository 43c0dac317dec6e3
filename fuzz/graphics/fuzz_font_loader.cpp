// SPDX-License-Identifier: Zlib
// Fuzzes font loading: each input is written, unchanged, as a font file, read by the checked
// TrueType reader (glyph lookups, metrics, kerning and rasterising of glyphs the input picks) and
// baked into a Font whose text is measured and drawn in a headless OpenGL context. Nothing may
// crash, hang or read outside the file; a font that did not load must measure nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "quill_mark/graphics/implementation/qmi_texture_reset.h"
#include "quill_mark/graphics/implementation/qmi_truetype_file.h"
#include "quill_mark/graphics/qm_font.h"
#include "quill_mark/graphics/qm_text.h"
#include "quill_mark/platform/headless/qmi_offscreen_gl_context.h"
#include "support/fuzz_input_file.h"

namespace
{

const QuillmarkFuzz::InputFile theFontFile("fuzz_font_loader", ".ttf");

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    static auto* context = new qmImplementation::OffscreenGlContext();
    if (!context->MakeCurrent())
    {
        std::fprintf(stderr, "fuzz_font_loader: no OpenGL context: %s\n", context->Error().c_str());
        std::abort();
    }
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
    {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    qmImplementation::TrueTypeFile file;
    if (file.Open(bytes))
    {
        // Glyphs chosen by the input's last bytes, at a size chosen by its length.
        const float scale = float(8 + size % 40) / float(file.Ascent() - file.Descent());
        for (std::size_t i = 0; i < 8 && i < size; ++i)
        {
            const int glyph = data[size - 1 - i] * 3 + int(i);
            qmImplementation::GlyphBitmap bitmap;
            file.Rasterize(glyph, scale, bitmap);
            file.Kerning(glyph, file.GlyphIndex(data[i]));
            file.AdvanceWidth(file.GlyphIndex(0x20u + data[i]));
        }
    }
    {
        const Quillmark::Graphics::Font font(theFontFile.Write(data, size), 10);
        const Quillmark::Graphics::Vector2 measured =
            font.Measure("AV\nWa\xC3\xA9\xE4\xB8\xAD\xFF");
        if (!font.IsLoaded() && (measured.x != 0.0f || measured.y != 0.0f))
        {
            __builtin_trap();
        }
        Quillmark::Graphics::Text text(font, "Hello\nworld");
        text.Render();
    }
    // Atlases are shared by name and every input bakes under the same one: without this only the
    // first font that loads would ever be uploaded, and textures are never let go by design.
    qmImplementation::ReleaseAllTextures();
    return 0;
}
