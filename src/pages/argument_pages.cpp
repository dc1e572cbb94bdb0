// The argument pages' logic over the slots, the description and the page views.
#include "pages/argument_pages.h"

#include "pages/path_display.h"
#include "platform/text.h"

namespace brennic {

namespace {

const char* const kPathLabel = "Path";
const char* const kManualLabel = "Manual arguments";
const char* const kManualTip = "Manual arguments info";

// Stands in for a page whose controls do not exist, so the slots stay right even then.
class DetachedPage final : public PageView {
public:
    std::string manualText() const override { return {}; }
    void setActionLabel(const std::string&) override {}
    void setPathLabel(const std::string&) override {}
    void setManualLabel(const std::string&) override {}
    void setManualTip(const std::string&) override {}
    void setActionItems(const std::vector<std::string>&) override {}
    void selectActionItem(int) override {}
    int actionSelection() const override { return -1; }
    int actionCount() const override { return 0; }
    bool actionListEnabled() const override { return false; }
    void enableActionList(bool) override {}
    void enableSelectButton(bool) override {}
    void enableManualField(bool) override {}
    void setPathText(const std::string&) override {}
    void setManualText(const std::string&) override {}
    void repaint() override {}
};

DetachedPage detachedPage;

std::string argumentCaption(int page) { return "Argument " + std::to_string(page + 1); }

// What the user typed for an entry that takes manual arguments, read before the page is filled again:
// refreshPage and fillPage would put an older remembered text over it.
std::string typedText(const ArgumentSlot& slot, const PageView& view) {
    return slot.manualUsed != 0 ? view.manualText() : std::string();
}

// Puts the typed text back when the entry now selected takes manual arguments too.
void keepTyped(const ArgumentSlot& slot, PageView& view, const std::string& typed) {
    if (slot.manualUsed != 0 && !typed.empty()) view.setManualText(typed);
}

}  // namespace

void evaluateEntry(const ProgramDescription& description, ArgumentSlot& slot) {
    const ActionEntry* entry = description.selectedEntry(slot.group, slot.item);
    slot.pathUsed = entry != nullptr && entry->pathMode() != 0 ? 1 : 0;
    if (entry != nullptr && entry->nextMode() != 0) {
        slot.enabled = 1;
        slot.group = entry->nextList;
    } else {
        slot.enabled = 0;
    }
}

ArgumentPages::ArgumentPages(AppState& state, PageHost& host) : state_(state), host_(host) {}

void ArgumentPages::attach(int page, PageView& view) {
    if (page < 0 || page >= kArgumentCount) return;
    views_[static_cast<std::size_t>(page)] = &view;
    state_.pageControls[static_cast<std::size_t>(page)] = &view;
}

const ActionList* ArgumentPages::list(std::uint16_t group) const {
    const auto& lists = state_.description.lists;
    return group < lists.size() ? &lists[group] : nullptr;
}

PageView& ArgumentPages::viewOf(int page) const {
    PageView* attached = views_[static_cast<std::size_t>(page)];
    return attached != nullptr ? *attached : detachedPage;
}

// ---- filling a page ------------------------------------------------------------------------------------

void ArgumentPages::fillPage(ArgumentSlot& slot, PageView& view) {
    const ActionList* shown = list(slot.group);
    view.setActionLabel(shown != nullptr ? shown->label : std::string());

    std::vector<std::string> captions;
    if (shown != nullptr) {
        const auto& actions = state_.description.actions;
        captions.reserve(shown->entries.size());
        for (std::uint16_t action : shown->entries)
            captions.push_back(action < actions.size() ? actions[action].caption : std::string());
    }
    view.setActionItems(captions);
    view.selectActionItem(slot.item < captions.size() ? slot.item : -1);
    view.enableActionList(captions.size() > 1);

    refreshPage(slot, view);
    evaluateEntry(state_.description, slot);
}

void ArgumentPages::refreshPage(ArgumentSlot& slot, PageView& view) {
    const ProgramDescription& description = state_.description;
    const ActionEntry* entry = description.selectedEntry(slot.group, slot.item);

    if (entry != nullptr && entry->pathMode() != 0) {
        const bool known = entry->pathSpec < description.pathSpecs.size();
        view.setPathLabel(known ? description.pathSpecs[entry->pathSpec].label : std::string());
        slot.pathUsed = 1;
        if (!slot.path.empty()) view.setPathText(displayPath(slot.path));
        view.enableSelectButton(true);
    } else {
        slot.pathUsed = 0;
        view.enableSelectButton(false);
        view.setPathLabel(kPathLabel);
        view.setPathText(std::string());
    }

    if (entry != nullptr && entry->manualMode() != 0) {
        const bool known = entry->manualSpec < description.manualSpecs.size();
        const ManualSpec spec = known ? description.manualSpecs[entry->manualSpec] : ManualSpec{};
        slot.manualUsed = 1;
        if (!slot.manualText.empty()) view.setManualText(slot.manualText);
        view.setManualLabel(spec.label);
        view.setManualTip(spec.info);
        view.enableManualField(true);
    } else {
        // The field keeps its text: keepManualText decides what happens to it.
        slot.manualUsed = 0;
        view.setManualTip(kManualTip);
        view.enableManualField(false);
        view.setManualLabel(kManualLabel);
    }
}

void ArgumentPages::restorePage(int page) {
    ArgumentSlot& restored = slot(page);
    ArgumentSlot& scratch = state_.scratchSlot;
    scratch.group = restored.group;
    scratch.item = restored.item;
    scratch.path = restored.path;
    scratch.manualText = restored.manualText;
    fillPage(scratch, viewOf(page));
    restored.pathUsed = scratch.pathUsed;
    restored.manualUsed = scratch.manualUsed;
}

// ---- initialisation ------------------------------------------------------------------------------------

void ArgumentPages::initialisePage(int page) {
    if (page < 0 || page >= kArgumentCount) return;
    if (!loaded()) {
        if (page == 0) {
            host_.setStatusText(1, "0");
            host_.setStatusText(2, "0");
        }
        return;
    }
    // A saved state whose first argument is not in use holds indices nobody checked: start fresh then.
    if (page == 0) restoring_ = state_.savedStateValid && slot(0).enabled != 0;
    if (restoring_)
        initialiseRestored(page);
    else
        initialiseFresh(page);
    host_.commandChanged();
}

void ArgumentPages::showRestoredState() {
    if (!loaded()) return;
    for (int page = 0; page < kArgumentCount; ++page) {
        // The fields show only what the state holds, not what was typed before.
        viewOf(page).setPathText(std::string());
        viewOf(page).setManualText(std::string());
    }
    const std::array<std::int32_t, kArgumentCount> inUse{slot(0).enabled, slot(1).enabled, slot(2).enabled};
    for (int page = 0; page < kArgumentCount; ++page) initialisePage(page);
    for (int page = 1; page < kArgumentCount; ++page) {
        if (inUse[static_cast<std::size_t>(page)] != 0 && restoring_) host_.setTabCaption(page, argumentCaption(page));
    }
    for (int page = 0; page < kArgumentCount; ++page) viewOf(page).repaint();
}

// Starts page p on the list in scratchSlot (page 0: firstList) at entry 0, with nothing remembered.
void ArgumentPages::startUnused(int page) {
    ArgumentSlot& started = slot(page);
    ArgumentSlot& scratch = state_.scratchSlot;
    if (page == 0) scratch.group = state_.description.header.firstList;
    started.group = scratch.group;
    started.item = 0;
    started.path.clear();
    started.manualText.clear();
    scratch.item = 0;
    scratch.path.clear();
    scratch.manualText.clear();
    fillPage(scratch, viewOf(page));
    started.pathUsed = scratch.pathUsed;
    started.manualUsed = scratch.manualUsed;
}

void ArgumentPages::initialiseFresh(int page) {
    const ArgumentSlot& scratch = state_.scratchSlot;
    startUnused(page);
    ArgumentSlot& started = slot(page);
    if (page == 0) {
        started.enabled = 1;
        slot(1).enabled = scratch.enabled;
        showStatus(started);
    } else if (page == 1) {
        if (started.enabled == 0) {
            setTabDormant(1);
            slot(2).enabled = 0;
        } else {
            slot(2).enabled = scratch.enabled;
        }
    } else if (started.enabled == 0) {
        setTabDormant(2);
    }
}

void ArgumentPages::initialiseRestored(int page) {
    if (page == 0) {
        restorePage(0);
        showStatus(slot(0));
    } else if (slot(page).enabled != 0) {
        restorePage(page);
    } else {
        // Not in use: filled as a fresh start fills it, so that its page, its slot and the command line
        // agree once the page before it leads here.
        startUnused(page);
        setTabDormant(page);
    }
}

// ---- selection change ----------------------------------------------------------------------------------

void ArgumentPages::selectionChanged(int page, int selection) {
    if (!loaded() || page < 0 || page >= kArgumentCount) return;
    ArgumentSlot& changed = slot(page);
    const ActionList* shown = list(changed.group);
    // No selection, or a position the list does not have: nothing to store.
    if (selection < 0 || shown == nullptr || static_cast<std::size_t>(selection) >= shown->entries.size()) return;
    const auto item = static_cast<std::uint16_t>(selection);

    ArgumentSlot& scratch = state_.scratchSlot;
    scratch.group = changed.group;
    scratch.toolTip = changed.toolTip;
    scratch.item = item;
    evaluateEntry(state_.description, scratch);
    if (item == changed.item) return;

    PageView& view = viewOf(page);
    const std::string typed = typedText(changed, view);
    changed.item = item;
    refreshPage(changed, view);
    keepTyped(changed, view, typed);
    if (page == 0)
        showStatus(changed);
    else
        showPosition(changed);
    keepManualText(view, changed);
    autoClearPath(view, changed);
    updateDependents(page);
    view.repaint();
    host_.commandChanged();
}

void ArgumentPages::keepManualText(PageView& view, ArgumentSlot& kept) {
    if (state_.options.margsClr == 0) {
        if (kept.manualUsed != 0) return;
        std::string typed = view.manualText();
        typed = std::string(cutToUtf16Length(typed, kMaxText));
        if (!typed.empty() && typed != kept.manualText) kept.manualText = typed;
        view.setManualText(std::string());
    } else if (kept.manualUsed == 0) {
        view.setManualText(std::string());
    }
}

void ArgumentPages::autoClearPath(PageView& view, ArgumentSlot& cleared) {
    if (state_.options.pathClr == 0 || cleared.pathUsed != 1) return;
    cleared.path.clear();
    view.setPathText(std::string());
}

bool ArgumentPages::followDependent(int page) {
    ArgumentSlot& dependent = slot(page);
    ArgumentSlot& scratch = state_.scratchSlot;
    if (dependent.group == scratch.group) return false;
    dependent.item = 0;
    dependent.group = scratch.group;
    scratch.item = 0;
    scratch.toolTip = dependent.toolTip;
    scratch.path = dependent.path;
    scratch.manualText = dependent.manualText;
    PageView& view = viewOf(page);
    const std::string typed = typedText(dependent, view);
    fillPage(scratch, view);
    dependent.pathUsed = scratch.pathUsed;
    dependent.manualUsed = scratch.manualUsed;
    keepTyped(dependent, view, typed);
    keepManualText(view, dependent);
    autoClearPath(view, dependent);
    return true;
}

void ArgumentPages::setTabLive(int page) {
    ArgumentSlot& live = slot(page);
    if (live.enabled == 1) return;
    live.enabled = 1;
    host_.setTabCaption(page, argumentCaption(page));
}

void ArgumentPages::setTabDormant(int page) { host_.setTabCaption(page, blankTabCaption); }

void ArgumentPages::updateDependents(int page) {
    ArgumentSlot& scratch = state_.scratchSlot;
    if (page == 0) {
        if (scratch.enabled == 0) {
            slot(1).enabled = 0;
            slot(2).enabled = 0;
            setTabDormant(1);
            setTabDormant(2);
            return;
        }
        const bool changed = followDependent(1);
        setTabLive(1);
        if (!changed) {
            scratch.group = slot(1).group;
            scratch.item = slot(1).item;
            evaluateEntry(state_.description, scratch);
        }
        if (scratch.enabled != 0) {
            followDependent(2);
            setTabLive(2);
        } else if (changed) {
            slot(2).enabled = 0;
            setTabDormant(2);
        }
    } else if (page == 1) {
        if (scratch.enabled != 0) {
            followDependent(2);
            setTabLive(2);
        } else {
            slot(2).enabled = 0;
            setTabDormant(2);
        }
    }
}

// ---- commands ------------------------------------------------------------------------------------------

void ArgumentPages::selectNextItem(int page) {
    if (!loaded() || page < 0 || page >= kArgumentCount) return;
    PageView& view = viewOf(page);
    const int count = view.actionCount();
    if (!view.actionListEnabled() || count <= 0) return;
    int next = view.actionSelection() + 1;
    if (next < 0 || next >= count) next = 0;
    view.selectActionItem(next);
    selectionChanged(page, view.actionSelection());
}

void ArgumentPages::selectPreviousItem(int page) {
    if (!loaded() || page < 0 || page >= kArgumentCount) return;
    PageView& view = viewOf(page);
    const int count = view.actionCount();
    if (!view.actionListEnabled() || count <= 0) return;
    const int current = view.actionSelection();
    const int previous = current <= 0 || current > count ? count - 1 : current - 1;
    view.selectActionItem(previous);
    selectionChanged(page, view.actionSelection());
}

void ArgumentPages::clearPath(int page) {
    if (!loaded() || page < 0 || page >= kArgumentCount) return;
    slot(page).path.clear();
    viewOf(page).setPathText(std::string());
    host_.commandChanged();
}

void ArgumentPages::clearArguments(int page) {
    if (!loaded() || page < 0 || page >= kArgumentCount) return;
    slot(page).manualText.clear();
    viewOf(page).setManualText(std::string());
    host_.commandChanged();
}

void ArgumentPages::inputChanged(int page) {
    if (loaded() && page >= 0 && page < kArgumentCount) host_.commandChanged();
}

std::string ArgumentPages::folderToOpen(int page) const {
    if (!loaded() || page < 0 || page >= kArgumentCount || slot(page).pathUsed != 1) return {};
    return state_.description.argumentFolder(slot(page));
}

bool ArgumentPages::folderCommandEnabled(int page) const {
    return loaded() && page >= 0 && page < kArgumentCount && slot(page).pathUsed == 1 && !slot(page).path.empty();
}

bool ArgumentPages::acceptsDrop(int page) const {
    return loaded() && page >= 0 && page < kArgumentCount && slot(page).pathUsed == 1;
}

// ---- status bar ----------------------------------------------------------------------------------------

void ArgumentPages::refreshStatus(int page) {
    if (!loaded() || page < 0 || page >= kArgumentCount) return;
    showPosition(slot(page));
}

void ArgumentPages::showStatus(const ArgumentSlot& shown) {
    const ActionEntry* entry = state_.description.selectedEntry(shown.group, shown.item);
    const ActionList* current = list(shown.group);
    host_.setStatusText(0, entry != nullptr ? entry->caption : std::string());
    host_.setStatusText(1, std::to_string(shown.item + 1));
    host_.setStatusText(2, std::to_string(current != nullptr ? current->entries.size() : 0));
}

void ArgumentPages::showPosition(const ArgumentSlot& shown) {
    const ActionList* current = list(shown.group);
    const std::size_t count = current != nullptr ? current->entries.size() : 0;
    if (count < 2) {
        host_.setStatusText(1, "1");
        host_.setStatusText(2, "1");
    } else {
        host_.setStatusText(1, std::to_string(shown.item + 1));
        host_.setStatusText(2, std::to_string(count));
    }
}

}  // namespace brennic
