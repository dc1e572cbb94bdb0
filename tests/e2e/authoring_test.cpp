// The xcopy example tool folder in the running program: `vxtool preview` (vxtool.exe, run by the driver) gives
// exactly what "Copy command line" copies and what Start runs, and with Wine's own xcopy as the described
// program the folder really is copied.
#include <windows.h>

#include <string>
#include <vector>

#include "driver/app.h"
#include "driver/e2e.h"
#include "driver/recorder.h"
#include "driver/registry.h"
#include "driver/workspace.h"
#include "resource_ids.h"

using namespace brennic;
using namespace brennic::e2e;

namespace {

// The example as the build compiled it, and the Windows build of vxtool, both copied beside the driver.
std::string exampleConfig() { return builtProgram("xcopy-example.vx"); }
std::string vxtoolExe() { return builtProgram("vxtool.exe"); }

std::string recordPath() { return join(workDir(), "record.txt"); }
std::string sourceFolder() { return join(workDir(), "Work"); }
std::string targetFolder() { return join(workDir(), "Backup"); }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

struct ToolOutput {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
};

// Runs a console program with its standard output on a pipe and returns what it wrote (lines ending in LF), once
// it has ended.
ToolOutput runTool(const std::string& commandLine) {
    ToolOutput result;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = writeEnd;
    startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    std::wstring line = wide(commandLine);
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) result.out.append(buffer, got);
        WaitForSingleObject(process.hProcess, kWaitMs);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    // A Windows console program ends its lines with CR LF on a pipe.
    for (auto at = result.out.find("\r\n"); at != std::string::npos; at = result.out.find("\r\n", at))
        result.out.erase(at, 1);
    return result;
}

// The first line of vxtool preview's output, and the lines after it.
struct Preview {
    std::string line;
    std::string warnings;
};

Preview preview(const std::string& arguments) {
    const ToolOutput output = runTool(quoted(vxtoolExe()) + " preview " + quoted(join(appDir(), "prog.vx")) +
                                      " --programs " + quoted(appDir()) + " " + arguments);
    CHECK_EQ(output.exitCode, 0u);
    note("vxtool preview wrote: " + output.out);
    Preview result;
    const auto end = output.out.find('\n');
    result.line = output.out.substr(0, end);
    if (end != std::string::npos) result.warnings = output.out.substr(end + 1);
    return result;
}

// The choices the e2e cases make, as vxtool preview takes them: the example's captions (a compiled config
// knows no TOML keys).
std::string choices() {
    return "--entry " + quoted("1=A folder with all its subfolders") + " --path " + quoted("1=" + sourceFolder()) +
           " --path " + quoted("2=" + targetFolder()) + " --entry " + quoted("3=Overwrite it, with more switches...") +
           " --manual " + quoted("3=/H /K");
}

