// The main window's commands: menu marks, options, folder choice, forwarding and the guard.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "../../resources/resource_ids.h"
#include "state/app_state.h"
#include "app/commands.h"
#include "fake_menu.h"
#include "fake_platform.h"
#include "fake_settings_store.h"

namespace brennic {
namespace {

class FakeHost : public CommandHost {
public:
    int exits = 0;
    int starts = 0;
    int saveFiles = 0;
    std::vector<std::uint32_t> forwarded;
    bool chooseFolder = false;
    std::string chosenFolder;
    std::string preselected;
    std::string title;
    bool throwOnStart = false;

    void exitProgram() override { ++exits; }
    void startProgram() override {
        if (throwOnStart) throw std::runtime_error("boom");
        ++starts;
    }
    void startRun(const StartedRun& run) override { runs.push_back(run); }
    std::vector<StartedRun> runs;
    bool saveSucceeds = true;
    bool writeSaveFile() override {
        ++saveFiles;
        return saveSucceeds;
    }
    bool browseFolder(std::string& folder, const std::string& caption) override {
        preselected = folder;
        title = caption;
        if (chooseFolder) folder = chosenFolder;
        return chooseFolder;
    }
    void forwardToPage(std::uint32_t wParam) override { forwarded.push_back(wParam); }
    void commandChanged() override { ++commandChanges; }
    int commandChanges = 0;
};

class CommandsTest : public ::testing::Test {
protected:
    AppState state;
    test::FakeMenu menu;
    test::FakeMessageBoxes boxes;
    test::FakeShell shell;
    test::FakeSettingsStore store;
    FakeHost host;
    CommandContext context{state, menu, boxes, shell, store, host};

    void run(int id, std::uint32_t notification = 0) {
        dispatchCommand(context, id, (notification << 16) | static_cast<std::uint32_t>(id));
    }
};

TEST(ApplyOptionsToMenu, MarksFollowTheValuesInEffect) {
    test::FakeMenu menu;
    AppOptions options;
    applyOptionsToMenu(options, menu);
    EXPECT_FALSE(menu.checked[IDCMD_START_SOUND]);
    EXPECT_FALSE(menu.checked[IDCMD_PATH_AUTO_CLEAR]);
    EXPECT_FALSE(menu.checked[IDCMD_MANUAL_AUTO_CLEAR]);
    EXPECT_TRUE(menu.checked[IDCMD_SHOW_WARNINGS]);
    EXPECT_EQ(menu.radio, IDCMD_HOLD_CONSOLE);
    EXPECT_EQ(menu.radioFirst, IDCMD_HIDE_CONSOLE);
    EXPECT_EQ(menu.radioLast, IDCMD_OUTPUT_WINDOW);

    options.consoleOpt = 0;
    options.startSound = 1;
    options.pathClr = 1;
    options.margsClr = 1;
    options.showWarn = 0;
    applyOptionsToMenu(options, menu);
    EXPECT_TRUE(menu.checked[IDCMD_START_SOUND]);
    EXPECT_TRUE(menu.checked[IDCMD_PATH_AUTO_CLEAR]);
    EXPECT_TRUE(menu.checked[IDCMD_MANUAL_AUTO_CLEAR]);
    EXPECT_FALSE(menu.checked[IDCMD_SHOW_WARNINGS]);
    EXPECT_EQ(menu.radio, IDCMD_HIDE_CONSOLE);

    options.consoleOpt = 1;
    applyOptionsToMenu(options, menu);
    EXPECT_EQ(menu.radio, IDCMD_SHOW_CONSOLE);
    options.consoleOpt = 3;
    applyOptionsToMenu(options, menu);
    EXPECT_EQ(menu.radio, IDCMD_OUTPUT_WINDOW);
}

TEST_F(CommandsTest, ExitAndConsoleModes) {
    run(IDCMD_EXIT);
    EXPECT_EQ(host.exits, 1);

    run(IDCMD_HIDE_CONSOLE);
    EXPECT_EQ(state.options.consoleOpt, 0u);
    EXPECT_EQ(menu.radio, IDCMD_HIDE_CONSOLE);
    run(IDCMD_SHOW_CONSOLE);
    EXPECT_EQ(state.options.consoleOpt, 1u);
    EXPECT_EQ(menu.radio, IDCMD_SHOW_CONSOLE);
    run(IDCMD_HOLD_CONSOLE);
    EXPECT_EQ(state.options.consoleOpt, 2u);
    EXPECT_EQ(menu.radio, IDCMD_HOLD_CONSOLE);
    run(IDCMD_OUTPUT_WINDOW);
    EXPECT_EQ(state.options.consoleOpt, 3u);
    EXPECT_EQ(menu.radio, IDCMD_OUTPUT_WINDOW);
    EXPECT_EQ(menu.radioLast, IDCMD_OUTPUT_WINDOW);
    EXPECT_EQ(host.commandChanges, 4);  // the preview follows every mode change
}

// Every way out (menu, close box, Alt+F4, Escape) arrives as IDCMD_EXIT.
TEST_F(CommandsTest, KeepPagesAtExitWritesThePagesAndAFailedWriteAsksBeforeClosing) {
    state.descriptionReady = true;
    run(IDCMD_EXIT);  // off by default: nothing is written
    EXPECT_EQ(host.saveFiles, 0);
    EXPECT_EQ(host.exits, 1);

    run(IDCMD_KEEP_PAGES_AT_EXIT);
    run(IDCMD_EXIT);
    EXPECT_EQ(host.saveFiles, 1);
    EXPECT_EQ(host.exits, 2);
    EXPECT_TRUE(boxes.shown.empty());

    host.saveSucceeds = false;
    boxes.answers = {kIdNo, kIdYes};
    run(IDCMD_EXIT);  // No: Brennic stays open with the pages as they are
    EXPECT_EQ(host.exits, 2);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, kExitUnsavedQuestion);
    EXPECT_EQ(boxes.shown[0].style, kMbYesNo | kMbIconExclamation | kMbDefButton2);
    run(IDCMD_EXIT);  // Yes: closes without the pages
    EXPECT_EQ(host.exits, 3);
    EXPECT_EQ(host.saveFiles, 3);

