// Watching a run: the run window of "Show output in window" (its output, status, title, progress, buttons),
// Stop taking the whole process tree, "Run again", the end of a hidden-console run in the main window's status
// bar, the failure box's reason, and exiting while runs are going. The described program is the talker, which
// does what its arguments (typed as the manual arguments) say.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <optional>
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

// One list with one entry, "Talk": the talker says "start", then does the steps typed as manual arguments.
ProgramDescription talkTables() {
    ProgramDescription d;
    d.header.version = 5;
    d.texts = {"talker.exe", "Talker", "Version 1.0", "Author", "Config author", "talk@example.org"};
    ActionList list;
    list.label = "Action";
    list.entries = {0};
    d.lists = {list};
    ActionEntry talk;
    talk.caption = "Talk";
    talk.actionText = "say:start";
    talk.actionPosition = 1;
    talk.flags = 1u << 4;
    talk.manualSpec = 0;
    talk.manualPosition = 2;  // the steps after the action text
    d.actions = {talk};
    d.manualSpecs = {ManualSpec{"Steps", "What the talker does"}};
    return d;
}

std::string talkerFolder() { return join(appDir(), "Talker"); }
std::string talkerExe() { return join(talkerFolder(), "talker.exe"); }

void prepare() {
    resetWorkspace();
    deleteOptions();
    writeConfigFile(join(appDir(), "prog.vx"), talkTables());
    REQUIRE(copyFile(builtProgram("brennic_e2e_talker.exe"), talkerExe()));
}

