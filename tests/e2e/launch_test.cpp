// Start and "Copy command line" in the running program: what the described program really receives (its
// command line and working directory, recorded by brennic-demo), in each console mode and from each trigger;
// the warning question, a failed start, the consoles, and the clipboard. Every process a start creates is
// ended by its process id.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "driver/app.h"
#include "driver/configs.h"
#include "driver/e2e.h"
#include "driver/recorder.h"
#include "driver/registry.h"
#include "driver/workspace.h"
#include "state/argument_slot.h"
#include "persist/save_file.h"
#include "platform/text.h"
#include "resource_ids.h"

using namespace brennic;
using namespace brennic::e2e;

namespace {

// ---------------------------------------------------------------------------------------------------------
// The described program: brennic-demo in <app>\Demo, with one entry of each kind.
//   list 0 "Action": 0 "Level"  `--level m@ --name m@`, manual arguments into the marks, leads on to list 1
//                    1 "Input"  `-i p@`, an open-file path at the mark
//                    2 "Folder" `-d p@ -v`, a folder at the mark
//   list 1 "Output": 3 "Out"    `-o`, then the manual arguments at place 2

ActionEntry entry(const std::string& caption, const std::string& text, std::uint32_t flags) {
    ActionEntry e;
    e.caption = caption;
    e.actionText = text;
    e.actionPosition = 1;
    e.flags = flags;
    return e;
}

ProgramDescription launchTables() {
    ProgramDescription d;
    d.header.version = 5;
    d.texts = {"brennic-demo.exe", "Demo", "Version 1.0", "Demo author", "Config author", "demo@example.org"};
    ActionList first;
    first.label = "Action";
    first.entries = {0, 1, 2};
    ActionList second;
    second.label = "Output";
    second.entries = {3};
    d.lists = {first, second};

    ActionEntry level = entry("Level", "--level m@ --name m@", 1u | (1u << 4));
    level.nextList = 1;
    level.manualSpec = 0;
    ActionEntry input = entry("Input", "-i p@", 1u << 2);
    input.pathSpec = 0;
    ActionEntry folder = entry("Folder", "-d p@ -v", 1u << 2);
    folder.pathSpec = 1;
    ActionEntry out = entry("Out", "-o", 1u << 4);
    out.manualSpec = 1;
    out.manualPosition = 2;
    d.actions = {level, input, folder, out};

    PathSpec inputSpec;
    inputSpec.dialogKind = kOpenFileDialog;
    inputSpec.filters = {0};
    inputSpec.label = "Input file";
    PathSpec folderSpec;
    folderSpec.dialogKind = kFolderDialog;
    folderSpec.label = "Folder";
    d.pathSpecs = {inputSpec, folderSpec};
    d.manualSpecs = {ManualSpec{"Level and name", "A level, then a name"}, ManualSpec{"Output", "Output file"}};
    d.filterTexts = {"All files\x01*.*"};
    return d;
}

const std::string kLevelManual = "fast \"two words\" dropped";
const std::string kOutManual = "out file.txt";
const std::string kParameters = "--level fast --name \"two words\" -o out file.txt ";

std::string demoFolder() { return join(appDir(), "Demo"); }
std::string demoExe() { return join(demoFolder(), "brennic-demo.exe"); }
std::string recordPath() { return join(workDir(), "record.txt"); }
std::string probeRecordPath() { return join(workDir(), "probe.txt"); }

// A fresh workspace with the config and the demo program (or another stand-in); the record files are named
// in our environment, which the program and everything it starts inherit.
void prepare(const std::string& describedProgram = {}) {
    resetWorkspace();
    deleteOptions();
    writeConfigFile(join(appDir(), "prog.vx"), launchTables());
    REQUIRE(installRecorder(demoExe(), recordPath()));
    if (!describedProgram.empty()) REQUIRE(copyFile(builtProgram(describedProgram), demoExe()));
    SetEnvironmentVariableA("BRENNIC_PROBE_RECORD", probeRecordPath().c_str());
}

std::vector<RecordedRun> readRuns() { return recordedRuns(recordPath()); }
std::vector<RecordedRun> waitForRuns(std::size_t count) { return e2e::waitForRuns(recordPath(), count); }

// ---------------------------------------------------------------------------------------------------------
// Processes a start created

struct Process {
    DWORD id;
    std::string name;  // lower case
};

std::vector<Process> descendantsOf(DWORD root) {
    std::vector<PROCESSENTRY32> all;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32 e{};
        e.dwSize = sizeof e;
        for (BOOL more = Process32First(snapshot, &e); more; more = Process32Next(snapshot, &e)) all.push_back(e);
        CloseHandle(snapshot);
    }
    std::vector<Process> found;
    std::vector<DWORD> parents{root};
    for (std::size_t i = 0; i < parents.size(); ++i) {
        for (const PROCESSENTRY32& e : all) {
            if (e.th32ParentProcessID != parents[i] || e.th32ProcessID == root) continue;
            if (std::find(parents.begin(), parents.end(), e.th32ProcessID) != parents.end()) continue;
            std::string name = e.szExeFile;
            std::transform(name.begin(), name.end(), name.begin(),
                           [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
            found.push_back({e.th32ProcessID, name});
            parents.push_back(e.th32ProcessID);
        }
    }
    return found;
}

bool hasProcessNamed(const std::vector<Process>& list, const std::string& name) {
    return std::any_of(list.begin(), list.end(), [&](const Process& p) { return p.name == name; });
}

// Ends every process started under the program, by id.
void endDescendants(const App& app) {
    for (const Process& p : descendantsOf(app.processId())) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.id)) {
            TerminateProcess(h, 1);
            WaitForSingleObject(h, kWaitMs);
            CloseHandle(h);
        }
    }
}

