// Audio events as the game plays them: the event-table file's rules (which members count, what a
// negative bound means, what a per-file object inherits), the reports for bad tables, and the
// exact draws each play takes from the process-wide random sequence.
#include "quill_mark/audio/implementation/qmi_audio_event_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_test_files.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/qmi_crt_rand.h"
#include "support/recording_error_handler.h"

using Quillmark::Audio::AudioController;
using Quillmark::Audio::theAudioManager;
using namespace QuillmarkTest;

namespace
{

// The value a play draws from [minimum, maximum) with the given 15-bit draw.
float Drawn(float minimum, float maximum, int draw)
{
    return minimum + (maximum - minimum) * (static_cast<float>(draw) / 32768.0f);
}

class EventTableTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"a", "b", "c"})
        {
            folder.Write(std::string(name) + ".wav", ToneFile(1.0));
        }
        folder.Write("short.wav", ToneFile(0.02));
    }

    // Writes the table with every "@" replaced by the test's folder and loads it.
    bool Load(const std::string& table, std::string json)
    {
        for (std::size_t at = json.find('@'); at != std::string::npos; at = json.find('@', at))
        {
            json.replace(at, 1, folder.path.string());
        }
        return theAudioManager.LoadEventTable(table, folder.Write(table + ".json", json));
    }

    unsigned HandleOf(const char* name)
    {
        return theAudioManager.CreateSoundFromFile(folder.File(name));
    }

    // Plays the event alone, releases it again and gives what its source was set to.
    SourceProbe Play(const std::string& event, const char* expectedFile = "a.wav")
    {
        const AudioController controller = theAudioManager.PlayEvent("t", event);
        EXPECT_EQ(controller.audioHandle, HandleOf(expectedFile)) << event;
        const auto sources = LiveSources();
        EXPECT_EQ(sources.size(), 1u) << event;
        for (const auto& source : sources)
        {
            alSourceStop(source.id);
        }
        theAudioManager.Update();
        return sources.empty() ? SourceProbe{} : sources.back();
    }

    void ExpectSource(const SourceProbe& source, float gain, float pitch)
    {
        EXPECT_FLOAT_EQ(source.gain, gain);
        EXPECT_FLOAT_EQ(source.pitch, pitch);
    }

    TemporaryFolder folder;
};

}  // namespace

TEST_F(EventTableTest, FixedValuesApplyAndOnlyFloatMembersCount)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [
        {"name": "half", "file": "@/a.wav", "volume": 0.5, "pitch": 1.5},
        {"name": "whole", "file": "@/a.wav", "volume": 0, "pitch": 2, "looping": 1},
        {"name": "exact", "file": "@/a.wav", "volume": 0.5, "min_volume": 0.0, "max_volume": 0.01},
        {"name": "narrow", "file": "@/a.wav", "pitch": 0.75, "min_pitch": 0.5, "max_pitch": 0.505}
    ]})"));
    SetCrtRandState(1);
    RecordingErrorHandler errors;
    ExpectSource(Play("half"), 0.5f, 1.5f);
    // Whole numbers load as integers and leave the defaults; a non-boolean "looping" too.
    ExpectSource(Play("whole"), 1.0f, 1.0f);
    // A range of exactly 0.01 (or less) plays the fixed value.
    ExpectSource(Play("exact"), 0.5f, 1.0f);
    ExpectSource(Play("narrow"), 1.0f, 0.75f);
    // One sound per event and no range wide enough: not a single number was drawn.
    EXPECT_EQ(CrtRand(), 41);
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(EventTableTest, PlaysDrawChoiceVolumeAndPitchInThatOrder)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [
        {"name": "three", "file": ["@/a.wav", "@/b.wav", "@/c.wav"],
         "min_volume": 0.2, "max_volume": 0.8, "min_pitch": 0.5, "max_pitch": 1.5},
        {"name": "one", "file": "@/a.wav", "min_volume": 0.0, "max_volume": 0.02},
        {"name": "negative", "file": "@/a.wav", "volume": 0.3, "min_volume": -1.0,
         "max_volume": 0.9, "pitch": 1.25, "min_pitch": -2.0, "max_pitch": -0.5}
    ]})"));
    SetCrtRandState(1);
    // 41 % 3 picks the third sound, then 18467 and 6334 give volume and pitch.
    ExpectSource(Play("three", "c.wav"), Drawn(0.2f, 0.8f, 18467), Drawn(0.5f, 1.5f, 6334));
    // 26500 % 3 picks the second; 19169 and 15724 follow.
    ExpectSource(Play("three", "b.wav"), Drawn(0.2f, 0.8f, 19169), Drawn(0.5f, 1.5f, 15724));
    // One sound: no draw for the choice, so the next number goes to the volume (0.02 is drawn).
    ExpectSource(Play("one"), Drawn(0.0f, 0.02f, 11478), 1.0f);
    // Negative bounds stand for the fixed value: volume [0.3, 0.9) is drawn, pitch stays fixed.
    ExpectSource(Play("negative"), Drawn(0.3f, 0.9f, 29358), 1.25f);
}

