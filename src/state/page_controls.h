// What the rest of the core may ask of a page's controls. Command assembly and the save file read the live
// text of the manual-arguments field through this table; the pages fill it in their initialisation.
#pragma once

#include <array>
#include <string>

namespace brennic {

class PageControls {
public:
    virtual ~PageControls() = default;
    // The manual-arguments field's current text, at most 259 characters (a 260-byte read).
    virtual std::string manualText() const = 0;
};

// One entry per argument page, in page order; an entry stays null until its page exists.
using PageControlsTable = std::array<PageControls*, 3>;

}  // namespace brennic
