// The one process-wide state, owned in one place: the description, the page slots, the options and the
// start-up results. The Win32 layer holds a single instance; the core's operations take what they need of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "state/program_description.h"
#include "state/argument_slot.h"
#include "state/page_controls.h"
#include "state/app_options.h"

namespace brennic {

struct AppState {
    ProgramDescription description;
    ArgumentSlots slots{};
    ArgumentSlot scratchSlot{};
    PageControlsTable pageControls{};
    AppOptions options;

    bool descriptionReady = false;  // loaded, checked and tables built
    bool savedStateValid = false;   // the restored page state fits the description
    std::string saveFilePath;
    std::string appExePath;
    std::int32_t aboutEnabled = 0;  // flag of the About tab
};

}  // namespace brennic

namespace brennic {

// The process's single state record (static storage, lives until exit). Tests build their own AppState.
AppState& appState();

}  // namespace brennic
