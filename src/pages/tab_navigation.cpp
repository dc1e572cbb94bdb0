#include "pages/tab_navigation.h"

namespace brennic {

namespace {

bool reachable(const TabFlags& flags, int tab) {
    return tab >= 0 && tab < kTabCount && flags[static_cast<std::size_t>(tab)] != 0;
}

}  // namespace

const std::array<std::string, kTabCount>& tabCaptions() {
    static const std::array<std::string, kTabCount> captions{"Argument 1", "Argument 2", "Argument 3",
                                                             "About...      "};
    return captions;
}

TabFlags tabFlags(const AppState& state) {
    return {state.slots[0].enabled, state.slots[1].enabled, state.slots[2].enabled, state.aboutEnabled};
}

void prepareTabFlags(AppState& state) {
    state.aboutEnabled = 1;
    if (state.descriptionReady) return;  // the pages set the argument flags as they are initialised
    for (ArgumentSlot& slot : state.slots) slot.enabled = 1;
}

int nextArgumentTab(int current, const TabFlags& flags) {
    const int next = current + 1;
    return next < kAboutTab && reachable(flags, next) ? next : 0;
}

int previousArgumentTab(int current, const TabFlags& flags) {
    if (current > 0 && current < kTabCount) return current - 1;
    int previous = kTabCount - 2;
    if (!reachable(flags, previous)) --previous;
    if (!reachable(flags, previous)) previous = 0;
    return previous;
}

int cycledTab(int current, const TabFlags& flags) {
    int next = current + 1;
    if (next < 0 || next >= kTabCount) return 0;
    if (!reachable(flags, next)) ++next;
    if (!reachable(flags, next)) ++next;
    return next < kTabCount ? next : 0;
}

TabSelectionGuard::Outcome TabSelectionGuard::selectionChanged(int selected, const TabFlags& flags) const {
    if (reachable(flags, selected)) return {true, selected};
    return {false, remembered_};
}

}  // namespace brennic
