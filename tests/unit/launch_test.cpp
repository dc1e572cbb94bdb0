#include <gtest/gtest.h>

#include <tuple>

#include "fake_launcher.h"
#include "fake_platform.h"
#include "launch/command_preview.h"
#include "launch/launch.h"
#include "launch_fixture.h"

namespace brennic {
namespace {

using test::FakeMessageBoxes;
using test::FakeLauncher;
using test::LaunchFixture;
using test::makeEntry;

constexpr const char* kExampleParameters = "-i \"C:\\Data\\in put.wav\" -b 192k -o \"C:\\Out\\a.mp3\" ";

class Start : public ::testing::Test {
protected:
    LaunchFixture f;
    FakeMessageBoxes boxes;
    FakeLauncher shell;

    void SetUp() override { f.selectConversionExample(); }
    std::string start() {
        AppState& s = f.state;
        return startProgram(s.description, s.slots, s.pageControls, s.options, boxes, shell, 1700000000);
    }
    const std::string& log() { return f.state.description.warningLog.text; }
};

TEST_F(Start, WorkedExampleInEachConsoleMode) {
    f.state.options.consoleOpt = 0;
    EXPECT_EQ(start(), kExampleParameters);
    f.state.options.consoleOpt = 1;
    start();
    f.state.options.consoleOpt = 2;
    start();

    ASSERT_EQ(shell.requests.size(), 3u);
    const ShellRequest hidden{"", "D:\\Tools\\conv\\conv.exe", kExampleParameters, "D:\\Tools\\conv", kSwHide};
    const ShellRequest shown{"", "D:\\Tools\\conv\\conv.exe", kExampleParameters, "D:\\Tools\\conv", kSwShow};
    const ShellRequest held{"", "cmd.exe",
                            "/k D: && cd \"D:\\Tools\\conv\" && \"D:\\Tools\\conv\\conv.exe\" -i \"C:\\Data\\in "
                            "put.wav\" -b 192k -o \"C:\\Out\\a.mp3\" ",
                            "", kSwShow};
    EXPECT_EQ(shell.requests[0], hidden);
    EXPECT_EQ(shell.requests[1], shown);
    EXPECT_EQ(shell.requests[2], held);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(boxes.beeps.empty());  // start sound is off by default
}

TEST_F(Start, WarningsAskAndNoCancelsSilently) {
    f.state.slots[0].path.clear();
    f.select(2, makeEntry("-t m@", 1, 0, 0, 1, 0));
    f.state.options.consoleOpt = 1;
    boxes.answers = {kIdNo};
    start();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "Argument 1 Empty path\nArgument 3 Empty manual args\n\n\n Continue app starting?");
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_EQ(boxes.shown[0].style, kMbYesNo | kMbIconExclamation);
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(log(), "");

    boxes.answers = {kIdYes};
    start();
    EXPECT_EQ(boxes.shown.size(), 2u);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].parameters, "-i -b 192k -t m@ ");
    EXPECT_EQ(log(), "");
}

TEST_F(Start, NoWarningsNoBox) {
    start();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(shell.requests.size(), 1u);
}

TEST_F(Start, WarningsOffLaunchesAndForgetsTheLines) {
    f.state.slots[2].path.clear();
    f.state.options.showWarn = 0;
    start();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(log(), "");

    f.state.slots[2].path = "C:\\Out\\a.mp3";
    f.state.options.showWarn = 1;
    start();
    EXPECT_TRUE(boxes.shown.empty());  // the earlier start's lines are gone
    EXPECT_EQ(shell.requests.size(), 2u);
}

TEST_F(Start, FailureNamesTheFileAndTheSystemsReasonWithoutSound) {
    f.state.options.consoleOpt = 0;
    f.state.options.startSound = 1;
    shell.result = {false, "The system cannot find the file specified."};
    start();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "Run app error\nD:\\Tools\\conv\\conv.exe\nThe system cannot find the file specified.");
    EXPECT_EQ(boxes.shown[0].caption, "Err...");
    EXPECT_EQ(boxes.shown[0].style, kMbIconError);
    // The held console names what could not be started: the interpreter.
    f.state.options.consoleOpt = 2;
    shell.result.reason.clear();
    start();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Run app error\ncmd.exe");
    EXPECT_TRUE(boxes.beeps.empty());

    f.state.options.consoleOpt = 0;
    shell.result = {true, {}};
    start();
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.beeps, std::vector<unsigned>{kMbIconExclamation});
}

