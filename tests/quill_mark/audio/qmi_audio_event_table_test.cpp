// Audio events as the game plays them: the event-table file's rules (which members count, what a
// negative bound means, what a per-file object inherits), the report for each malformed table,
// and the exact draws each play takes from the process-wide random sequence.
#include "quill_mark/audio/implementation/qmi_audio_event_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_test_files.h"
#include "openal_probe.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/qmi_crt_rand.h"
#include "support/recording_error_handler.h"

using Quillmark::Audio::AudioController;
using Quillmark::Audio::AudioHandle;
using Quillmark::Audio::theAudioManager;
using QuillmarkTest::LiveSources;
using QuillmarkTest::RecordingErrorHandler;

namespace
{

constexpr float kStep = 1.0f / 32768.0f;

// The value a play draws from [minimum, maximum) with the given 15-bit draw.
float Drawn(float minimum, float maximum, int draw)
{
    return minimum + (maximum - minimum) * (static_cast<float>(draw) * kStep);
}

class EventTableTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"a", "b", "c"})
        {
            folder.Write(std::string(name) + ".wav", QuillmarkTest::ToneFile(1.0));
        }
        folder.Write("short.wav", QuillmarkTest::ToneFile(0.02));
    }

    // Writes the table with every "@" replaced by the test's folder and loads it.
    bool Load(const std::string& tableName, std::string json)
    {
        for (std::size_t at = json.find('@'); at != std::string::npos; at = json.find('@', at))
        {
            json.replace(at, 1, folder.path.string());
        }
        return theAudioManager.LoadEventTable(tableName, folder.Write(tableName + ".json", json));
    }

    AudioHandle HandleOf(const char* name)
    {
        return theAudioManager.CreateSoundFromFile(folder.File(name));
    }

    // Plays the event alone and gives what its source was set to; the play is released after.
    QuillmarkTest::SourceProbe PlayAlone(const std::string& table, const std::string& event)
    {
        const AudioController controller = theAudioManager.PlayEvent(table, event);
        const auto sources = LiveSources();
        EXPECT_NE(controller.channel, 0u);
        EXPECT_EQ(sources.size(), 1u);
        StopAll();
        return sources.empty() ? QuillmarkTest::SourceProbe{} : sources.back();
    }

    void StopAll()
    {
        for (const auto& source : LiveSources())
        {
            alSourceStop(source.id);
        }
        theAudioManager.Update();
    }

    QuillmarkTest::TemporaryFolder folder;
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

    const auto half = PlayAlone("t", "half");
    EXPECT_FLOAT_EQ(half.gain, 0.5f);
    EXPECT_FLOAT_EQ(half.pitch, 1.5f);
    // Whole numbers load as integers and leave the defaults; a non-boolean "looping" too.
    const auto whole = PlayAlone("t", "whole");
    EXPECT_FLOAT_EQ(whole.gain, 1.0f);
    EXPECT_FLOAT_EQ(whole.pitch, 1.0f);
    // A range of exactly 0.01 (or less) plays the fixed value.
    EXPECT_FLOAT_EQ(PlayAlone("t", "exact").gain, 0.5f);
    EXPECT_FLOAT_EQ(PlayAlone("t", "narrow").pitch, 0.75f);

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
        {"name": "negative", "file": "@/b.wav", "volume": 0.3, "min_volume": -1.0,
         "max_volume": 0.9, "pitch": 1.25, "min_pitch": -2.0, "max_pitch": -0.5}
    ]})"));
    SetCrtRandState(1);

    // 41 % 3 picks the third sound, then 18467 and 6334 give volume and pitch.
    AudioController controller = theAudioManager.PlayEvent("t", "three");
    EXPECT_EQ(controller.audioHandle, HandleOf("c.wav"));
    auto source = LiveSources().at(0);
    EXPECT_FLOAT_EQ(source.gain, Drawn(0.2f, 0.8f, 18467));
    EXPECT_FLOAT_EQ(source.pitch, Drawn(0.5f, 1.5f, 6334));
    StopAll();

    // 26500 % 3 picks the second; 19169 and 15724 follow.
    controller = theAudioManager.PlayEvent("t", "three");
    EXPECT_EQ(controller.audioHandle, HandleOf("b.wav"));
    source = LiveSources().at(0);
    EXPECT_FLOAT_EQ(source.gain, Drawn(0.2f, 0.8f, 19169));
    EXPECT_FLOAT_EQ(source.pitch, Drawn(0.5f, 1.5f, 15724));
    StopAll();

    // One sound: no draw for the choice, so the next number goes to the volume (0.02 is drawn).
    EXPECT_FLOAT_EQ(PlayAlone("t", "one").gain, Drawn(0.0f, 0.02f, 11478));
    // Negative bounds stand for the fixed value: volume [0.3, 0.9) is drawn, pitch stays fixed.
    source = PlayAlone("t", "negative");
    EXPECT_FLOAT_EQ(source.gain, Drawn(0.3f, 0.9f, 29358));
    EXPECT_FLOAT_EQ(source.pitch, 1.25f);
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

    auto source = PlayAlone("t", "inherit");
    EXPECT_FLOAT_EQ(source.gain, 0.25f);
    EXPECT_FLOAT_EQ(source.pitch, 0.5f);
    source = PlayAlone("t", "own");
    EXPECT_FLOAT_EQ(source.gain, 0.75f);
    EXPECT_FLOAT_EQ(source.pitch, 1.5f);
    EXPECT_FLOAT_EQ(PlayAlone("t", "range").gain, Drawn(0.4f, 0.8f, 41));

    // The event's looping flag applies to its per-file sounds: still there long after its end.
    const AudioController loop = theAudioManager.PlayEvent("t", "loop");
    QuillmarkTest::RepeatFor(0.2, [] { theAudioManager.Update(); });
    ASSERT_EQ(LiveSources().size(), 1u);
    EXPECT_EQ(loop.audioHandle, HandleOf("short.wav"));
}

