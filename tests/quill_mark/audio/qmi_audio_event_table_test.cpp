// SPDX-License-Identifier: Zlib
// Audio events as the game plays them: the event-table file's rules, the table reports, and the
// exact draws each play takes from the process-wide random sequence.
#include "quill_mark/audio/implementation/qmi_audio_event_table.h"

#include "audio_test_files.h"
#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_random.h"

using Strings = std::vector<std::string>;

namespace
{

float Drawn(float minimum, float maximum, int draw)
{
    return minimum + (maximum - minimum) * (static_cast<float>(draw) / 32768.0f);
}

TemporaryFolder folder;  // every test runs in a process of its own

// Loads the table with every "@" replaced by the test's folder.
bool Load(const std::string& table, std::string json)
{
    for (const char* name : {"a", "b", "c"})
        folder.Write(std::string(name) + ".wav", ToneFile(name[0] == 'c' ? 0.02 : 1.0));
    for (std::size_t at = json.find('@'); at != std::string::npos; at = json.find('@', at))
        json.replace(at, 1, folder.path.string());
    return theAudioManager.LoadEventTable(table, folder.Write(table + ".json", json));
}

AudioHandle HandleOf(const std::string& name)
{
    return theAudioManager.CreateSoundFromFile(folder.File(name + ".wav"));
}

}  // namespace

TEST(EventTable, PlaysTakeTheirDrawsInOrderAndOnlyFloatMembersCount)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [
        {"name": "half", "file": "@/a.wav", "volume": 0.5, "pitch": 1.5},
        {"name": "whole", "file": "@/a.wav", "volume": 0, "pitch": 2, "looping": 1},
        {"name": "exact", "file": "@/a.wav", "volume": 0.5, "min_volume": 0.0, "max_volume": 0.01},
        {"name": "narrow", "file": "@/a.wav", "pitch": 0.75, "min_pitch": 0.5, "max_pitch": 0.505},
        {"name": "inherit", "file": [{"name": "@/a.wav"}], "volume": 0.25, "pitch": 0.5},
        {"name": "own", "file": [{"name": "@/a.wav", "volume": 0.75, "pitch": 1.5}],
         "volume": 0.25, "pitch": 0.5},
        {"name": "three", "file": ["@/a.wav", "@/b.wav", "@/c.wav"],
         "min_volume": 0.2, "max_volume": 0.8, "min_pitch": 0.5, "max_pitch": 1.5},
        {"name": "one", "file": "@/a.wav", "min_volume": 0.0, "max_volume": 0.02},
        {"name": "negative", "file": "@/a.wav", "volume": 0.3, "min_volume": -1.0,
         "max_volume": 0.9, "pitch": 1.25, "min_pitch": -2.0, "max_pitch": -0.5},
        {"name": "range", "file": [{"name": "@/b.wav", "min_volume": 0.4}],
         "min_volume": 0.2, "max_volume": 0.8},
        {"name": "twice", "file": "@/a.wav"}, {"name": "twice", "file": "@/b.wav"}
    ]})"));
    const std::tuple<const char*, const char*, float, float> plays[] = {
        {"half", "a", 0.5f, 1.5f},
        {"whole", "a", 1.0f, 1.0f},    // integers (and a non-boolean "looping") are ignored
        {"exact", "a", 0.5f, 1.0f},    // a range of 0.01 or less plays the fixed value
        {"narrow", "a", 1.0f, 0.75f},  // ... and so far no number was drawn
        {"inherit", "a", 0.25f, 0.5f},
        {"own", "a", 0.75f, 1.5f},
        {"three", "c", Drawn(0.2f, 0.8f, 18467), Drawn(0.5f, 1.5f, 6334)},   // 41 % 3 = 2
        {"three", "b", Drawn(0.2f, 0.8f, 19169), Drawn(0.5f, 1.5f, 15724)},  // 26500 % 3 = 1
        {"one", "a", Drawn(0.0f, 0.02f, 11478), 1.0f},       // one sound: no draw for the choice
        {"negative", "a", Drawn(0.3f, 0.9f, 29358), 1.25f},  // a negative bound: the fixed value
        {"range", "b", Drawn(0.4f, 0.8f, 26962), 1.0f},
        {"twice", "a", 1.0f, 1.0f},  // one event of two sounds: 24464 % 2 = 0
        {"twice", "b", 1.0f, 1.0f},  // 5705 % 2 = 1
    };
    SetCrtRandState(1);
    RecordingErrorHandler errors;
    for (const auto& [event, file, gain, pitch] : plays)
    {
        SCOPED_TRACE(event);
        EXPECT_EQ(theAudioManager.PlayEvent("t", event).audioHandle, HandleOf(file));
        const auto sources = LiveSources();
        ASSERT_EQ(sources.size(), 1u);
        EXPECT_FLOAT_EQ(sources[0].gain, gain);
        EXPECT_FLOAT_EQ(sources[0].pitch, pitch);
        alSourceStop(sources[0].id);
        theAudioManager.Update();
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST(EventTable, AFullPlayerTableStillDrawsTheVolumeAndPitchOfAnEvent)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [{"name": "e", "file": ["@/a.wav", "@/b.wav"],
        "min_volume": 0.2, "max_volume": 0.8, "min_pitch": 0.5, "max_pitch": 1.5}]})"));
    for (std::size_t play = 0; play < theAudioManager.kMaximumActivePlayers; ++play)
        theAudioManager.PlaySound(HandleOf("a"), true);
    SetCrtRandState(1);
    EXPECT_EQ(theAudioManager.PlayEvent("t", "e").channel, 0u);
    // 41, 18467 and 6334 drawn whether or not the sound could start: the game's later spawns match.
    EXPECT_EQ(CrtRand(), 26500);
}

