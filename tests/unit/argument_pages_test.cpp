// The argument pages against fake controls: initialisation, selection changes with their dependents,
// the auto-clear rules, the page commands and the status texts.
#include <gtest/gtest.h>

#include "fake_page_view.h"
#include "pages/argument_pages.h"
#include "pages/path_display.h"

namespace brennic {
namespace {

using test::FakePageHost;
using test::FakePageView;

constexpr std::uint32_t kNext = 1u, kPath = 1u << 2, kManual = 1u << 4;

ActionEntry entry(const std::string& caption, std::uint32_t flags, std::uint16_t nextList = 0,
                  std::uint16_t pathSpec = 0, std::uint16_t manualSpec = 0) {
    ActionEntry made;
    made.caption = caption;
    made.flags = flags;
    made.nextList = nextList;
    made.pathSpec = pathSpec;
    made.manualSpec = manualSpec;
    return made;
}

// List 0 "Command":  compress (file, manual "Level", -> 1), list (nothing), test (file, -> 2),
//                    extract (manual "Switches", -> 1), again (-> 0)
// List 1 "Option":   fast (manual "Level", -> 3), slow (folder)
// List 2 "Archive":  only (folder, -> 3)
// List 3 "Target":   t1, t2 (manual "Switches")
// List 4 "Nothing":  no entries
// List 5 "Ending":   stop (nothing)
ProgramDescription sampleDescription() {
    ProgramDescription d;
    d.actions = {entry("compress", kPath | kManual | kNext, 1, 0, 0),
                 entry("list", 0),
                 entry("test", kPath | kNext, 2, 0),
                 entry("extract", kManual | kNext, 1, 0, 1),
                 entry("fast", kManual | kNext, 3, 0, 0),
                 entry("slow", kPath, 0, 1),
                 entry("only", kPath | kNext, 3, 1),
                 entry("t1", 0),
                 entry("t2", kManual, 0, 0, 1),
                 entry("again", kNext, 0),
                 entry("stop", 0)};
    auto makeList = [](const std::string& label, std::vector<std::uint16_t> entries) {
        ActionList list;
        list.label = label;
        list.entryCount = static_cast<std::uint16_t>(entries.size());
        list.entries = std::move(entries);
        return list;
    };
    d.lists = {makeList("Command", {0, 1, 2, 3, 9}), makeList("Option", {4, 5}), makeList("Archive", {6}),
               makeList("Target", {7, 8}), makeList("Nothing", {}), makeList("Ending", {10})};
    d.pathSpecs.resize(2);
    d.pathSpecs[0].label = "Input file";
    d.pathSpecs[0].dialogKind = kOpenFileDialog;
    d.pathSpecs[1].label = "Output folder";
    d.pathSpecs[1].dialogKind = kFolderDialog;
    d.manualSpecs = {{"Level", "1 to 9"}, {"Switches", "Extra switches\nseparated by spaces"}};
    d.header.firstList = 0;
    d.header.listCount = static_cast<std::uint16_t>(d.lists.size());
    return d;
}

class ArgumentPagesTest : public ::testing::Test {
protected:
    AppState state;
    FakePageHost host;
    std::array<FakePageView, 3> views;
    ArgumentPages pages{state, host};

    ArgumentPagesTest() {
        state.description = sampleDescription();
        state.descriptionReady = true;
    }

