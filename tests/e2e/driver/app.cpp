// Driving a running brennic.exe from the test driver.
#include "driver/app.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "driver/workspace.h"
#include "probe/probe_protocol.h"

namespace brennic::e2e {

namespace {

// The watchdog thread ends these too, so every use holds startedLock().
std::vector<HANDLE>& startedProcesses() {
    static std::vector<HANDLE> handles;
    return handles;
}

std::mutex& startedLock() {
    static std::mutex lock;
    return lock;
}

template <typename Predicate>
bool waitUntil(DWORD timeoutMs, Predicate ready) {
    const DWORD started = GetTickCount();
    for (;;) {
        if (ready()) return true;
        if (GetTickCount() - started >= timeoutMs) return false;
        Sleep(10);  // polling step of a bounded wait
    }
}

struct WindowSearch {
    DWORD processId;
    HWND exclude;
    std::string title;  // empty: any
    bool dialogsOnly;
    HWND found;
};

BOOL CALLBACK findWindowOf(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->exclude || !IsWindowVisible(window)) return TRUE;
    if (search->dialogsOnly && className(window) != "#32770") return TRUE;
    if (!search->title.empty() && windowText(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

HWND findWindow(DWORD processId, HWND exclude, const std::string& title, bool dialogsOnly) {
    WindowSearch search{processId, exclude, title, dialogsOnly, nullptr};
    EnumWindows(findWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK collectButton(HWND child, LPARAM parameter) {
    auto* buttons = reinterpret_cast<std::vector<ButtonInfo>*>(parameter);
    if (className(child) == "Button" && IsWindowVisible(child)) buttons->push_back({GetDlgCtrlID(child), windowText(child)});
    return TRUE;
}

std::string probePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.rfind('\\') + 1) + "brennic_e2e_probe.dll";
}

struct DialogSearch {
    DWORD processId;
    bool folder;
    HWND found;
};

BOOL CALLBACK findPathDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    // The folder picker is the system's item dialog (its view is an explorer browser control); the classic
    // browser stands in only where that cannot be created.
    const bool match = search->folder ? windowText(window) == "Browse for Folder" ||
                                            (className(window) == "#32770" &&
                                             FindWindowExA(window, nullptr, "ExplorerBrowserControl", nullptr) != nullptr)
                                      : className(window) == "#32770" && GetDlgItem(window, 0x47C) != nullptr;
    if (!match) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND waitForPathDialog(App& app, bool folder) {
    const DWORD start = GetTickCount();
    for (;;) {
        DialogSearch search{app.processId(), folder, nullptr};
        EnumWindows(findPathDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount() - start > kWaitMs) return search.found;
        Sleep(30);
    }
}

bool waitGone(HWND window) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > kWaitMs) return false;
        Sleep(30);
    }
    return true;
}

// Types a name into a file dialog's file-name box and confirms it.
void chooseInFileDialog(HWND dialog, const std::string& name) {
    HWND box = GetDlgItem(dialog, 0x47C);
    HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    HWND edit = FindWindowExW(combo != nullptr ? combo : box, nullptr, L"Edit", nullptr);
    SendMessageW(edit != nullptr ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(name).c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

bool enterInFolderPicker(HWND picker, const std::string& path, bool paste) {
    // The name box: edt1 (1152) in Wine's item dialog, an edit inside the name combo (0x47C) on Windows.
    HWND edit = GetDlgItem(picker, 1152);
    if (edit == nullptr || !IsWindowVisible(edit)) {
        HWND box = GetDlgItem(picker, 0x47C);
        HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
        edit = FindWindowExW(combo != nullptr ? combo : box, nullptr, L"Edit", nullptr);
    }
    if (edit == nullptr) return false;
    const std::wstring text = wide(path);
    if (paste) {
        if (!OpenClipboard(nullptr)) return false;
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        if (memory != nullptr) {
            std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
        }
        CloseClipboard();
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        SendMessageW(edit, WM_PASTE, 0, 0);
    } else {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
}

bool MessageBoxInfo::hasButton(int id) const {
    for (const ButtonInfo& button : buttons) {
        if (button.id == id) return true;
    }
    return false;
}

std::string windowText(HWND window) {
    // As long as the text is (a run window's output may hold megabytes), at least 1024 units.
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, kWaitMs, &length);
    std::wstring text(std::max<std::size_t>(1024, static_cast<std::size_t>(length) + 1), L'\0');
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_BLOCK, kWaitMs,
                        nullptr);
    return utf8(text.c_str());
}

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

App App::start(const Launch& launch) {
    App app;
    const std::string exe = launch.exe.empty() ? brennicExePath() : launch.exe;
    std::string commandLine = launch.commandLine;
    if (commandLine.empty()) {
        commandLine = "\"" + exe + "\"";
        if (!launch.arguments.empty()) commandLine += " " + launch.arguments;
    }
    std::string directory = launch.directory;
    if (directory.empty()) directory = exe.substr(0, exe.rfind('\\'));

    // The program's standard handles go to NUL, so nothing waits on the driver's output pipe.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const BOOL created = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr,
                                        TRUE, 0, nullptr, directory.c_str(), &startup, &app.process_);
    CloseHandle(nul);
    if (!created) return app;
    app.processId_ = app.process_.dwProcessId;
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), app.process_.hProcess, GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    {
        std::lock_guard<std::mutex> hold(startedLock());
        startedProcesses().push_back(copy);
    }
    app.mainWindow();
    return app;
}

