// Paths and the save file in the running program: the file and folder dialogs, dropped files, Ctrl+S and what
// the next start restores, the removal question for a save file that no longer fits, and failed saves.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
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

// The config of these tests, program Tool\tool.exe:
//   list 0: 0 "Input"  open-file path (filters Text, All), manual, leads on to list 1
//           1 "NoPath" manual only, leads on to list 1
//           2 "Folder" folder path "Pick a folder", leads nowhere
//   list 1: 0 "Out"    save-file path (filter Text), manual, leads on to list 2
//           1 "Plain"  nothing, leads nowhere
//   list 2: 0 "Last"   manual only
//           1 "Any"    open-file path without filters
constexpr std::uint32_t kLeadsOn = 1u, kTakesPath = 1u << 2, kTakesManual = 1u << 4;

ActionEntry entry(const std::string& caption, std::uint32_t flags, std::uint16_t next = 0,
                  std::uint16_t pathSpec = 0) {
    ActionEntry e;
    e.caption = caption;
    e.actionText = "-" + caption;
    e.actionPosition = 1;
    e.pathPosition = (flags & kTakesPath) != 0 ? 2 : 0;
    e.manualPosition = (flags & kTakesManual) != 0 ? 3 : 0;
    e.flags = flags;
    e.nextList = next;
    e.pathSpec = pathSpec;
    return e;
}

PathSpec pathSpec(std::uint8_t kind, std::vector<std::uint16_t> filters, const std::string& label) {
    PathSpec spec;
    spec.dialogKind = kind;
    spec.filters = std::move(filters);
    spec.label = label;
    return spec;
}

ActionList list(const std::string& label, std::vector<std::uint16_t> entries) {
    ActionList made;
    made.label = label;
    made.entries = std::move(entries);
    return made;
}

ProgramDescription pathTables() {
    ProgramDescription d = sampleTables();
    d.lists = {list("First", {0, 1, 2}), list("Second", {3, 4}), list("Third", {5, 6})};
    d.actions = {entry("Input", kLeadsOn | kTakesPath | kTakesManual, 1, 0),
                 entry("NoPath", kLeadsOn | kTakesManual, 1),
                 entry("Folder", kTakesPath, 0, 2),
                 entry("Out", kLeadsOn | kTakesPath | kTakesManual, 2, 1),
                 entry("Plain", 0),
                 entry("Last", kTakesManual),
                 entry("Any", kTakesPath, 0, 3)};
    d.pathSpecs = {pathSpec(kOpenFileDialog, {0, 1}, "Input file"), pathSpec(kSaveFileDialog, {0}, "Output file"),
                   pathSpec(kFolderDialog, {}, "Pick a folder"), pathSpec(kOpenFileDialog, {}, "Any file")};
    d.manualSpecs = {ManualSpec{"Arguments", "As typed"}};
    d.filterTexts = {"Text files\x01*.txt\x01", "All files\x01*.*\x01"};
    return d;
}

std::string toolFolder() { return join(appDir(), "Tool"); }
std::string saveFile() { return join(toolFolder(), "tool.as"); }

void prepare() {
    resetWorkspace();
    deleteOptions();
    writeConfigFile(join(appDir(), "prog.vx"), pathTables());
    makeFolders(toolFolder());
}

// ---- the pages' controls -----------------------------------------------------------------------------------

struct PageIds {
    int action, manual, path;
};
constexpr PageIds kPages[3] = {{IDC_ACTION1, IDC_MANUAL1, IDC_PATH1},
                               {IDC_ACTION2, IDC_MANUAL2, IDC_PATH2},
                               {IDC_ACTION3, IDC_MANUAL3, IDC_PATH3}};

HWND tabControl(App& app) { return GetDlgItem(app.mainWindow(), IDC_TABS); }

// Page n (0, 1, 2): the tab control's child dialog that holds its drop-down list.
HWND page(App& app, int n) {
    for (HWND child = FindWindowExA(tabControl(app), nullptr, nullptr, nullptr); child != nullptr;
         child = FindWindowExA(tabControl(app), child, nullptr, nullptr))
        if (GetDlgItem(child, kPages[n].action) != nullptr) return child;
    return nullptr;
}

