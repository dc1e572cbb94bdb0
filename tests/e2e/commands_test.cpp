// Menu commands of the main window in the real program: the program folder handed to explorer, the save
// file behind Ctrl+S.
#include "driver/app.h"
#include "driver/configs.h"
#include "driver/e2e.h"
#include "driver/recorder.h"
#include "driver/registry.h"
#include "driver/workspace.h"
#include "resource_ids.h"

using namespace brennic;
using namespace brennic::e2e;

namespace {

std::string recordFile() { return join(workDir(), "explorer-runs.txt"); }

}  // namespace

E2E_TEST(OpenProgramFolderHandsTheWholeFolderToExplorer) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    // An explorer.exe beside the program or in the current folder is never run: the Windows folder's is.
    REQUIRE(writeFile(join(appDir(), "explorer.exe"), "not the system's explorer"));
    REQUIRE(writeFile(join(workDir(), "explorer.exe"), "not the system's explorer"));
    SystemExplorerStandIn explorer(recordFile());
    REQUIRE(explorer.available());
    // Started by a quoted relative name: the folder is still absolute.
    App app = App::start(App::Launch{"", workDir(), brennicExePath(), "\"app\\brennic.exe\""});
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    app.post(IDCMD_OPEN_PROGRAM_FOLDER);
    const auto runs = waitForRuns(recordFile(), 1);
    REQUIRE(runs.size() == 1);
    note("command line: " + runs[0].commandLine);
    CHECK_EQ(runs[0].arguments.empty() ? std::string() : runs[0].arguments[0], explorer.path());
    // Explorer takes its parameter text as it stands: the folder in plain quotes, trailing backslash kept.
    const std::string expected = " \"" + join(appDir(), "Tool") + "\\\"";
    const std::string& line = runs[0].commandLine;
    CHECK(line.size() >= expected.size() && line.compare(line.size() - expected.size(), expected.size(), expected) == 0);
}

E2E_TEST(OpenProgramFolderKeepsAFolderWithSpacesCommasAndAnyScriptTogether) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    const std::string programs = join(workDir(), "my, programs \u0434\u0430\u043d\u043d\u044b\u0435 \u6570\u636e \U0001F600");
    makeFolders(programs);
    setOptionDword("user dir", 1);
    setOptionText("run app path", programs);
    SystemExplorerStandIn explorer(recordFile());
    REQUIRE(explorer.available());
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    app.post(IDCMD_OPEN_PROGRAM_FOLDER);
    const auto runs = waitForRuns(recordFile(), 1);
    REQUIRE(runs.size() == 1);
    note("command line: " + runs[0].commandLine);
    const std::string folder = join(programs, "Tool") + "\\";
    // The folder arrives quoted as one text.
    CHECK(runs[0].commandLine.find("\"" + folder + "\"") != std::string::npos);
}

E2E_TEST(OpenProgramFolderIsInertWithoutADescription) {
    resetWorkspace();
    deleteOptions();
    SystemExplorerStandIn explorer(recordFile());
    REQUIRE(explorer.available());
    App app = App::start();
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    REQUIRE(app.answer(*box, IDOK));
    CHECK(app.menuItem(IDCMD_OPEN_PROGRAM_FOLDER).grayed);
    CHECK(app.settle());
    CHECK(recordedRuns(recordFile()).empty());
}

E2E_TEST(CtrlSWritesTheSaveFileOnceADescriptionIsLoaded) {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
    const std::string saveFile = join(join(appDir(), "Tool"), "tool.as");
    makeFolders(join(appDir(), "Tool"));
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    CHECK(!fileExists(saveFile));
    app.pressKeys({VK_CONTROL, 'S'});
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    CHECK(fileExists(saveFile));
}