TEST_F(EventTableTest, ElementsOfOneNameMakeOneEventAndNamesAreReadAsText)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [
        {"name": 7, "file": "@/a.wav"},
        {"name": "7", "file": "@/b.wav", "volume": 0.5}
    ]})"));
    SetCrtRandState(1);
    // Two sounds now: 41 % 2 picks the second, which keeps its own volume.
    const AudioController controller = theAudioManager.PlayEvent("t", "7");
    EXPECT_EQ(controller.audioHandle, HandleOf("b.wav"));
    EXPECT_FLOAT_EQ(LiveSources().at(0).gain, 0.5f);
    StopAll();
    EXPECT_EQ(theAudioManager.PlayEvent("t", "7").audioHandle, HandleOf("b.wav"));  // 18467 % 2
    StopAll();
    EXPECT_EQ(theAudioManager.PlayEvent("t", "7").audioHandle, HandleOf("a.wav"));  // 6334 % 2
}

TEST_F(EventTableTest, MalformedTablesAreReportedAndLeaveNothingBehind)
{
    const std::string kNotStructure =
        "qmDataError: Expected event table data to be a structure of information. Table: \"%s\"";
    const std::string kNoArray =
        "qmDataError: Expected event table to have an array named: audio_events. Table: \"%s\"";
    const std::pair<const char*, std::string> cases[] = {
        {"[1, 2]", kNotStructure},
        {R"({"audio_events": 5})", kNoArray},
        {R"({"events": [1]})", kNoArray},
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
        EXPECT_EQ(errors.messages, std::vector<std::string>{expected.replace(
                                       expected.find("%s"), 2, folder.File("t.json"))});
        // Nothing was stored: the table's events do not exist, and its name is still free.
        EXPECT_EQ(theAudioManager.PlayEvent("t", "ok").channel, 0u);
        EXPECT_EQ(errors.messages.size(), 1u);
    }
    // Sounds met before a fault stay loaded: a.wav kept the first handle.
    EXPECT_EQ(HandleOf("a.wav"), 1u);
    // A file that does not exist is reported by the JSON reader and then as not a structure.
    RecordingErrorHandler errors;
    EXPECT_FALSE(theAudioManager.LoadEventTable("t", folder.File("missing.json")));
    EXPECT_EQ(errors.messages.size(), 2u);
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
    EXPECT_EQ(theAudioManager.PlayEvent("t", "e").audioHandle, HandleOf("a.wav"));
    StopAll();

    // An event the table lacks is reported; a table never loaded is not. Neither plays or draws.
    const AudioController absent = theAudioManager.PlayEvent("empty", "e");
    EXPECT_EQ(errors.Count("qmExternalError: AudioEvent with name \"e\" does not exist in table."),
              1);
    const AudioController unknown = theAudioManager.PlayEvent("never", "e");
    EXPECT_EQ(errors.messages.size(), 2u);
    for (const AudioController& controller : {absent, unknown})
    {
        EXPECT_EQ(controller.audioHandle, 0u);
        EXPECT_EQ(controller.channel, 0u);
    }
    EXPECT_TRUE(LiveSources().empty());
    EXPECT_EQ(CrtRand(), 41);
}

TEST_F(EventTableTest, AFullHouseStillTakesTheEventsDraws)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [{"name": "three",
        "file": ["@/a.wav", "@/b.wav", "@/c.wav"], "min_volume": 0.2, "max_volume": 0.8,
        "min_pitch": 0.5, "max_pitch": 1.5}]})"));
    const AudioHandle a = HandleOf("a.wav");
    for (int i = 0; i < 16; ++i)
    {
        theAudioManager.PlaySound(a, true);
    }
    SetCrtRandState(1);
    RecordingErrorHandler errors;
    const AudioController dropped = theAudioManager.PlayEvent("t", "three");
    EXPECT_EQ(dropped.channel, 0u);
    EXPECT_EQ(CrtRand(), 26500);
    EXPECT_TRUE(errors.messages.empty());
}
