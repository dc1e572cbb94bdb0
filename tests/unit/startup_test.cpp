// The start-up sequence with a fake window, options store and save-file store; config files on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "../../resources/resource_ids.h"
#include "state/app_state.h"
#include "app/startup.h"
#include "config_fixtures.h"
#include "fake_file_store.h"
#include "fake_menu.h"
#include "fake_platform.h"
#include "fake_settings_store.h"
#include "platform/text.h"

namespace brennic {
namespace {

namespace fs = std::filesystem;

class FakeWindow : public StartupWindow {
public:
    std::vector<std::string> calls;
    test::FakeMenu bar;
    std::string foreignIcon;
    bool iconThrows = false;  // as when memory runs out in the last protected step

    void acceptDrops() override { calls.push_back("drops"); }
    void setOwnIcon() override { calls.push_back("own icon"); }
    void attachMenu() override { calls.push_back("menu"); }
    MenuView& menu() override { return bar; }
    void setForeignIcon(const std::string& exePath) override {
        calls.push_back("foreign icon");
        if (iconThrows) throw std::bad_alloc();
        foreignIcon = exePath;
    }
    void useOptionsPopup() override { calls.push_back("options popup"); }
    void createPages() override { calls.push_back("pages"); }
};

class StartupTest : public ::testing::Test {
protected:
    fs::path dir;
    AppState state;
    FakeWindow window;
    test::FakeMessageBoxes boxes;
    test::FakeSettingsStore store;
    test::FakeFileStore files;
    Windows1252 codePage;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("brennic-startup-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = dir / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    void start(const std::string& configPath) {
        StartupCommandLine line;
        line.tokens = {"C:\\Tools\\brennic.exe", configPath};
        runStartup(state, window, StartupServices{boxes, store, files, codePage}, line);
    }

