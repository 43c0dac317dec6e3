// SPDX-License-Identifier: Zlib
// Every JSON example in docs/*.md is what a newcomer copies first: each loads without a report with
// the loader of its kind ("audio_events": event table, else sprite sheet), from the game's folder.
#include <filesystem>

#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/core/qm_json_parser.h"
#include "quill_mark/graphics/graphics_test_fixture.h"
#include "quill_mark/graphics/qm_sprite_manager.h"

namespace fs = std::filesystem;
using DocsExamplesTest = QuillmarkTest::GraphicsTest;

TEST_F(DocsExamplesTest, EveryJsonExampleInTheGuidesLoadsWithoutAReport)
{
    const fs::path source = std::getenv("QM_SOURCE_DIR");
    fs::current_path(source / "examples/first_game");
    int loaded = 0;
    for (const fs::directory_entry& document : fs::directory_iterator(source / "docs"))
    {
        const std::string markdown = QuillmarkTest::ReadBytes(document.path().string());
        const std::string fence = "```json\n";
        for (std::size_t start = markdown.find(fence); start != std::string::npos;
             start = markdown.find(fence, start))
        {
            start += fence.size();
            const std::string json = markdown.substr(start, markdown.find("```", start) - start);
            const std::string name = document.path().filename().string() + std::to_string(++loaded);
            const std::string path = WriteText(name + ".json", json);
            const bool isEventTable =
                !Quillmark::Core::ParseJson(json).GetMember("audio_events").IsNil();
            EXPECT_TRUE(
                isEventTable
                    ? Quillmark::Audio::theAudioManager.LoadEventTable(name, path)
                    : Quillmark::Graphics::theSpriteManager.LoadSpriteSheetFromFile(name, path))
                << name;
        }
    }
    EXPECT_GE(loaded, 4) << "examples found in docs/";
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}
