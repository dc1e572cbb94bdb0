// The command preview, from the same assembly as Start and "Copy command line".
#include "launch/command_preview.h"

#include "app/app_state.h"
#include "launch/launch.h"

namespace brennic {

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

CommandPreview commandPreview(const AppState& state) {
    CommandPreview preview;
    if (!state.descriptionReady) return preview;
    AssembledCommand command =
        assembleCommand(state.description, state.slots, state.pageControls, state.options.consoleOpt);
    preview.line = std::move(command.line);
    preview.missing = command.missing;
    preview.marker = warningMarker(preview.missing);
    preview.tip = preview.line;
    WarningLog warnings;
    addWarnings(warnings, preview.missing);
    if (!warnings.text.empty()) {
        warnings.text.pop_back();  // the last line's line feed
        preview.tip += preview.tip.empty() ? warnings.text : "\n\n" + warnings.text;
    }
    return preview;
}

}  // namespace brennic