// What the launcher is handed is enough to start the same command again: the request, its console mode, the
// line the preview shows and when it started. The output window runs the program itself, hidden, in its folder.
TEST_F(Start, TheRunCarriesItsModeLineAndStartTime) {
    f.state.options.consoleOpt = 3;
    f.state.options.startSound = 1;
    start();
    ASSERT_EQ(shell.runs.size(), 1u);
    const StartedRun& run = shell.runs[0];
    const ShellRequest own{"", "D:\\Tools\\conv\\conv.exe", kExampleParameters, "D:\\Tools\\conv", kSwHide};
    EXPECT_EQ(run.request, own);
    EXPECT_EQ(run.consoleOpt, 3u);
    EXPECT_EQ(run.line, *commandLineText(f.state));
    EXPECT_EQ(run.startedAt, 1700000000);
    EXPECT_TRUE(boxes.beeps.empty());  // the sound belongs to the hidden console alone
}

TEST_F(Start, SoundOnlyWithHiddenConsoleAndOnlyWhenSwitchedOn) {
    f.state.options.startSound = 1;
    f.state.options.consoleOpt = 1;
    start();
    f.state.options.consoleOpt = 2;
    start();
    EXPECT_TRUE(boxes.beeps.empty());
    f.state.options.startSound = 0;
    f.state.options.consoleOpt = 0;
    start();
    EXPECT_TRUE(boxes.beeps.empty());
    EXPECT_EQ(shell.requests.size(), 3u);
}

TEST_F(Start, UnknownConsoleModeDoesNothing) {
    f.state.options.consoleOpt = 7;
    f.state.options.startSound = 1;
    f.state.slots[0].path.clear();
    boxes.answers = {kIdYes};
    start();
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(boxes.shown.size(), 1u);  // only the warning question
    EXPECT_TRUE(boxes.beeps.empty());
    EXPECT_EQ(log(), "");
}

TEST_F(Start, EmptyExecutableNameIsAFailedStart) {
    f.state.description.texts[kExecutableName].clear();
    f.state.options.startSound = 1;
    for (std::uint32_t mode : {0u, 1u, 2u, 3u}) {
        boxes.shown.clear();
        f.state.options.consoleOpt = mode;
        start();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "Run app error\nD:\\Tools\\conv\\\nThe config names no program file to start.");
        EXPECT_EQ(boxes.shown[0].caption, "Err...");
    }
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_TRUE(boxes.beeps.empty());
}

TEST_F(Start, FolderTextsArePassedOnAsBuilt) {
    f.state.description.texts[kProgramFolderName].clear();
    f.state.options.consoleOpt = 0;
    start();
    f.state.options.consoleOpt = 2;
    start();
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[0].file, "D:\\Tools\\\\conv.exe");
    EXPECT_EQ(shell.requests[0].directory, "D:\\Tools\\");
    // The folder ends in a backslash: doubled before the closing quote so the line still splits right.
    EXPECT_EQ(shell.requests[1].parameters.substr(0, 48), "/k D: && cd \"D:\\Tools\\\\\" && \"D:\\Tools\\\\conv.exe\"");

    f.state.description.programsFolder = "\\\\server\\share\\";
    f.state.description.texts[kProgramFolderName] = "conv";
    start();
    EXPECT_EQ(shell.requests[2].parameters.substr(0, 36), "/k \\: && cd \"\\\\server\\share\\conv\" &&");
}

TEST_F(Start, StateEntryPointIsInertWithoutADescription) {
    f.state.descriptionReady = false;
    startProgram(f.state, boxes, shell, 0);
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_FALSE(commandLineText(f.state).has_value());
    f.state.descriptionReady = true;
    startProgram(f.state, boxes, shell, 0);
    EXPECT_EQ(shell.requests.size(), 1u);
}

TEST(ConfirmWarnings, EmptyLogContinuesWithoutABox) {
    FakeMessageBoxes boxes;
    WarningLog log;
    EXPECT_FALSE(confirmWarnings(log, boxes));
    EXPECT_TRUE(boxes.shown.empty());
    log.text = "Argument 2 Empty path\n";
    boxes.answers = {kIdOk};  // any answer but No continues
    EXPECT_FALSE(confirmWarnings(log, boxes));
    EXPECT_EQ(log.text, "");
}

