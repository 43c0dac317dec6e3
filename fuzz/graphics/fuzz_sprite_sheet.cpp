// SPDX-License-Identifier: Zlib
// Fuzzes sprite-sheet loading: each input is written, unchanged, as a sheet file and loaded into
// a fresh manager, with every texture of the input before released: sheets and textures are never
// let go by design, so without that a long run would grow without bound, and a finding would
// depend on the inputs before it. A 16 x 8 PNG written once at start-up lies at a fixed path that
// the seeds name, so inputs reach frames, grids and sequences on a real texture (in a headless
// OpenGL context).
#include <stb_image_write.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "quill_mark/graphics/implementation/qmi_texture_reset.h"
#include "quill_mark/graphics/qm_sprite_manager.h"
#include "quill_mark/platform/headless/qmi_offscreen_gl_context.h"
#include "support/fuzz_input_file.h"

namespace
{

// The seeds in fuzz/corpus/fuzz_sprite_sheet name this path.
constexpr char kTexturePath[] = "/tmp/quillmark_fuzz_sprite_sheet.png";

const QuillmarkFuzz::InputFile theSheet("fuzz_sprite_sheet", ".json");

// Written under a private name and renamed, so parallel fuzzing jobs never read half a file.
void WriteTexture()
{
    const std::string privatePath = std::string(kTexturePath) + "." + std::to_string(getpid());
    std::vector<std::uint32_t> pixels(16 * 8, 0xFF4080FFu);  // bytes FF 80 40 FF, opaque orange
    if (stbi_write_png(privatePath.c_str(), 16, 8, 4, pixels.data(), 16 * 4) == 0 ||
        std::rename(privatePath.c_str(), kTexturePath) != 0)
    {
        std::fprintf(stderr, "fuzz_sprite_sheet: cannot write %s\n", kTexturePath);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    // Kept for the whole process and never torn down: the driver's own threads and exit
    // handlers then never race a context that is going away.
    static auto* context = new qmImplementation::OffscreenGlContext();
    if (!context->MakeCurrent())
    {
        std::fprintf(stderr, "fuzz_sprite_sheet: no OpenGL context: %s\n",
                     context->Error().c_str());
        std::abort();
    }
    // Malformed sheets report on standard output, which would drown the fuzzer's log; and a
    // texture path such as /dev/stdin must not wait for input.
    if (std::freopen("/dev/null", "w", stdout) == nullptr ||
        std::freopen("/dev/null", "r", stdin) == nullptr)
    {
        std::abort();
    }
    WriteTexture();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        Quillmark::Graphics::SpriteManager manager;
        manager.LoadSpriteSheetFromFile("fuzz", theSheet.Write(data, size));
        manager.GetSprite("fuzz", "a");
    }
    qmImplementation::ReleaseAllTextures();
    return 0;
}
