// Presets and recent runs: their files (round trip in any script, damage refused whole, versions), the stores'
// order and caps, and the Presets menu's commands over fakes.
#include <gtest/gtest.h>

#include <deque>

#include "../../resources/resource_ids.h"
#include "app/presets_commands.h"
#include "fake_file_store.h"
#include "fake_platform.h"
#include "persist/presets.h"
#include "persist/recent_runs.h"
#include "persist/record_file.h"
#include "persist/save_file.h"
#include "platform/text.h"
#include "state/app_state.h"

namespace brennic {
namespace {

using namespace std::string_literals;

class Field : public PageControls {
public:
    std::string text;
    std::string manualText() const override { return text; }
};

const std::string kSavePath = R"(D:\Tools\conv\conv.as)";
const std::string kPresetsPath = R"(D:\Tools\conv\conv.presets)";
const std::string kRunsPath = R"(D:\Tools\conv\conv.runs)";

TEST(RecordFile, EnvelopeChecksKindVersionLengthAndChecksum) {
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);  // the standard check value
    const std::string file = sealRecordFile("PRST", 1, "payload");
    ASSERT_EQ(file.size(), 16u + 7u + 4u);
    EXPECT_EQ(file.substr(0, 8), "BRNCPRST");
    EXPECT_EQ(openRecordFile(file, "PRST", 1).payload, "payload");
    EXPECT_EQ(openRecordFile(file, "PRST", 1).problem, "");

    EXPECT_NE(openRecordFile(file, "RUNS", 1).problem, "");  // another kind
    EXPECT_NE(openRecordFile(sealRecordFile("PRST", 2, "x"), "PRST", 1).problem.find("newer version"),
              std::string::npos);
    EXPECT_NE(openRecordFile(file + "x", "PRST", 1).problem, "");
    for (std::size_t at = 0; at < file.size(); ++at) {
        std::string flipped = file;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
        EXPECT_NE(openRecordFile(flipped, "PRST", 1).problem, "") << at;
        EXPECT_NE(openRecordFile(std::string_view(file).substr(0, at), "PRST", 1).problem, "") << at;
    }
}

TEST(PresetNames, AnyScriptUpToSixtyFourCharactersWithoutControls) {
    EXPECT_EQ(presetNameProblem("MP3 \xD0\xBA\xD0\xBE\xD0\xBD\xD0\xB2\xD0\xB5\xD1\x80\xD1\x82 \xE5\xA4\x89\xE6\x8F\x9B \xF0\x9F\x8E\xB5"), "");
    std::string sixtyFour(64, 'a');
    EXPECT_EQ(presetNameProblem(sixtyFour), "");
    EXPECT_NE(presetNameProblem(sixtyFour + "a"), "");
    // 32 emoji are 64 UTF-16 units, as the edit box counts them; one more does not fit.
    std::string emoji;
    for (int i = 0; i < 32; ++i) emoji += "\xF0\x9F\x98\x80";
    EXPECT_EQ(presetNameProblem(emoji), "");
    EXPECT_NE(presetNameProblem(emoji + "\xF0\x9F\x98\x80"), "");
    for (const std::string& bad : {""s, "   "s, "a\tb"s, "line\nbreak"s, "\xC3"s})
        EXPECT_NE(presetNameProblem(bad), "") << bad;
}

struct PresetStoreTest : ::testing::Test {
    test::FakeFileStore files;
    ArgumentSlots slots{};
    Field field1, field2, field3;
    PageControlsTable controls{&field1, &field2, &field3};
    PresetStore store;