class CopyCommandLine : public Start {};

TEST_F(CopyCommandLine, SameTextAsTheLaunchInEachMode) {
    f.state.options.consoleOpt = 0;
    EXPECT_EQ(commandLineText(f.state), std::string("\"D:\\Tools\\conv\\conv.exe\" ") + kExampleParameters);
    f.state.options.consoleOpt = 1;
    EXPECT_EQ(commandLineText(f.state), std::string("\"D:\\Tools\\conv\\conv.exe\" ") + kExampleParameters);
    f.state.options.consoleOpt = 2;
    start();
    EXPECT_EQ(commandLineText(f.state), "cmd.exe " + shell.requests.back().parameters);
}

TEST_F(CopyCommandLine, ShowsNothingAndLeavesTheLogEmpty) {
    f.state.slots[0].path.clear();
    f.state.slots[1].enabled = 0;
    f.state.options.consoleOpt = 0;
    EXPECT_EQ(commandLineText(f.state), "\"D:\\Tools\\conv\\conv.exe\" -i -o \"C:\\Out\\a.mp3\" ");
    EXPECT_EQ(log(), "");

    f.state.options.consoleOpt = 7;
    EXPECT_FALSE(commandLineText(f.state).has_value());
    f.state.options.consoleOpt = 0;
    f.state.description.texts[kExecutableName].clear();
    EXPECT_FALSE(commandLineText(f.state).has_value());
    EXPECT_EQ(log(), "");
}

class Preview : public Start {
protected:
    static auto fields(const ArgumentSlot& s) {
        return std::tie(s.enabled, s.pathUsed, s.manualUsed, s.toolTip, s.group, s.item, s.path, s.manualText);
    }
};

TEST_F(Preview, TheLineIsTheCommandAndWhatStartWouldWarnAboutStandsBesideIt) {
    f.state.slots[0].path.clear();
    f.select(2, makeEntry("-t m@", 1, 0, 0, 1, 0));
    f.state.options.consoleOpt = 0;
    const CommandPreview preview = commandPreview(f.state);
    EXPECT_EQ(preview.line, "\"D:\\Tools\\conv\\conv.exe\" -i -b 192k -t m@ ");
    EXPECT_EQ(preview.line, commandLineText(f.state));
    EXPECT_EQ(preview.marker, "Warnings: 1, 3");
    EXPECT_EQ(preview.tip, preview.line + "\n\nArgument 1 Empty path\nArgument 3 Empty manual args");

    // Nothing to launch without an executable, but Start would still ask first.
    f.state.description.texts[kExecutableName].clear();
    EXPECT_EQ(commandPreview(f.state).line, "");
    EXPECT_EQ(commandPreview(f.state).tip, "Argument 1 Empty path\nArgument 3 Empty manual args");

    f.state.descriptionReady = false;
    EXPECT_EQ(commandPreview(f.state).marker, "");
    EXPECT_EQ(commandPreview(f.state).tip, "");
}

TEST_F(Preview, WorkingItOutChangesNothingAndTheNextStartWarnsOnlyForItself) {
    f.state.slots[0].path.clear();
    f.pages[1].text.clear();
    f.state.description.warningLog.text = "left by someone else\n";
    const ArgumentSlots before = f.state.slots;
    EXPECT_EQ(commandPreview(f.state).marker, "Warnings: 1, 2");
    EXPECT_EQ(log(), "left by someone else\n");
    for (std::size_t page = 0; page < 3; ++page) EXPECT_EQ(fields(f.state.slots[page]), fields(before[page]));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(boxes.beeps.empty());
    EXPECT_TRUE(shell.requests.empty());

    boxes.answers = {kIdNo};
    start();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "Argument 1 Empty path\nArgument 2 Empty manual args\n\n\n Continue app starting?");
    f.state.slots[0].path = "C:\\in.wav";
    f.pages[1].text = "192";
    EXPECT_EQ(commandPreview(f.state).marker, "");
    start();
    EXPECT_EQ(boxes.shown.size(), 1u);  // nothing to warn about: no second box
    EXPECT_EQ(shell.requests.size(), 1u);
}

}  // namespace
}  // namespace brennic
