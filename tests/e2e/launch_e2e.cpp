// End-to-end tests of Start and "Copy command line" in the running brennic.exe under Wine.
//
// The driver lays out a programs folder (brennic.exe, prog.vx, Demo\brennic-demo.exe), starts brennic.exe,
// fills the argument pages through their controls, starts the described program with Enter, the menu command
// or the page's context-menu command, and checks what the demo program recorded: its exact command line and
// working directory. Every process started here is ended by its process id.
//
// Usage: launch_e2e <brennic.exe> <brennic-demo.exe> <launch.vx> <work folder>
#include <windows.h>
#include <tlhelp32.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

int failures = 0;
std::string currentTest;

void check(bool ok, const std::string& what, int line) {
    if (ok) return;
    ++failures;
    std::printf("FAIL [%s] line %d: %s\n", currentTest.c_str(), line, what.c_str());
    std::fflush(stdout);
}
#define CHECK(cond) check((cond), #cond, __LINE__)
#define CHECK_EQ(a, b) checkEqual((a), (b), #a, __LINE__)

void checkEqual(const std::string& actual, const std::string& expected, const char* what, int line) {
    if (actual == expected) return;
    check(false, std::string(what) + "\n    actual:   [" + actual + "]\n    expected: [" + expected + "]", line);
}

// ---------------------------------------------------------------------------------------------------------
// Paths and files

struct Layout {
    std::string brennicExe;  // built program
    std::string demoExe;     // built demo program
    std::string config;      // compiled test config
    std::string work;        // scratch folder of this test run
    std::string run;         // programs folder: brennic.exe, prog.vx, Demo\brennic-demo.exe
    std::string demoFolder;  // run\Demo
    std::string record;      // the demo's record file
};

Layout layout;

std::string fullPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}

std::string readFile(const std::string& path) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

void prepareLayout() {
    layout.run = layout.work + "\\run";
    layout.demoFolder = layout.run + "\\Demo";
    layout.record = layout.work + "\\record.txt";
    CreateDirectoryA(layout.work.c_str(), nullptr);
    CreateDirectoryA(layout.run.c_str(), nullptr);
    CreateDirectoryA(layout.demoFolder.c_str(), nullptr);
    CopyFileA(layout.brennicExe.c_str(), (layout.run + "\\brennic.exe").c_str(), FALSE);
    CopyFileA(layout.config.c_str(), (layout.run + "\\prog.vx").c_str(), FALSE);
    CopyFileA(layout.demoExe.c_str(), (layout.demoFolder + "\\brennic-demo.exe").c_str(), FALSE);
    DeleteFileA((layout.demoFolder + "\\brennic-demo.as").c_str());
    SetEnvironmentVariableA("BRENNIC_DEMO_RECORD", layout.record.c_str());
}

// One block of the demo's record file.
struct Run {
    std::string cmdline;
    std::string cwd;
};

std::vector<Run> readRuns() {
    std::vector<Run> runs;
    const std::string text = readFile(layout.record);
    std::size_t pos = 0;
    Run current;
    bool inBlock = false;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) break;  // a block still being written
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line == "run") {
            inBlock = true;
            current = Run{};
        } else if (line == "end" && inBlock) {
            runs.push_back(current);
            inBlock = false;
        } else if (line.rfind("cmdline=", 0) == 0) {
            current.cmdline = line.substr(8);
        } else if (line.rfind("cwd=", 0) == 0) {
            current.cwd = line.substr(4);
        }
    }
    return runs;
}

// Waits until the record holds at least count runs; returns them.
std::vector<Run> waitForRuns(std::size_t count, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<Run> runs = readRuns();
        if (runs.size() >= count || GetTickCount() - start > timeoutMs) return runs;
        Sleep(50);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Processes

std::vector<PROCESSENTRY32> processes() {
    std::vector<PROCESSENTRY32> list;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return list;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        list.push_back(entry);
    CloseHandle(snapshot);
    return list;
}

// The ids of the descendants of pid, children before their own children.
std::vector<DWORD> descendants(DWORD pid) {
    std::vector<DWORD> found;
    const auto all = processes();
    std::vector<DWORD> queue{pid};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        for (const auto& p : all) {
            if (p.th32ParentProcessID == queue[i] && p.th32ProcessID != pid) {
                bool seen = false;
                for (DWORD f : found) seen = seen || f == p.th32ProcessID;
                if (!seen) {
                    found.push_back(p.th32ProcessID);
                    queue.push_back(p.th32ProcessID);
                }
            }
        }
    }
    return found;
}