// Ends what the program started when a case ends, however it ends.
class DescendantGuard {
public:
    explicit DescendantGuard(const App& app) : app_(app) {}
    ~DescendantGuard() { endDescendants(app_); }
    DescendantGuard(const DescendantGuard&) = delete;
    DescendantGuard& operator=(const DescendantGuard&) = delete;

private:
    const App& app_;
};

// ---------------------------------------------------------------------------------------------------------
// Pages

struct PageIds {
    int action;
    int manual;
};
constexpr PageIds kPages[3] = {{IDC_ACTION1, IDC_MANUAL1}, {IDC_ACTION2, IDC_MANUAL2}, {IDC_ACTION3, IDC_MANUAL3}};

// The page window that holds the control.
HWND findPageWith(HWND main, int controlId) {
    struct Search {
        int id;
        HWND found;
    } search{controlId, nullptr};
    EnumChildWindows(
        main,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!GetDlgItem(window, s->id)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The page window that holds the control, waited for (the pages are created after the main window shows).
HWND pageWith(HWND main, int controlId) {
    const DWORD start = GetTickCount();
    HWND page = findPageWith(main, controlId);
    while (!page && GetTickCount() - start < kWaitMs) {
        Sleep(50);
        page = findPageWith(main, controlId);
    }
    return page;
}

// Picks an entry of a page's "Action/Keys" list as the user does.
void selectEntry(App& app, int page, int item) {
    HWND pageWindow = pageWith(app.mainWindow(), kPages[page].action);
    if (!pageWindow) {
        note("main window class " + className(app.mainWindow()) + " title " + windowText(app.mainWindow()));
        if (auto box = app.openBox()) note("open box: " + box->caption + " / " + box->text);
    }
    REQUIRE(pageWindow != nullptr);
    HWND combo = GetDlgItem(pageWindow, kPages[page].action);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageA(pageWindow, WM_COMMAND, MAKEWPARAM(kPages[page].action, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void typeManual(App& app, int page, const std::string& text) {
    HWND pageWindow = pageWith(app.mainWindow(), kPages[page].manual);
    REQUIRE(pageWindow != nullptr);
    SendMessageA(GetDlgItem(pageWindow, kPages[page].manual), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Page 1 "Level" with its manual arguments, page 2 "Out" with its own; console mode by its menu command.
void fillPages(App& app, int modeCommand) {
    REQUIRE(app.mainWindow() != nullptr);
    selectEntry(app, 0, 0);
    typeManual(app, 0, kLevelManual);
    selectEntry(app, 1, 0);
    typeManual(app, 1, kOutManual);
    app.post(modeCommand);
    app.settle();
}

enum class Trigger { Enter, Menu, PageMenu };

void start(App& app, Trigger how) {
    switch (how) {
        case Trigger::Enter: app.pressKeys({VK_RETURN}); break;
        case Trigger::Menu: app.post(IDCMD_START); break;
        case Trigger::PageMenu:
            PostMessageA(pageWith(app.mainWindow(), IDC_MANUAL1), WM_COMMAND, MAKEWPARAM(IDCMD_START, 0), 0);
            break;
    }
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// ---------------------------------------------------------------------------------------------------------
// Clipboard

std::string clipboardText() {
    std::string text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = utf8(units);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void setClipboardText(const std::string& text) {
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        SetClipboardData(CF_TEXT, memory);
    }
    CloseClipboard();
}

const std::vector<WORD> kCopyKeys = {VK_CONTROL, VK_SHIFT, 'C'};

// ---------------------------------------------------------------------------------------------------------
// The command preview under the tab control

std::string previewText(App& app, int id) { return windowText(GetDlgItem(app.mainWindow(), id)); }

// Ctrl+Shift+C's text, watched for on the clipboard (keys arrive later than settle() can tell). Keys pressed
// right after start-up may reach no window under Wine: they are pressed again then.
std::string copiedByKeys(App& app) {
    const std::string none = "<nothing copied>";
    setClipboardText(none);
    std::string copied = none;
    for (int attempt = 0; attempt < 3 && copied == none; ++attempt) {
        app.pressKeys(kCopyKeys);
        for (const DWORD begin = GetTickCount(); copied == none && GetTickCount() - begin < kWaitMs / 3;) {
            Sleep(20);
            copied = clipboardText();
        }
    }
    return copied;
}

HWND focusOf(App& app) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &info);
    return info.hwndFocus;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------

E2E_TEST(StartDeliversTheCommandLineInEveryModeAndFromEveryTrigger) {
    for (Trigger how : {Trigger::Enter, Trigger::Menu, Trigger::PageMenu}) {
        for (int mode : {IDCMD_HIDE_CONSOLE, IDCMD_SHOW_CONSOLE, IDCMD_HOLD_CONSOLE}) {
            if (how == Trigger::PageMenu && mode != IDCMD_HIDE_CONSOLE) continue;  // the same call as the menu's
            prepare();
            App app = App::start();
            DescendantGuard guard(app);
            fillPages(app, mode);
            start(app, how);
            const auto runs = waitForRuns(1);
            REQUIRE(runs.size() == 1);
            CHECK_EQ(runs[0].commandLine, quoted(demoExe()) + " " + kParameters);
            CHECK_EQ(runs[0].directory, demoFolder());
            const std::vector<std::string> args = {demoExe(), "--level", "fast", "--name", "two words",
                                                   "-o",      "out",     "file.txt"};
            CHECK(runs[0].arguments == args);
            app.settle();
            CHECK(!app.openBox().has_value());
            if (how != Trigger::Enter) continue;
            // The pages keep what they hold: a second start sends the same line. (By the menu command: a
            // shown console may have taken the keyboard focus from the main window.)
            start(app, Trigger::Menu);
            const auto again = waitForRuns(2);
            REQUIRE(again.size() == 2);
            CHECK_EQ(again[1].commandLine, runs[0].commandLine);
        }
    }
}

E2E_TEST(HeldConsoleLeavesTheInterpreterOpen) {
    prepare();
    // A cmd.exe beside the program (its current folder too) is never run: the system folder's is.
    REQUIRE(writeFile(join(appDir(), "cmd.exe"), "not the system's command interpreter"));
    App app = App::start();
    DescendantGuard guard(app);
    fillPages(app, IDCMD_HOLD_CONSOLE);
    start(app, Trigger::Enter);
    REQUIRE(waitForRuns(1).size() == 1);
    Sleep(1000);  // brennic-demo has ended by now
    const auto running = descendantsOf(app.processId());
    CHECK(hasProcessNamed(running, "cmd.exe"));
    CHECK(!hasProcessNamed(running, "brennic-demo.exe"));
}

// The console probe stays alive and records whether its console window is visible.
E2E_TEST(ConsoleIsHiddenShownOrHeldAsChosen) {
    struct Expectation {
        int mode;
        const char* line;
    };
    const Expectation cases[] = {{IDCMD_HIDE_CONSOLE, "console=1 visible=0 show=0"},
                                 {IDCMD_SHOW_CONSOLE, "console=1 visible=1 show=5"},
                                 {IDCMD_HOLD_CONSOLE, "console=1 visible=1"}};
    for (const Expectation& expected : cases) {
        prepare("brennic_e2e_console_probe.exe");
        App app = App::start();
        DescendantGuard guard(app);
        fillPages(app, expected.mode);
        start(app, Trigger::Enter);
        const DWORD begin = GetTickCount();
        std::string line;
        while (line.empty() && GetTickCount() - begin < 2 * kWaitMs) {
            Sleep(100);
            line = readFile(probeRecordPath());
        }
        REQUIRE(!line.empty());
        CHECK_EQ(line.substr(0, std::strlen(expected.line)), std::string(expected.line));
    }
}

E2E_TEST(WarningsAskBeforeTheStartAndNoCancelsIt) {
    prepare();
    App app = App::start();
    DescendantGuard guard(app);
    REQUIRE(app.mainWindow() != nullptr);
    app.post(IDCMD_HIDE_CONSOLE);
    selectEntry(app, 0, 1);  // "Input": takes a path, none chosen
    app.settle();
    const std::string question = "Argument 1 Empty path\n\n\n Continue app starting?";

    app.pressKeys({VK_RETURN});
    auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Warning");
    CHECK_EQ(box->text, question);
    CHECK(box->hasButton(IDYES));
    CHECK(box->hasButton(IDNO));
    CHECK_EQ(app.boxIcon(*box), 32515u);
    REQUIRE(app.answer(*box, IDNO));
    app.settle();
    Sleep(1000);
    CHECK(readRuns().empty());
    CHECK(!app.openBox().has_value());

    // The log was emptied: the same start asks the same question once more, and Yes starts.
    app.pressKeys({VK_RETURN});
    box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->text, question);
    REQUIRE(app.answer(*box, IDYES));
    auto runs = waitForRuns(1);
    REQUIRE(runs.size() == 1);
    CHECK_EQ(runs[0].commandLine, quoted(demoExe()) + " -i ");

    // "Show warnings" off: no question, the program starts.
    app.post(IDCMD_SHOW_WARNINGS);
    app.pressKeys({VK_RETURN});
    runs = waitForRuns(2);
    CHECK(runs.size() == 2);
    app.settle();
    CHECK(!app.openBox().has_value());
}

// Enter with the "Action/Keys" list dropped down closes the list on the highlighted entry and starts nothing;
// with the list closed, Enter starts.
E2E_TEST(EnterClosesADroppedListAndStartsOnlyOnceItIsClosed) {
    prepare();
    App app = App::start();
    DescendantGuard guard(app);
    REQUIRE(app.mainWindow() != nullptr);
    app.post(IDCMD_HIDE_CONSOLE);
    selectEntry(app, 0, 0);  // "Level"
    HWND page = pageWith(app.mainWindow(), IDC_ACTION1);
    REQUIRE(page != nullptr);
    HWND combo = GetDlgItem(page, IDC_ACTION1);
    SendMessageA(app.mainWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    REQUIRE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE);
    app.pressKeys({VK_DOWN});  // highlights "Input", which takes a path
    app.settle();
    app.pressKeys({VK_RETURN});
    app.settle();
    CHECK(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == FALSE);
    CHECK_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    CHECK(!app.openBox().has_value());
    CHECK(readRuns().empty());

    // Start with "Input" and no path: the warning asks first.
    app.pressKeys({VK_RETURN});
    auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->text, "Argument 1 Empty path\n\n\n Continue app starting?");
    REQUIRE(app.answer(*box, IDNO));
}

E2E_TEST(MissingProgramIsAFailedStart) {
    prepare();
    REQUIRE(DeleteFileA(demoExe().c_str()));
    App app = App::start();
    DescendantGuard guard(app);
    fillPages(app, IDCMD_HIDE_CONSOLE);
    app.pressKeys({VK_RETURN});
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Err...");
    // The program file and the system's reason below the old text.
    CHECK_EQ(box->text.substr(0, 15 + demoExe().size()), "Run app error\n" + demoExe() + "\n");
    CHECK(box->text.size() > 16 + demoExe().size());
    CHECK_EQ(app.boxIcon(*box), 32513u);
    REQUIRE(app.answer(*box, IDOK));
    CHECK(app.running());
}

E2E_TEST(EmptyExecutableNameLaunchesNothing) {
    prepare();
    ProgramDescription tables = launchTables();
    tables.texts[kExecutableName].clear();
    writeConfigFile(join(appDir(), "prog.vx"), tables);
    App app = App::start();
    DescendantGuard guard(app);
    REQUIRE(app.mainWindow() != nullptr);
    app.settle();
    if (auto early = app.openBox()) app.answer(*early, IDOK);  // a save-file question, should one appear
    fillPages(app, IDCMD_SHOW_CONSOLE);
    app.pressKeys({VK_RETURN});
    const auto box = app.waitForBox();
    REQUIRE(box.has_value());
    CHECK_EQ(box->caption, "Err...");
    CHECK_EQ(box->text, "Run app error\n" + demoFolder() + "\\\nThe config names no program file to start.");
    REQUIRE(app.answer(*box, IDOK));
    Sleep(1000);
    CHECK(descendantsOf(app.processId()).empty());  // no explorer window on the folder
}

E2E_TEST(NothingStartsOrCopiesBeforeADescriptionIsLoaded) {
    prepare();
    DeleteFileA(join(appDir(), "prog.vx").c_str());  // no config: a load error at start-up
    App app = App::start();
    DescendantGuard guard(app);
    REQUIRE(app.mainWindow() != nullptr);
    const auto error = app.waitForBox();
    REQUIRE(error.has_value());
    REQUIRE(app.answer(*error, IDOK));
    setClipboardText("unchanged");
    app.pressKeys({VK_RETURN});
    app.pressKeys(kCopyKeys);
    app.settle();
    Sleep(1000);
    CHECK(readRuns().empty());
    CHECK(!app.openBox().has_value());
    CHECK(descendantsOf(app.processId()).empty());
    CHECK_EQ(clipboardText(), "unchanged");
    CHECK_EQ(previewText(app, IDC_PREVIEW), "");
    CHECK_EQ(previewText(app, IDC_PREVIEW_MARKER), "");
}

// What "Copy command line" puts on the clipboard is what the next Start hands over.
E2E_TEST(CopyCommandLineMatchesWhatStartRuns) {
    for (int mode : {IDCMD_HIDE_CONSOLE, IDCMD_SHOW_CONSOLE, IDCMD_HOLD_CONSOLE}) {
        prepare();
        App app = App::start();
        DescendantGuard guard(app);
        fillPages(app, mode);
        selectEntry(app, 1, 0);
        typeManual(app, 1, "");  // a missing argument: copying asks nothing
        setClipboardText("before");
        if (mode == IDCMD_SHOW_CONSOLE) {
            PostMessageA(pageWith(app.mainWindow(), IDC_MANUAL1), WM_COMMAND,
                         MAKEWPARAM(IDCMD_COPY_COMMAND_LINE, 0), 0);  // the page's context menu
        } else {
            app.pressKeys(kCopyKeys);
        }
        app.settle();
        const std::string copied = clipboardText();
        CHECK(!app.openBox().has_value());
        Sleep(500);
        CHECK(readRuns().empty());  // copying runs nothing

        app.post(IDCMD_SHOW_WARNINGS);  // off: the start goes ahead at once
        app.pressKeys({VK_RETURN});
        const auto runs = waitForRuns(1);
        REQUIRE(runs.size() == 1);
        const std::string program = quoted(demoExe()) + " --level fast --name \"two words\" -o  ";
        CHECK_EQ(runs[0].commandLine, program);
        if (mode == IDCMD_HOLD_CONSOLE) {
            const std::string drive = appDir().substr(0, 1);
            CHECK_EQ(copied, "cmd.exe /k " + drive + ": && cd " + quoted(demoFolder()) + " && " + program);
        } else {
            CHECK_EQ(copied, runs[0].commandLine);
        }
    }
}

// Names in Cyrillic, CJK and an emoji outside the BMP, dropped or chosen in the open dialog, reach the program
// exactly in the hidden and the held console, survive Ctrl+S and a restart, and are copied as they run.
E2E_TEST(NamesInAnyScriptReachTheProgramExactly) {
    prepare();
    const std::string folder = join(workDir(), "\u0434\u0430\u043d\u043d\u044b\u0435 \u6570\u636e \U0001F600");
    const std::string dropped = join(folder, "\u0444\u0430\u0439\u043b \u6587\u4ef6 \U0001F4C4.txt");
    const std::string chosen = join(folder, "\u0432\u0442\u043e\u0440\u043e\u0439 \u7b2c\u4e8c \U0001F389.txt");
    REQUIRE(writeFile(dropped, "x") && writeFile(chosen, "y"));
    SystemExplorerStandIn explorer(recordPath());  // "Open argument folder"
    REQUIRE(explorer.available());
    const auto expectRun = [](const RecordedRun& run, const std::string& path) {
        CHECK_EQ(run.commandLine, quoted(demoExe()) + " -i " + quoted(path) + " ");
        CHECK(run.arguments == (std::vector<std::string>{demoExe(), "-i", path}));
    };
    {
        App app = App::start();
        DescendantGuard guard(app);
        selectEntry(app, 0, 1);  // Input: `-i p@`
        REQUIRE(app.dropFiles(pageWith(app.mainWindow(), IDC_ACTION1), {dropped}));
        app.post(IDCMD_HIDE_CONSOLE);
        app.settle();
        app.pressKeys({VK_RETURN});
        auto runs = waitForRuns(1);
        REQUIRE(runs.size() == 1);
        expectRun(runs[0], dropped);
        PostMessageW(pageWith(app.mainWindow(), IDC_ACTION1), WM_COMMAND,
                     MAKEWPARAM(IDCMD_OPEN_ARGUMENT_FOLDER, 0), 0);
        runs = waitForRuns(2);
        REQUIRE(runs.size() == 2);
        CHECK(runs[1].commandLine.find(" " + quoted(folder + "\\")) != std::string::npos);

        PostMessageW(pageWith(app.mainWindow(), IDC_ACTION1), WM_COMMAND, MAKEWPARAM(IDCMD_SELECT_PATH, 0), 0);
        HWND dialog = waitForPathDialog(app, false);
        REQUIRE(dialog != nullptr);
        chooseInFileDialog(dialog, chosen);
        CHECK(waitGone(dialog));
        app.settle();
        app.pressKeys({VK_CONTROL, 'S'});
        app.settle();
        // Written for earlier versions too: the texts in the code page, then again as UTF-8.
        CHECK(readFile(join(demoFolder(), "brennic-demo.as")).find(std::string("UTF-8\0", 6) + chosen) !=
              std::string::npos);
        app.post(IDCMD_HOLD_CONSOLE);
        app.settle();
        app.pressKeys(kCopyKeys);
        app.settle();
        CHECK_EQ(clipboardText(), "cmd.exe /k " + appDir().substr(0, 1) + ": && cd " + quoted(demoFolder()) +
                                      " && " + quoted(demoExe()) + " -i " + quoted(chosen) + " ");
        app.post(IDCMD_START);
        runs = waitForRuns(3);
        REQUIRE(runs.size() == 3);
        expectRun(runs[2], chosen);
    }
    endAllApps();
    App app = App::start();
    DescendantGuard guard(app);
    app.post(IDCMD_HIDE_CONSOLE);
    app.settle();
    app.post(IDCMD_START);
    const auto runs = waitForRuns(4);
    REQUIRE(runs.size() == 4);
    expectRun(runs[3], chosen);
}

// A folder at a drive root keeps its own argument and leaves the rest of the line alone.
E2E_TEST(DriveRootPathStaysOneArgument) {
    prepare();
    ArgumentSlots slots{};
    slots[0].enabled = 1;
    slots[0].pathUsed = 1;
    slots[0].group = 0;
    slots[0].item = 2;  // "Folder": `-d p@ -v`
    slots[0].path = "Z:\\";
    REQUIRE(writeFile(join(demoFolder(), "brennic-demo.as"), encodeSaveFile(slots, PageControlsTable{}, Windows1252{})));
    App app = App::start();
    DescendantGuard guard(app);
    REQUIRE(app.mainWindow() != nullptr);
    app.post(IDCMD_HIDE_CONSOLE);
    app.settle();
    app.pressKeys({VK_RETURN});
    const auto runs = waitForRuns(1);
    if (runs.empty()) {
        if (auto box = app.openBox()) note("open box: " + box->caption + " / " + box->text);
        note("path field: " + windowText(GetDlgItem(pageWith(app.mainWindow(), IDC_PATH1), IDC_PATH1)));
    }
    REQUIRE(runs.size() == 1);
    CHECK_EQ(runs[0].commandLine, quoted(demoExe()) + " -d \"Z:\\\\\" -v ");
    const std::vector<std::string> args = {demoExe(), "-d", "Z:\\", "-v"};
    CHECK(runs[0].arguments == args);
}

// The line under the tabs after each kind of change is what Ctrl+Shift+C copies at that moment, the marker
// names the arguments Start would warn about, and Start hands the described program exactly the line.
E2E_TEST(PreviewLineFollowsEveryChangeAndIsWhatStartRuns) {
    prepare();
    ArgumentSlots slots{};
    slots[0] = {1, 0, 1, 0, 0, 0, "", ""};  // "Level"
    slots[1] = {1, 0, 1, 0, 1, 0, "", ""};  // "Out"
    REQUIRE(writeFile(join(demoFolder(), "brennic-demo.as"), encodeSaveFile(slots, PageControlsTable{}, Windows1252{})));
    App app = App::start();
    DescendantGuard guard(app);
    REQUIRE(app.mainWindow() != nullptr);
    HWND page1 = pageWith(app.mainWindow(), IDC_MANUAL1);
    HWND page2 = pageWith(app.mainWindow(), IDC_MANUAL2);
    REQUIRE(page1 != nullptr && page2 != nullptr);

    std::string line;
    auto check = [&](const std::string& step, const std::string& marker) {  // every step changes the command
        app.settle();
        const std::string before = line;
        line = previewText(app, IDC_PREVIEW);
        note("after " + step + ": " + line);
        CHECK(line != before);
        CHECK_EQ(line, copiedByKeys(app));
        CHECK_EQ(previewText(app, IDC_PREVIEW_MARKER), marker);
    };
    check("the restored state", "Warnings: 1, 2");
    CHECK_EQ(line.substr(0, 11), std::string("cmd.exe /k "));  // "Hold console", the default
    app.post(IDCMD_HIDE_CONSOLE);
    check("a console-mode change", "Warnings: 1, 2");
    PostMessageA(GetDlgItem(page2, IDC_MANUAL2), WM_CHAR, 'a', 1);
    check("a keystroke", "Warnings: 1");
    typeManual(app, 0, "x y");
    check("a manual text", "");
    CHECK_EQ(line, quoted(demoExe()) + " --level x --name y -o a ");
    app.post(IDCMD_CLEAR_ARGUMENTS);  // Ctrl+R, on argument 1
    check("Clear arguments", "Warnings: 1");
    app.post(IDCMD_NEXT_ITEM);  // Ctrl+Down: "Input", argument 2 goes dormant
    check("Ctrl+Down", "Warnings: 1");
    REQUIRE(app.dropFiles(page1, {join(workDir(), "in.wav")}));
    check("a dropped file", "");
    PostMessageA(page1, WM_MBUTTONDOWN, MK_MBUTTON, 0);  // "Folder", the remembered path at its mark
    check("the middle button", "");
    PostMessageA(page1, WM_COMMAND, MAKEWPARAM(IDCMD_CLEAR_PATH, 0), 0);
    check("Clear file path", "Warnings: 1");
    app.post(IDCMD_PREVIOUS_ITEM);  // Ctrl+Up: "Input"
    check("Ctrl+Up", "Warnings: 1");
    selectEntry(app, 0, 0);  // "Level": argument 2 live again, with its text
    check("an entry chosen", "Warnings: 1");

    // Enter starts also from the line itself, and Tab leads on from it.
    HWND preview = GetDlgItem(app.mainWindow(), IDC_PREVIEW);
    PostMessageA(app.mainWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(preview), TRUE);
    app.settle();
    REQUIRE(focusOf(app) == preview);
    app.post(IDCMD_SHOW_WARNINGS);  // off: no question
    app.pressKeys({VK_RETURN});
    const auto runs = waitForRuns(1);
    REQUIRE(runs.size() == 1);
    CHECK_EQ(runs[0].commandLine, line);
    app.pressKeys({VK_TAB});
    for (const DWORD begin = GetTickCount(); focusOf(app) == preview && GetTickCount() - begin < kWaitMs;) Sleep(20);
    CHECK(focusOf(app) != preview);
}
