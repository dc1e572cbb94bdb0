// The Presets menu's commands.
#include "app/presets_commands.h"

#include "../../resources/resource_ids.h"
#include "launch/launch.h"
#include "persist/file_store.h"
#include "persist/save_file.h"
#include "state/app_state.h"

namespace brennic {

namespace {

constexpr const char* kPresetsCaption = "Presets";
constexpr const char* kRunsCaption = "Recent runs";
constexpr const char* kPresetsExtension = ".presets";
constexpr const char* kRunsExtension = ".runs";

std::string menuText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '&') escaped += '&';
        escaped += c;
    }
    return escaped;
}

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

std::vector<PresetsMenuItem> presetItems(const PresetStore& presets, const ProgramDescription& description,
                                         bool descriptionReady) {
    std::vector<PresetsMenuItem> items;
    if (presets.state() == PresetStore::State::kDamaged) {
        items.push_back({IDCMD_PRESET_NONE, "(presets file damaged: " + menuText(presets.problem()) + ")", true});
        return items;
    }
    if (!descriptionReady || presets.presets().empty()) {
        items.push_back({IDCMD_PRESET_NONE, "(no presets)", true});
        return items;
    }
    int id = IDCMD_PRESET_FIRST;
    for (const Preset& preset : presets.presets()) {
        const std::optional<ArgumentSlots> slots = presetSlots(preset);
        const bool fits = slots && savedStateMisfit(description, *slots, "the preset").empty();
        items.push_back({id++, menuText(preset.name) + (fits ? "" : "   (no longer fits the config)"), !fits});
    }
    return items;
}

std::vector<PresetsMenuItem> recentRunItems(const RecentRuns& runs, PresetsWindow& window) {
    std::vector<PresetsMenuItem> items;
    int id = IDCMD_RECENT_RUN_FIRST;
    for (const RecentRun& run : runs.runs())
        items.push_back({id++, recentRunCaption(run, window.localTimeText(run.run.startedAt)), false});
    if (items.empty())
        items.push_back({IDCMD_RECENT_RUN_NONE, runs.state() == RecentRuns::State::kDamaged
                                                    ? "(recent runs file damaged)"
                                                    : "(none)",
                         true});
    return items;
}

PresetCommands::PresetCommands(AppState& state, MessageBoxes& boxes, FileStore& files, PresetsWindow& window,
                               CommandHost& host)
    : state_(state), boxes_(boxes), files_(files), window_(window), host_(host), runs_(files) {}

void PresetCommands::sync() {
    if (!state_.descriptionReady || state_.saveFilePath.empty()) {
        refreshMenu();
        return;
    }
    if (openedFor_ != state_.saveFilePath) {
        openedFor_ = state_.saveFilePath;
        if (presets_.open(files_, siblingPath(openedFor_, kPresetsExtension)) == PresetStore::State::kDamaged)
            offerPresetsRemoval();
        if (runs_.open(siblingPath(openedFor_, kRunsExtension)) == RecentRuns::State::kDamaged) offerRunsRemoval();
    }
    refreshMenu();
}

void PresetCommands::refreshMenu() {
    window_.setPresetItems(presetItems(presets_, state_.description, state_.descriptionReady));
    window_.setRecentRunItems(recentRunItems(runs_, window_));
}

void PresetCommands::offerPresetsRemoval() {
    const std::string text = "The presets file cannot be read: " + presets_.problem() + ".\n\n" + presets_.path() +
                             "\n\nIt is kept as it is, and no preset is saved over it. Remove it?";
    if (boxes_.show(text, kPresetsCaption, kMbYesNo | kMbIconExclamation | kMbDefButton2) != kIdYes) return;
    if (!presets_.discardDamaged(files_))
        boxes_.show("The presets file could not be removed.", kPresetsCaption, kMbOk | kMbIconError);
}

void PresetCommands::offerRunsRemoval() {
    const std::string text = "The recent runs file cannot be read: " + runs_.problem() + ".\n\n" + runs_.path() +
                             "\n\nIt is kept as it is; runs started now are listed until Brennic closes. Remove it?";
    if (boxes_.show(text, kRunsCaption, kMbYesNo | kMbIconExclamation | kMbDefButton2) != kIdYes) return;
    if (!runs_.discardDamaged())
        boxes_.show("The recent runs file could not be removed.", kRunsCaption, kMbOk | kMbIconError);
}

bool PresetCommands::handle(int id) {
    sync();
    if (id == IDCMD_SAVE_PRESET) {
        savePreset();
    } else if (id == IDCMD_DELETE_PRESET) {
        deletePreset();
    } else if (id == IDCMD_CLEAR_RECENT_RUNS) {
        clearRecentRuns();
    } else if (id >= IDCMD_PRESET_FIRST && id < IDCMD_PRESET_NONE) {
        restorePreset(static_cast<std::size_t>(id - IDCMD_PRESET_FIRST));
    } else if (id >= IDCMD_RECENT_RUN_FIRST && id < IDCMD_RECENT_RUN_NONE) {
        startRecentRun(static_cast<std::size_t>(id - IDCMD_RECENT_RUN_FIRST));
    } else {
        return false;
    }
    refreshMenu();
    return true;
}