std::string exeNameOf(DWORD pid) {
    for (const auto& p : processes())
        if (p.th32ProcessID == pid) return p.szExeFile;
    return {};
}

void endProcess(DWORD pid) {
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

// A started brennic.exe; ends it and everything it started when the test ends.
class Brennic {
public:
    explicit Brennic(const std::string& arguments = {}) {
        std::string commandLine = "\"" + layout.run + "\\brennic.exe\"";
        if (!arguments.empty()) commandLine += " " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        // Not inheriting our handles: the test runner reads our output through a pipe.
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, layout.run.c_str(),
                           &startup, &info_)) {
            started_ = true;
            WaitForInputIdle(info_.hProcess, 5000);
        }
    }
    ~Brennic() {
        if (!started_) return;
        for (DWORD child : descendants(info_.dwProcessId)) endProcess(child);
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Brennic(const Brennic&) = delete;
    Brennic& operator=(const Brennic&) = delete;

    bool started() const { return started_; }
    DWORD pid() const { return info_.dwProcessId; }
    bool running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// ---------------------------------------------------------------------------------------------------------
// Windows

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string textOf(HWND window) {
    char buffer[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::vector<HWND> topWindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitFor(const std::function<HWND()>& find, DWORD timeoutMs = 8000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = find()) return found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(30);
    }
}

// The main window: the top-level window that holds the tab control.
HWND mainWindowOf(const Brennic& app) {
    return waitFor([&]() -> HWND {
        for (HWND window : topWindowsOf(app.pid()))
            if (GetDlgItem(window, IDC_TABS) && IsWindowVisible(window)) return window;
        return nullptr;
    });
}

// A message box of the process (a visible #32770 with a text item 0xFFFF).
HWND findMessageBox(const Brennic& app) {
    for (HWND window : topWindowsOf(app.pid()))
        if (classOf(window) == "#32770" && IsWindowVisible(window) && GetDlgItem(window, 0xFFFF)) return window;
    return nullptr;
}

HWND waitForMessageBox(const Brennic& app, DWORD timeoutMs = 8000) {
    return waitFor([&] { return findMessageBox(app); }, timeoutMs);
}

struct Box {
    std::string caption;
    std::string text;
};

// Reads a box and answers it with the given button; waits until it is gone.
Box answerBox(HWND box, int button) {
    Box seen;
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    seen.caption = caption;
    seen.text = textOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    waitFor([&]() -> HWND { return IsWindow(box) ? nullptr : reinterpret_cast<HWND>(1); }, 5000);
    return seen;
}

// The argument page that holds the given control.
HWND pageWith(HWND main, int controlId) {
    struct Search {
        int id;
        HWND found;
    } search{controlId, nullptr};
    EnumChildWindows(
        main,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetDlgItem(window, s->id)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct PageIds {
    int action;
    int manual;
    int path;
};
constexpr PageIds kPages[3] = {{IDC_ACTION1, IDC_MANUAL1, IDC_PATH1},
                               {IDC_ACTION2, IDC_MANUAL2, IDC_PATH2},
                               {IDC_ACTION3, IDC_MANUAL3, IDC_PATH3}};

// Selects an entry of a page's "Action/Keys" list the way the user does.
void selectEntry(HWND main, int page, int item) {
    HWND pageWindow = pageWith(main, kPages[page].action);
    HWND combo = GetDlgItem(pageWindow, kPages[page].action);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageA(pageWindow, WM_COMMAND, MAKEWPARAM(kPages[page].action, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void typeManual(HWND main, int page, const std::string& text) {
    HWND pageWindow = pageWith(main, kPages[page].manual);
    SendMessageA(GetDlgItem(pageWindow, kPages[page].manual), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void command(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void pressEnter(HWND main) {
    PostMessageA(main, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(main, WM_KEYUP, VK_RETURN, 0xC0000001);
}

// Ctrl+Shift+C through the real input queue.
void pressCopyKeys(HWND main) {
    SetForegroundWindow(main);
    Sleep(100);
    INPUT keys[6] = {};
    const WORD sequence[3] = {VK_CONTROL, VK_SHIFT, 'C'};
    for (int i = 0; i < 3; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i];
        keys[5 - i].type = INPUT_KEYBOARD;
        keys[5 - i].ki.wVk = sequence[i];
        keys[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, keys, sizeof(INPUT));
}

std::string clipboardText() {
    std::string text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void setClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

// Waits a little and confirms that nothing was recorded and no box is open.
void expectNothingLaunched(const Brennic& app, std::size_t runsBefore) {
    Sleep(1500);
    CHECK(readRuns().size() == runsBefore);
    CHECK(findMessageBox(app) == nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// The test config (tests/e2e/data/launch.toml):
//   page 1, entry 0 "Level": `--level m@ --name m@`, manual arguments distributed, leads on to list "out"
//   page 1, entry 1 "Input": `-i p@`, an open-file path substituted at the mark
//   page 2, entry 0 "Out":   `-o` then the manual arguments at place 2

const std::string kLevelManual = "fast \"two words\" dropped";
const std::string kOutManual = "out file.txt";
const std::string kParameters = "--level fast --name \"two words\" -o out file.txt ";

std::string demoFile() { return layout.demoFolder + "\\brennic-demo.exe"; }

// Brings brennic.exe to the state the mode tests start from: entry "Level" on page 1, "Out" on page 2.
HWND fillPages(const Brennic& app) {
    HWND main = mainWindowOf(app);
    if (!main) return nullptr;
    selectEntry(main, 0, 0);
    typeManual(main, 0, kLevelManual);
    selectEntry(main, 1, 0);
    typeManual(main, 1, kOutManual);
    return main;
}

enum class Trigger { Enter, Menu, PageMenu };

void trigger(HWND main, Trigger how) {
    switch (how) {
        case Trigger::Enter: pressEnter(main); break;
        case Trigger::Menu: command(main, IDCMD_START); break;
        case Trigger::PageMenu: command(pageWith(main, IDC_MANUAL1), IDCMD_START); break;
    }
}

void setMode(HWND main, int modeCommand) {
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(modeCommand, 0), 0);
}

void testHiddenAndShownConsole() {
    for (Trigger how : {Trigger::Enter, Trigger::Menu, Trigger::PageMenu}) {
        for (int mode : {IDCMD_HIDE_CONSOLE, IDCMD_SHOW_CONSOLE}) {
            Brennic app;
            HWND main = fillPages(app);
            CHECK(main != nullptr);
            if (!main) return;
            setMode(main, mode);
            const std::size_t before = readRuns().size();
            trigger(main, how);
            const auto runs = waitForRuns(before + 1);
            CHECK(runs.size() == before + 1);
            if (runs.size() != before + 1) continue;
            CHECK_EQ(runs.back().cmdline, "\"" + demoFile() + "\" " + kParameters);
            CHECK_EQ(runs.back().cwd, layout.demoFolder);
            CHECK(findMessageBox(app) == nullptr);
        }
    }
}

// Mode 2 runs the program inside cmd.exe, which stays open afterwards.
void testHeldConsole() {
    for (Trigger how : {Trigger::Enter, Trigger::Menu}) {
        Brennic app;
        HWND main = fillPages(app);
        CHECK(main != nullptr);
        if (!main) return;
        setMode(main, IDCMD_HOLD_CONSOLE);
        const std::size_t before = readRuns().size();
        trigger(main, how);
        const auto runs = waitForRuns(before + 1);
        CHECK(runs.size() == before + 1);
        if (runs.size() == before + 1) {
            CHECK_EQ(runs.back().cmdline, "\"" + demoFile() + "\" " + kParameters);
            CHECK_EQ(runs.back().cwd, layout.demoFolder);
        }
        // The interpreter is still there after the program ended.
        Sleep(500);
        bool interpreterOpen = false;
        for (DWORD child : descendants(app.pid())) {
            std::string name = exeNameOf(child);
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            interpreterOpen = interpreterOpen || name == "cmd.exe";
        }
        CHECK(interpreterOpen);
    }
}

void testWarningBox() {
    Brennic app;
    HWND main = mainWindowOf(app);
    CHECK(main != nullptr);
    if (!main) return;
    setMode(main, IDCMD_HIDE_CONSOLE);
    selectEntry(main, 0, 1);  // "Input": takes a path, none chosen
    const std::size_t before = readRuns().size();

    pressEnter(main);
    HWND box = waitForMessageBox(app);
    CHECK(box != nullptr);
    if (!box) return;
    Box seen = answerBox(box, IDNO);
    CHECK_EQ(seen.caption, "Warning");
    CHECK_EQ(seen.text, "Argument 1 Empty path\n\n\n Continue app starting?");
    expectNothingLaunched(app, before);

    pressEnter(main);
    box = waitForMessageBox(app);
    CHECK(box != nullptr);
    if (!box) return;
    seen = answerBox(box, IDYES);
    CHECK_EQ(seen.text, "Argument 1 Empty path\n\n\n Continue app starting?");
    const auto runs = waitForRuns(before + 1);
    CHECK(runs.size() == before + 1);
    if (runs.size() == before + 1) CHECK_EQ(runs.back().cmdline, "\"" + demoFile() + "\" -i ");

    // "Show warnings" off: the same start goes ahead without a box.
    setMode(main, IDCMD_SHOW_WARNINGS);
    pressEnter(main);
    CHECK(waitForRuns(before + 2).size() == before + 2);
    CHECK(findMessageBox(app) == nullptr);
}

void testMissingProgram() {
    const std::string moved = layout.demoFolder + "\\brennic-demo.moved";
    MoveFileA(demoFile().c_str(), moved.c_str());
    {
        Brennic app;
        HWND main = fillPages(app);
        CHECK(main != nullptr);
        if (main) {
            setMode(main, IDCMD_HIDE_CONSOLE);
            pressEnter(main);
            HWND box = waitForMessageBox(app);
            CHECK(box != nullptr);
            if (box) {
                const Box seen = answerBox(box, IDOK);
                CHECK_EQ(seen.caption, "Err...");
                CHECK_EQ(seen.text, "Run app error");
            }
            CHECK(app.running());
        }
    }
    MoveFileA(moved.c_str(), demoFile().c_str());
}

void testNothingBeforeADescription() {
    Brennic app("\"" + layout.work + "\\missing.vx\"");
    // The config error is reported once at start-up; dismiss it.
    HWND box = waitForMessageBox(app);
    CHECK(box != nullptr);
    if (box) answerBox(box, IDOK);
    HWND main = mainWindowOf(app);
    CHECK(main != nullptr);
    if (!main) return;
    const std::size_t before = readRuns().size();
    pressEnter(main);
    expectNothingLaunched(app, before);
    setClipboardText("unchanged");
    pressCopyKeys(main);
    Sleep(500);
    CHECK_EQ(clipboardText(), "unchanged");
}

// The clipboard receives what the next Start hands over.
void testCopyCommandLine() {
    for (int mode : {IDCMD_HIDE_CONSOLE, IDCMD_SHOW_CONSOLE, IDCMD_HOLD_CONSOLE}) {
        Brennic app;
        HWND main = fillPages(app);
        CHECK(main != nullptr);
        if (!main) return;
        setMode(main, mode);
        setClipboardText("before");
        const std::size_t before = readRuns().size();
        if (mode == IDCMD_SHOW_CONSOLE)
            command(pageWith(main, IDC_MANUAL1), IDCMD_COPY_COMMAND_LINE);  // the page's context menu
        else
            pressCopyKeys(main);
        Sleep(700);
        const std::string copied = clipboardText();
        CHECK(readRuns().size() == before);  // copying launches nothing
        CHECK(findMessageBox(app) == nullptr);

        pressEnter(main);
        const auto runs = waitForRuns(before + 1);
        CHECK(runs.size() == before + 1);
        if (runs.size() != before + 1) continue;
        if (mode != IDCMD_HOLD_CONSOLE) {
            CHECK_EQ(copied, runs.back().cmdline);
        } else {
            const std::string expected = "cmd.exe /k " + layout.run.substr(0, 1) + ": && cd \"" + layout.demoFolder +
                                         "\" && " + runs.back().cmdline;
            CHECK_EQ(copied, expected);
        }
    }
}

struct Test {
    const char* name;
    void (*run)();
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::printf("usage: launch_e2e <brennic.exe> <brennic-demo.exe> <launch.vx> <work folder> [test]\n");
        return 2;
    }
    layout.brennicExe = fullPath(argv[1]);
    layout.demoExe = fullPath(argv[2]);
    layout.config = fullPath(argv[3]);
    layout.work = fullPath(argv[4]);
    const std::string only = argc > 5 ? argv[5] : "";
    prepareLayout();

    const Test tests[] = {
        {"hidden_and_shown_console", testHiddenAndShownConsole},
        {"held_console", testHeldConsole},
        {"warning_box", testWarningBox},
        {"missing_program", testMissingProgram},
        {"nothing_before_a_description", testNothingBeforeADescription},
        {"copy_command_line", testCopyCommandLine},
    };
    for (const Test& test : tests) {
        if (!only.empty() && only != test.name) continue;
        currentTest = test.name;
        const int before = failures;
        test.run();
        std::printf("%s %s\n", failures == before ? "ok  " : "FAIL", test.name);
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