    // Creates the three pages in their order, as the tab host does.
    void createPages() {
        for (int page = 0; page < 3; ++page) {
            pages.attach(page, views[static_cast<std::size_t>(page)]);
            pages.initialisePage(page);
        }
    }
    void choose(int page, int item) {
        views[static_cast<std::size_t>(page)].selection = item;
        pages.selectionChanged(page, item);
    }
    ArgumentSlot& slot(int page) { return state.slots[static_cast<std::size_t>(page)]; }
    FakePageView& view(int page) { return views[static_cast<std::size_t>(page)]; }
    int totalChanges() const { return host.changes + views[0].changes + views[1].changes + views[2].changes; }
};

const std::vector<std::string> kCommands{"compress", "list", "test", "extract", "again"};

TEST_F(ArgumentPagesTest, FreshStartChainsThePagesThroughTheFirstEntries) {
    createPages();

    EXPECT_EQ(view(0).actionLabel, "Command");
    EXPECT_EQ(view(0).items, kCommands);
    EXPECT_EQ(view(0).selection, 0);
    EXPECT_TRUE(view(0).listEnabled);
    EXPECT_EQ(view(0).pathLabel, "Input file");
    EXPECT_TRUE(view(0).selectEnabled);
    EXPECT_EQ(view(0).manualLabel, "Level");
    EXPECT_EQ(view(0).manualTip, "1 to 9");
    EXPECT_TRUE(view(0).manualEnabled);

    EXPECT_EQ(view(1).actionLabel, "Option");
    EXPECT_EQ(view(1).items, (std::vector<std::string>{"fast", "slow"}));
    EXPECT_EQ(view(2).actionLabel, "Target");
    EXPECT_FALSE(view(2).manualEnabled);
    EXPECT_EQ(view(2).manualLabel, "Manual arguments");
    EXPECT_EQ(view(2).manualTip, "Manual arguments info");
    EXPECT_EQ(view(2).pathLabel, "Path");
    EXPECT_FALSE(view(2).selectEnabled);

    EXPECT_EQ(slot(0).enabled, 1);
    EXPECT_EQ(slot(1).enabled, 1);
    EXPECT_EQ(slot(2).enabled, 1);
    EXPECT_EQ(slot(0).group, 0);
    EXPECT_EQ(slot(1).group, 1);
    EXPECT_EQ(slot(2).group, 3);
    EXPECT_EQ(slot(0).pathUsed, 1);
    EXPECT_EQ(slot(0).manualUsed, 1);
    EXPECT_EQ(slot(2).manualUsed, 0);
    EXPECT_EQ(host.captions[1], "Argument 2");
    EXPECT_EQ(host.captions[2], "Argument 3");
    EXPECT_EQ(host.status, (std::array<std::string, 3>{"compress", "1", "5"}));
    for (int page = 0; page < 3; ++page) EXPECT_EQ(state.pageControls[static_cast<std::size_t>(page)], &view(page));
    EXPECT_GT(host.commandChanges, 0);  // the preview shows the first command without any choice
}

TEST_F(ArgumentPagesTest, FreshStartWithAnEntryThatDoesNotLeadOnLeavesLaterPagesDormantButFilled) {
    state.description.header.firstList = 5;  // "Ending": its only entry leads nowhere
    // Leftovers of a save file that failed its check are not used.
    slot(0).path = "C:\\old.txt";
    slot(1).manualText = "old";
    slot(1).item = 7;
    createPages();

    EXPECT_EQ(slot(0).enabled, 1);
    EXPECT_EQ(slot(1).enabled, 0);
    EXPECT_EQ(slot(2).enabled, 0);
    EXPECT_EQ(host.captions[1], blankTabCaption);
    EXPECT_EQ(host.captions[2], blankTabCaption);
    EXPECT_EQ(blankTabCaption, std::string(18, ' '));
    // Dormant pages show firstList again rather than nothing.
    EXPECT_EQ(slot(1).group, 5);
    EXPECT_EQ(slot(1).item, 0);
    EXPECT_EQ(view(1).items, std::vector<std::string>{"stop"});
    EXPECT_EQ(view(2).items, std::vector<std::string>{"stop"});
    EXPECT_TRUE(slot(0).path.empty());
    EXPECT_TRUE(slot(1).manualText.empty());
    EXPECT_FALSE(view(0).listEnabled);  // a single entry
    EXPECT_EQ(host.status, (std::array<std::string, 3>{"stop", "1", "1"}));
}

TEST_F(ArgumentPagesTest, WithoutADescriptionPagesStayInertAndCommandsDoNothing) {
    state.descriptionReady = false;
    createPages();
    EXPECT_EQ(host.status, (std::array<std::string, 3>{"Argument 1 Action/Key", "0", "0"}));
    EXPECT_TRUE(view(0).items.empty());
    EXPECT_FALSE(view(0).listEnabled);
    const int before = totalChanges();

    slot(0).path = "C:\\keep.txt";
    pages.selectionChanged(0, 1);
    pages.selectNextItem(0);
    pages.clearPath(0);
    pages.clearArguments(0);
    pages.inputChanged(0);
    pages.refreshStatus(0);
    EXPECT_EQ(totalChanges(), before);
    EXPECT_EQ(host.commandChanges, 0);
    EXPECT_EQ(slot(0).path, "C:\\keep.txt");
    EXPECT_FALSE(pages.folderCommandEnabled(0));
    EXPECT_FALSE(pages.acceptsDrop(0));
    EXPECT_TRUE(pages.folderToOpen(0).empty());
}

TEST_F(ArgumentPagesTest, ChoosingTheSelectedEntryAgainChangesNothing) {
    createPages();
    slot(0).path = "C:\\in.txt";
    state.options.pathClr = 1;
    view(0).type("typed");
    const int before = totalChanges();
    const int notified = host.commandChanges;

    choose(0, 0);
    EXPECT_EQ(totalChanges(), before);
    EXPECT_EQ(host.commandChanges, notified);
    EXPECT_EQ(slot(0).path, "C:\\in.txt");
    EXPECT_EQ(view(0).manualField, "typed");
    EXPECT_EQ(view(0).repaints, 0);

    // Ctrl+Down on a list of one entry: the list is disabled, nothing moves.
    choose(1, 1);  // page 2 "slow" leads nowhere
    choose(0, 2);  // page 1 "test" -> page 2 "Archive" with its one entry
    ASSERT_EQ(view(1).items, std::vector<std::string>{"only"});
    const int settled = totalChanges();
    pages.selectNextItem(1);
    pages.selectPreviousItem(1);
    EXPECT_EQ(totalChanges(), settled);
    EXPECT_EQ(slot(1).item, 0);
    pages.refreshStatus(1);
    EXPECT_EQ(host.status[1], "1");
    EXPECT_EQ(host.status[2], "1");
}

TEST_F(ArgumentPagesTest, EntryThatDoesNotLeadOnBlanksLaterTabsAndSwitchingBackKeepsPageTwo) {
    createPages();
    choose(1, 1);  // page 2: "slow" takes a folder and leads nowhere
    slot(1).path = "D:\\out";
    view(1).type("kept");
    EXPECT_EQ(slot(2).enabled, 0);
    EXPECT_EQ(host.captions[2], blankTabCaption);

    choose(0, 1);  // page 1: "list" leads nowhere
    EXPECT_EQ(slot(1).enabled, 0);
    EXPECT_EQ(slot(2).enabled, 0);
    EXPECT_EQ(host.captions[1], blankTabCaption);
    EXPECT_EQ(host.captions[2], blankTabCaption);
    EXPECT_EQ(host.status[0], "list");
    EXPECT_EQ(view(0).repaints, 1);

    choose(0, 3);  // page 1: "extract" leads to "Option" again, which page 2 still shows
    EXPECT_EQ(slot(1).enabled, 1);
    EXPECT_EQ(host.captions[1], "Argument 2");
    EXPECT_EQ(slot(1).item, 1);
    EXPECT_EQ(view(1).selection, 1);
    EXPECT_EQ(slot(1).path, "D:\\out");
    EXPECT_EQ(view(1).manualField, "kept");
    // "slow" still leads nowhere: argument 3 stays dormant.
    EXPECT_EQ(slot(2).enabled, 0);
    EXPECT_EQ(host.captions[2], blankTabCaption);
}

TEST_F(ArgumentPagesTest, EntryLeadingToAnotherListRefillsPageTwoAndArgumentThreeFollows) {
    createPages();
    choose(1, 1);  // page 2 on "slow" (argument 3 dormant)
    ASSERT_EQ(slot(2).enabled, 0);

    choose(0, 2);  // page 1: "test" leads to "Archive"
    EXPECT_EQ(slot(1).group, 2);
    EXPECT_EQ(slot(1).item, 0);
    EXPECT_EQ(view(1).actionLabel, "Archive");
    EXPECT_EQ(view(1).items, std::vector<std::string>{"only"});
    EXPECT_EQ(view(1).selection, 0);
    EXPECT_FALSE(view(1).listEnabled);
    EXPECT_EQ(view(1).pathLabel, "Output folder");
    EXPECT_EQ(slot(1).pathUsed, 1);
    EXPECT_EQ(slot(1).manualUsed, 0);
    // "only" leads to "Target", which page 3 already shows: argument 3 becomes live again.
    EXPECT_EQ(slot(2).enabled, 1);
    EXPECT_EQ(host.captions[2], "Argument 3");

    choose(0, 4);  // "again" leads back to "Command", whose first entry leads to "Option"
    EXPECT_EQ(slot(1).group, 0);
    EXPECT_EQ(view(1).items, kCommands);
    EXPECT_EQ(slot(2).group, 1);
    EXPECT_EQ(slot(2).item, 0);
    EXPECT_EQ(view(2).items, (std::vector<std::string>{"fast", "slow"}));
    EXPECT_EQ(slot(2).enabled, 1);
}

TEST_F(ArgumentPagesTest, RefilledPageWhoseFirstEntryEndsTheChainDisablesArgumentThree) {
    createPages();
    state.description.lists[1].entries = {5, 4};  // "Option" now starts with "slow", which leads nowhere
    choose(0, 2);                                 // "Archive", then back to "Option" through "extract"
    choose(0, 3);
    EXPECT_EQ(slot(1).group, 1);
    EXPECT_EQ(slot(1).item, 0);
    EXPECT_EQ(slot(2).enabled, 0);
    EXPECT_EQ(host.captions[2], blankTabCaption);
}

TEST_F(ArgumentPagesTest, PageTwoSelectionDrivesArgumentThree) {
    createPages();
    choose(1, 1);
    EXPECT_EQ(slot(2).enabled, 0);
    EXPECT_EQ(host.captions[2], blankTabCaption);
    EXPECT_EQ(host.status[0], "compress");  // part 0 always names argument 1's entry
    EXPECT_EQ(host.status[1], "2");
    EXPECT_EQ(host.status[2], "2");
    choose(1, 0);
    EXPECT_EQ(slot(2).enabled, 1);
    EXPECT_EQ(host.captions[2], "Argument 3");
    EXPECT_EQ(host.status[1], "1");
}

TEST_F(ArgumentPagesTest, ManualTextIsRememberedWithAutoClearOff) {
    createPages();
    view(0).type("-9");
    choose(0, 1);  // "list" takes no manual arguments
    EXPECT_EQ(view(0).manualField, "");
    EXPECT_FALSE(view(0).manualEnabled);
    EXPECT_EQ(slot(0).manualText, "-9");
    choose(0, 0);
    EXPECT_EQ(view(0).manualField, "-9");
    EXPECT_TRUE(view(0).manualEnabled);

    // Emptied by hand before the switch: the older remembered text comes back.
    view(0).type("");
    choose(0, 1);
    choose(0, 0);
    EXPECT_EQ(view(0).manualField, "-9");

    // Between two entries that both take manual arguments the field is left as typed, even while an older
    // text is remembered.
    ASSERT_EQ(slot(0).manualText, "-9");
    view(0).type("-x");
    choose(0, 3);
    EXPECT_EQ(view(0).manualField, "-x");
    EXPECT_EQ(view(0).manualLabel, "Switches");
    EXPECT_EQ(view(0).manualTip, "Extra switches\nseparated by spaces");
}

TEST_F(ArgumentPagesTest, ManualTextIsLostWithAutoClearOn) {
    state.options.margsClr = 1;
    createPages();
    view(0).type("-9");
    choose(0, 1);
    EXPECT_EQ(view(0).manualField, "");
    EXPECT_TRUE(slot(0).manualText.empty());
    choose(0, 0);
    EXPECT_EQ(view(0).manualField, "");
    view(0).type("-x");
    choose(0, 3);  // both take manual arguments: still kept
    EXPECT_EQ(view(0).manualField, "-x");
}

TEST_F(ArgumentPagesTest, PathIsShownAgainOrClearedByTheAutoClearOption) {
    createPages();
    slot(0).path = "C:\\Tools\\app\\in.txt";
    choose(0, 1);
    EXPECT_EQ(view(0).pathText, "");
    EXPECT_EQ(view(0).pathLabel, "Path");
    EXPECT_FALSE(view(0).selectEnabled);
    EXPECT_EQ(slot(0).path, "C:\\Tools\\app\\in.txt");  // remembered while hidden
    choose(0, 2);
    EXPECT_EQ(view(0).pathText, "in.txt\\app\\Tools\\C:");
    EXPECT_TRUE(view(0).selectEnabled);

    state.options.pathClr = 1;
    choose(0, 1);  // no path taken: nothing to clear
    EXPECT_EQ(slot(0).path, "C:\\Tools\\app\\in.txt");
    choose(0, 0);
    EXPECT_TRUE(slot(0).path.empty());
    EXPECT_EQ(view(0).pathText, "");
}

TEST_F(ArgumentPagesTest, RefilledDependentAppliesTheAutoClearRules) {
    state.options.pathClr = 1;
    createPages();
    slot(1).path = "D:\\out";
    view(1).type("-fast");
    choose(0, 2);  // page 2 refilled with "Archive": "only" takes a folder, no manual arguments
    EXPECT_TRUE(slot(1).path.empty());
    EXPECT_EQ(view(1).pathText, "");
    EXPECT_EQ(view(1).manualField, "");
    EXPECT_EQ(slot(1).manualText, "-fast");
}

// Page 2 restored with a text the user then typed over; page 1 leads it to another list whose first entry takes
// manual arguments as well: the field keeps what was typed, not the text the save file brought.
TEST_F(ArgumentPagesTest, RefilledDependentKeepsTheTextTypedOverARestoredOne) {
    state.savedStateValid = true;
    slot(0) = {1, 0, 1, 0, 0, 0, "", ""};           // "compress" -> "Option"
    slot(1) = {1, 0, 1, 0, 1, 0, "", "old words"};  // "fast"
    slot(2) = {1, 0, 0, 0, 3, 0, "", ""};
    createPages();
    ASSERT_EQ(view(1).manualField, "old words");
    view(1).type("new words");

    choose(0, 4);  // "again" -> "Command", whose first entry takes manual arguments
    EXPECT_EQ(view(1).items, kCommands);
    EXPECT_EQ(view(1).manualField, "new words");

    // With "Manual arg auto clear" on, an entry without manual arguments still empties the field.
    state.options.margsClr = 1;
    choose(0, 2);  // "test" -> "Archive": "only" takes no manual arguments
    EXPECT_EQ(view(1).manualField, "");
}

TEST_F(ArgumentPagesTest, NextAndPreviousItemWrapAndActAsAChoice) {
    createPages();
    pages.selectPreviousItem(0);
    EXPECT_EQ(slot(0).item, 4);
    EXPECT_EQ(view(0).selection, 4);
    EXPECT_EQ(host.status, (std::array<std::string, 3>{"again", "5", "5"}));
    pages.selectNextItem(0);
    EXPECT_EQ(slot(0).item, 0);
    pages.selectNextItem(0);
    EXPECT_EQ(slot(0).item, 1);
    EXPECT_EQ(slot(1).enabled, 0);  // "list" leads nowhere: the dependents followed
    pages.selectPreviousItem(0);
    EXPECT_EQ(slot(0).item, 0);
    EXPECT_EQ(slot(1).enabled, 1);
}

TEST_F(ArgumentPagesTest, NoSelectionOrAnUnknownPositionIsIgnored) {
    createPages();
    const int before = totalChanges();
    pages.selectionChanged(0, -1);  // the list reports no selection
    pages.selectionChanged(0, 5);
    pages.selectionChanged(0, 70000);
    pages.selectionChanged(3, 0);
    EXPECT_EQ(totalChanges(), before);
    EXPECT_EQ(slot(0).item, 0);

    // Ctrl+Down with nothing selected starts at the first entry.
    choose(0, 2);
    view(0).selection = -1;
    pages.selectNextItem(0);
    EXPECT_EQ(slot(0).item, 0);
}

TEST_F(ArgumentPagesTest, PageCommandsClearAndOpenOnlyWhatTheEntryTakes) {
    createPages();
    slot(0).path = "C:\\Tools\\in.txt";
    view(0).pathText = "in.txt\\Tools\\C:";
    EXPECT_TRUE(pages.folderCommandEnabled(0));
    EXPECT_EQ(pages.folderToOpen(0), "C:\\Tools\\");
    EXPECT_TRUE(pages.acceptsDrop(0));

    choose(0, 1);  // takes no path: the remembered path opens nothing and drops are refused
    EXPECT_FALSE(pages.folderCommandEnabled(0));
    EXPECT_TRUE(pages.folderToOpen(0).empty());
    EXPECT_FALSE(pages.acceptsDrop(0));
    pages.clearPath(0);  // still empties the remembered path
    EXPECT_TRUE(slot(0).path.empty());

    choose(0, 0);  // takes a path, but it is empty
    EXPECT_FALSE(pages.folderCommandEnabled(0));
    EXPECT_TRUE(pages.folderToOpen(0).empty());

    choose(1, 1);  // an entry choosing a folder opens the path itself
    slot(1).path = "D:\\out";
    EXPECT_EQ(pages.folderToOpen(1), "D:\\out");

    view(0).type("-1");
    slot(0).manualText = "-2";
    pages.clearArguments(0);
    EXPECT_EQ(view(0).manualField, "");
    EXPECT_TRUE(slot(0).manualText.empty());
}

TEST_F(ArgumentPagesTest, AnEmptyListShowsNothingAndNeverReadsPastIt) {
    state.description.header.firstList = 4;
    createPages();
    EXPECT_EQ(view(0).actionLabel, "Nothing");
    EXPECT_TRUE(view(0).items.empty());
    EXPECT_EQ(view(0).selection, -1);
    EXPECT_FALSE(view(0).listEnabled);
    EXPECT_FALSE(view(0).selectEnabled);
    EXPECT_FALSE(view(0).manualEnabled);
    EXPECT_EQ(view(0).pathLabel, "Path");
    EXPECT_EQ(view(0).manualLabel, "Manual arguments");
    EXPECT_EQ(slot(1).enabled, 0);
    EXPECT_EQ(slot(1).group, 4);
    EXPECT_EQ(host.status[0], "");

    pages.selectNextItem(0);
    pages.selectionChanged(0, 0);
    pages.refreshStatus(0);
    EXPECT_EQ(slot(0).item, 0);
    EXPECT_EQ(host.status[1], "1");
    EXPECT_FALSE(pages.acceptsDrop(0));

    // A list index beyond the description's lists is treated the same way.
    ArgumentSlot stray;
    stray.group = 40;
    FakePageView strayView;
    pages.fillPage(stray, strayView);
    EXPECT_EQ(strayView.actionLabel, "");
    EXPECT_EQ(stray.enabled, 0);
    EXPECT_EQ(stray.pathUsed, 0);
}

TEST_F(ArgumentPagesTest, RestoredStateIsShownAsSaved) {
    state.savedStateValid = true;
    slot(0) = {1, 1, 1, 0, 0, 3, "C:\\a\\b.txt", "-s"};
    slot(1) = {1, 0, 0, 0, 1, 1, "", ""};
    slot(2) = {0, 0, 0, 0, 0, 0, "", ""};
    createPages();

    EXPECT_EQ(view(0).selection, 3);
    EXPECT_EQ(view(0).manualField, "-s");
    EXPECT_EQ(view(0).pathText, "");  // "extract" takes no path
    EXPECT_EQ(slot(0).path, "C:\\a\\b.txt");
    EXPECT_EQ(slot(0).pathUsed, 0);  // derived again from the entry
    EXPECT_EQ(host.status, (std::array<std::string, 3>{"extract", "4", "5"}));
    EXPECT_EQ(view(1).selection, 1);
    EXPECT_EQ(slot(1).pathUsed, 1);
    EXPECT_EQ(host.captions[1], "Argument 2");
    EXPECT_EQ(host.captions[2], blankTabCaption);
    EXPECT_EQ(slot(2).enabled, 0);
}

// A page not in use in the save file has nothing stored: it is filled with the list the page before it
// leaves, so a later choice that leads there finds the page, its slot and the command line in agreement.
TEST_F(ArgumentPagesTest, RestoredUnusedPageIsFilledAsAFreshStartFillsIt) {
    state.savedStateValid = true;
    slot(0) = {1, 0, 0, 0, 0, 1, "", ""};  // "list": leads nowhere
    slot(1) = {0, 0, 0, 0, 0, 0, "", ""};  // group 0 only because the file stores nothing
    slot(2) = {0, 0, 0, 0, 0, 0, "", ""};
    createPages();
    EXPECT_EQ(view(1).items, kCommands);
    EXPECT_EQ(host.captions[1], blankTabCaption);
    EXPECT_EQ(host.captions[2], blankTabCaption);

    choose(0, 4);  // "again" leads to list 0, the group the save file left in slot 2
    EXPECT_EQ(slot(1).enabled, 1);
    EXPECT_EQ(host.captions[1], "Argument 2");
    EXPECT_EQ(view(1).items, kCommands);
    EXPECT_EQ(view(1).selection, 0);
    EXPECT_TRUE(view(1).listEnabled);
    EXPECT_EQ(slot(1).pathUsed, 1);
    EXPECT_EQ(slot(1).manualUsed, 1);
    EXPECT_EQ(view(1).pathLabel, "Input file");
    // Page 2's first entry leads on: argument 3 shows "Option".
    EXPECT_EQ(slot(2).enabled, 1);
    EXPECT_EQ(view(2).items, (std::vector<std::string>{"fast", "slow"}));
}

TEST_F(ArgumentPagesTest, SavedStateWithArgumentOneUnusedStartsFresh) {
    state.savedStateValid = true;  // a file with no page in use passes the check
    slot(0) = {0, 1, 1, 0, 999, 999, "C:\\x", "-y"};
    slot(1) = {1, 0, 0, 0, 3, 1, "", "keep?"};
    createPages();
    EXPECT_EQ(slot(0).enabled, 1);
    EXPECT_EQ(slot(0).group, 0);
    EXPECT_EQ(slot(0).item, 0);
    EXPECT_TRUE(slot(0).path.empty());
    EXPECT_TRUE(slot(0).manualText.empty());
    EXPECT_EQ(view(0).items, kCommands);
    EXPECT_EQ(slot(1).group, 1);
    EXPECT_EQ(slot(1).item, 0);
    EXPECT_TRUE(slot(1).manualText.empty());
    EXPECT_EQ(host.status, (std::array<std::string, 3>{"compress", "1", "5"}));
}

}  // namespace
}  // namespace brennic