    void expectNotReady() {
        EXPECT_FALSE(state.descriptionReady);
        EXPECT_TRUE(window.bar.enabled.empty());
        EXPECT_EQ(state.appExePath, "");
        EXPECT_EQ(window.foreignIcon, "");
        ASSERT_GE(window.calls.size(), 2u);
        EXPECT_EQ(window.calls[window.calls.size() - 2], "options popup");
        EXPECT_EQ(window.calls.back(), "pages");
    }
};

TEST(ConfigPath, FromTheCommandLine) {
    AppState state;
    StartupCommandLine line;
    line.tokens = {"C:\\Tools\\app.exe"};
    EXPECT_EQ(configPathFor(state, line), "C:\\Tools\\prog.vx");
    EXPECT_EQ(state.description.programsFolder, "C:\\Tools\\");

    line.tokens = {"C:\\Work\\app", "D:\\X\\cfg\\a.vx"};
    EXPECT_EQ(configPathFor(state, line), "D:\\X\\cfg\\a.vx");
    EXPECT_EQ(state.description.programsFolder, "C:\\Work\\");

    line.tokens = {"C:\\Tools\\app.exe", "cfg\\my file.vx", "ignored"};
    EXPECT_EQ(configPathFor(state, line), "cfg\\my file.vx");
}

TEST_F(StartupTest, AGoodConfigMakesTheDescriptionReady) {
    start(writeFile("prog.vx", test::sampleBytes()));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(state.descriptionReady);
    EXPECT_FALSE(state.savedStateValid);  // no save file
    EXPECT_EQ(window.bar.enabled, (std::set<int>{IDCMD_START, IDCMD_SAVE_APP_CONFIG, IDCMD_OPEN_PROGRAM_FOLDER}));
    EXPECT_EQ(state.saveFilePath, "C:\\Tools\\Conv\\conv.as");
    EXPECT_EQ(state.appExePath, "C:\\Tools\\Conv\\conv.exe");
    EXPECT_EQ(window.foreignIcon, "C:\\Tools\\Conv\\conv.exe");
    EXPECT_EQ(state.description.lists.size(), 2u);
    const std::vector<std::string> order = {"drops", "own icon", "menu", "foreign icon", "options popup", "pages"};
    EXPECT_EQ(window.calls, order);
    // Defaults in effect: "Hold console" and "Show warnings".
    EXPECT_EQ(window.bar.radio, IDCMD_HOLD_CONSOLE);
    EXPECT_TRUE(window.bar.checked[IDCMD_SHOW_WARNINGS]);
}

TEST_F(StartupTest, ConfigTextsAreReadInTheirStoredForm) {
    // Without the marker the texts are in the ANSI code page; with it, UTF-8 (a malformed byte shows as U+FFFD).
    ProgramDescription legacy = test::sampleTables();
    legacy.texts[kProgramFolderName] = "Caf\xe9";
    legacy.lists[0].label = "\x80 \x01";
    rawFromTables(legacy);
    start(writeFile("legacy.vx", writeConfig(legacy)));
    EXPECT_EQ(state.description.programFolderName(), "Caf\u00e9");
    EXPECT_EQ(state.description.lists[0].label, "\u20ac \x01");
    EXPECT_EQ(state.saveFilePath, "C:\\Tools\\Caf\u00e9\\conv.as");

    ProgramDescription marked = test::sampleTables();
    marked.header.reserved = kUtf8TextsMarker;
    marked.texts[kProgramFolderName] = "\u0434\u0430\u043d\u043d\u044b\u0435 \U0001F600";
    marked.lists[0].label = "Caf\xe9";
    rawFromTables(marked);
    state = AppState{};
    start(writeFile("marked.vx", writeConfig(marked)));
    EXPECT_EQ(state.description.programFolderName(), "\u0434\u0430\u043d\u043d\u044b\u0435 \U0001F600");
    EXPECT_EQ(state.description.lists[0].label, "Caf\uFFFD");
}

TEST_F(StartupTest, EveryConfigErrorIsShownOnceAndLeavesNoDescription) {
    std::vector<std::uint8_t> oldVersion = test::sampleBytes();
    oldVersion[6] = 0;
    oldVersion[7] = 0;
    std::vector<std::uint8_t> newVersion = test::sampleBytes();
    newVersion[6] = 6;
    std::vector<std::uint8_t> cut = test::sampleBytes();
    cut.pop_back();  // the last string's zero byte
    ProgramDescription damagedRaw = test::sampleRaw();
    damagedRaw.actionRecords[0].textCount = 3;

    struct Case {
        std::string path;
        const char* message;
        const char* reason;  // the line below the path
    } cases[] = {
        {(dir / "missing.vx").string(), "Load file error", "There is no such file"},
        {dir.string(), "Load file error", "It is a folder"},
        {writeFile("empty.vx", {}), "Empty file", "The file is 0 bytes long"},
        {writeFile("old.vx", oldVersion), "Can't load old config version",
         "The version is 0, and Brennic reads versions 1 to 5"},
        {writeFile("new.vx", newVersion), "Can't load new config version",
         "The version is 6, and Brennic reads versions 1 to 5"},
        {writeFile("cut.vx", cut), "Unexpected config end", "String 23 of 23 has no zero byte: the file ends first"},
        {writeFile("damaged.vx", writeConfig(damagedRaw)), "The config is damaged",
         "Action 1's text count is 3, and an action owns at most 2 strings"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        state = AppState{};
        window = FakeWindow{};
        boxes = test::FakeMessageBoxes{};
        start(c.path);
        ASSERT_EQ(boxes.shown.size(), 1u);
        // The first line is the message as it always was; the path and the reason follow.
        const std::string& text = boxes.shown[0].text;
        EXPECT_EQ(text.substr(0, text.find('\n')), c.message);
        EXPECT_EQ(text, std::string(c.message) + "\n\nConfig file: " + c.path + "\n" + c.reason);
        EXPECT_EQ(boxes.shown[0].caption, "Error");
        EXPECT_EQ(boxes.shown[0].style, kMbIconError);
        expectNotReady();
    }
}

TEST_F(StartupTest, AFailureAfterTheMenuWasEnabledGraysItAgain) {
    window.iconThrows = true;
    start(writeFile("prog.vx", test::sampleBytes()));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Unknown error");
    EXPECT_EQ(boxes.shown[0].caption, "Err");
    expectNotReady();
}

TEST_F(StartupTest, AFailureKeepsTheOptionsAndTheirMarksInEffect) {
    store.putDword("console opt ", 0);
    store.putDword("start sound", 1);
    store.putDword("show warn", 0);
    store.putDword("user dir", 1);
    store.putText("run app path", "E:\\Progs");
    start((dir / "missing.vx").string());
    expectNotReady();
    EXPECT_EQ(state.options.consoleOpt, 0u);
    EXPECT_EQ(window.bar.radio, IDCMD_HIDE_CONSOLE);
    EXPECT_TRUE(window.bar.checked[IDCMD_START_SOUND]);
    EXPECT_FALSE(window.bar.checked[IDCMD_SHOW_WARNINGS]);
    EXPECT_EQ(state.description.programsFolder, "E:\\Progs\\");
}

TEST_F(StartupTest, AChosenFolderIsUsedForTheSaveFileAndTheProgram) {
    store.putDword("user dir", 1);
    store.putText("run app path", "E:\\Progs");
    start(writeFile("prog.vx", test::sampleBytes()));
    EXPECT_TRUE(state.descriptionReady);
    EXPECT_EQ(state.saveFilePath, "E:\\Progs\\Conv\\conv.as");
    EXPECT_EQ(state.appExePath, "E:\\Progs\\Conv\\conv.exe");
}

TEST_F(StartupTest, AnUnreadableFolderTextFallsBackToTheProgramDirectoryWithMarksInEffect) {
    store.putDword("user dir", 1);
    store.putDword("console opt ", 1);
    store.putDword("path clr", 1);
    // "run app path" is missing.
    start(writeFile("prog.vx", test::sampleBytes()));
    EXPECT_TRUE(state.descriptionReady);
    EXPECT_EQ(state.options.userDir, 0u);
    EXPECT_EQ(state.saveFilePath, "C:\\Tools\\Conv\\conv.as");
    EXPECT_EQ(window.bar.radio, IDCMD_SHOW_CONSOLE);
    EXPECT_TRUE(window.bar.checked[IDCMD_PATH_AUTO_CLEAR]);
}

TEST_F(StartupTest, ASavedStateIsRestoredOrOfferedForRemoval) {
    const std::string config = writeFile("prog.vx", test::sampleBytes());
    // Page 1 in use on list 0, entry 1, nothing else.
    const std::string good("\x01\x00\x00\x00\x00\x00\x00\x01\x00\x00", 10);
    files.files["C:\\Tools\\Conv\\conv.as"] = good;
    start(config);
    EXPECT_TRUE(state.savedStateValid);
    EXPECT_EQ(state.slots[0].enabled, 1);
    EXPECT_EQ(state.slots[0].item, 1);
    EXPECT_TRUE(boxes.shown.empty());

    // Entry 5 of a two-entry list does not fit: the question, then start-up goes on.
    state = AppState{};
    window = FakeWindow{};
    const std::string bad("\x01\x00\x00\x00\x00\x00\x00\x05\x00\x00", 10);
    files.files["C:\\Tools\\Conv\\conv.as"] = bad;
    boxes.answers = {kIdNo};
    start(config);
    EXPECT_FALSE(state.savedStateValid);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Save file");
    EXPECT_TRUE(state.descriptionReady);
    EXPECT_EQ(window.bar.enabled.size(), 3u);
    EXPECT_EQ(files.files.count("C:\\Tools\\Conv\\conv.as"), 1u);
}

}  // namespace
}  // namespace brennic
