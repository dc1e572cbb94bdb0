// The start-up sequence of the main window.
#include "app/startup.h"

#include <fstream>
#include <new>

#include "../../resources/resource_ids.h"
#include "app/app_state.h"
#if __has_include("description/config_loader.h")
#include "description/config_error.h"
#include "description/config_loader.h"
#include "description/table_builder.h"
#define HAVE_LOADER 1
#endif
#include "persist/options.h"

namespace brennic {

namespace {

constexpr const char* kDefaultConfigName = "prog.vx";

// Steps 10 to 22; any exception ends them where it is raised.
void runProtectedSteps(AppState& state, StartupWindow& window, MessageBoxes& boxes, SettingsStore& store,
                       const std::string& configPath) {
    // The marks always show the options in effect, also when the folder text could not be read.
    const bool optionsLoaded = loadOptions(store, state.options);
    applyOptionsToMenu(state.options, window.menu());
    if (optionsLoaded && state.options.userDir != 0) {
        state.description.setProgramsFolder(state.options.runAppPath, state.saveFilePath);
    }

#ifdef HAVE_LOADER
    errorVX error;
    loadConfigFile(configPath, state.description, error);
    state.description.makeSaveFilePath(state.saveFilePath);
    (void)boxes;
    state.descriptionReady = buildTables(state.description);
    window.menu().enable(IDCMD_START);
    window.menu().enable(IDCMD_SAVE_APP_CONFIG);
    window.menu().enable(IDCMD_OPEN_PROGRAM_FOLDER);
    state.description.makeExecutablePath(state.appExePath);
    window.setForeignIcon(state.appExePath);
#else
    (void)configPath; (void)boxes;
#endif
}

}  // namespace

std::string configPathFor(AppState& state, const StartupCommandLine& commandLine) {
    std::string path = commandLine.tokens.empty() ? std::string() : commandLine.tokens[0];
    state.description.setProgramsFolderFromPath(path);
    if (commandLine.tokens.size() >= 2) return commandLine.tokens[1];
    return path + kDefaultConfigName;
}

void runStartup(AppState& state, StartupWindow& window, MessageBoxes& boxes, SettingsStore& store,
                const StartupCommandLine& commandLine) {
    window.acceptDrops();
    window.setOwnIcon();
    window.attachMenu();
    window.menu().checkRadio(IDCMD_HIDE_CONSOLE, IDCMD_HOLD_CONSOLE, IDCMD_HOLD_CONSOLE);
    for (ArgumentSlot& slot : state.slots) {
        slot.enabled = 0;
        slot.pathUsed = 0;
        slot.manualUsed = 0;
    }
    const std::string configPath = configPathFor(state, commandLine);

    try {
        runProtectedSteps(state, window, boxes, store, configPath);
    }
#ifdef HAVE_LOADER
    catch (errorVX& error) {
        state.descriptionReady = false;
        const std::string message = errorMessage(error);
        if (!message.empty()) boxes.show(message, kConfigErrorCaption, kMbOk | kMbIconError);
        clearError(error);
    }
#endif
    catch (...) {
        state.descriptionReady = false;
        boxes.show("Unknown error", "Err", kMbOk | kMbIconError);
    }

    window.useOptionsPopup();
    window.createPages();
}

}  // namespace brennic
