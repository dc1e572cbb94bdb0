// The options in the registry and their menu items in the real program: defaults, "Save config", restarts,
// stored values out of range, the running-programs folder.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/app.h"
#include "driver/configs.h"
#include "driver/e2e.h"
#include "driver/registry.h"
#include "driver/workspace.h"
#include "resource_ids.h"

using namespace brennic;
using namespace brennic::e2e;

namespace {

struct Marks {
    int radio = 0;  // the checked console item, 0 when none
    bool startSound = false;
    bool pathClr = false;
    bool margsClr = false;
    bool showWarn = false;
};

Marks marksOf(App& app) {
    Marks marks;
    for (int id : {IDCMD_HIDE_CONSOLE, IDCMD_SHOW_CONSOLE, IDCMD_HOLD_CONSOLE, IDCMD_OUTPUT_WINDOW}) {
        const MenuItemInfo item = app.menuItem(id);
        CHECK(item.found);
        if (item.checked) {
            CHECK_EQ(marks.radio, 0);
            marks.radio = id;
        }
    }
    marks.startSound = app.menuItem(IDCMD_START_SOUND).checked;
    marks.pathClr = app.menuItem(IDCMD_PATH_AUTO_CLEAR).checked;
    marks.margsClr = app.menuItem(IDCMD_MANUAL_AUTO_CLEAR).checked;
    marks.showWarn = app.menuItem(IDCMD_SHOW_WARNINGS).checked;
    return marks;
}

// Starts on the sample config and waits until start-up is over.
App startReady() {
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    CHECK(app.settle());
    REQUIRE(!app.openBox().has_value());
    return app;
}

// Posts "Save config" and waits until the last value is in the registry.
void saveConfig(App& app) {
    app.post(IDCMD_SAVE_CONFIG);
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
}

void freshStart() {
    resetWorkspace();
    deleteOptions();
    writeDefaultConfig();
}

}  // namespace

E2E_TEST(DefaultsWithoutAnOptionsKey) {
    freshStart();
    App app = startReady();
    const Marks marks = marksOf(app);
    CHECK_EQ(marks.radio, IDCMD_HOLD_CONSOLE);
    CHECK(!marks.startSound);
    CHECK(!marks.pathClr);
    CHECK(!marks.margsClr);
    CHECK(marks.showWarn);
    CHECK(optionNames().empty());  // reading creates nothing
}

E2E_TEST(SaveConfigWritesTheSixDwordsWithTheirExactNames) {
    freshStart();
    App app = startReady();
    saveConfig(app);
    const std::vector<std::string> names = optionNames();
    CHECK_EQ(names.size(), 6u);
    struct Expected {
        const char* name;
        std::uint32_t value;
    } expected[] = {{"user dir", 0}, {"console opt ", 2}, {"start sound", 0},
                    {"path clr", 0}, {"margs clr", 0},    {"show warn", 1}};
    for (const Expected& value : expected) {
        note(value.name);
        const auto stored = optionDword(value.name);
        REQUIRE(stored.has_value());
        CHECK_EQ(*stored, value.value);
    }
    CHECK(!optionText("run app path").has_value());
    CHECK(!optionDword("console opt").has_value());
}