bool PresetCommands::presetsUsable() {
    if (!state_.descriptionReady) return false;
    if (presets_.state() == PresetStore::State::kDamaged) offerPresetsRemoval();
    return presets_.state() == PresetStore::State::kReady;
}

void PresetCommands::savePreset() {
    if (!presetsUsable()) return;
    std::string name;
    for (;;) {
        const std::optional<std::string> answer = window_.askPresetName(name);
        if (!answer) return;
        name = *answer;
        const std::string problem = presetNameProblem(name);
        if (!problem.empty()) {
            boxes_.show(problem, kPresetsCaption, kMbOk | kMbIconExclamation);
            continue;
        }
        if (presets_.find(name) == nullptr) break;
        if (boxes_.show("A preset named " + quoted(name) + " exists. Replace it?", kPresetsCaption,
                        kMbYesNo | kMbIconQuestion) == kIdYes)
            break;
    }
    if (presets_.find(name) == nullptr && presets_.presets().size() >= kMaxPresets) {
        boxes_.show("Brennic keeps at most " + std::to_string(kMaxPresets) +
                        " presets. Delete one before saving another.",
                    kPresetsCaption, kMbOk | kMbIconExclamation);
        return;
    }
    if (!presets_.save(files_, name, state_.slots, state_.pageControls, window_.now()))
        boxes_.show("The preset could not be saved: " + presets_.path() + " could not be written.", "Save!",
                    kMbOk | kMbIconError);
}

void PresetCommands::restorePreset(std::size_t index) {
    if (!state_.descriptionReady || index >= presets_.presets().size()) return;
    const Preset& preset = presets_.presets()[index];
    const std::optional<ArgumentSlots> slots = presetSlots(preset);
    const std::string misfit = slots ? savedStateMisfit(state_.description, *slots, "the preset")
                                     : std::string("Its pages cannot be read.");
    if (!misfit.empty()) {
        boxes_.show("The preset " + quoted(preset.name) + " no longer fits the config and was not restored.\n\n" +
                        misfit,
                    kPresetsCaption, kMbOk | kMbIconExclamation);
        return;
    }
    for (std::size_t page = 0; page < state_.slots.size(); ++page) {
        const WindowHandle toolTip = state_.slots[page].toolTip;
        state_.slots[page] = (*slots)[page];
        state_.slots[page].toolTip = toolTip;
    }
    state_.savedStateValid = true;
    window_.showRestoredPages();
}

void PresetCommands::deletePreset() {
    if (!presetsUsable()) return;
    if (presets_.presets().empty()) {
        boxes_.show("There are no presets to delete.", kPresetsCaption, kMbOk | kMbIconInformation);
        return;
    }
    std::vector<std::string> names;
    for (const Preset& preset : presets_.presets()) names.push_back(preset.name);
    const std::optional<std::string> name = window_.choosePreset(names);
    if (!name || presets_.find(*name) == nullptr) return;
    if (boxes_.show("Delete the preset " + quoted(*name) + "?", kPresetsCaption, kMbYesNo | kMbIconQuestion) !=
        kIdYes)
        return;
    if (!presets_.remove(files_, *name))
        boxes_.show("The preset could not be deleted: " + presets_.path() + " could not be written.", "Save!",
                    kMbOk | kMbIconError);
}

void PresetCommands::startRecentRun(std::size_t index) {
    if (index >= runs_.runs().size()) return;
    const StartedRun run = runs_.runs()[index].run;
    std::string text = "Start this command again?\n\n" + run.line + "\n\nFolder: " +
                       (run.request.directory.empty() ? std::string("(the current one)") : run.request.directory) +
                       "\nMode: " + consoleModeWords(run.consoleOpt);
    if (boxes_.show(text, kRunsCaption, kMbYesNo | kMbIconQuestion) != kIdYes) return;
    host_.startRun(run);
}

void PresetCommands::clearRecentRuns() {
    if (runs_.state() == RecentRuns::State::kDamaged) {
        offerRunsRemoval();
        return;
    }
    if (!runs_.clear())
        boxes_.show("The recent runs file could not be written: " + runs_.path(), "Save!", kMbOk | kMbIconError);
}

std::uint64_t PresetCommands::runStarted(const StartedRun& run) {
    sync();
    const std::uint64_t id = runs_.runStarted(run);
    refreshMenu();
    return id;
}

void PresetCommands::runEnded(std::uint64_t id, const std::string& outcome) {
    runs_.runEnded(id, outcome);
    refreshMenu();
}

}  // namespace brennic