HWND pageHolding(App& app, int controlId) {
    struct Search {
        int id;
        HWND found;
    } search{controlId, nullptr};
    for (const DWORD begin = GetTickCount(); !search.found && GetTickCount() - begin < kWaitMs; Sleep(50)) {
        EnumChildWindows(
            app.mainWindow(),
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                if (!GetDlgItem(window, s->id)) return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

// The same choices made on the pages: drops for the two folders, page 3's fourth entry and its switches.
void choose(App& app) {
    REQUIRE(app.mainWindow() != nullptr);
    HWND page1 = pageHolding(app, IDC_ACTION1);
    HWND page2 = pageHolding(app, IDC_ACTION2);
    HWND page3 = pageHolding(app, IDC_ACTION3);
    REQUIRE(page1 != nullptr && page2 != nullptr && page3 != nullptr);
    REQUIRE(app.dropFiles(page1, {sourceFolder()}));
    REQUIRE(app.dropFiles(page2, {targetFolder()}));
    HWND combo = GetDlgItem(page3, IDC_ACTION3);
    SendMessageA(combo, CB_SETCURSEL, 3, 0);
    SendMessageA(page3, WM_COMMAND, MAKEWPARAM(IDC_ACTION3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    SendMessageA(GetDlgItem(page3, IDC_MANUAL3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("/H /K"));
    app.settle();
}

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

void emptyClipboard() {
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    EmptyClipboard();
    CloseClipboard();
}

// "Copy command line" from the page's context menu, and the text it put on the clipboard.
std::string copyCommandLine(App& app) {
    emptyClipboard();
    PostMessageA(pageHolding(app, IDC_MANUAL1), WM_COMMAND, MAKEWPARAM(IDCMD_COPY_COMMAND_LINE, 0), 0);
    app.settle();
    return clipboardText();
}

void prepare() {
    resetWorkspace();
    deleteOptions();
    REQUIRE(copyFile(exampleConfig(), join(appDir(), "prog.vx")));
    REQUIRE(makeFolders(join(sourceFolder(), "Sub")));
    REQUIRE(writeFile(join(sourceFolder(), "a.txt"), std::string("first file\r\n")));
    REQUIRE(writeFile(join(join(sourceFolder(), "Sub"), "b.txt"), std::string("second file\r\n")));
}

}  // namespace

// The recorder stands in for xcopy in <app>\System32: the preview's line is what is copied in the hidden and the
// held console, and exactly the command line the program receives.
E2E_TEST(PreviewOfTheXcopyExampleIsWhatStartRuns) {
    prepare();
    REQUIRE(installRecorder(join(join(appDir(), "System32"), "xcopy.exe"), recordPath()));
    const Preview hidden = preview(choices());
    CHECK_EQ(hidden.line, quoted(join(join(appDir(), "System32"), "xcopy.exe")) + " " + quoted(sourceFolder()) +
                              " /E /I " + quoted(targetFolder()) + " /Y /H /K ");
    CHECK_EQ(hidden.warnings, "");
    const Preview held = preview("--mode hold " + choices());

    App app = App::start();
    choose(app);
    app.post(IDCMD_HOLD_CONSOLE);
    app.settle();
    CHECK_EQ(copyCommandLine(app), held.line);
    app.post(IDCMD_HIDE_CONSOLE);
    app.settle();
    CHECK_EQ(copyCommandLine(app), hidden.line);

    app.post(IDCMD_START);
    const auto runs = waitForRuns(recordPath(), 1);
    REQUIRE(runs.size() == 1);
    CHECK_EQ(runs[0].commandLine, hidden.line);
    CHECK_EQ(runs[0].directory, join(appDir(), "System32"));
    const std::vector<std::string> arguments = {join(join(appDir(), "System32"), "xcopy.exe"), sourceFolder(), "/E",
                                                "/I", targetFolder(), "/Y", "/H", "/K"};
    CHECK(runs[0].arguments == arguments);

    // Nothing chosen on page 2: Start's warning, as the preview names it.
    const Preview missing = preview("--path " + quoted("1=" + sourceFolder()));
    CHECK_EQ(missing.warnings, "Argument 2 Empty path\n");
}

// The example as the guide sets it up: the programs folder C:\windows chosen in the options, Wine's real
// xcopy in System32. Start copies the folder with its subfolder.
E2E_TEST(XcopyExampleCopiesAFolderWithTheRealProgram) {
    prepare();
    setOptionDword("user dir", 1);
    setOptionText("run app path", "C:\\windows");
    App app = App::start();
    choose(app);
    app.post(IDCMD_HIDE_CONSOLE);
    app.settle();
    const ToolOutput output =
        runTool(quoted(vxtoolExe()) + " preview " + quoted(join(appDir(), "prog.vx")) + " --programs C:\\windows " +
                choices());
    CHECK_EQ(copyCommandLine(app), output.out.substr(0, output.out.find('\n')));
    app.post(IDCMD_START);
    // xcopy runs on its own: wait until both files are there in full.
    const std::string first = join(targetFolder(), "a.txt");
    const std::string second = join(join(targetFolder(), "Sub"), "b.txt");
    auto copied = [&] { return readFile(first) == "first file\r\n" && readFile(second) == "second file\r\n"; };
    for (const DWORD begin = GetTickCount(); !copied() && GetTickCount() - begin < kWaitMs;) Sleep(100);
    CHECK_EQ(readFile(first), std::string("first file\r\n"));
    CHECK_EQ(readFile(second), std::string("second file\r\n"));
}
