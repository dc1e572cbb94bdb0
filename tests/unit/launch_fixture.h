// A small description and page set for the command-line and launch tests.
#pragma once

#include <string>

#include "state/app_state.h"
#include "state/program_description.h"
#include "state/page_controls.h"

namespace brennic::test {

class FakePageControls : public PageControls {
public:
    std::string text;
    std::string manualText() const override { return text; }
};

inline std::uint32_t entryFlags(std::uint32_t pathMode, std::uint32_t manualMode) {
    return (pathMode << 2) | (manualMode << 4);
}

inline ActionEntry makeEntry(std::string actionText, std::uint8_t actionPosition, std::uint32_t pathMode,
                             std::uint8_t pathPosition, std::uint32_t manualMode, std::uint8_t manualPosition) {
    ActionEntry entry;
    entry.actionText = std::move(actionText);
    entry.actionPosition = actionPosition;
    entry.flags = entryFlags(pathMode, manualMode);
    entry.pathPosition = pathPosition;
    entry.manualPosition = manualPosition;
    return entry;
}

// An AppState whose description is D:\Tools\ + conv + conv.exe; each page gets a list of its own.
struct LaunchFixture {
    AppState state;
    FakePageControls pages[3];

    LaunchFixture() {
        state.description.programsFolder = "D:\\Tools\\";
        state.description.texts[kExecutableName] = "conv.exe";
        state.description.texts[kProgramFolderName] = "conv";
        for (int i = 0; i < 3; ++i) state.pageControls[static_cast<std::size_t>(i)] = &pages[i];
        state.descriptionReady = true;
    }

    // Puts entry as the only entry of a new list and selects it on the given page (0-based).
    void select(int page, ActionEntry entry, std::string path = {}, std::string manual = {}) {
        ProgramDescription& d = state.description;
        const auto action = static_cast<std::uint16_t>(d.actions.size());
        d.actions.push_back(std::move(entry));
        ActionList list;
        list.entryCount = 1;
        list.entries = {action};
        d.lists.push_back(list);
        ArgumentSlot& slot = state.slots[static_cast<std::size_t>(page)];
        slot.enabled = 1;
        slot.group = static_cast<std::uint16_t>(d.lists.size() - 1);
        slot.item = 0;
        slot.path = std::move(path);
        pages[page].text = std::move(manual);
    }

    // The three pages of the worked example: an input file, a bit rate and an output file.
    void selectConversionExample() {
        select(0, makeEntry("-i p@", 1, 1, 0, 0, 0), "C:\\Data\\in put.wav");
        select(1, makeEntry("-b m@k", 1, 0, 0, 1, 0), {}, "192");
        select(2, makeEntry("-o", 1, 1, 2, 0, 0), "C:\\Out\\a.mp3");
    }
};

}  // namespace brennic::test
