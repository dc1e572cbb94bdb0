// The main window's commands.
#include "app/commands.h"

#include <exception>

#include "../../resources/resource_ids.h"
#include "state/app_state.h"
#include "launch/quoting.h"
#include "persist/options.h"

namespace brennic {

namespace {

constexpr const char* kProgramsFolderTitle = "Select folder for running programs.";

void selectConsoleMode(CommandContext& context, int id) {
    context.menu.checkRadio(IDCMD_HIDE_CONSOLE, IDCMD_OUTPUT_WINDOW, id);
    context.state.options.consoleOpt = static_cast<std::uint32_t>(id - IDCMD_HIDE_CONSOLE);
    context.host.commandChanged();
}

void chooseProgramsFolder(CommandContext& context) {
    AppState& state = context.state;
    std::string folder = state.options.runAppPath;
    const bool chosen = context.host.browseFolder(folder, kProgramsFolderTitle);
    state.options.userDir = chosen ? 1 : 0;
    if (!chosen) return;
    state.options.runAppPath = folder;
    state.description.setProgramsFolder(state.options.runAppPath, state.saveFilePath);
    context.host.commandChanged();
}

// With "Keep pages at exit" on, every way out writes the pages first; a failed write asks before the work
// since the last save is lost.
void exitProgram(CommandContext& context) {
    const AppState& state = context.state;
    if (state.options.keepPagesAtExit != 0 && state.descriptionReady && !context.host.writeSaveFile() &&
        context.boxes.show(kExitUnsavedQuestion, "Save!", kMbYesNo | kMbIconExclamation | kMbDefButton2) != kIdYes)
        return;
    context.host.exitProgram();
}

void runCommand(CommandContext& context, int id, std::uint32_t wParam) {
    AppOptions& options = context.state.options;
    switch (id) {
        case IDCMD_EXIT: exitProgram(context); break;
        case IDCMD_START: context.host.startProgram(); break;
        case IDCMD_HIDE_CONSOLE:
        case IDCMD_SHOW_CONSOLE:
        case IDCMD_HOLD_CONSOLE:
        case IDCMD_OUTPUT_WINDOW: selectConsoleMode(context, id); break;
        case IDCMD_SAVE_CONFIG: saveOptions(context.store, context.boxes, options); break;
        case IDCMD_SAVE_APP_CONFIG:
            if (context.state.descriptionReady) context.host.writeSaveFile();
            break;
        case IDCMD_SHOW_WARNINGS: toggleOption(context.menu, options.showWarn, id); break;
        case IDCMD_PROGRAMS_FOLDER: chooseProgramsFolder(context); break;
        case IDCMD_PATH_AUTO_CLEAR: toggleOption(context.menu, options.pathClr, id); break;
        case IDCMD_MANUAL_AUTO_CLEAR:
            toggleOption(context.menu, options.margsClr, id);
            if (options.margsClr == 1) {
                for (ArgumentSlot& slot : context.state.slots) slot.manualText.clear();
            }
            break;
        case IDCMD_START_SOUND: toggleOption(context.menu, options.startSound, id); break;
        case IDCMD_KEEP_PAGES_AT_EXIT: toggleOption(context.menu, options.keepPagesAtExit, id); break;
        case IDCMD_OPEN_PROGRAM_FOLDER: {
            ShellRequest request;
            request.file = "explorer";
            request.parameters = explorerParameters(programFolderOf(context.state.saveFilePath));
            request.showCommand = kSwShow;
            context.shell.execute(request);
            break;
        }
        case IDCMD_CLEAR_ARGUMENTS:
        case IDCMD_OPEN_ARGUMENT_FOLDER:
        case IDCMD_NEXT_ARGUMENT:
        case IDCMD_PREVIOUS_ARGUMENT:
        case IDCMD_SELECT_PATH:
        case IDCMD_CYCLE_TABS:
        case IDCMD_NEXT_ITEM:
        case IDCMD_PREVIOUS_ITEM:
        case IDCMD_COPY_COMMAND_LINE: context.host.forwardToPage(wParam); break;
        default:
            if (context.presets != nullptr) context.presets->handle(id);
            break;
    }
}

}  // namespace

void applyOptionsToMenu(const AppOptions& options, MenuView& menu) {
    menu.setChecked(IDCMD_START_SOUND, options.startSound != 0);
    menu.setChecked(IDCMD_PATH_AUTO_CLEAR, options.pathClr != 0);
    menu.setChecked(IDCMD_MANUAL_AUTO_CLEAR, options.margsClr != 0);
    menu.setChecked(IDCMD_SHOW_WARNINGS, options.showWarn != 0);
    menu.setChecked(IDCMD_KEEP_PAGES_AT_EXIT, options.keepPagesAtExit != 0);
    const int mode = options.consoleOpt <= 3 ? static_cast<int>(options.consoleOpt) : 2;
    menu.checkRadio(IDCMD_HIDE_CONSOLE, IDCMD_OUTPUT_WINDOW, IDCMD_HIDE_CONSOLE + mode);
}

void toggleOption(MenuView& menu, std::uint32_t& option, int id) {
    option = (option ^ 1u) & 1u;
    menu.setChecked(id, option != 0);
}

std::string programFolderOf(const std::string& saveFilePath) {
    const auto slash = saveFilePath.rfind('\\');
    return slash == std::string::npos ? saveFilePath : saveFilePath.substr(0, slash + 1);
}

std::string explorerParameters(const std::string& folder) { return quoteText(folder); }

void dispatchCommand(CommandContext& context, int id, std::uint32_t wParam) {
    try {
        runCommand(context, id, wParam);
    } catch (...) {
        context.boxes.show("Unknow error", "Error...", kMbOk | kMbIconError);
    }
}

}  // namespace brennic