E2E_TEST(SavedOptionsComeBackAtTheNextStart) {
    freshStart();
    {
        App app = startReady();
        for (int id : {IDCMD_SHOW_CONSOLE, IDCMD_START_SOUND, IDCMD_PATH_AUTO_CLEAR, IDCMD_MANUAL_AUTO_CLEAR,
                       IDCMD_SHOW_WARNINGS}) {
            app.post(id);
        }
        saveConfig(app);
        const Marks marks = marksOf(app);
        CHECK_EQ(marks.radio, IDCMD_SHOW_CONSOLE);
        CHECK(marks.startSound && marks.pathClr && marks.margsClr && !marks.showWarn);
        CHECK_EQ(optionDword("console opt ").value_or(9), 1u);
        CHECK_EQ(optionDword("start sound").value_or(9), 1u);
        CHECK_EQ(optionDword("path clr").value_or(9), 1u);
        CHECK_EQ(optionDword("margs clr").value_or(9), 1u);
        CHECK_EQ(optionDword("show warn").value_or(9), 0u);
        app.post(IDCMD_EXIT);
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    App again = startReady();
    const Marks marks = marksOf(again);
    CHECK_EQ(marks.radio, IDCMD_SHOW_CONSOLE);
    CHECK(marks.startSound);
    CHECK(marks.pathClr);
    CHECK(marks.margsClr);
    CHECK(!marks.showWarn);
}

E2E_TEST(AChangeWithoutSaveConfigIsForgottenAtRestart) {
    freshStart();
    {
        App app = startReady();
        app.post(IDCMD_HIDE_CONSOLE);
        app.post(IDCMD_START_SOUND);
        CHECK(app.settle());
        CHECK_EQ(marksOf(app).radio, IDCMD_HIDE_CONSOLE);
        app.post(IDCMD_EXIT);
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    CHECK(optionNames().empty());  // exit writes nothing
    App again = startReady();
    const Marks marks = marksOf(again);
    CHECK_EQ(marks.radio, IDCMD_HOLD_CONSOLE);
    CHECK(!marks.startSound);
}

E2E_TEST(TogglingTwiceRestoresTheMark) {
    freshStart();
    App app = startReady();
    for (int id : {IDCMD_START_SOUND, IDCMD_PATH_AUTO_CLEAR, IDCMD_MANUAL_AUTO_CLEAR, IDCMD_SHOW_WARNINGS}) {
        const bool before = app.menuItem(id).checked;
        app.post(id);
        CHECK(app.settle());
        CHECK_EQ(app.menuItem(id).checked, !before);
        app.post(id);
        CHECK(app.settle());
        CHECK_EQ(app.menuItem(id).checked, before);
    }
}

E2E_TEST(ShowOutputInWindowIsStoredSoThatEarlierVersionsHideTheConsole) {
    freshStart();
    {
        App app = startReady();
        CHECK_EQ(app.menuItem(IDCMD_OUTPUT_WINDOW).text, "Show output in window");
        app.post(IDCMD_OUTPUT_WINDOW);
        saveConfig(app);
        CHECK_EQ(marksOf(app).radio, IDCMD_OUTPUT_WINDOW);
        CHECK_EQ(optionDword("console opt ").value_or(9), 0u);  // what earlier versions run hidden
        CHECK_EQ(optionDword("output window").value_or(9), 1u);
        app.post(IDCMD_EXIT);
        CHECK_EQ(app.waitForExit().value_or(999), 0u);
    }
    {
        App again = startReady();
        CHECK_EQ(marksOf(again).radio, IDCMD_OUTPUT_WINDOW);
        again.post(IDCMD_EXIT);
        CHECK_EQ(again.waitForExit().value_or(999), 0u);
    }
    // An earlier version saved "Show console" since: its choice wins over the stale window value.
    setOptionDword("console opt ", 1);
    App app = startReady();
    CHECK_EQ(marksOf(app).radio, IDCMD_SHOW_CONSOLE);
    // The hidden console clears the window value, so it cannot come back.
    app.post(IDCMD_HIDE_CONSOLE);
    saveConfig(app);
    CHECK_EQ(optionDword("console opt ").value_or(9), 0u);
    CHECK_EQ(optionDword("output window").value_or(9), 0u);
}

E2E_TEST(StoredValuesOutOfRangeShowAsTheModeInEffect) {
    freshStart();
    setOptionDword("console opt ", 7);
    setOptionDword("start sound", 5);
    setOptionDword("show warn", 0);
    setOptionRaw("path clr", REG_SZ, std::string("1"));  // wrong type: ignored
    {
        App app = startReady();
        const Marks marks = marksOf(app);
        CHECK_EQ(marks.radio, IDCMD_HOLD_CONSOLE);
        CHECK(marks.startSound);
        CHECK(!marks.pathClr);
        CHECK(!marks.showWarn);
        // Saved again, the values are the ones in effect.
        saveConfig(app);
        CHECK_EQ(optionDword("console opt ").value_or(9), 2u);
        CHECK_EQ(optionDword("start sound").value_or(9), 1u);
        CHECK_EQ(optionDword("path clr").value_or(9), 0u);
        // A toggle after a stored 5 switches the option off.
        app.post(IDCMD_START_SOUND);
        CHECK(app.settle());
        CHECK(!app.menuItem(IDCMD_START_SOUND).checked);
    }
}

E2E_TEST(AFolderOptionWithoutItsTextLeavesMarksInEffectAndNoFolder) {
    freshStart();
    setOptionDword("user dir", 1);
    setOptionDword("console opt ", 0);
    setOptionDword("margs clr", 1);
    App app = startReady();
    // The description is found under the program directory.
    CHECK(!app.menuItem(IDCMD_START).grayed);
    const Marks marks = marksOf(app);
    CHECK_EQ(marks.radio, IDCMD_HIDE_CONSOLE);
    CHECK(marks.margsClr);
    saveConfig(app);
    CHECK_EQ(optionDword("user dir").value_or(9), 0u);
    CHECK(!optionText("run app path").has_value());
}

E2E_TEST(AStoredFolderIsWhereTheDescribedProgramIsLookedFor) {
    freshStart();
    // A folder in other scripts: the registry text is read as Unicode, the icon loads from a Unicode path.
    const std::string programs = join(workDir(), "programs \u0437\u0434\u0435\u0441\u044c \u7a0b\u5e8f \U0001F600");
    const ProgramDescription tables = sampleTables();
    REQUIRE(copyFile(builtProgram("brennic_e2e_icon64.exe"), describedExe(tables, programs)));
    setOptionDword("user dir", 1);
    setOptionText("run app path", programs);
    App app = startReady();
    CHECK_EQ(app.bigIconPixel().value_or(0), 0xFFE02020u);
}

namespace {

// Opens "Running programs folder", lets `choose` pick in the picker (given its window), presses OK and saves.
// A picker that refuses the choice with a message and stays open is cancelled.
template <typename Choose>
void chooseInPickerBy(App& app, Choose choose) {
    app.post(IDCMD_PROGRAMS_FOLDER);
    HWND picker = waitForPathDialog(app, true);
    REQUIRE(picker != nullptr);
    CHECK_EQ(windowText(picker), std::string("Select folder for running programs."));
    CHECK(app.settle());
    REQUIRE(choose(picker));
    CHECK(app.settle());
    if (const auto box = app.openBox(); box.has_value() && box->window != picker) {
        note("the picker said: " + box->text);
        app.answer(*box, box->hasButton(IDOK) ? IDOK : IDCANCEL);
    }
    if (IsWindow(picker) && IsWindowVisible(picker)) {
        note("the picker stayed open; cancelled");
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
    }
    CHECK(waitGone(picker));
    CHECK(app.settle());
    saveConfig(app);
}

// Enters `path` in the picker's name box, typed or pasted.
void chooseInPicker(App& app, const std::string& path, bool paste = false) {
    chooseInPickerBy(app, [&](HWND picker) { return enterInFolderPicker(picker, path, paste); });
}

// Selects the first item of the folder the picker shows and presses OK.
bool selectFirstItem(App& app, HWND picker) {
    HWND browser = FindWindowExA(picker, nullptr, "ExplorerBrowserControl", nullptr);
    HWND view = FindWindowExA(browser, nullptr, "SHELLDLL_DefView", nullptr);
    HWND list = FindWindowExA(view, nullptr, "SysListView32", nullptr);
    if (list == nullptr || SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 1) return false;
    // The item's state goes through the program's own memory (a pointer of ours means nothing there).
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, app.processId());
    if (process == nullptr) return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE);
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    const bool written = remote != nullptr && WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    if (written) SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(remote));
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!written) return false;
    PostMessageA(picker, WM_COMMAND, IDOK, 0);
    return true;
}

}  // namespace