App::App(App&& other) noexcept
    : process_(other.process_), processId_(other.processId_), main_(other.main_), probeBase_(other.probeBase_) {
    other.process_ = PROCESS_INFORMATION{};
    other.processId_ = 0;
}

App::~App() {
    kill();
    if (process_.hProcess != nullptr) CloseHandle(process_.hProcess);
    if (process_.hThread != nullptr) CloseHandle(process_.hThread);
}

bool App::running() const {
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND App::mainWindow() {
    if (main_ != nullptr && IsWindow(main_)) return main_;
    if (processId_ == 0) return nullptr;
    waitUntil(kWaitMs, [&] {
        HWND found = nullptr;
        // The main dialog is the process's top-level dialog that has no owner.
        WindowSearch search{processId_, nullptr, "", true, nullptr};
        EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
                auto* s = reinterpret_cast<WindowSearch*>(parameter);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == s->processId && className(window) == "#32770" &&
                    GetWindow(window, GW_OWNER) == nullptr && GetMenu(window) != nullptr) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        found = search.found;
        main_ = found;
        return found != nullptr || !running();
    });
    return main_;
}

std::string App::title() { return windowText(mainWindow()); }

bool App::settle() {
    ProbeRequest request;
    request.command = kProbeSettle;
    request.window = reinterpret_cast<std::uintptr_t>(mainWindow());
    return probe(&request, sizeof request) && request.found != 0;
}

std::optional<MessageBoxInfo> App::openBox() {
    HWND box = findWindow(processId_, main_, "", true);
    if (box == nullptr) return std::nullopt;
    MessageBoxInfo info;
    info.window = box;
    info.caption = windowText(box);
    info.text = windowText(GetDlgItem(box, 0xFFFF));
    EnumChildWindows(box, collectButton, reinterpret_cast<LPARAM>(&info.buttons));
    return info;
}

std::optional<MessageBoxInfo> App::waitForBox(DWORD timeoutMs) {
    mainWindow();
    std::optional<MessageBoxInfo> box;
    waitUntil(timeoutMs, [&] {
        box = openBox();
        // A box is complete once its buttons exist.
        return (box && !box->buttons.empty()) || !running();
    });
    return box;
}

