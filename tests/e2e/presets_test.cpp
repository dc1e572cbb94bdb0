// Presets, recent runs and keeping the pages at exit in the running program: two presets saved and switched
// between, each started (the demo program receives each command), both found again after a restart; a recent
// run started again; a damaged presets file reported and kept; the pages written on Escape when asked to.
#include <windows.h>

#include <string>
#include <vector>

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

// brennic-demo in <app>\Demo:
//   list 0 "Action": 0 "Alpha" `-a`, then the manual arguments
//                    1 "Beta"  `-b`, leads on to list 1
//   list 1 "Then":   2 "Gamma" `-g`, then the manual arguments
ProgramDescription presetTables() {
    ProgramDescription d;
    d.header.version = 5;
    d.texts = {"brennic-demo.exe", "Demo", "Version 1.0", "Demo author", "Config author", "demo@example.org"};
    ActionList first;
    first.label = "Action";
    first.entries = {0, 1};
    ActionList second;
    second.label = "Then";
    second.entries = {2};
    d.lists = {first, second};
    ActionEntry alpha;
    alpha.caption = "Alpha";
    alpha.actionText = "-a";
    alpha.actionPosition = 1;
    alpha.manualPosition = 2;
    alpha.flags = 1u << 4;
    ActionEntry beta;
    beta.caption = "Beta";
    beta.actionText = "-b";
    beta.actionPosition = 1;
    beta.flags = 1u;
    beta.nextList = 1;
    ActionEntry gamma;
    gamma.caption = "Gamma";
    gamma.actionText = "-g";
    gamma.actionPosition = 1;
    gamma.manualPosition = 2;
    gamma.flags = 1u << 4;
    gamma.manualSpec = 1;
    d.actions = {alpha, beta, gamma};
    d.manualSpecs = {ManualSpec{"Alpha", "Alpha's value"}, ManualSpec{"Gamma", "Gamma's values"}};
    return d;
}

std::string demoFolder() { return join(appDir(), "Demo"); }
std::string demoExe() { return join(demoFolder(), "brennic-demo.exe"); }
std::string recordPath() { return join(workDir(), "record.txt"); }
std::string saveFile() { return join(demoFolder(), "brennic-demo.as"); }
std::string presetsFile() { return join(demoFolder(), "brennic-demo.presets"); }
std::string runsFile() { return join(demoFolder(), "brennic-demo.runs"); }

void prepare() {
    resetWorkspace();
    deleteOptions();
    writeConfigFile(join(appDir(), "prog.vx"), presetTables());
    REQUIRE(installRecorder(demoExe(), recordPath()));
}

constexpr int kAction[3] = {IDC_ACTION1, IDC_ACTION2, IDC_ACTION3};
constexpr int kManual[3] = {IDC_MANUAL1, IDC_MANUAL2, IDC_MANUAL3};

HWND page(App& app, int n) {
    HWND tabs = GetDlgItem(app.mainWindow(), IDC_TABS);
    for (HWND child = FindWindowExA(tabs, nullptr, nullptr, nullptr); child != nullptr;
         child = FindWindowExA(tabs, child, nullptr, nullptr))
        if (GetDlgItem(child, kAction[n]) != nullptr) return child;
    return nullptr;
}

bool pagesReady(App& app) {
    if (app.mainWindow() == nullptr) return false;
    for (const DWORD start = GetTickCount(); page(app, 2) == nullptr; Sleep(30))
        if (GetTickCount() - start > kWaitMs) return false;
    return app.settle();
}