E2E_TEST(RunningProgramsFolderCancelledClearsTheOption) {
    freshStart();
    setOptionDword("user dir", 1);
    setOptionText("run app path", workDir());
    App app = startReady();
    app.post(IDCMD_PROGRAMS_FOLDER);
    HWND browser = waitForPathDialog(app, true);
    REQUIRE(browser != nullptr);
    PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    CHECK(app.settle());
    CHECK(!IsWindow(browser) || !IsWindowVisible(browser));
    saveConfig(app);
    CHECK_EQ(optionDword("user dir").value_or(9), 0u);
    // The stored folder text stays as it was.
    CHECK_EQ(optionText("run app path").value_or(""), workDir());
}

E2E_TEST(RunningProgramsFolderChosenIsSavedWithItsText) {
    freshStart();
    // The picker starts in the stored folder; choosing a folder there saves its text.
    setOptionDword("user dir", 1);
    setOptionText("run app path", workDir());
    App app = startReady();
    chooseInPicker(app, appDir());
    CHECK_EQ(optionDword("user dir").value_or(9), 1u);
    const auto folder = optionText("run app path");
    REQUIRE(folder.has_value());
    note("chosen: " + *folder);
    CHECK_EQ(*folder, appDir());
    CHECK_EQ(folder->substr(1, 2), std::string(":\\"));
}