    state.descriptionReady = false;  // nothing to keep without a description
    run(IDCMD_EXIT);
    EXPECT_EQ(host.saveFiles, 3);
    EXPECT_EQ(host.exits, 4);
}

TEST_F(CommandsTest, TogglingTwiceRestoresValueAndMark) {
    struct Toggle {
        int id;
        std::uint32_t AppOptions::*field;
    } toggles[] = {{IDCMD_SHOW_WARNINGS, &AppOptions::showWarn},
                   {IDCMD_PATH_AUTO_CLEAR, &AppOptions::pathClr},
                   {IDCMD_MANUAL_AUTO_CLEAR, &AppOptions::margsClr},
                   {IDCMD_START_SOUND, &AppOptions::startSound},
                   {IDCMD_KEEP_PAGES_AT_EXIT, &AppOptions::keepPagesAtExit}};
    for (const Toggle& t : toggles) {
        const std::uint32_t before = state.options.*t.field;
        run(t.id);
        EXPECT_EQ(state.options.*t.field, before ^ 1u) << t.id;
        EXPECT_EQ(menu.checked[t.id], (before ^ 1u) == 1u) << t.id;
        run(t.id);
        EXPECT_EQ(state.options.*t.field, before) << t.id;
        EXPECT_EQ(menu.checked[t.id], before == 1u) << t.id;
    }
}

TEST_F(CommandsTest, ManualAutoClearEmptiesAllSlotsOnlyWhenSwitchedOn) {
    for (ArgumentSlot& slot : state.slots) slot.manualText = "-v";
    run(IDCMD_MANUAL_AUTO_CLEAR);
    for (const ArgumentSlot& slot : state.slots) EXPECT_EQ(slot.manualText, "");

    for (ArgumentSlot& slot : state.slots) slot.manualText = "-q";
    run(IDCMD_MANUAL_AUTO_CLEAR);  // off again
    for (const ArgumentSlot& slot : state.slots) EXPECT_EQ(slot.manualText, "-q");
}

TEST_F(CommandsTest, SaveConfigWritesTheOptionsAndSaveAppConfigNeedsADescription) {
    state.options.consoleOpt = 0;
    run(IDCMD_SAVE_CONFIG);
    EXPECT_EQ(store.values.size(), 7u);  // the hidden console says it is not the output window
    EXPECT_EQ(store.dword("console opt "), 0u);
    EXPECT_EQ(store.dword("output window"), 0u);

    run(IDCMD_SAVE_APP_CONFIG);
    EXPECT_EQ(host.saveFiles, 0);
    state.descriptionReady = true;
    run(IDCMD_SAVE_APP_CONFIG, 1);
    EXPECT_EQ(host.saveFiles, 1);
}

TEST_F(CommandsTest, ProgramsFolderChosenOrCancelled) {
    state.description.texts[kProgramFolderName] = "Tool";
    state.description.texts[kExecutableName] = "tool.exe";
    state.description.programsFolder = "C:\\Start\\";
    state.saveFilePath = "C:\\Start\\Tool\\tool.as";
    state.options.runAppPath = "C:\\Before";

    host.chooseFolder = true;
    host.chosenFolder = "D:\\Mine";
    run(IDCMD_PROGRAMS_FOLDER);
    EXPECT_EQ(host.title, "Select folder for running programs.");
    EXPECT_EQ(host.preselected, "C:\\Before");
    EXPECT_EQ(state.options.userDir, 1u);
    EXPECT_EQ(state.options.runAppPath, "D:\\Mine");
    EXPECT_EQ(state.description.programsFolder, "D:\\Mine\\");
    EXPECT_EQ(state.saveFilePath, "D:\\Mine\\Tool\\tool.as");
    EXPECT_EQ(host.commandChanges, 1);  // a new program file for the preview

    // A cancel (also a virtual folder or one that does not fit) clears the option, keeps the folder in use.
    host.chooseFolder = false;
    run(IDCMD_PROGRAMS_FOLDER);
    EXPECT_EQ(state.options.userDir, 0u);
    EXPECT_EQ(state.options.runAppPath, "D:\\Mine");
    EXPECT_EQ(state.description.programsFolder, "D:\\Mine\\");
    EXPECT_EQ(state.saveFilePath, "D:\\Mine\\Tool\\tool.as");
    EXPECT_EQ(host.commandChanges, 1);
}

TEST_F(CommandsTest, OpenProgramFolderHandsTheQuotedFolderToExplorer) {
    state.saveFilePath = "C:\\My Tools, old\\Tool\\tool.as";
    run(IDCMD_OPEN_PROGRAM_FOLDER);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].verb, "");
    EXPECT_EQ(shell.requests[0].file, "explorer");
    EXPECT_EQ(shell.requests[0].parameters, "\"C:\\My Tools, old\\Tool\\\"");
    EXPECT_EQ(shell.requests[0].directory, "");
    EXPECT_EQ(shell.requests[0].showCommand, kSwShow);

    EXPECT_EQ(programFolderOf("tool.as"), "tool.as");
    EXPECT_EQ(explorerParameters(""), "");
}