HWND pageWithManual(App& app) {
    HWND found = nullptr;
    for (const DWORD begin = GetTickCount(); !found && GetTickCount() - begin < kWaitMs; Sleep(50)) {
        EnumChildWindows(
            app.mainWindow(),
            [](HWND window, LPARAM param) -> BOOL {
                if (!GetDlgItem(window, IDC_MANUAL1)) return TRUE;
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
    }
    return found;
}

// Picks "Talk" on page 1 with the steps as its manual arguments, in the console mode of `modeCommand`.
void talk(App& app, const std::string& steps, int modeCommand) {
    REQUIRE(app.mainWindow() != nullptr);
    HWND page = pageWithManual(app);
    REQUIRE(page != nullptr);
    HWND combo = GetDlgItem(page, IDC_ACTION1);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_ACTION1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    SendMessageA(GetDlgItem(page, IDC_MANUAL1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(steps.c_str()));
    app.post(modeCommand);
    app.settle();
}

// The run windows of the program: its visible top-level windows owned by the main window that hold an output
// control.
std::vector<HWND> runWindows(App& app) {
    struct Search {
        DWORD process;
        HWND main;
        std::vector<HWND> found;
    } search{app.processId(), app.mainWindow(), {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == s->process && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s->main &&
                GetDlgItem(window, IDC_RUN_OUTPUT) != nullptr)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> waitForRunWindows(App& app, std::size_t count) {
    std::vector<HWND> found = runWindows(app);
    for (const DWORD begin = GetTickCount(); found.size() < count && GetTickCount() - begin < kWaitMs; Sleep(50))
        found = runWindows(app);
    return found;
}

std::string itemText(HWND window, int id) { return windowText(GetDlgItem(window, id)); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Waits until the window's title says the run has ended (it no longer says "running").
bool waitForEnd(HWND window) {
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitMs; Sleep(50)) {
        if (!contains(windowText(window), "running") && IsWindowEnabled(GetDlgItem(window, IDC_RUN_STOP)) == FALSE)
            return true;
    }
    return false;
}

bool waitForOutput(HWND window, const std::string& part) {
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitMs; Sleep(50)) {
        if (contains(itemText(window, IDC_RUN_OUTPUT), part)) return true;
    }
    return false;
}

void click(HWND window, int id) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

bool processGone(DWORD id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr) return true;
    const bool gone = WaitForSingleObject(process, kWaitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

// A part of a status bar in another process: SB_GETTEXTW writes into that process's memory.
std::string statusPart(App& app, HWND bar, int part) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, app.processId());
    if (process == nullptr) return {};
    std::string text;
    const LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    const std::size_t units = static_cast<std::size_t>(LOWORD(length)) + 1;
    if (void* remote = VirtualAllocEx(process, nullptr, units * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE)) {
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(remote));
        std::wstring buffer(units, L'\0');
        SIZE_T got = 0;
        if (ReadProcessMemory(process, remote, buffer.data(), units * sizeof(wchar_t), &got))
            text = utf8(buffer.c_str());
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

// A message box of the program: a visible dialog owned by `owner` (the main window when none) that is not a
// run window.
std::optional<MessageBoxInfo> waitForQuestion(App& app, HWND owner = nullptr) {
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitMs; Sleep(50)) {
        const HWND main = owner != nullptr ? owner : app.mainWindow();
        struct Search {
            DWORD process;
            HWND main;
            HWND found;
        } search{app.processId(), main, nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (process != s->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != s->main ||
                    GetDlgItem(window, IDC_RUN_OUTPUT) != nullptr || className(window) != "#32770")
                    return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) continue;
        MessageBoxInfo box;
        box.window = search.found;
        box.caption = windowText(search.found);
        box.text = windowText(GetDlgItem(search.found, 0xFFFF));
        for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
            if (HWND button = GetDlgItem(search.found, id)) box.buttons.push_back({id, windowText(button)});
        }
        return box;
    }
    return std::nullopt;
}

// Waits until no process of that file name runs any more.
bool noProcessNamed(const char* name) {
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitMs; Sleep(100)) {
        bool found = false;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return false;
        PROCESSENTRY32 e{};
        e.dwSize = sizeof e;
        for (BOOL more = Process32First(snapshot, &e); more && !found; more = Process32Next(snapshot, &e))
            found = lstrcmpiA(e.szExeFile, name) == 0;
        CloseHandle(snapshot);
        if (!found) return true;
    }
    return false;
}

std::string systemText(DWORD code) {
    wchar_t buffer[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, 512, nullptr);
    std::string text = utf8(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

// Everything the program writes, as a console would show it, and how it ended: the title and status name the
// exit code, the progress line was rewritten in place, colours are gone, both streams interleave as written,
// and standard input reads as ended.
E2E_TEST(OutputWindowShowsTheOutputAndHowTheRunEnded) {
    prepare();
    App app = App::start();
    talk(app, "utf8 progress colour mixed stdin exit:3", IDCMD_OUTPUT_WINDOW);
    const std::string line = windowText(GetDlgItem(app.mainWindow(), IDC_PREVIEW));
    app.post(IDCMD_START);
    const auto windows = waitForRunWindows(app, 1);
    REQUIRE(windows.size() == 1);
    HWND run = windows[0];
    CHECK(waitForEnd(run));
    CHECK_EQ(itemText(run, IDC_RUN_COMMAND), line);
    const std::string output = itemText(run, IDC_RUN_OUTPUT);
    note("output: " + output);
    CHECK_EQ(output,
             "start\r\n"
             "Gr\u00fc\u00dfe \u041f\u0440\u0438\u0432\u0435\u0442 \u2713\r\n"
             "Working 100%\r\n"
             "red and plain\r\n"
             "out one\r\nerr two\r\nout three\r\n"
             "stdin: 0 bytes, end of input\r\n");
    const std::string title = windowText(run);
    CHECK_EQ(title.substr(0, app.title().size()), app.title());
    CHECK(contains(title, "exit code 3"));
    CHECK(contains(itemText(run, IDC_RUN_STATUS), "exit code 3"));
    CHECK_EQ(static_cast<int>(SendMessageW(GetDlgItem(run, IDC_RUN_PROGRESS), PBM_GETPOS, 0, 0)), 100);
    // (The bar's error state cannot be read back under Wine, whose progress bar keeps no state.)

    // Another reading decodes everything kept again.
    HWND reading = GetDlgItem(run, IDC_RUN_READING);
    SendMessageW(reading, CB_SETCURSEL, 3, 0);  // ANSI
    SendMessageW(run, WM_COMMAND, MAKEWPARAM(IDC_RUN_READING, CBN_SELCHANGE), reinterpret_cast<LPARAM>(reading));
    CHECK(!contains(itemText(run, IDC_RUN_OUTPUT), "Gr\u00fc\u00dfe"));
    SendMessageW(reading, CB_SETCURSEL, 1, 0);  // UTF-8
    SendMessageW(run, WM_COMMAND, MAKEWPARAM(IDC_RUN_READING, CBN_SELCHANGE), reinterpret_cast<LPARAM>(reading));
    CHECK_EQ(itemText(run, IDC_RUN_OUTPUT), output);

    // Escape closes an ended run's window without asking.
    PostMessageA(run, WM_COMMAND, IDCANCEL, 0);
    CHECK(waitGone(run));
    app.settle();
    CHECK(!app.openBox().has_value());
}

// A program that crashes: its exception code and name stand where an exit code would.
E2E_TEST(CrashShowsItsCodeAndItsName) {
    prepare();
    App app = App::start();
    talk(app, "crash", IDCMD_OUTPUT_WINDOW);
    app.post(IDCMD_START);
    const auto windows = waitForRunWindows(app, 1);
    REQUIRE(windows.size() == 1);
    CHECK(waitForEnd(windows[0]));
    CHECK(contains(windowText(windows[0]), "0xC0000005 (access violation)"));
    CHECK(contains(itemText(windows[0], IDC_RUN_STATUS), "0xC0000005 (access violation)"));
}

// Stop ends the program and the child it started; the run ends as stopped.
E2E_TEST(StopEndsTheProgramAndEverythingItStarted) {
    prepare();
    App app = App::start();
    talk(app, "child sleep:60000", IDCMD_OUTPUT_WINDOW);
    app.post(IDCMD_START);
    const auto windows = waitForRunWindows(app, 1);
    REQUIRE(windows.size() == 1);
    HWND run = windows[0];
    REQUIRE(waitForOutput(run, "child pid "));
    const std::string output = itemText(run, IDC_RUN_OUTPUT);
    const DWORD child = std::stoul(output.substr(output.find("child pid ") + 10));
    CHECK(contains(windowText(run), "running"));
    CHECK(IsWindowEnabled(GetDlgItem(run, IDC_RUN_STOP)) != FALSE);
    // Escape asks before it stops a running program; Cancel keeps it running.
    PostMessageA(run, WM_COMMAND, IDCANCEL, 0);
    const auto question = waitForQuestion(app, run);
    REQUIRE(question.has_value());
    CHECK(contains(question->text, "still running"));
    REQUIRE(app.answer(*question, IDCANCEL));
    app.settle();
    CHECK(IsWindowVisible(run) != FALSE);
    CHECK(contains(windowText(run), "running"));
    click(run, IDC_RUN_STOP);
    CHECK(waitForEnd(run));
    CHECK(contains(windowText(run), "Stopped"));
    CHECK(processGone(child));
}

// "Run again" opens a second window with the same command; each keeps its own output.
E2E_TEST(RunAgainOpensASecondWindowWithTheSameCommand) {
    prepare();
    App app = App::start();
    talk(app, "say:hello exit:0", IDCMD_OUTPUT_WINDOW);
    app.post(IDCMD_START);
    auto windows = waitForRunWindows(app, 1);
    REQUIRE(windows.size() == 1);
    HWND first = windows[0];
    CHECK(waitForEnd(first));
    CHECK_EQ(static_cast<int>(SendMessageW(GetDlgItem(first, IDC_RUN_PROGRESS), PBM_GETPOS, 0, 0)), 100);
    click(first, IDC_RUN_AGAIN);
    windows = waitForRunWindows(app, 2);
    REQUIRE(windows.size() == 2);
    HWND second = windows[0] == first ? windows[1] : windows[0];
    CHECK(waitForEnd(second));
    CHECK_EQ(itemText(second, IDC_RUN_COMMAND), itemText(first, IDC_RUN_COMMAND));
    CHECK_EQ(itemText(second, IDC_RUN_OUTPUT), "start\r\nhello\r\n");
    CHECK_EQ(itemText(first, IDC_RUN_OUTPUT), "start\r\nhello\r\n");
}

// A hidden-console run reports its end in the main window's status bar, in a part after the existing ones.
E2E_TEST(HiddenConsoleRunShowsItsExitCodeInTheStatusBar) {
    prepare();
    App app = App::start();
    talk(app, "sleep:300 exit:7", IDCMD_HIDE_CONSOLE);
    HWND bar = GetDlgItem(app.mainWindow(), IDC_STATUS);
    REQUIRE(bar != nullptr);
    const auto partsBefore = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
    const std::string firstPart = statusPart(app, bar, 0);
    app.post(IDCMD_START);
    std::string text;
    for (const DWORD begin = GetTickCount(); !contains(text, "exit code") && GetTickCount() - begin < kWaitMs;
         Sleep(100))
        text = statusPart(app, bar, partsBefore);
    note("status part: " + text);
    CHECK(contains(text, "exit code 7"));
    CHECK_EQ(static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0)), partsBefore + 1);
    CHECK_EQ(statusPart(app, bar, 0), firstPart);
    CHECK(runWindows(app).empty());

    // The part and its text stay when the window moves to a monitor of another scale.
    HWND main = app.mainWindow();
    RECT suggested{};
    GetWindowRect(main, &suggested);
    suggested.right = suggested.left + (suggested.right - suggested.left) * 3 / 2;
    suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 3 / 2;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, app.processId());
    REQUIRE(process != nullptr);
    void* remote = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    REQUIRE(remote != nullptr);
    CHECK(WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr));
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(remote));
    CHECK(app.settle());
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    CHECK_EQ(static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0)), partsBefore + 1);
    CHECK(contains(statusPart(app, bar, partsBefore), "exit code 7"));
}