bool App::answer(const MessageBoxInfo& box, int buttonId) {
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    return waitUntil(kWaitMs, [&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

HWND App::waitForWindowTitled(const std::string& text, DWORD timeoutMs) {
    HWND found = nullptr;
    waitUntil(timeoutMs, [&] {
        found = findWindow(processId_, nullptr, text, false);
        return found != nullptr || !running();
    });
    return found;
}

bool App::probe(void* request, std::size_t size) {
    if (!running()) return false;
    HANDLE process = process_.hProcess;
    const std::string dll = probePath();
    if (probeBase_ == 0) {
        void* remotePath = VirtualAllocEx(process, nullptr, dll.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (remotePath == nullptr) return false;
        WriteProcessMemory(process, remotePath, dll.c_str(), dll.size() + 1, nullptr);
        auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
        HANDLE thread = CreateRemoteThread(process, nullptr, 0, loadLibrary, remotePath, 0, nullptr);
        if (thread == nullptr) return false;
        WaitForSingleObject(thread, kWaitMs);
        CloseHandle(thread);
        VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
        // A module snapshot fails with ERROR_BAD_LENGTH while the process is loading or unloading modules (as
        // it may still be doing during its start-up); the documented answer is to take it again.
        waitUntil(kWaitMs, [&] {
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId_);
            if (snapshot == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_BAD_LENGTH || !running();
            MODULEENTRY32 module{};
            module.dwSize = sizeof module;
            for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module)) {
                if (lstrcmpiA(module.szModule, "brennic_e2e_probe.dll") == 0) {
                    probeBase_ = reinterpret_cast<std::uintptr_t>(module.modBaseAddr);
                }
            }
            CloseHandle(snapshot);
            return probeBase_ != 0 || !running();
        });
        if (probeBase_ == 0) return false;
    }
    static HMODULE local = LoadLibraryA(dll.c_str());
    if (local == nullptr) return false;
    const auto entry = reinterpret_cast<std::uintptr_t>(GetProcAddress(local, "probeMain"));
    const std::uintptr_t remoteEntry = probeBase_ + (entry - reinterpret_cast<std::uintptr_t>(local));

    void* block = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (block == nullptr) return false;
    WriteProcessMemory(process, block, request, size, nullptr);
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(remoteEntry),
                                       block, 0, nullptr);
    bool ok = false;
    if (thread != nullptr) {
        ok = WaitForSingleObject(thread, kWaitMs) == WAIT_OBJECT_0 &&
             ReadProcessMemory(process, block, request, size, nullptr);
        CloseHandle(thread);
    }
    VirtualFreeEx(process, block, 0, MEM_RELEASE);
    return ok;
}

std::string App::treeItemText(HWND tree, LPARAM item) {
    // A pointer in the message must point into the program's memory, not the driver's.
    struct Block {
        TVITEMA item;
        char text[MAX_PATH];
    };
    HANDLE process = process_.hProcess;
    auto* remote = static_cast<Block*>(VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT | MEM_RESERVE,
                                                      PAGE_READWRITE));
    if (remote == nullptr) return {};
    Block block{};
    block.item.mask = TVIF_TEXT | TVIF_HANDLE;
    block.item.hItem = reinterpret_cast<HTREEITEM>(item);
    block.item.pszText = remote->text;
    block.item.cchTextMax = MAX_PATH;
    std::string text;
    if (WriteProcessMemory(process, remote, &block, sizeof block, nullptr) &&
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)) &&
        ReadProcessMemory(process, remote, &block, sizeof block, nullptr)) {
        block.text[MAX_PATH - 1] = '\0';
        text = block.text;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

bool App::dropFiles(HWND target, const std::vector<std::string>& names) {
    ProbeRequest request;
    request.command = kProbeDropFiles;
    request.window = reinterpret_cast<std::uintptr_t>(target);
    std::string list;
    for (const std::string& name : names) list += name + '\0';
    list.push_back('\0');
    if (list.size() > sizeof request.text) return false;
    std::memcpy(request.text, list.data(), list.size());
    return probe(&request, sizeof request) && request.found != 0;
}

std::string App::currentDirectory() {
    ProbeRequest request;
    request.command = kProbeCurrentDirectory;
    if (!probe(&request, sizeof request) || request.found == 0) return {};
    return std::string(request.text, strnlen(request.text, sizeof request.text));
}

MenuItemInfo App::menuItem(int id) {
    ProbeRequest request;
    request.command = kProbeMenuItem;
    request.window = reinterpret_cast<std::uintptr_t>(mainWindow());
    request.id = id;
    MenuItemInfo info;
    if (!probe(&request, sizeof request) || request.found == 0) return info;
    info.found = true;
    info.grayed = (request.state & (MF_GRAYED | MF_DISABLED)) != 0;
    info.checked = (request.state & MF_CHECKED) != 0;
    info.text = request.text;
    return info;
}

MenuItemInfo App::popupMenuItem(int id, HWND* window) {
    ProbeRequest request;
    request.command = kProbePopupMenuItem;
    request.id = id;
    MenuItemInfo info;
    if (!probe(&request, sizeof request) || request.found == 0) return info;
    info.found = true;
    info.grayed = (request.state & (MF_GRAYED | MF_DISABLED)) != 0;
    info.checked = (request.state & MF_CHECKED) != 0;
    info.text = request.text;
    if (window != nullptr) *window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    return info;
}

std::optional<bool> App::dropReleased(HWND target, const std::string& file) {
    ProbeRequest request;
    request.command = kProbeDropReleased;
    request.window = reinterpret_cast<std::uintptr_t>(target);
    file.copy(request.text, sizeof request.text - 1);
    if (!probe(&request, sizeof request) || request.found == 0) return std::nullopt;
    return request.value == 1;
}

std::optional<std::uint32_t> App::bigIconPixel() {
    ProbeRequest request;
    request.command = kProbeBigIconPixel;
    request.window = reinterpret_cast<std::uintptr_t>(mainWindow());
    if (!probe(&request, sizeof request) || request.found == 0) return std::nullopt;
    return request.value;
}

std::optional<App::IconSample> App::smallIcon() {
    ProbeRequest request;
    request.command = kProbeSmallIconPixel;
    request.window = reinterpret_cast<std::uintptr_t>(mainWindow());
    if (!probe(&request, sizeof request) || request.found == 0) return std::nullopt;
    return IconSample{static_cast<int>(request.state), request.value};
}

std::optional<std::string> App::accessibleName(HWND control, int child) {
    ProbeRequest request;
    request.command = kProbeAccessibleName;
    request.window = reinterpret_cast<std::uintptr_t>(control);
    request.id = child;
    if (!probe(&request, sizeof request) || request.found == 0) return std::nullopt;
    return std::string(request.value != 0 ? request.text : "");
}

std::uint32_t App::boxIcon(const MessageBoxInfo& box) {
    ProbeRequest request;
    request.command = kProbeBoxIcon;
    request.window = reinterpret_cast<std::uintptr_t>(box.window);
    if (!probe(&request, sizeof request)) return 0;
    return request.value;
}

void App::post(int commandId) { PostMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

void App::pressKeys(const std::vector<WORD>& keys) {
    HWND window = mainWindow();
    SetForegroundWindow(window);
    std::vector<INPUT> inputs;
    auto add = [&](WORD key, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD key : keys) add(key, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) add(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void App::clickCloseBox() { PostMessageA(mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }

std::optional<DWORD> App::waitForExit(DWORD timeoutMs) {
    if (process_.hProcess == nullptr) return std::nullopt;
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void App::kill() {
    if (running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, kWaitMs);
    }
}

void terminateAllApps() {
    std::lock_guard<std::mutex> hold(startedLock());
    for (HANDLE process : startedProcesses()) TerminateProcess(process, 98);
}

void endAllApps() {
    std::lock_guard<std::mutex> hold(startedLock());
    for (HANDLE process : startedProcesses()) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, kWaitMs);
        }
        CloseHandle(process);
    }
    startedProcesses().clear();
}

}  // namespace brennic::e2e