TEST_F(CommandsTest, PageCommandsAreForwardedWithTheirNotificationCode) {
    const int forwardedIds[] = {IDCMD_CLEAR_ARGUMENTS, IDCMD_OPEN_ARGUMENT_FOLDER, IDCMD_NEXT_ARGUMENT,
                                IDCMD_PREVIOUS_ARGUMENT, IDCMD_SELECT_PATH, IDCMD_CYCLE_TABS,
                                IDCMD_NEXT_ITEM, IDCMD_PREVIOUS_ITEM, IDCMD_COPY_COMMAND_LINE};
    for (int id : forwardedIds) run(id, 1);
    ASSERT_EQ(host.forwarded.size(), std::size(forwardedIds));
    for (std::size_t i = 0; i < host.forwarded.size(); ++i) {
        EXPECT_EQ(host.forwarded[i], (1u << 16) | static_cast<std::uint32_t>(forwardedIds[i]));
    }
    // Commands the main window does not handle do nothing.
    run(1);
    run(IDCMD_CLEAR_PATH);
    EXPECT_EQ(host.forwarded.size(), std::size(forwardedIds));
    EXPECT_EQ(host.exits, 0);
}

TEST_F(CommandsTest, AnExceptionInACommandIsShownAndSwallowed) {
    host.throwOnStart = true;
    run(IDCMD_START);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Unknow error");
    EXPECT_EQ(boxes.shown[0].caption, "Error...");
    EXPECT_EQ(boxes.shown[0].style, kMbIconError);
}

}  // namespace
}  // namespace brennic