// Waits until the main window shows its pages and the program has handled everything so far.
bool pagesReady(App& app) {
    if (app.mainWindow() == nullptr) {
        note(app.running() ? "no main window" : "the program ended before its main window showed");
        return false;
    }
    const DWORD start = GetTickCount();
    while (page(app, 2) == nullptr) {
        if (GetTickCount() - start > kWaitMs) {
            note("page 3 never appeared");
            return false;
        }
        Sleep(30);
    }
    if (app.settle()) return true;
    note(app.running() ? "the program did not settle" : "the program ended");
    return false;
}

HWND control(App& app, int n, int id) { return GetDlgItem(page(app, n), id); }

void selectEntry(App& app, int n, int item) {
    HWND combo = control(app, n, kPages[n].action);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageA(page(app, n), WM_COMMAND, MAKEWPARAM(kPages[n].action, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

int selectedEntry(App& app, int n) {
    return static_cast<int>(SendMessageA(control(app, n, kPages[n].action), CB_GETCURSEL, 0, 0));
}

void typeManual(App& app, int n, const std::string& text) {
    SendMessageA(control(app, n, kPages[n].manual), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string manualText(App& app, int n) { return windowText(control(app, n, kPages[n].manual)); }
std::string pathText(App& app, int n) { return windowText(control(app, n, kPages[n].path)); }

std::string tabCaption(App& app, int tab) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, app.processId());
    if (process == nullptr) return "<unreadable>";
    const std::size_t size = sizeof(TCITEMA) + 128;
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    char text[129] = {};
    if (remote != nullptr) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote + sizeof(TCITEMA);
        item.cchTextMax = 127;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        WriteProcessMemory(process, remote + sizeof(TCITEMA), text, sizeof text - 1, nullptr);
        SendMessageA(tabControl(app), TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote + sizeof(TCITEMA), text, sizeof text - 1, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

void drop(App& app, int n, const std::vector<std::string>& names) {
    CHECK(app.dropFiles(page(app, n), names));
    CHECK(app.settle());
}

// ---- the dialogs -------------------------------------------------------------------------------------------

// "Select path" (Ctrl+E) on page n; the dialog it opens.
HWND openPathDialog(App& app, int n, bool folder = false) {
    PostMessageA(page(app, n), WM_COMMAND, MAKEWPARAM(IDCMD_SELECT_PATH, 0), 0);
    return waitForPathDialog(app, folder);
}

void cancelDialog(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    CHECK(waitGone(dialog));
}

// The texts of a file dialog's file-type list (read as UTF-16: Wine's cross-process CB_GETLBTEXT).
std::vector<std::string> fileTypes(HWND dialog) {
    std::vector<std::string> types;
    HWND typeList = GetDlgItem(dialog, 1136);
    const LRESULT count = SendMessageW(typeList, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(typeList, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        char narrow[256] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        types.emplace_back(narrow);
    }
    return types;
}

int selectedFileType(HWND dialog) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, 1136), CB_GETCURSEL, 0, 0));
}

// ---- the save file -----------------------------------------------------------------------------------------

std::string u16(int value) { return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }

std::string printable(const std::string& bytes) {
    std::string out;
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= 0x20 && c < 0x7F && byte != '\\') {
            out.push_back(byte);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

#define CHECK_BYTES(actual, expected) CHECK_EQ(printable(actual), printable(expected))

// Ctrl+S, then the save file's bytes once nothing is pending in the program.
std::string saveWithKeys(App& app) {
    app.pressKeys({VK_CONTROL, 'S'});
    CHECK(app.settle());
    return readFile(saveFile());
}

std::string shortName(const std::string& path) {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}

}  // namespace

// Paths chosen by a drop and by the save dialog, manual texts typed, Ctrl+S: the file holds exactly that, and
// the next start shows the same selections, paths, texts and tab captions.
E2E_TEST(SaveAndRestoreThePages) {
    prepare();
    const std::string output = join(workDir(), "new-output.txt");  // does not exist: the save dialog takes it
    {
        App app = App::start();
        REQUIRE(pagesReady(app));
        CHECK(!app.openBox().has_value());
        selectEntry(app, 0, 0);
        drop(app, 0, {"C:\\data\\in.txt"});
        CHECK_EQ(pathText(app, 0), "in.txt\\data\\C:");
        typeManual(app, 0, "-a");
        selectEntry(app, 1, 0);
        HWND dialog = openPathDialog(app, 1);
        REQUIRE(dialog != nullptr);
        CHECK_EQ(windowText(GetDlgItem(dialog, IDOK)), "&Save");
        chooseInFileDialog(dialog, output);
        CHECK(waitGone(dialog));
        CHECK(app.settle());
        typeManual(app, 1, "-b c");
        selectEntry(app, 2, 0);
        typeManual(app, 2, "m3");

        const std::string saved = saveWithKeys(app);
        CHECK(!app.openBox().has_value());
        CHECK(!fileExists(saveFile() + ".tmp"));
        const std::string head = std::string("\x01\x01\x01" "\x01\x01\x01" "\x01\x00\x01", 9) + u16(0) + u16(0) +
                                 u16(1) + u16(0) + u16(2) + u16(0) + "\x05";
        CHECK_BYTES(saved.substr(0, head.size()), head);
        const std::string texts = saved.size() > head.size() ? saved.substr(head.size()) : std::string();
        // The dialog may report the chosen folder in its own spelling; compare the whole with that spelling.
        const std::string chosen = texts.size() > 20 ? texts.substr(18, texts.find('\0', 18) - 18) : std::string();
        CHECK(lstrcmpiA(chosen.c_str(), output.c_str()) == 0 || chosen == shortName(output));
        CHECK_BYTES(texts, std::string("C:\\data\\in.txt\0-a\0", 18) + chosen + std::string("\0-b c\0m3\0", 9));
    }
    App app = App::start();
    REQUIRE(pagesReady(app));
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    for (int n = 0; n < 3; ++n) CHECK_EQ(selectedEntry(app, n), 0);
    CHECK_EQ(pathText(app, 0), "in.txt\\data\\C:");
    CHECK_EQ(manualText(app, 0), "-a");
    CHECK_EQ(pathText(app, 1).substr(0, 15), "new-output.txt\\");
    CHECK_EQ(manualText(app, 1), "-b c");
    CHECK_EQ(manualText(app, 2), "m3");
    CHECK_EQ(tabCaption(app, 1), "Argument 2");
    CHECK_EQ(tabCaption(app, 2), "Argument 3");
}

// A save file with page 1 on an entry that leads nowhere: the path comes back and pages 2 and 3 stay dormant.
E2E_TEST(RestoreWithDormantPages) {
    prepare();
    writeFile(saveFile(), std::string("\x01\x01\x00\x00\x00", 5) + u16(0) + u16(2) + "\x01" + "D:\\x\\y" + '\0');
    App app = App::start();
    REQUIRE(pagesReady(app));
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    CHECK_EQ(selectedEntry(app, 0), 2);
    CHECK_EQ(pathText(app, 0), "y\\x\\D:");
    CHECK_EQ(tabCaption(app, 0), "Argument 1");
    CHECK(tabCaption(app, 1) != "Argument 2");
    CHECK(tabCaption(app, 2) != "Argument 3");
}

// A save file whose selection no longer fits the config: No keeps it and the question returns at the next
// start; Yes deletes it. A file cut inside its blocks is ignored without a word.
E2E_TEST(SaveFileThatNoLongerFitsIsOfferedForRemoval) {
    prepare();
    writeFile(saveFile(), std::string("\x01\x00\x00\x00\x00", 5) + u16(0) + u16(7) + std::string(1, '\0'));
    for (int button : {IDNO, IDNO, IDYES}) {
        App app = App::start();
        const auto box = app.waitForBox();
        REQUIRE(box.has_value());
        CHECK_EQ(box->caption, "Save file");
        // The question as before, and below it why the file does not fit, in plain words.
        CHECK_EQ(box->text.substr(0, box->text.find('\n')), "Save file is damaged, remove file?");
        CHECK(box->text.find("The config's lists changed since the file was saved: argument 1 has entry 8 of "
                             "list 1, which now has 3 entries.") != std::string::npos);
        CHECK(box->hasButton(IDYES));
        CHECK(box->hasButton(IDNO));
        CHECK_EQ(app.boxIcon(*box), 32514u);
        REQUIRE(app.answer(*box, button));
        REQUIRE(pagesReady(app));
        CHECK(app.settle());
        CHECK_EQ(selectedEntry(app, 0), 0);  // the pages start fresh
        CHECK_EQ(fileExists(saveFile()), button == IDNO);
    }
    {
        App app = App::start();
        REQUIRE(pagesReady(app));
        CHECK(app.settle());
        CHECK(!app.openBox().has_value());
    }
    writeFile(saveFile(), std::string("\x01\x01\x00\x00\x00", 5) + u16(0));
    App app = App::start();
    REQUIRE(pagesReady(app));
    CHECK(app.settle());
    CHECK(!app.openBox().has_value());
    CHECK_EQ(selectedEntry(app, 0), 0);
    CHECK(fileExists(saveFile()));
}

// A save that cannot be completed says "Error save!" and leaves the previous file as it was: when the new
// content cannot be written beside it, and when the program folder does not exist.
E2E_TEST(FailedSaveIsReportedAndKeepsTheOldFile) {
    prepare();
    writeFile(saveFile(), "old");
    makeFolders(saveFile() + ".tmp");  // a folder where the new content would be written
    {
        App app = App::start();
        REQUIRE(pagesReady(app));
        app.pressKeys({VK_CONTROL, 'S'});
        const auto box = app.waitForBox();
        REQUIRE(box.has_value());
        CHECK_EQ(box->caption, "Save!");
        CHECK_EQ(box->text, "Error save!");
        // Modal to the main window: the window takes no input under it, so a second save cannot stack a box.
        CHECK(GetWindow(box->window, GW_OWNER) == app.mainWindow());
        CHECK(!IsWindowEnabled(app.mainWindow()));
        CHECK_EQ(app.boxIcon(*box), 0u);
        REQUIRE(app.answer(*box, IDOK));
        CHECK_EQ(readFile(saveFile()), "old");
    }
    RemoveDirectoryA((saveFile() + ".tmp").c_str());
    DeleteFileA(saveFile().c_str());
    RemoveDirectoryA(toolFolder().c_str());
    App app = App::start();
    REQUIRE(pagesReady(app));
    app.pressKeys({VK_CONTROL, 'S'});
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Save!");
    CHECK_EQ(box->text, "Error save!");
    REQUIRE(app.answer(*box, IDOK));
    CHECK(!fileExists(toolFolder()));
}

// Drops are taken only while the entry takes a path: the first of several names, a folder on a file entry too,
// never a name longer than 259 characters.
E2E_TEST(DroppedFilesAreTakenOnlyWhenTheEntryTakesAPath) {
    prepare();
    App app = App::start();
    REQUIRE(pagesReady(app));
    selectEntry(app, 0, 1);  // NoPath
    drop(app, 0, {"C:\\ignored.txt"});
    CHECK(!app.openBox().has_value());
    selectEntry(app, 0, 0);  // Input: nothing was taken while "NoPath" was selected
    CHECK_EQ(pathText(app, 0), "");

    drop(app, 0, {"C:\\first\\a.txt", "C:\\second.txt", "C:\\third.txt"});
    CHECK_EQ(pathText(app, 0), "a.txt\\first\\C:");
    drop(app, 0, {"C:\\a folder"});
    CHECK_EQ(pathText(app, 0), "a folder\\C:");

    CHECK(app.dropFiles(page(app, 0), {"C:\\" + std::string(257, 'n')}));  // 260 characters
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Err...");
    CHECK(box->text.find("259") != std::string::npos);
    REQUIRE(app.answer(*box, IDOK));
    CHECK_EQ(pathText(app, 0), "a folder\\C:");

    const std::string longest = "C:\\" + std::string(256, 'n');  // 259 characters
    drop(app, 0, {longest});
    CHECK_EQ(pathText(app, 0), std::string(256, 'n') + "\\C:");
    CHECK(saveWithKeys(app).find(longest + '\0') != std::string::npos);
}

// The open dialog shows the config's filters and refuses a missing file; a cancel changes nothing; the chosen
// filter is offered again next time; a chosen file is shown and the current directory stays. A spec without
// filters gets the default filter; the save dialog completes a name typed without extension; the folder dialog
// opens and a cancel changes nothing.
E2E_TEST(PathDialogs) {
    prepare();
    const std::string existing = join(workDir(), "chosen.txt");
    writeFile(existing, "x");
    App app = App::start();
    REQUIRE(pagesReady(app));
    const std::string directoryBefore = app.currentDirectory();
    CHECK(!directoryBefore.empty());

    selectEntry(app, 0, 0);  // Input
    drop(app, 0, {"C:\\kept.txt"});
    HWND dialog = openPathDialog(app, 0);
    REQUIRE(dialog != nullptr);
    const std::vector<std::string> types = fileTypes(dialog);
    REQUIRE(types.size() == 2u);
    CHECK_EQ(types[0], "Text files");
    CHECK_EQ(types[1], "All files");
    cancelDialog(dialog);
    CHECK(app.settle());
    CHECK_EQ(pathText(app, 0), "kept.txt\\C:");

    dialog = openPathDialog(app, 0);
    REQUIRE(dialog != nullptr);
    HWND typeList = GetDlgItem(dialog, 1136);
    SendMessageA(typeList, CB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), reinterpret_cast<LPARAM>(typeList));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELENDOK), reinterpret_cast<LPARAM>(typeList));
    chooseInFileDialog(dialog, existing);
    CHECK(waitGone(dialog));
    CHECK(app.settle());
    CHECK_EQ(pathText(app, 0).substr(0, 11), "chosen.txt\\");
    CHECK_EQ(app.currentDirectory(), directoryBefore);

    dialog = openPathDialog(app, 0);
    REQUIRE(dialog != nullptr);
    CHECK_EQ(selectedFileType(dialog), 1);
    chooseInFileDialog(dialog, join(workDir(), "missing.txt"));
    // The open dialog refuses a file that does not exist: it stays open (behind its own notice).
    Sleep(500);
    CHECK(IsWindow(dialog) && IsWindowVisible(dialog));
    const auto notice = app.openBox();
    if (notice.has_value() && notice->window != dialog) app.answer(*notice, IDOK);
    cancelDialog(dialog);
    CHECK(app.settle());
    CHECK_EQ(pathText(app, 0).substr(0, 11), "chosen.txt\\");

    selectEntry(app, 1, 0);  // Out
    // The save dialog: a name typed without extension takes the chosen type's ("Text files", *.txt).
    dialog = openPathDialog(app, 1);
    REQUIRE(dialog != nullptr);
    chooseInFileDialog(dialog, join(workDir(), "report"));
    CHECK(waitGone(dialog));
    CHECK(app.settle());
    CHECK_EQ(pathText(app, 1).substr(0, 11), "report.txt\\");
    selectEntry(app, 2, 1);  // Any: no filters of its own
    dialog = openPathDialog(app, 2);
    REQUIRE(dialog != nullptr);
    const std::vector<std::string> anyTypes = fileTypes(dialog);
    REQUIRE(anyTypes.size() == 1u);
    CHECK_EQ(anyTypes[0], "Default (*.*)");
    cancelDialog(dialog);

    selectEntry(app, 0, 2);  // Folder
    drop(app, 0, {"C:\\windows"});
    HWND folder = openPathDialog(app, 0, true);
    REQUIRE(folder != nullptr);
    cancelDialog(folder);
    CHECK(app.settle());
    CHECK_EQ(pathText(app, 0), "windows\\C:");
}

