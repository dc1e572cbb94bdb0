// A page whose "controls" are plain fields, and a tab control/status bar that remembers what it was told.
// Every change is counted, so a test can tell that an operation left the page alone.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "pages/page_view.h"

namespace brennic::test {

class FakePageView : public PageView {
public:
    std::string actionLabel, pathLabel, manualLabel, manualTip;
    std::vector<std::string> items;
    int selection = -1;
    bool listEnabled = false, selectEnabled = false, manualEnabled = false;
    std::string pathText, manualField;
    int changes = 0;  // every call that alters the page
    int repaints = 0;

    // What the user does to the page.
    void type(const std::string& text) { manualField = text; }

    std::string manualText() const override { return manualField.substr(0, 259); }
    void setActionLabel(const std::string& text) override { actionLabel = text, ++changes; }
    void setPathLabel(const std::string& text) override { pathLabel = text, ++changes; }
    void setManualLabel(const std::string& text) override { manualLabel = text, ++changes; }
    void setManualTip(const std::string& text) override { manualTip = text, ++changes; }
    void setActionItems(const std::vector<std::string>& captions) override {
        items = captions;
        selection = -1;
        ++changes;
    }
    void selectActionItem(int index) override {
        // As a drop-down list does: a position it does not have clears the selection.
        selection = index >= 0 && index < static_cast<int>(items.size()) ? index : -1;
        ++changes;
    }
    int actionSelection() const override { return selection; }
    int actionCount() const override { return static_cast<int>(items.size()); }
    bool actionListEnabled() const override { return listEnabled; }
    void enableActionList(bool enable) override { listEnabled = enable, ++changes; }
    void enableSelectButton(bool enable) override { selectEnabled = enable, ++changes; }
    void enableManualField(bool enable) override { manualEnabled = enable, ++changes; }
    void setPathText(const std::string& text) override { pathText = text, ++changes; }
    void setManualText(const std::string& text) override { manualField = text, ++changes; }
    void repaint() override { ++repaints; }
};

class FakePageHost : public PageHost {
public:
    std::array<std::string, 4> captions{"Argument 1", "Argument 2", "Argument 3", "About...      "};
    std::array<std::string, 3> status{"Argument 1 Action/Key", "", ""};
    int changes = 0;
    int commandChanges = 0;

    void setTabCaption(int tab, const std::string& caption) override {
        captions.at(static_cast<std::size_t>(tab)) = caption;
        ++changes;
    }
    void setStatusText(int part, const std::string& text) override {
        status.at(static_cast<std::size_t>(part)) = text;
        ++changes;
    }
    void commandChanged() override { ++commandChanges; }
};

}  // namespace brennic::test
