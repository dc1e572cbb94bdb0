// The start-up sequence of the main window, as logic over the window's operations. It runs once, while the
// main window is created: command line, own icon and menu, options, the config file and the save file, the
// description's tables, the menu items that need a description, the described program's icon, the pages.
#pragma once

#include <string>
#include <vector>

#include "app/commands.h"
#include "platform/platform.h"

namespace brennic {

struct AppState;
class CodePage;
class FileStore;
class SettingsStore;

// The stores and boxes start-up works with.
struct StartupServices {
    MessageBoxes& boxes;
    SettingsStore& store;
    FileStore& files;
    const CodePage& legacyTexts;  // the code page of configs and save files whose texts predate UTF-8
};

// What start-up asks of the main window.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    virtual void acceptDrops() = 0;                                // step 1
    virtual void setOwnIcon() = 0;                                 // step 2
    virtual void attachMenu() = 0;                                 // step 3: menu 105 on the window
    virtual MenuView& menu() = 0;                                  // the attached menu bar, by command id
    virtual void setForeignIcon(const std::string& exePath) = 0;   // step 22, silent on failure
    virtual void useOptionsPopup() = 0;                            // step 23
    virtual void createPages() = 0;                                // step 24
};

// The process's command line as start-up sees it: token 0 is the program's own full path, token 1 (when
// present) the config path. At most two tokens are used.
struct StartupCommandLine {
    std::vector<std::string> tokens;
};

// The config path: token 1 when given, otherwise prog.vx in the program directory. Also makes the program
// directory the description's programsFolder.
std::string configPathFor(AppState& state, const StartupCommandLine& commandLine);

// Runs the whole sequence. Config errors are shown through the boxes (caption "Error"; the message, then the
// config path and the reason on the lines below), anything else that goes
// wrong in the protected part as "Unknown error" (caption "Err"); the window then runs without a description.
void runStartup(AppState& state, StartupWindow& window, const StartupServices& services,
                const StartupCommandLine& commandLine);

}  // namespace brennic
