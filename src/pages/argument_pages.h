// The three chained argument pages: how each page is filled from its slot, what a change of the selected
// entry does to the page, its slot and the pages after it, the page commands and the status texts.
// Pages are numbered 0, 1, 2 here (argument 1, 2, 3); page p sits on tab p.
#pragma once

#include <array>
#include <string>

#include "state/app_state.h"
#include "pages/page_view.h"

namespace brennic {

// Caption of a tab whose argument is not live.
inline const std::string blankTabCaption(18, ' ');

// Looks up the slot's selected entry and records what it asks for: `pathUsed`, and in `enabled` and `group`
// whether it leads on and to which list (`group` is left alone when it does not).
void evaluateEntry(const ProgramDescription& description, ArgumentSlot& slot);

class ArgumentPages {
public:
    ArgumentPages(AppState& state, PageHost& host);

    // Registers page p's controls (also as its pageControls entry); called as the page is initialised.
    void attach(int page, PageView& view);
    // Page initialisation once the page's controls exist. Pages are initialised in the order 0, 1, 2: each
    // takes over the list that the page before it left in scratchSlot.
    void initialisePage(int page);
    // The slots were replaced by a restored state (a preset) while the pages exist: fills every page from
    // them as start-up fills restored pages, with fields emptied first and the tabs live or blank to match.
    void showRestoredState();

    // The user picked position n in page p's drop-down list (negative: no selection).
    void selectionChanged(int page, int selection);
    void selectNextItem(int page);
    void selectPreviousItem(int page);

    void clearPath(int page);       // "Clear file path"
    void clearArguments(int page);  // "Clear arguments"
    // Page p's slot took a chosen or dropped path, or the text of its manual field changed.
    void inputChanged(int page);
    // The folder "Open argument folder" opens; empty when there is nothing to open.
    std::string folderToOpen(int page) const;
    // The context menu's "Open argument folder" item is enabled.
    bool folderCommandEnabled(int page) const;
    // A dropped file is taken (the selected entry takes a path).
    bool acceptsDrop(int page) const;

    // The status bar after page p is shown.
    void refreshStatus(int page);
    void showStatus(const ArgumentSlot& slot);
    void showPosition(const ArgumentSlot& slot);

    void fillPage(ArgumentSlot& slot, PageView& view);
    void refreshPage(ArgumentSlot& slot, PageView& view);
    void restorePage(int page);

private:
    bool loaded() const { return state_.descriptionReady; }
    ArgumentSlot& slot(int page) { return state_.slots[static_cast<std::size_t>(page)]; }
    const ArgumentSlot& slot(int page) const { return state_.slots[static_cast<std::size_t>(page)]; }
    PageView& viewOf(int page) const;
    const ActionList* list(std::uint16_t group) const;

    void initialiseFresh(int page);
    void initialiseRestored(int page);
    void startUnused(int page);
    void keepManualText(PageView& view, ArgumentSlot& slot);
    void autoClearPath(PageView& view, ArgumentSlot& slot);
    bool followDependent(int page);
    void setTabLive(int page);
    void setTabDormant(int page);
    void updateDependents(int page);

    AppState& state_;
    PageHost& host_;
    std::array<PageView*, kArgumentCount> views_{};
    bool restoring_ = false;  // decided by page 0, followed by pages 1 and 2
};

}  // namespace brennic
