// What the About page shows: the described program's five texts and, in the main window's title, its name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "state/app_state.h"
#include "pages/page_view.h"

namespace brennic {

class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void setWindowTitle(const std::string& title) = 0;
    // One of the description texts kProgramFolderName .. kContactText into the control that shows it.
    virtual void setText(DescriptionText which, const std::string& text) = 0;
};

// At creation: with a loaded description, the title and texts 1 to 5 in that order; otherwise nothing, so
// the placeholders and the title "Brennic" stay.
void fillAboutPage(const AppState& state, AboutView& view);
// The About page's own version line, "Version 1.0.0", from the bytes of a version resource (VS_VERSIONINFO):
// the product version of its fixed part, a fourth number only when it is not 0. Nothing when the bytes hold
// no fixed part.
std::optional<std::string> versionLineFromResource(std::string_view resource);

// While the About page is shown the status bar's position and count read "0".
void refreshAboutStatus(const AppState& state, PageHost& host);

}  // namespace brennic
