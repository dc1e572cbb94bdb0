// Which tab the navigation commands reach: plain rules over the current tab and the four tab flags.
// Tabs 0, 1, 2 are the argument pages (their flags are the slots' `enabled`), tab 3 is the About page.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "state/app_state.h"

namespace brennic {

inline constexpr int kTabCount = 4;
inline constexpr int kAboutTab = 3;

using TabFlags = std::array<std::int32_t, kTabCount>;

// Captions at creation, in tab order.
const std::array<std::string, kTabCount>& tabCaptions();

TabFlags tabFlags(const AppState& state);
// Before the pages are created: the About tab is always reachable; without a description every tab is.
void prepareTabFlags(AppState& state);

// Ctrl+Right (and a click on a page's background): the next live argument, wrapping to argument 1.
int nextArgumentTab(int current, const TabFlags& flags);
// Ctrl+Left: the previous argument; from argument 1 the last live one.
int previousArgumentTab(int current, const TabFlags& flags);
// Ctrl+Tab: the next reachable tab, About included, wrapping to argument 1.
int cycledTab(int current, const TabFlags& flags);

// Refuses clicks on dormant tabs: the selection in force when a change begins is restored when the
// newly selected tab may not be shown.
class TabSelectionGuard {
public:
    void selectionChanging(int current) { remembered_ = current; }
    // The tab to show (the selected one), or the remembered tab to select again when `shown` is false.
    struct Outcome {
        bool show;
        int tab;
    };
    Outcome selectionChanged(int selected, const TabFlags& flags) const;

private:
    int remembered_ = 0;
};

}  // namespace brennic
