// The command preview, from the same assembly as Start and "Copy command line".
#include "launch/command_preview.h"

#include "state/app_state.h"
#include "launch/launch.h"

namespace brennic {

namespace {

// "Warnings: " and the numbers of the arguments that lack something; empty when none does.
std::string warningMarker(const MissingByPage& missing) {
    std::string marker;
    for (int page = 0; page < kArgumentCount; ++page) {
        const MissingIngredients& lacking = missing[static_cast<std::size_t>(page)];
        if (!lacking.path && !lacking.manual) continue;
        marker += marker.empty() ? "Warnings: " : ", ";
        marker += std::to_string(page + 1);
    }
    return marker;
}

}  // namespace

CommandPreview commandPreview(const AppState& state) {
    CommandPreview preview;
    if (!state.descriptionReady) return preview;
    AssembledCommand command =
        assembleCommand(state.description, state.slots, state.pageControls, state.options.consoleOpt);
    preview.line = std::move(command.line);
    preview.marker = warningMarker(command.missing);
    preview.tip = preview.line;
    WarningLog warnings;
    addWarnings(warnings, command.missing);
    if (!warnings.text.empty()) {
        warnings.text.pop_back();  // the last line's line feed
        preview.tip += preview.tip.empty() ? warnings.text : "\n\n" + warnings.text;
    }
    return preview;
}

}  // namespace brennic