    void SetUp() override { ASSERT_EQ(store.open(files, kPresetsPath), PresetStore::State::kReady); }
};

TEST_F(PresetStoreTest, RoundTripInAnyScriptNewestFirstAndReplacing) {
    const std::string cyrillic = "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB";               // Файл
    const std::string cjk = "C:\\\xE6\x96\x87\xE4\xBB\xB6\\\xF0\x9F\x8E\xB5.mp3";  // C:\文件\🎵.mp3
    slots[0] = {1, 1, 1, 0, 0, 2, cjk, ""};
    slots[1] = {1, 0, 1, 0, 3, 1, "", ""};
    field1.text = "-o \"" + cyrillic + "\"";
    field2.text = "-v";
    ASSERT_TRUE(store.save(files, cyrillic, slots, controls, 1000));
    EXPECT_EQ(slots[0].manualText, field1.text);  // taken as Ctrl+S takes it: the live field text
    slots[0].item = 1;
    field1.text.clear();
    ASSERT_TRUE(store.save(files, "plain", slots, controls, 2000));
    EXPECT_EQ(files.files.count(kPresetsPath + ".tmp"), 0u);

    PresetStore reread;
    ASSERT_EQ(reread.open(files, kPresetsPath), PresetStore::State::kReady);
    ASSERT_EQ(reread.presets().size(), 2u);
    EXPECT_EQ(reread.presets()[0].name, "plain");
    EXPECT_EQ(reread.presets()[1].name, cyrillic);
    EXPECT_EQ(reread.presets()[1].savedAt, 1000);
    const auto first = presetSlots(reread.presets()[1]);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ((*first)[0].path, cjk);
    EXPECT_EQ((*first)[0].manualText, "-o \"" + cyrillic + "\"");
    EXPECT_EQ((*first)[0].item, 2);
    EXPECT_EQ((*first)[1].group, 3);
    EXPECT_EQ((*first)[1].manualText, "-v");
    EXPECT_EQ((*first)[2].enabled, 0);

    // Saving under an existing name replaces it and makes it the newest.
    ASSERT_TRUE(store.save(files, cyrillic, slots, controls, 3000));
    ASSERT_TRUE(reread.open(files, kPresetsPath) == PresetStore::State::kReady);
    ASSERT_EQ(reread.presets().size(), 2u);
    EXPECT_EQ(reread.presets()[0].name, cyrillic);
    EXPECT_EQ(reread.presets()[0].savedAt, 3000);
    EXPECT_EQ((*presetSlots(reread.presets()[0]))[0].item, 1);

    ASSERT_TRUE(store.remove(files, "plain"));
    ASSERT_TRUE(reread.open(files, kPresetsPath) == PresetStore::State::kReady);
    ASSERT_EQ(reread.presets().size(), 1u);
    EXPECT_FALSE(store.remove(files, "plain"));
}

TEST_F(PresetStoreTest, AFailedWriteChangesNothing) {
    slots[0].enabled = 1;
    ASSERT_TRUE(store.save(files, "one", slots, controls, 1));
    const std::string before = files.files[kPresetsPath];
    files.replaceFails = true;
    EXPECT_FALSE(store.save(files, "two", slots, controls, 2));
    EXPECT_FALSE(store.remove(files, "one"));
    EXPECT_EQ(store.presets().size(), 1u);
    EXPECT_EQ(files.files[kPresetsPath], before);
    EXPECT_EQ(files.files.count(kPresetsPath + ".tmp"), 0u);
}

TEST_F(PresetStoreTest, DamageIsRefusedWholeKeptAndNeverWrittenOver) {
    slots[0].enabled = 1;
    ASSERT_TRUE(store.save(files, "a", slots, controls, 1));
    ASSERT_TRUE(store.save(files, "b", slots, controls, 2));
    const std::string good = files.files[kPresetsPath];

    // Payloads that a valid envelope carries but Brennic never writes.
    const std::string pages = "\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"s;
    auto payload = [&](std::uint16_t count, const std::vector<std::string>& names, const std::string& state,
                       const std::string& tail = {}) {
        ByteWriter out;
        out.u16(count);
        for (const std::string& name : names) {
            out.text16(name);
            out.i64(0);
            out.text32(state);
        }
        return sealRecordFile(kPresetsKind, kPresetsVersion, out.bytes() + tail);
    };
    const struct {
        const char* what;
        std::string bytes;
    } damaged[] = {
        {"cut", good.substr(0, good.size() - 1)},
        {"newer", sealRecordFile(kPresetsKind, 2, "")},
        {"duplicate name", payload(2, {"x", "x"}, pages)},
        {"empty name", payload(1, {""}, pages)},
        {"pages cut short", payload(1, {"x"}, "\x01\x00"s)},
        {"more announced than held", payload(3, {"x", "y"}, pages)},
        {"bytes after the last preset", payload(1, {"x"}, pages, "zz")},
        {"not UTF-8", payload(1, {"\xFF"s}, pages)},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.what);
        files.files[kPresetsPath] = d.bytes;
        PresetStore opened;
        ASSERT_EQ(opened.open(files, kPresetsPath), PresetStore::State::kDamaged);
        EXPECT_FALSE(opened.problem().empty());
        EXPECT_TRUE(opened.presets().empty());
        EXPECT_FALSE(opened.save(files, "new", slots, controls, 3));
        EXPECT_FALSE(opened.remove(files, "x"));
        EXPECT_EQ(files.files[kPresetsPath], d.bytes);  // kept exactly
    }
    PresetStore opened;
    ASSERT_EQ(opened.open(files, kPresetsPath), PresetStore::State::kDamaged);
    EXPECT_TRUE(opened.discardDamaged(files));  // only on the user's answer
    EXPECT_EQ(files.files.count(kPresetsPath), 0u);
    EXPECT_TRUE(opened.save(files, "new", slots, controls, 3));
}