TEST(EventTable, AFailedOrRepeatedLoadStoresNothingAndUnknownNamesPlayNothing)
{
    ASSERT_TRUE(Load("t", R"({"audio_events": [{"name": "e", "file": "@/a.wav"},
        {"name": "loop", "file": [{"name": "@/c.wav"}], "looping": true}]})"));
    const std::string bad = "\"" + folder.File("bad.json") + "\"";
    const std::string structure =
        "qmDataError: Expected event table data to be a structure of information. Table: " + bad;
    const std::string array =
        "qmDataError: Expected event table to have an array named: audio_events. Table: " + bad;
    const std::pair<std::string, Strings> cases[] = {
        {"[1]", {structure}},
        {R"({"other": 1})", {array}},
        {R"({"audio_events": 5})", {array}},
        // The reader keeps no empty containers: these read as Nil, as a missing member does.
        {R"({"audio_events": []})", {array}},
        {R"({"audio_events": {}})", {array}},
        {R"({"audio_events": null})", {array}},
        {R"({"audio_events": [{"name": "e", "file": "@/a.wav"}, {"file": "@/a.wav"}]})",
         {"qmDataError: Expected each audio_event object to have a \"name\". Table: " + bad}},
        {R"({"audio_events": [{"name": "e"}]})",
         {"qmDataError: Expected each audio_event object to have a \"file\". Table: " + bad}},
    };
    // The same name every time: a table left behind would make the next load a second one.
    for (const auto& [json, reports] : cases)
    {
        RecordingErrorHandler errors;
        EXPECT_FALSE(Load("bad", json));
        EXPECT_EQ(errors.messages, reports) << json;
    }
    SetCrtRandState(1);
    RecordingErrorHandler errors;
    EXPECT_FALSE(Load("t", R"({"audio_events": [{"name": "other", "file": "@/b.wav"}]})"));
    EXPECT_EQ(theAudioManager.PlayEvent("t", "e").audioHandle, HandleOf("a"));
    // An event the table lacks is reported; a table never loaded is not. Neither plays or draws.
    EXPECT_EQ(theAudioManager.PlayEvent("t", "x").channel, 0u);
    EXPECT_EQ(theAudioManager.PlayEvent("bad", "e").channel, 0u);
    EXPECT_EQ(errors.messages,
              (Strings{"EventTable \"t\" has already been loaded.",
                       "qmExternalError: AudioEvent with name \"x\" does not exist in table."}));
    EXPECT_EQ(CrtRand(), 41);
    // A per-file object inherits the event's looping flag: still there long after its 0.02 s.
    EXPECT_EQ(theAudioManager.PlayEvent("t", "loop").audioHandle, HandleOf("c"));
    UpdateFor(0.2);
    EXPECT_EQ(LiveSources().size(), 2u);
}