void selectEntry(App& app, int n, int item) {
    HWND combo = GetDlgItem(page(app, n), kAction[n]);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageW(page(app, n), WM_COMMAND, MAKEWPARAM(kAction[n], CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int selectedEntry(App& app, int n) {
    return static_cast<int>(SendMessageW(GetDlgItem(page(app, n), kAction[n]), CB_GETCURSEL, 0, 0));
}

void typeManual(App& app, int n, const std::string& text) {
    const std::wstring units = wide(text);
    SendMessageW(GetDlgItem(page(app, n), kManual[n]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(units.c_str()));
}

std::string manualText(App& app, int n) { return windowText(GetDlgItem(page(app, n), kManual[n])); }

// "Save as preset...": the name dialog, the name typed, OK.
void savePreset(App& app, const std::string& name) {
    app.post(IDCMD_SAVE_PRESET);
    HWND dialog = app.waitForWindowTitled("Save as preset");
    REQUIRE(dialog != nullptr);
    const std::wstring text = wide(name);
    SendMessageW(GetDlgItem(dialog, IDC_PRESET_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    REQUIRE(waitGone(dialog));
    CHECK(app.settle());
}

void startAndExpect(App& app, std::size_t runs, const std::vector<std::string>& arguments) {
    app.post(IDCMD_START);
    const auto recorded = waitForRuns(recordPath(), runs);
    REQUIRE(recorded.size() == runs);
    std::vector<std::string> expected{demoExe()};
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    CHECK(recorded.back().arguments == expected);
}

const std::string kCyrillicName = "\xD0\xB4\xD0\xB2\xD0\xB0 & \xE4\xBA\x8C";  // "два & 二"

}  // namespace

E2E_TEST(TwoPresetsSwitchedStartedAndFoundAgainWithARecentRunStartedAgain) {
    prepare();
    {
        App app = App::start();
        REQUIRE(pagesReady(app));
        app.post(IDCMD_HIDE_CONSOLE);
        CHECK(app.menuItem(IDCMD_SAVE_PRESET).found && !app.menuItem(IDCMD_SAVE_PRESET).grayed);
        CHECK_EQ(app.menuItem(IDCMD_PRESET_NONE).text, "(no presets)");

        selectEntry(app, 0, 0);
        typeManual(app, 0, "one \"two words\"");
        savePreset(app, "first");
        selectEntry(app, 0, 1);
        typeManual(app, 1, "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 z");  // "привет z"
        savePreset(app, kCyrillicName);

        // Newest first; '&' shown as itself.
        CHECK_EQ(app.menuItem(IDCMD_PRESET_FIRST).text, "\xD0\xB4\xD0\xB2\xD0\xB0 && \xE4\xBA\x8C");
        CHECK_EQ(app.menuItem(IDCMD_PRESET_FIRST + 1).text, "first");
        CHECK(!app.menuItem(IDCMD_PRESET_NONE).found);

        app.post(IDCMD_PRESET_FIRST + 1);
        CHECK(app.settle());
        CHECK_EQ(selectedEntry(app, 0), 0);
        CHECK_EQ(manualText(app, 0), "one \"two words\"");
        CHECK(windowText(GetDlgItem(app.mainWindow(), IDC_PREVIEW)).find("-a one \"two words\"") != std::string::npos);
        startAndExpect(app, 1, {"-a", "one", "two words"});

        app.post(IDCMD_PRESET_FIRST);
        CHECK(app.settle());
        CHECK_EQ(selectedEntry(app, 0), 1);
        CHECK_EQ(manualText(app, 0), "");
        CHECK_EQ(manualText(app, 1), "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 z");
        CHECK(windowText(GetDlgItem(app.mainWindow(), IDC_PREVIEW)).find("-b -g") != std::string::npos);
        startAndExpect(app, 2, {"-b", "-g", "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "z"});

        const MenuItemInfo newest = app.menuItem(IDCMD_RECENT_RUN_FIRST);
        CHECK(newest.found);
        CHECK(newest.text.find("-b -g") != std::string::npos);
        CHECK(newest.text.find("console hidden") != std::string::npos);
        CHECK(app.menuItem(IDCMD_RECENT_RUN_FIRST + 1).text.find("-a one") != std::string::npos);

        // The older run again: asked first, started exactly, and the pages stay as they are.
        app.post(IDCMD_RECENT_RUN_FIRST + 1);
        const auto box = app.waitForBox();
        REQUIRE(box.has_value());
        CHECK_EQ(box->caption, "Recent runs");
        CHECK(box->text.find("-a one \"two words\"") != std::string::npos);
        REQUIRE(app.answer(*box, IDYES));
        const auto runs = waitForRuns(recordPath(), 3);
        REQUIRE(runs.size() == 3);
        CHECK_EQ(runs[2].commandLine, runs[0].commandLine);
        CHECK_EQ(runs[2].directory, runs[0].directory);
        CHECK_EQ(selectedEntry(app, 0), 1);
        CHECK(app.menuItem(IDCMD_RECENT_RUN_FIRST).text.find("-a one") != std::string::npos);

        app.post(IDCMD_EXIT);
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    CHECK(!fileExists(saveFile()));  // presets are not the save file
    CHECK(fileExists(presetsFile()));
    CHECK(fileExists(runsFile()));

    App again = App::start();
    REQUIRE(pagesReady(again));
    CHECK(!again.openBox().has_value());
    CHECK_EQ(again.menuItem(IDCMD_PRESET_FIRST).text, "\xD0\xB4\xD0\xB2\xD0\xB0 && \xE4\xBA\x8C");
    CHECK_EQ(again.menuItem(IDCMD_PRESET_FIRST + 1).text, "first");
    CHECK(again.menuItem(IDCMD_RECENT_RUN_FIRST + 2).found);
    CHECK(!again.menuItem(IDCMD_RECENT_RUN_FIRST + 3).found);
    again.post(IDCMD_PRESET_FIRST + 1);
    CHECK(again.settle());
    CHECK_EQ(manualText(again, 0), "one \"two words\"");

    again.post(IDCMD_CLEAR_RECENT_RUNS);
    CHECK(again.settle());
    CHECK(!again.menuItem(IDCMD_RECENT_RUN_FIRST).found);
    CHECK(again.menuItem(IDCMD_RECENT_RUN_NONE).grayed);
}

E2E_TEST(DamagedPresetsFileIsReportedAndKept) {
    prepare();
    makeFolders(demoFolder());
    writeFile(presetsFile(), "BRNCPRST not a presets file");
    App app = App::start();
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Presets");
    CHECK(box->text.find(presetsFile()) != std::string::npos);
    REQUIRE(app.answer(*box, IDNO));
    REQUIRE(pagesReady(app));
    CHECK(app.menuItem(IDCMD_PRESET_NONE).grayed);
    CHECK(app.menuItem(IDCMD_PRESET_NONE).text.find("damaged") != std::string::npos);
    CHECK_EQ(readFile(presetsFile()), "BRNCPRST not a presets file");
}

E2E_TEST(KeepPagesAtExitWritesThePagesOnEscape) {
    prepare();
    {
        App app = App::start();
        REQUIRE(pagesReady(app));
        CHECK(!app.menuItem(IDCMD_KEEP_PAGES_AT_EXIT).checked);
        app.post(IDCMD_KEEP_PAGES_AT_EXIT);
        CHECK(app.settle());
        CHECK(app.menuItem(IDCMD_KEEP_PAGES_AT_EXIT).checked);
        selectEntry(app, 0, 0);
        typeManual(app, 0, "kept on escape");
        CHECK(app.settle());
        app.pressKeys({VK_ESCAPE});
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    CHECK(fileExists(saveFile()));
    App again = App::start();
    REQUIRE(pagesReady(again));
    CHECK_EQ(manualText(again, 0), "kept on escape");
    CHECK(!again.menuItem(IDCMD_KEEP_PAGES_AT_EXIT).checked);  // an option lasts until "Save config"
}