StartedRun runOf(int n, std::uint32_t mode = 0) {
    StartedRun run;
    run.request.file = R"(D:\Tools\conv\conv.exe)";
    run.request.parameters = "-n " + std::to_string(n);
    run.request.directory = R"(D:\Tools\conv)";
    run.request.showCommand = mode == 1 ? kSwShow : kSwHide;
    run.consoleOpt = mode;
    run.line = "\"D:\\Tools\\conv\\conv.exe\" -n " + std::to_string(n);
    run.startedAt = 1700000000 + n;
    return run;
}

TEST(RecentRuns, NewestFirstCappedAtTwentyWithOutcomesAndReadBackExactly) {
    test::FakeFileStore files;
    RecentRuns runs(files);
    ASSERT_EQ(runs.open(kRunsPath), RecentRuns::State::kReady);
    std::vector<std::uint64_t> ids;
    for (int n = 1; n <= 25; ++n) ids.push_back(runs.runStarted(runOf(n, static_cast<std::uint32_t>(n % 4))));
    ASSERT_EQ(runs.runs().size(), kMaxRecentRuns);
    EXPECT_EQ(runs.runs().front().run, runOf(25, 1));
    EXPECT_EQ(runs.runs().back().run, runOf(6, 2));  // runs 1 to 5 dropped off
    EXPECT_NE(ids[0], 0u);

    runs.runEnded(ids[24], "exit code 0");
    runs.runEnded(ids[0], "exit code 3");  // no longer listed: nothing changes
    runs.runEnded(0, "exit code 4");
    EXPECT_EQ(runs.runs()[0].outcome, "exit code 0");
    EXPECT_EQ(runs.runs()[1].outcome, "");

    RecentRuns reread(files);
    ASSERT_EQ(reread.open(kRunsPath), RecentRuns::State::kReady);
    EXPECT_EQ(reread.runs(), runs.runs());
    EXPECT_EQ(reread.runs()[3].run.consoleOpt, 2u);  // run 22
    // Ids are this session's: a run of an earlier session is never matched by a new id.
    reread.runEnded(ids[24], "Stopped");
    EXPECT_EQ(reread.runs()[0].outcome, "exit code 0");

    EXPECT_TRUE(reread.clear());
    EXPECT_TRUE(reread.runs().empty());
    RecentRuns cleared(files);
    ASSERT_EQ(cleared.open(kRunsPath), RecentRuns::State::kReady);
    EXPECT_TRUE(cleared.runs().empty());
}

