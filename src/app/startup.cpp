// The start-up sequence of the main window.
#include "app/startup.h"

#include "../../resources/resource_ids.h"
#include "state/app_state.h"
#include "description/config_error.h"
#include "description/config_explain.h"
#include "description/config_loader.h"
#include "description/table_builder.h"
#include "persist/ini_store.h"
#include "persist/options.h"
#include "persist/save_file.h"

namespace brennic {

namespace {

constexpr const char* kDefaultConfigName = "prog.vx";

constexpr int kDescriptionCommands[] = {IDCMD_START, IDCMD_SAVE_APP_CONFIG, IDCMD_OPEN_PROGRAM_FOLDER};

// After a failure in the protected steps: no description, and none of the commands that need one, however far
// the steps got.
void withdrawDescription(AppState& state, StartupWindow& window) {
    state.descriptionReady = false;
    state.appExePath.clear();
    for (int id : kDescriptionCommands) window.menu().gray(id);
}

// Everything that needs the options, the config file and the save file; any exception ends it where it is
// raised, and what was done before stays in effect.
void runProtectedSteps(AppState& state, StartupWindow& window, const StartupServices& services,
                       const std::string& configPath, int& openError) {
    // The marks always show the options in effect, also when the folder text could not be read.
    const bool optionsLoaded = loadOptions(services.store, state.options);
    // A tool folder's options file that cannot be used is said once; its defaults are in effect.
    const std::string optionsProblem = services.store.problem();
    if (!optionsProblem.empty()) services.boxes.show(optionsProblem, kOptionsFileCaption, kMbOk | kMbIconExclamation);
    applyOptionsToMenu(state.options, window.menu());
    if (optionsLoaded && state.options.userDir != 0) {
        state.description.setProgramsFolder(state.options.runAppPath, state.saveFilePath);
    }

    errorVX error;
    loadConfigFile(configPath, state.description, error, openError);
    decodeConfigTexts(state.description, services.legacyTexts);
    state.description.makeSaveFilePath(state.saveFilePath);
    state.savedStateValid = restoreSavedState(state.slots, state.description, state.saveFilePath, services.files,
                                              services.boxes, services.legacyTexts);
    state.descriptionReady = buildTables(state.description);
    if (!state.descriptionReady) {
        // The loader's checks let nothing through that the builder refuses; should they ever disagree,
        // the description is reported as damaged rather than used.
        raiseError(error, &errorVX::configError, kConfigDamaged);
    }

    for (int id : kDescriptionCommands) window.menu().enable(id);
    state.description.makeExecutablePath(state.appExePath);
    window.setForeignIcon(state.appExePath);
}

}  // namespace

std::string configPathFor(AppState& state, const StartupCommandLine& commandLine) {
    std::string path = commandLine.tokens.empty() ? std::string() : commandLine.tokens[0];
    state.description.setProgramsFolderFromPath(path);
    if (commandLine.tokens.size() >= 2) return commandLine.tokens[1];
    return path + kDefaultConfigName;
}

void runStartup(AppState& state, StartupWindow& window, const StartupServices& services,
                const StartupCommandLine& commandLine) {
    window.acceptDrops();
    window.setOwnIcon();
    window.attachMenu();
    window.menu().checkRadio(IDCMD_HIDE_CONSOLE, IDCMD_OUTPUT_WINDOW, IDCMD_HOLD_CONSOLE);
    for (ArgumentSlot& slot : state.slots) {
        slot.enabled = 0;
        slot.pathUsed = 0;
        slot.manualUsed = 0;
    }
    const std::string configPath = configPathFor(state, commandLine);

    int openError = 0;
    try {
        runProtectedSteps(state, window, services, configPath, openError);
    } catch (errorVX& error) {
        withdrawDescription(state, window);
        const std::string message = errorMessage(error);
        if (!message.empty()) {
            // The message stays the first line; below it, which file and what is wrong with it.
            const std::string reason = explainConfigError(error, configPath, state.description, openError);
            services.boxes.show(configErrorBoxText(message, configPath, reason), kConfigErrorCaption,
                                kMbOk | kMbIconError);
        }
        clearError(error);
    } catch (...) {
        withdrawDescription(state, window);
        services.boxes.show("Unknown error", "Err", kMbOk | kMbIconError);
    }

    window.useOptionsPopup();
    window.createPages();
}

}  // namespace brennic
