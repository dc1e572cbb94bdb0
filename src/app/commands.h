// The main window's commands as logic over small interfaces: the menu's check marks, the options they stand
// for, and the dispatcher that runs one command. The Win32 layer supplies the menu, the boxes and the host.
#pragma once

#include <cstdint>
#include <string>

#include "launch/run_events.h"
#include "state/app_options.h"
#include "platform/platform.h"

namespace brennic {

struct AppState;
class SettingsStore;

// Items of the main menu, addressed by command id.
class MenuView {
public:
    virtual ~MenuView() = default;
    virtual void setChecked(int id, bool checked) = 0;
    // Makes `id` the checked item of the radio group first..last.
    virtual void checkRadio(int first, int last, int id) = 0;
    virtual void enable(int id) = 0;
    virtual void gray(int id) = 0;
};

// What a command needs of the window around it.
class CommandHost {
public:
    virtual ~CommandHost() = default;
    virtual void exitProgram() = 0;  // destroy the main window, quit with code 0
    virtual void startProgram() = 0;
    // Starts exactly this command again, in its own console mode, without looking at the pages.
    virtual void startRun(const StartedRun& run) = 0;
    // Ctrl+S: writes the save file and reports its own failure; false when it was not written.
    virtual bool writeSaveFile() = 0;
    // Folder picker on `folder` (preselected); true and the folder replaced when one was chosen.
    virtual bool browseFolder(std::string& folder, const std::string& title) = 0;
    // Sends the command (full wParam) to the argument page that is shown, if any.
    virtual void forwardToPage(std::uint32_t wParam) = 0;
    // The command Start would run may have changed (console mode, programs folder).
    virtual void commandChanged() = 0;
};

// The commands of the Presets menu (named presets, recent runs), handled apart from the rest.
class MenuCommandGroup {
public:
    virtual ~MenuCommandGroup() = default;
    // Runs the command when it is one of the group's; false when it is not.
    virtual bool handle(int id) = 0;
};

struct CommandContext {
    AppState& state;
    MenuView& menu;
    MessageBoxes& boxes;
    Shell& shell;
    SettingsStore& store;
    CommandHost& host;
    MenuCommandGroup* presets = nullptr;
};

// Asked when the pages are to be kept at exit but could not be written.
inline constexpr const char* kExitUnsavedQuestion =
    "The pages could not be saved.\n\nClose Brennic anyway? The changes since the last save are lost.";

// Check marks and console radio item for the options in effect.
void applyOptionsToMenu(const AppOptions& options, MenuView& menu);
// Flips an on/off option between 0 and 1 and sets its item's check mark to match.
void toggleOption(MenuView& menu, std::uint32_t& option, int id);
// The folder 40025 opens: the save-file path up to and including its last backslash.
std::string programFolderOf(const std::string& saveFilePath);
// The parameters handed to explorer for a folder: the folder in double quotes, so that a name with spaces
// or commas opens as one folder; an empty text stays empty.
std::string explorerParameters(const std::string& folder);

// Runs one command (id = low word, notification = high word of wParam). Any exception is shown as
// "Unknow error" (caption "Error...") and the program goes on.
void dispatchCommand(CommandContext& context, int id, std::uint32_t wParam);

}  // namespace brennic