// A remembered path longer than the dialogs' buffers (only a save file can bring one): both dialogs still open,
// a cancel keeps it, and the next save writes it whole.
E2E_TEST(LongRememberedPathReachesTheDialogsCutAndStaysWhole) {
    prepare();
    const std::string longPath = "C:\\" + std::string(120, 'a') + "\\" + std::string(200, 'b') + ".txt";
    // Page 1 on "Input" (leads on to list 1) with the path; page 2 on "Plain", which ends the chain.
    writeFile(saveFile(), std::string("\x01\x01\x00\x01\x00\x00\x00", 7) + u16(0) + u16(0) + u16(1) + u16(1) + "\x01" +
                              longPath + '\0');
    App app = App::start();
    REQUIRE(pagesReady(app));
    CHECK(!app.openBox().has_value());
    CHECK_EQ(pathText(app, 0).substr(0, 200), std::string(200, 'b'));

    HWND dialog = openPathDialog(app, 0);
    REQUIRE(dialog != nullptr);
    cancelDialog(dialog);
    CHECK(app.settle());
    CHECK(app.running());

    selectEntry(app, 0, 2);  // Folder: the slot's path is offered to the folder dialog
    HWND folder = openPathDialog(app, 0, true);
    REQUIRE(folder != nullptr);
    cancelDialog(folder);
    CHECK(app.settle());
    CHECK(app.running());

    CHECK(saveWithKeys(app).find(longPath + '\0') != std::string::npos);
}
