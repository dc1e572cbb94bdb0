// The Presets menu as logic over small interfaces: saving, restoring and deleting named presets, starting a
// recent run again, clearing the list, and the two files behind them. The Win32 layer supplies the dialogs,
// the dynamic menu items and the pages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "persist/presets.h"
#include "persist/recent_runs.h"

namespace brennic {

class FileStore;

struct PresetsMenuItem {
    int id = 0;
    std::string text;
    bool grayed = false;
    bool operator==(const PresetsMenuItem&) const = default;
};

// What the presets commands ask of the window.
class PresetsWindow {
public:
    virtual ~PresetsWindow() = default;
    // The name dialog; nothing when cancelled. `initial` is shown selected.
    virtual std::optional<std::string> askPresetName(const std::string& initial) = 0;
    // The delete dialog: one of `names`, or nothing when cancelled.
    virtual std::optional<std::string> choosePreset(const std::vector<std::string>& names) = 0;
    // The slots hold a restored state: show it on the pages (as a restored save file is shown).
    virtual void showRestoredPages() = 0;
    virtual void setPresetItems(const std::vector<PresetsMenuItem>& items) = 0;
    virtual void setRecentRunItems(const std::vector<PresetsMenuItem>& items) = 0;
    // "YYYY-MM-DD HH:MM" in local time.
    virtual std::string localTimeText(std::int64_t secondsSince1970) = 0;
    virtual std::int64_t now() = 0;
};

// Menu lines, newest first: the presets (grayed, with a note, when they no longer fit), or one grayed line.
std::vector<PresetsMenuItem> presetItems(const PresetStore& presets, const ProgramDescription& description,
                                         bool descriptionReady);
std::vector<PresetsMenuItem> recentRunItems(const RecentRuns& runs, PresetsWindow& window);

class PresetCommands : public MenuCommandGroup, public RunEvents {
public:
    PresetCommands(AppState& state, MessageBoxes& boxes, FileStore& files, PresetsWindow& window,
                   CommandHost& host);

    // Opens the files that belong to the current save file path (again, when it changed since), offers a
    // damaged one for removal, and refreshes the menu. Called after start-up and after every command.
    void sync();
    bool handle(int id) override;
    void refreshMenu();

    // The recent runs, refreshed in the menu as runs start and end.
    std::uint64_t runStarted(const StartedRun& run) override;
    void runEnded(std::uint64_t id, const std::string& outcome) override;

    const PresetStore& presets() const { return presets_; }
    const RecentRuns& recentRuns() const { return runs_; }

private:
    void savePreset();
    void restorePreset(std::size_t index);
    void deletePreset();
    void startRecentRun(std::size_t index);
    void clearRecentRuns();
    bool presetsUsable();
    void offerPresetsRemoval();
    void offerRunsRemoval();

    AppState& state_;
    MessageBoxes& boxes_;
    FileStore& files_;
    PresetsWindow& window_;
    CommandHost& host_;
    PresetStore presets_;
    RecentRuns runs_;
    std::string openedFor_;  // the save file path the files were opened for
};

}  // namespace brennic
