// Driving a running brennic.exe from the test driver: start it, find its windows, read texts and menu
// states, answer message boxes, press keys and post commands, wait for its end. Every wait is bounded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brennic::e2e {

inline constexpr DWORD kWaitMs = 15000;  // the bound of every wait (generous: the machine may be busy)

struct ButtonInfo {
    int id = 0;
    std::string text;
};

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    std::vector<ButtonInfo> buttons;
    bool hasButton(int id) const;
};

struct MenuItemInfo {
    bool found = false;
    bool grayed = false;
    bool checked = false;
    std::string text;
};

// Window text through WM_GETTEXT (works for edit and combo boxes of another process too).
std::string windowText(HWND window);
std::string className(HWND window);

class App {
public:
    // Starts `exe` (brennic.exe of the workspace when empty) with `arguments` appended to its quoted path,
    // in `directory` (the exe's folder when empty), and waits for the main window. `commandLine`, when not
    // empty, replaces the whole command line (to start the program by an unquoted or relative name).
    struct Launch {
        std::string arguments;
        std::string directory;
        std::string exe;
        std::string commandLine;
    };
    static App start(const Launch& launch);
    static App start(const std::string& arguments = "") { return start(Launch{arguments, "", "", ""}); }

    App(App&& other) noexcept;
    App& operator=(App&&) = delete;
    App(const App&) = delete;
    ~App();

    bool running() const;
    DWORD processId() const { return processId_; }

    // The main window: the process's visible dialog that is not owned by another window. Waits for it.
    HWND mainWindow();
    std::string title();

    // Waits until the program's window thread has handled everything posted or pressed so far (posted
    // commands, keys, painting) and waits for more, in its own loop or in a modal one (a message box, a
    // dialog). The barrier for checking that something did NOT happen. False when it could not tell.
    bool settle();

    // A message box (or other dialog) of the process other than the main window, once it is visible.
    std::optional<MessageBoxInfo> waitForBox(DWORD timeoutMs = kWaitMs);
    // After settle(): the box that is open now, if any.
    std::optional<MessageBoxInfo> openBox();
    // Clicks the box's button with that id and waits until the box is gone.
    bool answer(const MessageBoxInfo& box, int buttonId);
    // The standard icon a box shows (32513 error, 32514 question, 32515 warning, 32516 information), 0 none.
    std::uint32_t boxIcon(const MessageBoxInfo& box);
    // A visible top-level window of the process with this title, waited for.
    HWND waitForWindowTitled(const std::string& title, DWORD timeoutMs = kWaitMs);

    // The text of a tree-view item of the program (read through the program's own memory).
    std::string treeItemText(HWND tree, LPARAM item);

    MenuItemInfo menuItem(int id);
    // Sends `target` a dropped-files handle naming `file`; true when the window released the handle, nothing
    // when the probe could not run.
    std::optional<bool> dropReleased(HWND target, const std::string& file);
    // An item of the context menu that is open now; not found when none is open. `window` receives the
    // menu's pop-up window (post it Escape to close the menu).
    MenuItemInfo popupMenuItem(int id, HWND* window = nullptr);
    // 0xAARRGGBB at the centre of the main window's big icon; nothing when it has none.
    std::optional<std::uint32_t> bigIconPixel();
    // The main window's small icon (the title bar's): its width and the pixel at its centre; nothing when the
    // window has no small icon of its own.
    struct IconSample {
        int width;
        std::uint32_t centre;
    };
    std::optional<IconSample> smallIcon();
    // The name Active Accessibility gives a control of the program (or its part `child`), asked inside the
    // program as a screen reader asks; empty when it gives none, nothing when the control has no accessible
    // object or the probe could not run.
    std::optional<std::string> accessibleName(HWND control, int child = 0);

    // Drops the names on a window of the program, as the shell does (WM_DROPFILES with a real drop handle);
    // returns once the drop is posted.
    bool dropFiles(HWND target, const std::vector<std::string>& names);
    // The program's current directory; empty when it could not be read.
    std::string currentDirectory();

    // Posts WM_COMMAND with the id (menu, notification 0) to the main window; returns at once.
    void post(int commandId);
    // Presses keys with SendInput on the main window: modifiers are held while the last key is pressed.
    void pressKeys(const std::vector<WORD>& keys);
    // Posts WM_SYSCOMMAND SC_CLOSE, what the close box does.
    void clickCloseBox();

    // Waits for the process to end; its exit code, or nothing when it still runs after the timeout.
    std::optional<DWORD> waitForExit(DWORD timeoutMs = kWaitMs);
    void kill();

private:
    App() = default;
    bool probe(void* request, std::size_t size);

    PROCESS_INFORMATION process_{};
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    std::uintptr_t probeBase_ = 0;
};

// The program's open/save file dialog (or, with `folder`, its folder picker) once it is visible.
HWND waitForPathDialog(App& app, bool folder);
// Types (or, with `paste`, pastes through the clipboard) a path into the folder picker's name box and presses
// its OK button. False when the picker has no name box.
bool enterInFolderPicker(HWND picker, const std::string& path, bool paste = false);
// Waits until the window is gone or hidden.
bool waitGone(HWND window);
// Types a name (UTF-8) into a file dialog's file-name box and confirms it.
void chooseInFileDialog(HWND dialog, const std::string& name);

// Ends every program the current test started and that still runs (called after each test).
void endAllApps();
// Ends them at once without waiting; safe from another thread (the driver's watchdog).
void terminateAllApps();

}  // namespace brennic::e2e
