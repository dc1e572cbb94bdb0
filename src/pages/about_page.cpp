#include "pages/about_page.h"

namespace brennic {

void fillAboutPage(const AppState& state, AboutView& view) {
    if (!state.descriptionReady) return;
    const ProgramDescription& description = state.description;
    view.setWindowTitle(description.descriptionText(kProgramFolderName));
    for (int which = kProgramFolderName; which <= kContactText; ++which)
        view.setText(static_cast<DescriptionText>(which), description.descriptionText(which));
}

void refreshAboutStatus(const AppState& state, PageHost& host) {
    if (!state.descriptionReady) return;
    host.setStatusText(1, "0");
    host.setStatusText(2, "0");
}

}  // namespace brennic
