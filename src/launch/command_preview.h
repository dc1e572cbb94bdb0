// The command preview under the tab control: the command Start would run now, worked out again after every
// change of the pages or the console mode, and which arguments Start would warn about.
#pragma once

#include <string>

namespace brennic {

struct AppState;

struct CommandPreview {
    std::string line;    // exactly what "Copy command line" copies now; empty without a ready description
    std::string marker;  // shown beside the line, "Warnings: 1, 3"; empty when nothing is missing
    std::string tip;     // the whole line, then the warning lines Start would show
};

// Reads the slots, the options and the live manual fields; changes none of them, shows nothing and leaves the
// warning log alone.
CommandPreview commandPreview(const AppState& state);

}  // namespace brennic
