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

E2E_TEST(RunningProgramsFolderCancelledClearsTheOption) {
    freshStart();
    setOptionDword("user dir", 1);
    setOptionText("run app path", workDir());
    App app = startReady();
    app.post(IDCMD_PROGRAMS_FOLDER);
    HWND browser = app.waitForWindowTitled("Browse for Folder");
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
    // The stored folder is preselected; OK takes what the browser shows selected.
    setOptionDword("user dir", 1);
    setOptionText("run app path", workDir());
    App app = startReady();
    app.post(IDCMD_PROGRAMS_FOLDER);
    HWND browser = app.waitForWindowTitled("Browse for Folder");
    REQUIRE(browser != nullptr);
    CHECK(app.settle());
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    CHECK(app.settle());
    CHECK(!IsWindow(browser) || !IsWindowVisible(browser));
    saveConfig(app);
    CHECK_EQ(optionDword("user dir").value_or(9), 1u);
    const auto folder = optionText("run app path");
    REQUIRE(folder.has_value());
    note("chosen: " + *folder);
    CHECK(!folder->empty());
    CHECK_EQ(*folder, workDir());
    CHECK_EQ(folder->substr(1, 2), std::string(":\\"));
}

namespace {

BOOL CALLBACK findTree(HWND child, LPARAM parameter) {
    if (className(child) == "SysTreeView32") {
        *reinterpret_cast<HWND*>(parameter) = child;
        return FALSE;
    }
    return TRUE;
}

std::vector<std::string> pathComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= path.size()) {
        const std::size_t end = std::min(path.find('\\', begin), path.size());
        if (end > begin) parts.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

bool sameName(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The child of `item` named `name` (expanding `item` first), or 0.
LRESULT childNamed(App& app, HWND tree, LRESULT item, const std::string& name) {
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, item);
    for (LRESULT child = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, item); child != 0;
         child = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, child))
        if (sameName(app.treeItemText(tree, child), name)) return child;
    return 0;
}

// Opens "Running programs folder" on the stored folder `folder` and finds the folder's item in the browser's
// tree: the browser selects the stored folder level by level, but Wine's browser can stop at an ancestor when
// the folder was made moments ago, so from where it stopped the rest is walked by name. Then moves the
// selection with `move` (given the tree and that item), presses OK and saves.
template <typename Move>
void chooseInBrowser(App& app, const std::string& folder, Move move) {
    const std::vector<std::string> parts = pathComponents(folder);
    REQUIRE(parts.size() >= 2);
    app.post(IDCMD_PROGRAMS_FOLDER);
    HWND browser = app.waitForWindowTitled("Browse for Folder");
    REQUIRE(browser != nullptr);
    CHECK(app.settle());
    HWND tree = nullptr;
    EnumChildWindows(browser, findTree, reinterpret_cast<LPARAM>(&tree));
    REQUIRE(tree != nullptr);
    // Wait until the selection has reached the folder or stood still for a second.
    LRESULT selected = 0;
    std::string selectedName;
    DWORD steady = GetTickCount();
    for (DWORD started = GetTickCount(); GetTickCount() - started < kWaitMs; Sleep(20)) {
        const LRESULT caret = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        if (caret != selected) {
            selected = caret;
            selectedName = caret != 0 ? app.treeItemText(tree, caret) : std::string();
            steady = GetTickCount();
        }
        if (sameName(selectedName, parts.back()) || (selected != 0 && GetTickCount() - steady > 1000)) break;
    }
    REQUIRE(selected != 0);
    if (!sameName(selectedName, parts.back())) {
        // The drive's item reads like "/ (Z:)"; a folder's item is its name.
        std::size_t level = parts.size();
        if (selectedName.find("(" + parts[0] + ")") != std::string::npos) level = 0;
        for (std::size_t i = 1; i < parts.size(); ++i)
            if (sameName(selectedName, parts[i])) level = i;
        REQUIRE(level < parts.size());
        note("the browser stopped at " + selectedName + "; walked on to " + folder);
        for (std::size_t i = level + 1; i < parts.size() && selected != 0; ++i)
            selected = childNamed(app, tree, selected, parts[i]);
        REQUIRE(selected != 0);
    }
    CHECK_EQ(app.treeItemText(tree, selected), parts.back());
    const LRESULT target = move(tree, selected);
    REQUIRE(target != 0);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, target);
    CHECK_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), target);
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    CHECK(app.settle());
    CHECK(!IsWindow(browser) || !IsWindowVisible(browser));
    saveConfig(app);
}

}  // namespace

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
    chooseInBrowser(app, base, [](HWND tree, LRESULT selected) {
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, selected);
        return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, selected);
    });
    CHECK_EQ(optionDword("user dir").value_or(9), 0u);
    CHECK_EQ(optionText("run app path").value_or(""), base);
}

E2E_TEST(AVirtualFolderIsTakenAsACancel) {
    freshStart();
    setOptionDword("user dir", 1);
    setOptionText("run app path", workDir());
    App app = startReady();
    // The drive's parent in the tree is "My Computer", which is no file-system folder.
    chooseInBrowser(app, workDir(), [](HWND tree, LRESULT selected) {
        LRESULT item = selected;
        for (;;) {
            const LRESULT parent = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, item);
            if (parent == 0) return LRESULT{0};
            const LRESULT grandparent = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, parent);
            if (grandparent == 0) return item;  // `item` is a child of the root (the desktop)
            item = parent;
        }
    });
    CHECK_EQ(optionDword("user dir").value_or(9), 0u);
    CHECK_EQ(optionText("run app path").value_or(""), workDir());
}