TEST(RecentRuns, DamagedFileIsKeptAndRunsAreHeldForTheSession) {
    test::FakeFileStore files;
    {
        RecentRuns runs(files);
        runs.open(kRunsPath);
        runs.runStarted(runOf(1));
    }
    std::string bytes = files.files[kRunsPath];
    bytes[20] = static_cast<char>(bytes[20] ^ 1);
    files.files[kRunsPath] = bytes;
    RecentRuns runs(files);
    ASSERT_EQ(runs.open(kRunsPath), RecentRuns::State::kDamaged);
    EXPECT_NE(runs.problem().find("checksum"), std::string::npos);
    runs.runStarted(runOf(2));
    EXPECT_EQ(runs.runs().size(), 1u);
    EXPECT_EQ(files.files[kRunsPath], bytes);
    EXPECT_TRUE(runs.discardDamaged());
    RecentRuns reread(files);
    ASSERT_EQ(reread.open(kRunsPath), RecentRuns::State::kReady);
    ASSERT_EQ(reread.runs().size(), 1u);  // the session's run, written once the file may be replaced
    EXPECT_EQ(reread.runs()[0].run, runOf(2));

    // A console mode no version writes is refused whole, as is a run without a program.
    for (std::uint32_t mode : {4u, 0xFFFFFFFFu}) {
        files.files[kRunsPath] = encodeRecentRuns({RecentRun{runOf(1, mode), ""}});
        EXPECT_EQ(reread.open(kRunsPath), RecentRuns::State::kDamaged) << mode;
    }
    StartedRun noFile = runOf(1);
    noFile.request.file.clear();
    files.files[kRunsPath] = encodeRecentRuns({RecentRun{noFile, ""}});
    EXPECT_EQ(reread.open(kRunsPath), RecentRuns::State::kDamaged);
}

TEST(RecentRuns, MenuCaptionShowsTimeModeOutcomeAndEscapesAmpersands) {
    RecentRun run{runOf(1, 3), "exit code 2"};
    run.run.line = "conv.exe a&b";
    EXPECT_EQ(recentRunCaption(run, "2026-12-08 12:00"),
              "2026-12-08 12:00   conv.exe a&&b   (output window, exit code 2)");
    // A long line keeps the program's start and the arguments at its end; a character is never split.
    run.run.line = "\"C:\\" + std::string(60, 'p') + "\\conv.exe\" -i \xE2\x82\xAC.txt";
    run.outcome.clear();
    run.run.consoleOpt = 2;
    const std::string caption = recentRunCaption(run, "t", 40);
    EXPECT_EQ(caption, "t   \"C:\\ppppppppp...pppppppp\\conv.exe\" -i \xE2\x82\xAC.txt   (console held)");
    EXPECT_TRUE(isUtf8(recentRunCaption(run, "t", 23)));
}

// ---- the Presets menu ----------------------------------------------------------------------------------

class FakePresetsWindow : public PresetsWindow {
public:
    std::deque<std::optional<std::string>> names;  // answers of the name dialog, in order
    std::vector<std::string> initialNames;
    std::optional<std::string> chosen;
    std::vector<PresetsMenuItem> presetItems, runItems;
    int restores = 0;

    std::optional<std::string> askPresetName(const std::string& initial) override {
        initialNames.push_back(initial);
        if (names.empty()) return std::nullopt;
        auto answer = names.front();
        names.pop_front();
        return answer;
    }
    std::optional<std::string> choosePreset(const std::vector<std::string>&) override { return chosen; }
    void showRestoredPages() override { ++restores; }
    void setPresetItems(const std::vector<PresetsMenuItem>& items) override { presetItems = items; }
    void setRecentRunItems(const std::vector<PresetsMenuItem>& items) override { runItems = items; }
    std::string localTimeText(std::int64_t seconds) override { return "T" + std::to_string(seconds); }
    std::int64_t now() override { return 42; }
};

