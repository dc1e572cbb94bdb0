// Starting the described program.
#include "launch/launch.h"

#include <chrono>

#include "state/app_state.h"
#include "launch/command_line.h"
#include "launch/quoting.h"

namespace brennic {

std::string programFolder(const ProgramDescription& description) {
    return description.programsFolder + description.programFolderName();
}

std::string programFile(const ProgramDescription& description) {
    return programFolder(description) + '\\' + description.executableName();
}

std::optional<ShellRequest> launchRequest(const std::string& folder, const std::string& file,
                                          const std::string& parameters, std::uint32_t consoleOpt) {
    ShellRequest request;
    switch (consoleOpt) {
        case kHideConsole:
        case kShowConsole:
        case kOutputWindow:
            request.file = file;
            request.parameters = parameters;
            request.directory = folder;
            request.showCommand = consoleOpt == kShowConsole ? kSwShow : kSwHide;
            return request;
        case kHoldConsole: {
            std::string text = "/k ";
            if (!file.empty()) text += file.front();
            text += ": && cd ";
            text += quoteArgument(folder);
            text += " && ";
            text += quoteArgument(file);
            text += ' ';
            text += parameters;
            request.file = "cmd.exe";
            request.parameters = std::move(text);
            request.showCommand = kSwShow;
            return request;
        }
        default:
            return std::nullopt;
    }
}

bool confirmWarnings(WarningLog& log, MessageBoxes& boxes) {
    if (log.text.empty()) return false;
    log.text += kContinueQuestion;
    const int answer = boxes.show(log.text, kWarningCaption, kMbYesNo | kMbIconExclamation);
    log.text.clear();
    return answer == kIdNo;
}

namespace {

// Empties the log when a start ends, whichever way it ends.
class LogClearer {
public:
    explicit LogClearer(WarningLog& log) : log_(log) { log_.text.clear(); }
    ~LogClearer() { log_.text.clear(); }
    LogClearer(const LogClearer&) = delete;
    LogClearer& operator=(const LogClearer&) = delete;

private:
    WarningLog& log_;
};

}  // namespace

AssembledCommand assembleCommand(const ProgramDescription& description, const ArgumentSlots& slots,
                                 const PageControlsTable& controls, std::uint32_t consoleOpt) {
    AssembledCommand command;
    command.parameters = buildParameters(description, slots, controls, command.missing);
    command.request =
        launchRequest(programFolder(description), programFile(description), command.parameters, consoleOpt);
    if (command.request && !description.executableName().empty()) {
        // The shell hands the described program its own file name in quotes; cmd.exe is named as given.
        const ShellRequest& request = *command.request;
        command.line = (consoleOpt == kHoldConsole ? request.file : quoteText(request.file)) + ' ' + request.parameters;
    }
    return command;
}

std::string runErrorText(const std::string& file, const std::string& reason) {
    std::string text = kRunErrorText;
    text += '\n';
    text += file;
    if (!reason.empty()) {
        text += '\n';
        text += reason;
    }
    return text;
}

bool launchRun(const StartedRun& run, ProgramLauncher& launcher, MessageBoxes& boxes) {
    const LaunchResult result = launcher.launch(run);
    if (!result.started) boxes.show(runErrorText(run.request.file, result.reason), kRunErrorCaption, kMbIconError);
    return result.started;
}

std::string startProgram(ProgramDescription& description, const ArgumentSlots& slots,
                         const PageControlsTable& controls, const AppOptions& options, MessageBoxes& boxes,
                         ProgramLauncher& launcher, std::int64_t startedAt) {
    LogClearer clearer(description.warningLog);
    AssembledCommand command = assembleCommand(description, slots, controls, options.consoleOpt);
    addWarnings(description.warningLog, command.missing);
    if (options.showWarn != 0 && confirmWarnings(description.warningLog, boxes)) return command.parameters;

    if (!command.request) return command.parameters;
    if (description.executableName().empty()) {
        boxes.show(runErrorText(programFile(description), kNoExecutableReason), kRunErrorCaption, kMbIconError);
        return command.parameters;
    }
    const StartedRun run{*command.request, options.consoleOpt, command.line, startedAt};
    if (!launchRun(run, launcher, boxes)) return command.parameters;
    if (options.startSound != 0 && options.consoleOpt == kHideConsole) boxes.beep(kMbIconExclamation);
    return command.parameters;
}

std::optional<std::string> commandLineText(const ProgramDescription& description, const ArgumentSlots& slots,
                                           const PageControlsTable& controls, const AppOptions& options) {
    AssembledCommand command = assembleCommand(description, slots, controls, options.consoleOpt);
    if (command.line.empty()) return std::nullopt;
    return std::move(command.line);
}

void startProgram(AppState& state, MessageBoxes& boxes, ProgramLauncher& launcher, std::int64_t startedAt) {
    if (!state.descriptionReady) return;
    startProgram(state.description, state.slots, state.pageControls, state.options, boxes, launcher, startedAt);
}

std::int64_t secondsSince1970() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::optional<std::string> commandLineText(const AppState& state) {
    if (!state.descriptionReady) return std::nullopt;
    return commandLineText(state.description, state.slots, state.pageControls, state.options);
}

}  // namespace brennic
