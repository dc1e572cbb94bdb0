// The argument pages driven by fuzzed command sequences against fake page views, over a fuzzed config and a
// fuzzed save file restored as start-up restores it. Input: the save file's length and the config's length
// (two bytes each, little-endian), the save file, the config, then commands of two bytes each.
//
// After every command: every page in use names an existing entry, its view shows exactly that entry's list
// with that entry selected, the tab captions follow the pages in use, Start warns only about pages 1-3, the
// navigation commands reach only tabs that exist and may be shown, and a save file written now restores the
// same selections.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "description/config_loader.h"
#include "description/table_builder.h"
#include "fake_file_store.h"
#include "fake_page_view.h"
#include "fake_platform.h"
#include "launch/command_line.h"
#include "pages/argument_pages.h"
#include "pages/tab_navigation.h"
#include "persist/save_file.h"
#include "platform/text.h"

namespace {

const brennic::Windows1252 kCodePage;  // stands for the system's ANSI code page

using brennic::AppState;
using brennic::test::FakePageHost;
using brennic::test::FakePageView;

void fail(int line) {
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}
#define check(condition) ((condition) ? void() : fail(__LINE__))

// Every page after the first follows the entry on the page before it: at a fresh start, after a restore
// (a save file whose pages do not chain is refused) and after every command.
void checkPages(const AppState& state, const std::array<FakePageView, 3>& views, const FakePageHost& host) {
    const brennic::ProgramDescription& description = state.description;
    check(state.slots[0].enabled != 0);
    for (std::size_t page = 0; page < 3; ++page) {
        const brennic::ArgumentSlot& slot = state.slots[page];
        const FakePageView& view = views[page];
        check(view.selection >= -1 && view.selection < static_cast<int>(view.items.size()));
        if (page > 0) check((slot.enabled != 0) == (host.captions[page] == "Argument " + std::to_string(page + 1)));
        if (slot.enabled == 0) continue;
        const brennic::ActionEntry* entry = description.selectedEntry(slot.group, slot.item);
        check(entry != nullptr);
        const brennic::ActionList& list = description.lists[slot.group];
        check(view.items.size() == list.entries.size());
        check(view.selection == static_cast<int>(slot.item));
        check(view.items[slot.item] == entry->caption);
        check((slot.pathUsed != 0) == (entry->pathMode() != 0));
        check(view.selectEnabled == (entry->pathMode() != 0));
        check(view.manualEnabled == (entry->manualMode() != 0));
        // The next page is in use exactly when this entry leads on, and then shows the list it leads to.
        if (page < 2) {
            const brennic::ArgumentSlot& next = state.slots[page + 1];
            check((next.enabled != 0) == (entry->nextMode() != 0));
            if (next.enabled != 0) check(next.group == entry->nextList);
        }
    }
}

void checkWarnings(const std::string& log) {
    std::size_t start = 0;
    while (start < log.size()) {
        const auto end = log.find('\n', start);
        check(end != std::string::npos);
        check(log.compare(start, 9, "Argument ") == 0 && end - start > 11);
        check(log[start + 9] >= '1' && log[start + 9] <= '3' && log[start + 10] == ' ');
        start = end + 1;
    }
}

std::string typedText(std::uint8_t length, std::uint8_t seed) {
    std::string text;
    for (std::size_t i = 0; i < std::size_t{length} * 2; ++i)
        text += i % 7 == 3 ? ' ' : static_cast<char>('a' + (seed + i) % 26);
    if (seed % 5 == 0) text = "\"" + text + "\"";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::size_t at = 4;
    const std::size_t saveSize = std::min<std::size_t>(size - at, data[0] | (std::size_t{data[1]} << 8));
    const std::string saveBytes(reinterpret_cast<const char*>(data + at), saveSize);
    at += saveSize;
    const std::size_t configSize = std::min<std::size_t>(size - at, data[2] | (std::size_t{data[3]} << 8));
    const std::span<const std::uint8_t> configBytes(data + at, configSize);
    at += configSize;

    AppState state;
    brennic::errorVX error;
    try {
        brennic::loadDescription(state.description, configBytes, error);
        brennic::validateDescription(state.description, error);
    } catch (const brennic::errorVX&) {
        return 0;
    }
    state.description.programsFolder = "C:\\Programs\\";
    state.description.makeSaveFilePath(state.saveFilePath);
    brennic::test::FakeFileStore files;
    files.files[state.saveFilePath] = saveBytes;
    brennic::test::FakeMessageBoxes boxes;
    state.savedStateValid =
        brennic::restoreSavedState(state.slots, state.description, state.saveFilePath, files, boxes, kCodePage);
    check(brennic::buildTables(state.description));
    state.descriptionReady = true;
    if (at < size) {
        state.options.pathClr = data[at] & 1u;
        state.options.margsClr = (data[at] >> 1) & 1u;
        ++at;
    }

    FakePageHost host;
    std::array<FakePageView, 3> views;
    brennic::ArgumentPages pages(state, host);
    brennic::prepareTabFlags(state);
    for (int page = 0; page < 3; ++page) {
        pages.attach(page, views[static_cast<std::size_t>(page)]);
        pages.initialisePage(page);
    }
    checkPages(state, views, host);

    int shownTab = 0;
    for (; at + 1 < size; at += 2) {
        const std::uint8_t op = data[at];
        const std::uint8_t arg = data[at + 1];
        const int page = op % 3;
        FakePageView& view = views[static_cast<std::size_t>(page)];
        switch ((op / 3) % 10) {
            case 0: {  // the user picks an entry in the drop-down list; a list reporting none changes nothing
                const int position = static_cast<int>(arg % (view.items.size() + 1)) - 1;
                if (position >= 0 && view.listEnabled) view.selectActionItem(position);
                pages.selectionChanged(page, position < 0 ? -1 : view.actionSelection());
                break;
            }
            case 1: pages.selectNextItem(page); break;
            case 2: pages.selectPreviousItem(page); break;
            case 3: pages.clearPath(page); break;
            case 4: pages.clearArguments(page); break;
            case 5: view.type(typedText(arg, op)); break;
            case 6:  // a chosen or dropped path, taken only where the entry wants one
                if (pages.acceptsDrop(page)) {
                    state.slots[static_cast<std::size_t>(page)].path = arg % 4 == 0 ? "C:\\" : "D:\\in\\" + typedText(arg, op);
                    view.setPathText(state.slots[static_cast<std::size_t>(page)].path);
                }
                break;
            case 7: {
                const std::string folder = pages.folderToOpen(page);
                if (pages.folderCommandEnabled(page)) check(!folder.empty() || state.slots[static_cast<std::size_t>(page)].path.empty());
                pages.refreshStatus(page);
                break;
            }
            case 8: {
                (void)brennic::buildParameters(state.description, state.slots, state.pageControls);
                checkWarnings(state.description.warningLog.text);
                state.description.warningLog.text.clear();
                brennic::ArgumentSlots saved = state.slots;
                const std::string bytes = brennic::encodeSaveFile(saved, state.pageControls, kCodePage);
                brennic::ArgumentSlots restored{};
                check(brennic::decodeSaveFile(bytes, restored, kCodePage));
                for (std::size_t p = 0; p < 3; ++p) {
                    check((restored[p].enabled != 0) == (state.slots[p].enabled != 0));
                    if (restored[p].enabled == 0) continue;
                    check(restored[p].group == state.slots[p].group && restored[p].item == state.slots[p].item);
                }
                break;
            }
            default: {
                const brennic::TabFlags flags = brennic::tabFlags(state);
                const int kind = arg % 3;
                const int next = kind == 0   ? brennic::nextArgumentTab(shownTab, flags)
                                 : kind == 1 ? brennic::cycledTab(shownTab, flags)
                                             : brennic::previousArgumentTab(shownTab, flags);
                check(next >= 0 && next < brennic::kTabCount);
                if (kind != 2) check(flags[static_cast<std::size_t>(next)] != 0);
                shownTab = next;
                break;
            }
        }
        if (std::getenv("FUZZ_PAGES_TRACE") != nullptr) std::fprintf(stderr, "command %u %u\n", op, arg);
        checkPages(state, views, host);
    }
    return 0;
}
