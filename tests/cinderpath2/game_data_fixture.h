// SPDX-License-Identifier: Zlib
// Test support for the game's suites: a current OpenGL context, the game's own data/ loaded as the
// program entry loads it, the random sequence at its start, and a recorder of every report.
#pragma once

#include <gtest/gtest.h>

#include "quill_mark/audio/implementation/qmi_audio_manager_state.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/graphics/qm_sprite_manager.h"
#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "support/gl_test_context.h"
#include "support/recording_error_handler.h"

namespace QuillmarkTest
{

// Sounds started so far: every play of "explosion" that found a free place takes a channel.
inline std::uint32_t SoundsStarted()
{
    return qmImplementation::AudioManagerState::Of(Quillmark::Audio::theAudioManager)
        .channelCounter;
}

class GameDataTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mContext.IsValid()) << mContext.Error();
        ASSERT_TRUE(Quillmark::Graphics::theSpriteManager.LoadSpriteSheetFromFile(
            "prototyping_sheet", "data/prototyping_sheet.json"));
        ASSERT_TRUE(Quillmark::Audio::theAudioManager.LoadEventTable(
            "audio_events", "data/audio/audio_events.json"));
        qmImplementation::HeadlessLayer::RestartRandomSequence(1);
    }

    void TearDown() override { EXPECT_EQ(errors.messages, std::vector<std::string>{}); }

    GlTestContext mContext;
    RecordingErrorHandler errors;
};

}  // namespace QuillmarkTest