E2E_TEST(AFolderTooLongForOurTextsIsTakenAsACancel) {
    freshStart();
    const std::string base = join(workDir(), "long");
    // The stored folder fits; its only subfolder makes a path of more than 259 characters.
    const std::string child = join(base, std::string(259 - base.size() + 20, 'x'));
    REQUIRE(base.size() < 200);
    REQUIRE(makeFolders(base));
    const std::string longPath = "\\\\?\\" + child;  // longer than the plain API takes
    const std::wstring wide(longPath.begin(), longPath.end());
    // The plain API cannot remove it at the next reset, so it may be left from an earlier run.
    REQUIRE(CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    setOptionDword("user dir", 1);
    setOptionText("run app path", base);
    App app = startReady();
    // The picker starts in the stored folder and shows the subfolder as its only item. (Typing the long name
    // into Wine's picker stops it answering; its list refuses the folder with a message of its own.)
    chooseInPickerBy(app, [&](HWND picker) { return selectFirstItem(app, picker); });
    CHECK_EQ(optionDword("user dir").value_or(9), 0u);
    CHECK_EQ(optionText("run app path").value_or(""), base);
}

E2E_TEST(AVirtualFolderIsTakenAsACancel) {
    freshStart();
    setOptionDword("user dir", 1);
    setOptionText("run app path", workDir());
    App app = startReady();
    // "My Computer" by its shell name: no file-system folder.
    chooseInPicker(app, "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
    CHECK_EQ(optionDword("user dir").value_or(9), 0u);
    CHECK_EQ(optionText("run app path").value_or(""), workDir());
}

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

E2E_TEST(ThePickerTakesAPastedPath) {
    freshStart();
    const std::string pasted = join(workDir(), "pasted tools");
    REQUIRE(makeFolders(pasted));
    setOptionDword("user dir", 1);
    setOptionText("run app path", appDir());
    App app = startReady();
    chooseInPicker(app, pasted, true);
    CHECK_EQ(optionDword("user dir").value_or(9), 1u);
    CHECK_EQ(optionText("run app path").value_or(""), pasted);
}

E2E_TEST(TwoToolFoldersKeepTheirOwnOptionsApart) {
    freshStart();
    // A second tool folder: its own copy of the program and config.
    const std::string other = join(workDir(), "other tool");
    REQUIRE(copyFile(brennicExePath(), join(other, "brennic.exe")));
    REQUIRE(copyFile(join(appDir(), "prog.vx"), join(other, "prog.vx")));
    const std::string ownFile = join(appDir(), "brennic.ini");
    {
        // The first folder switches to its own options: the options in effect go into its file.
        App app = startReady();
        CHECK(!app.menuItem(IDCMD_FOLDER_OPTIONS).checked);
        app.post(IDCMD_HIDE_CONSOLE);
        app.post(IDCMD_FOLDER_OPTIONS);
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
        CHECK(app.menuItem(IDCMD_FOLDER_OPTIONS).checked);
        REQUIRE(fileExists(ownFile));
        CHECK(contains(readFile(ownFile), "\"console opt \"=dword:0\r\n"));
        app.post(IDCMD_START_SOUND);
        saveConfig(app);
        CHECK(contains(readFile(ownFile), "\"start sound\"=dword:1\r\n"));
        CHECK(optionNames().empty());  // the shared key is neither read nor written
    }
    {
        // The other folder has no file: the shared key, exactly as before.
        App app = startReady();
        (void)app;
    }
    {
        App::Launch launch;
        launch.exe = join(other, "brennic.exe");
        App app = App::start(launch);
        REQUIRE(app.mainWindow() != nullptr);
        CHECK(app.settle());
        CHECK_EQ(marksOf(app).radio, IDCMD_HOLD_CONSOLE);
        CHECK(!app.menuItem(IDCMD_FOLDER_OPTIONS).checked);
        app.post(IDCMD_SHOW_CONSOLE);
        saveConfig(app);
        CHECK_EQ(optionDword("console opt ").value_or(9), 1u);
        CHECK_EQ(optionNames().size(), 6u);
    }
    {
        // Each folder comes back with its own.
        App app = startReady();
        const Marks marks = marksOf(app);
        CHECK_EQ(marks.radio, IDCMD_HIDE_CONSOLE);
        CHECK(marks.startSound);
        // And back to the shared options: the file is moved aside, what is in effect stays until exit.
        app.post(IDCMD_FOLDER_OPTIONS);
        CHECK(app.settle());
        CHECK(!app.menuItem(IDCMD_FOLDER_OPTIONS).checked);
        CHECK(!fileExists(ownFile));
        CHECK(contains(readFile(ownFile + ".bak"), "\"console opt \"=dword:0\r\n"));
        CHECK_EQ(marksOf(app).radio, IDCMD_HIDE_CONSOLE);
        CHECK_EQ(optionDword("console opt ").value_or(9), 1u);
    }
    App shared = startReady();
    CHECK_EQ(marksOf(shared).radio, IDCMD_SHOW_CONSOLE);
}

E2E_TEST(ADamagedFolderOptionsFileGivesDefaultsAndSaysSo) {
    freshStart();
    setOptionDword("console opt ", 0);  // the shared key is not read while the folder has a file
    const std::string ownFile = join(appDir(), "brennic.ini");
    REQUIRE(writeFile(ownFile, std::string("[Options]\r\n\"console opt \"=dword:1\r\n\"show warn\"=maybe\r\n")));
    App app = App::start();
    REQUIRE(app.mainWindow() != nullptr);
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, std::string("Options"));
    CHECK(contains(box->text, "line 3"));
    CHECK(contains(box->text, "brennic.ini"));
    CHECK(app.answer(*box, IDOK));
    CHECK(app.settle());
    CHECK_EQ(marksOf(app).radio, IDCMD_HOLD_CONSOLE);
    CHECK(app.menuItem(IDCMD_FOLDER_OPTIONS).checked);
    // Save config writes a sound file and keeps the damaged one.
    saveConfig(app);
    CHECK(contains(readFile(ownFile + ".bak"), "\"show warn\"=maybe"));
    CHECK(contains(readFile(ownFile), "\"show warn\"=dword:1\r\n"));
    CHECK_EQ(optionDword("console opt ").value_or(9), 0u);
}