class Host : public CommandHost {
public:
    std::vector<StartedRun> runs;
    void exitProgram() override {}
    void startProgram() override {}
    void startRun(const StartedRun& run) override { runs.push_back(run); }
    bool writeSaveFile() override { return true; }
    bool browseFolder(std::string&, const std::string&) override { return false; }
    void forwardToPage(std::uint32_t) override {}
    void commandChanged() override {}
};

// Two lists: list 0 = {a -> list 1, b ends}, list 1 = {c}; tables as built.
ProgramDescription builtDescription() {
    ProgramDescription d;
    ActionEntry a, b, c;
    a.flags = 1;
    a.nextList = 1;
    d.actions = {a, b, c};
    d.lists.resize(2);
    d.lists[0].entries = {0, 1};
    d.lists[1].entries = {2};
    d.header.listCount = 2;
    return d;
}

struct PresetCommandsTest : ::testing::Test {
    AppState state;
    test::FakeMessageBoxes boxes;
    test::FakeFileStore files;
    FakePresetsWindow window;
    Host host;
    PresetCommands commands{state, boxes, files, window, host};
    Field field1, field2, field3;

    void SetUp() override {
        state.description = builtDescription();
        state.descriptionReady = true;
        state.saveFilePath = kSavePath;
        state.pageControls = {&field1, &field2, &field3};
        state.slots[0] = {1, 0, 0, 0, 0, 0, "", ""};
        state.slots[1] = {1, 0, 0, 0, 1, 0, "", ""};
        commands.sync();
    }
    void savePreset(const std::string& name) {
        window.names.push_back(name);
        ASSERT_TRUE(commands.handle(IDCMD_SAVE_PRESET));
    }
};

TEST_F(PresetCommandsTest, SaveRestoreAndAnExistingNameAsksFirst) {
    EXPECT_EQ(window.presetItems, (std::vector<PresetsMenuItem>{{IDCMD_PRESET_NONE, "(no presets)", true}}));
    savePreset("a & b");
    state.slots[0].item = 1;  // b: ends the chain
    state.slots[1] = {};
    savePreset("second");
    ASSERT_EQ(window.presetItems.size(), 2u);
    EXPECT_EQ(window.presetItems[0], (PresetsMenuItem{IDCMD_PRESET_FIRST, "second", false}));
    EXPECT_EQ(window.presetItems[1], (PresetsMenuItem{IDCMD_PRESET_FIRST + 1, "a && b", false}));
    EXPECT_TRUE(files.files.count(kPresetsPath));

    // The same name again: No asks for another name (the dialog shows the refused one), Yes replaces.
    window.names = {std::string("second"), std::string("second")};
    boxes.answers = {kIdNo, kIdYes};
    ASSERT_TRUE(commands.handle(IDCMD_SAVE_PRESET));
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "A preset named \"second\" exists. Replace it?");
    EXPECT_EQ(window.initialNames.back(), "second");
    EXPECT_EQ(commands.presets().presets().size(), 2u);

    // A name that cannot be one is explained, and the dialog comes back.
    boxes.shown.clear();
    window.names = {std::string(65, 'n'), std::nullopt};
    ASSERT_TRUE(commands.handle(IDCMD_SAVE_PRESET));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(commands.presets().presets().size(), 2u);

    ASSERT_TRUE(commands.handle(IDCMD_PRESET_FIRST + 1));  // "a & b"
    EXPECT_EQ(window.restores, 1);
    EXPECT_EQ(state.slots[0].item, 0);
    EXPECT_EQ(state.slots[1].enabled, 1);
    EXPECT_TRUE(state.savedStateValid);

    // Delete: the chosen preset goes after Yes, and only then.
    boxes.shown.clear();
    window.chosen = "second";
    boxes.answers = {kIdNo, kIdYes};
    commands.handle(IDCMD_DELETE_PRESET);
    EXPECT_EQ(commands.presets().presets().size(), 2u);
    commands.handle(IDCMD_DELETE_PRESET);
    ASSERT_EQ(commands.presets().presets().size(), 1u);
    EXPECT_EQ(boxes.shown[1].text, "Delete the preset \"second\"?");
    EXPECT_EQ(window.presetItems[0], (PresetsMenuItem{IDCMD_PRESET_FIRST, "a && b", false}));
}

