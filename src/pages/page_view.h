// What the page logic asks of an argument page's controls and of the window around the pages. The Win32
// pages implement these with their controls; the unit tests record the calls.
#pragma once

#include <string>
#include <vector>

#include "state/page_controls.h"

namespace brennic {

// One argument page: its two labels and field texts, the Action/Keys list, the "Select path" button and the
// tool tip of the manual-arguments label.
class PageView : public PageControls {
public:
    virtual void setActionLabel(const std::string& text) = 0;
    virtual void setPathLabel(const std::string& text) = 0;
    virtual void setManualLabel(const std::string& text) = 0;
    virtual void setManualTip(const std::string& text) = 0;

    // Empties the drop-down list, then adds the captions in order.
    virtual void setActionItems(const std::vector<std::string>& captions) = 0;
    virtual void selectActionItem(int index) = 0;
    // The list's current position; negative when nothing is selected.
    virtual int actionSelection() const = 0;
    virtual int actionCount() const = 0;
    virtual bool actionListEnabled() const = 0;

    virtual void enableActionList(bool enable) = 0;
    virtual void enableSelectButton(bool enable) = 0;
    virtual void enableManualField(bool enable) = 0;

    virtual void setPathText(const std::string& text) = 0;
    virtual void setManualText(const std::string& text) = 0;

    // Repaints the whole page with its background.
    virtual void repaint() = 0;
};

// The tab control's captions and the status bar, shared by all pages, and the window around them.
class PageHost {
public:
    virtual ~PageHost() = default;
    virtual void setTabCaption(int tab, const std::string& caption) = 0;
    virtual void setStatusText(int part, const std::string& text) = 0;
    // Something the command is made of may have changed: an entry, a path, a manual text, a page's state.
    virtual void commandChanged() = 0;
};

}  // namespace brennic
