// SPDX-License-Identifier: Zlib
// Windows without an OpenAL library, as under Wine: the game's event plays and reports nothing,
// draws its numbers as with a device, and every play gives its place back at the next Update.
#include "quill_mark/audio/implementation/qmi_openal_library.h"

#include "audio_test_files.h"
#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_random.h"

TEST(OpenAlLibrary, WithoutOneEveryPlayIsSilentUnreportedAndReleased)
{
    ASSERT_FALSE(qmImplementation::OpenAlLibrary::IsLoaded());
    RecordingErrorHandler errors;
    ASSERT_TRUE(theAudioManager.LoadEventTable("audio_events", "data/audio/audio_events.json"));
    SetCrtRandState(1);
    EXPECT_EQ(theAudioManager.PlayEvent("audio_events", "explosion").channel, 1u);
    EXPECT_EQ(CrtRand(), 26500);  // the sound, its volume and its pitch took 41, 18467 and 6334
    // More plays than the 16 places: each would find none left if the earlier were still held.
    for (std::uint32_t play = 2; play <= 20; ++play)
    {
        theAudioManager.Update();
        EXPECT_EQ(theAudioManager.PlayEvent("audio_events", "explosion").channel, play);
    }
    EXPECT_EQ(errors.messages, std::vector<std::string>{});
}