TEST_F(PresetCommandsTest, APresetThatNoLongerFitsIsGrayedAndNeverRestoredHalf) {
    savePreset("two pages");
    // The config changed: list 0's first entry no longer leads on.
    state.description.actions[0].flags = 0;
    commands.refreshMenu();
    ASSERT_EQ(window.presetItems.size(), 1u);
    EXPECT_TRUE(window.presetItems[0].grayed);
    EXPECT_EQ(window.presetItems[0].text, "two pages   (no longer fits the config)");

    const ArgumentSlots before = state.slots;
    state.slots[0].manualText = "kept";
    ASSERT_TRUE(commands.handle(IDCMD_PRESET_FIRST));  // the command can still arrive (an old menu)
    EXPECT_EQ(window.restores, 0);
    EXPECT_EQ(state.slots[0].manualText, "kept");
    EXPECT_EQ(state.slots[1].enabled, before[1].enabled);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("argument 2 no longer follows"), std::string::npos) << boxes.shown[0].text;
}

TEST_F(PresetCommandsTest, DamagedPresetsFileIsReportedKeptAndRemovedOnlyOnYes) {
    files.files[R"(E:\p\conv.presets)"] = "BRNCPRST garbage";
    state.saveFilePath = R"(E:\p\conv.as)";  // another programs folder: the files are opened again
    boxes.answers = {kIdNo};
    commands.sync();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Presets");
    EXPECT_NE(boxes.shown[0].text.find(R"(E:\p\conv.presets)"), std::string::npos);
    EXPECT_EQ(boxes.shown[0].style, kMbYesNo | kMbIconExclamation | kMbDefButton2);
    EXPECT_TRUE(window.presetItems[0].grayed);
    EXPECT_EQ(window.presetItems[0].text.rfind("(presets file damaged", 0), 0u);

    // Saving asks again; No keeps the file and saves nothing over it.
    boxes.answers = {kIdNo};
    window.names.push_back(std::string("x"));
    commands.handle(IDCMD_SAVE_PRESET);
    EXPECT_EQ(files.files[R"(E:\p\conv.presets)"], "BRNCPRST garbage");
    EXPECT_EQ(window.initialNames.size(), 0u);

    boxes.answers = {kIdYes};
    commands.handle(IDCMD_SAVE_PRESET);
    EXPECT_EQ(window.initialNames.size(), 1u);
    EXPECT_EQ(commands.presets().presets().size(), 1u);
}

TEST_F(PresetCommandsTest, RecentRunStartsExactlyAgainAfterConfirmationAndClears) {
    commands.runStarted(runOf(1, 2));
    commands.runStarted(runOf(2, 3));
    ASSERT_EQ(window.runItems.size(), 2u);
    EXPECT_EQ(window.runItems[0].id, IDCMD_RECENT_RUN_FIRST);
    EXPECT_EQ(window.runItems[0].text.rfind("T1700000002   ", 0), 0u);

    boxes.answers = {kIdNo, kIdYes};
    const ArgumentSlots pages = state.slots;
    commands.handle(IDCMD_RECENT_RUN_FIRST + 1);
    EXPECT_TRUE(host.runs.empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(runOf(1, 2).line), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("console held"), std::string::npos);
    commands.handle(IDCMD_RECENT_RUN_FIRST + 1);
    ASSERT_EQ(host.runs.size(), 1u);
    EXPECT_EQ(host.runs[0], runOf(1, 2));
    EXPECT_EQ(state.slots[0].item, pages[0].item);

    commands.handle(IDCMD_CLEAR_RECENT_RUNS);
    EXPECT_EQ(window.runItems, (std::vector<PresetsMenuItem>{{IDCMD_RECENT_RUN_NONE, "(none)", true}}));
    RecentRuns reread(files);
    reread.open(kRunsPath);
    EXPECT_TRUE(reread.runs().empty());
}

}  // namespace
}  // namespace brennic