// A start that fails names the program file and the system's reason, in every mode that runs the program.
E2E_TEST(FailedStartNamesTheFileAndTheReason) {
    for (int mode : {IDCMD_OUTPUT_WINDOW, IDCMD_SHOW_CONSOLE}) {
        prepare();
        REQUIRE(DeleteFileA(talkerExe().c_str()));
        App app = App::start();
        talk(app, "exit:0", mode);
        app.post(IDCMD_START);
        const auto box = app.waitForBox();
        REQUIRE(box.has_value());
        CHECK_EQ(box->caption, "Err...");
        CHECK_EQ(box->text, "Run app error\n" + talkerExe() + "\n" + systemText(ERROR_FILE_NOT_FOUND));
        CHECK_EQ(app.boxIcon(*box), 32513u);
        REQUIRE(app.answer(*box, IDOK));
        CHECK(runWindows(app).empty());
    }
}

// Exit while a run is going asks first: Cancel keeps everything, OK stops the run and exits.
E2E_TEST(ExitWhileARunIsGoingAsksFirst) {
    prepare();
    App app = App::start();
    talk(app, "say:waiting sleep:60000", IDCMD_OUTPUT_WINDOW);
    app.post(IDCMD_START);
    const auto windows = waitForRunWindows(app, 1);
    REQUIRE(windows.size() == 1);
    REQUIRE(waitForOutput(windows[0], "waiting"));

    app.clickCloseBox();
    auto box = waitForQuestion(app);
    REQUIRE(box.has_value());
    CHECK(contains(box->text, "still running"));
    CHECK(box->hasButton(IDOK));
    CHECK(box->hasButton(IDCANCEL));
    REQUIRE(app.answer(*box, IDCANCEL));
    app.settle();
    CHECK(app.running());
    CHECK_EQ(runWindows(app).size(), 1u);

    app.post(IDCMD_EXIT);
    box = waitForQuestion(app);
    REQUIRE(box.has_value());
    REQUIRE(app.answer(*box, IDOK));
    CHECK(app.waitForExit().has_value());
    CHECK(noProcessNamed("talker.exe"));
}