TEST_F(EventTableTest, PerFileObjectsInheritWhatTheyDoNotSetThemselves)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [
        {"name": "inherit", "file": [{"name": "@/a.wav"}], "volume": 0.25, "pitch": 0.5},
        {"name": "own", "file": [{"name": "@/a.wav", "volume": 0.75, "pitch": 1.5}],
         "volume": 0.25, "pitch": 0.5},
        {"name": "range", "file": [{"name": "@/b.wav", "min_volume": 0.4}],
         "min_volume": 0.2, "max_volume": 0.8},
        {"name": "loop", "file": [{"name": "@/short.wav"}], "looping": true}
    ]})"));
    SetCrtRandState(1);
    ExpectSource(Play("inherit"), 0.25f, 0.5f);
    ExpectSource(Play("own"), 0.75f, 1.5f);
    ExpectSource(Play("range", "b.wav"), Drawn(0.4f, 0.8f, 41), 1.0f);
    // The event's looping flag applies to its per-file sounds: still there long after its end.
    EXPECT_EQ(theAudioManager.PlayEvent("t", "loop").audioHandle, HandleOf("short.wav"));
    PollUntil([] { return theAudioManager.Update(), false; }, 0.2);
    EXPECT_EQ(LiveSources().size(), 1u);
}

TEST_F(EventTableTest, TablesLoadOnceAndUnknownNamesPlayNothing)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [{"name": "e", "file": "@/a.wav"}]})"));
    ASSERT_TRUE(Load("empty", R"({"audio_events": []})"));
    SetCrtRandState(1);
    RecordingErrorHandler errors;
    // The second load of a name is refused and the first table stays as it was.
    EXPECT_FALSE(Load("t", R"({"audio_events": [{"name": "other", "file": "@/b.wav"}]})"));
    EXPECT_EQ(errors.messages,
              std::vector<std::string>{"EventTable \"t\" has already been loaded."});
    Play("e");
    // An event the table lacks is reported; a table never loaded is not. Neither plays or draws.
    EXPECT_EQ(theAudioManager.PlayEvent("empty", "e").channel, 0u);
    EXPECT_EQ(errors.Count("qmExternalError: AudioEvent with name \"e\" does not exist in table."),
              1);
    EXPECT_EQ(theAudioManager.PlayEvent("never", "e").channel, 0u);
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_TRUE(LiveSources().empty());
    EXPECT_EQ(CrtRand(), 41);
}

TEST_F(EventTableTest, MalformedTablesAreReportedAndLeaveNothingBehind)
{
    const std::string kNoArray =
        "qmDataError: Expected event table to have an array named: audio_events. Table: \"%s\"";
    const std::pair<const char*, std::string> cases[] = {
        {"[1, 2]",
         "qmDataError: Expected event table data to be a structure of information. Table: \"%s\""},
        {R"({"audio_events": 5})", kNoArray},
        {R"({"audio_events": [{"name": "ok", "file": "@/a.wav"}, {"file": "@/b.wav"}]})",
         "qmDataError: Expected each audio_event object to have a \"name\". Table: \"%s\""},
        {R"({"audio_events": [{"name": "ok", "file": "@/a.wav"}, {"name": "x"}]})",
         "qmDataError: Expected each audio_event object to have a \"file\". Table: \"%s\""},
    };
    for (const auto& [json, report] : cases)
    {
        RecordingErrorHandler errors;
        EXPECT_FALSE(Load("t", json));
        std::string expected = report;
        expected.replace(expected.find("%s"), 2, folder.File("t.json"));
        // Nothing was stored: the table's events do not exist, and its name is still free.
        EXPECT_EQ(theAudioManager.PlayEvent("t", "ok").channel, 0u);
        EXPECT_EQ(errors.messages, std::vector<std::string>{expected});
    }
}