namespace brennic {
namespace {

// A preset restored while the pages exist: every page shows exactly the restored state, nothing typed before
// survives, and the tabs become live or blank to match; switching back works the same way.
TEST_F(ArgumentPagesTest, RestoredStateReplacesLivePagesAndTheirTabs) {
    createPages();
    choose(0, 1);  // "list": arguments 2 and 3 dormant
    view(0).type("typed before");
    ASSERT_EQ(host.captions[1], blankTabCaption);

    state.savedStateValid = true;
    slot(0) = {1, 1, 1, 0, 0, 0, "C:\\in.txt", ""};  // compress, with a path and no manual text
    slot(1) = {1, 0, 1, 0, 1, 0, "", "-9"};        // fast
    slot(2) = {1, 0, 0, 0, 3, 1, "", "-x"};        // t2
    pages.showRestoredState();
    EXPECT_EQ(view(0).selection, 0);
    EXPECT_EQ(view(0).pathText, displayPath("C:\\in.txt"));
    EXPECT_EQ(view(0).manualField, "");
    EXPECT_EQ(view(1).selection, 0);
    EXPECT_EQ(view(1).manualField, "-9");
    EXPECT_EQ(view(2).items, (std::vector<std::string>{"t1", "t2"}));
    EXPECT_EQ(view(2).selection, 1);
    EXPECT_EQ(view(2).manualField, "-x");
    EXPECT_EQ(host.captions[1], "Argument 2");
    EXPECT_EQ(host.captions[2], "Argument 3");
    EXPECT_EQ(host.status[0], "compress");

    slot(0) = {1, 0, 0, 0, 0, 1, "", ""};  // back to "list"
    slot(1) = {};
    slot(2) = {};
    pages.showRestoredState();
    EXPECT_EQ(view(0).selection, 1);
    EXPECT_EQ(view(0).pathText, "");
    EXPECT_EQ(view(1).manualField, "");
    EXPECT_EQ(host.captions[1], blankTabCaption);
    EXPECT_EQ(host.captions[2], blankTabCaption);
    EXPECT_EQ(slot(1).enabled, 0);
}

}  // namespace
}  // namespace brennic