// A long output: the window keeps the latest lines and says so; "Copy all" copies what it shows; "Save log..."
// writes every line, with the command line before and how the run ended after.
E2E_TEST(LongOutputIsKeptInPartAndSavedWhole) {
    prepare();
    App app = App::start();
    talk(app, "flood:4", IDCMD_OUTPUT_WINDOW);  // about 75,000 lines
    const std::string line = windowText(GetDlgItem(app.mainWindow(), IDC_PREVIEW));
    app.post(IDCMD_START);
    const auto windows = waitForRunWindows(app, 1);
    REQUIRE(windows.size() == 1);
    HWND run = windows[0];
    REQUIRE(waitForEnd(run));
    const std::string shown = itemText(run, IDC_RUN_OUTPUT);
    const std::string status = itemText(run, IDC_RUN_STATUS);
    note("status: " + status);
    CHECK(contains(status, "exit code 0"));
    CHECK(contains(status, "earlier lines"));
    CHECK(!contains(shown, "line 1: "));
    CHECK(contains(shown, "line 60000: "));

    click(run, IDC_RUN_COPY);
    std::string copied;
    for (const DWORD begin = GetTickCount(); copied != shown && GetTickCount() - begin < kWaitMs; Sleep(100)) {
        if (!OpenClipboard(nullptr)) continue;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
                copied = utf8(units);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    CHECK(copied == shown);

    const std::string logPath = join(workDir(), "run.log");
    click(run, IDC_RUN_SAVE);
    HWND dialog = waitForPathDialog(app, false);
    REQUIRE(dialog != nullptr);
    chooseInFileDialog(dialog, logPath);
    CHECK(waitGone(dialog));
    std::string log;
    for (const DWORD begin = GetTickCount(); !contains(log, "Ended: ") && GetTickCount() - begin < kWaitMs; Sleep(100))
        log = readFile(logPath);
    CHECK_EQ(log.substr(0, 3), std::string("\xEF\xBB\xBF"));
    CHECK(contains(log, "Command line: " + line + "\r\n"));
    CHECK(contains(log, "\r\nline 1: the quick brown fox"));
    CHECK(contains(log, "\r\nline 60000: the quick brown fox"));
    CHECK(contains(log, "Ended: exit code 0"));
}
