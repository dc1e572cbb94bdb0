#include <gtest/gtest.h>

#include "state/program_description.h"
#include "state/argument_slot.h"

namespace brennic {
namespace {

TEST(FileStem, CutsAtLastDotOnly) {
    EXPECT_EQ(fileStem("conv.exe"), "conv");
    EXPECT_EQ(fileStem("my.tool.exe"), "my.tool");
    EXPECT_EQ(fileStem("tool"), "tool");
    EXPECT_EQ(fileStem(""), "");
}

TEST(ProgramsFolder, FromPathAndChosenFolder) {
    ProgramDescription d;
    std::string path = "C:\\Tools\\app.exe";
    d.setProgramsFolderFromPath(path);
    EXPECT_EQ(d.programsFolder, "C:\\Tools\\");
    EXPECT_EQ(path, "C:\\Tools\\");

    std::string bare = "app";
    d.setProgramsFolderFromPath(bare);
    EXPECT_EQ(d.programsFolder, "app\\");

    d.texts[kExecutableName] = "conv.v2.exe";
    d.texts[kProgramFolderName] = "conv";
    std::string save;
    d.setProgramsFolder("D:\\Tools\\", save);
    EXPECT_EQ(d.programsFolder, "D:\\Tools\\\\");
    EXPECT_EQ(save, "D:\\Tools\\\\conv\\conv.v2.as");
}

TEST(ArgumentFolder, DependsOnDialogKind) {
    ProgramDescription d;
    d.pathSpecs.resize(3);
    d.pathSpecs[0].dialogKind = kOpenFileDialog;
    d.pathSpecs[1].dialogKind = kSaveFileDialog;
    d.pathSpecs[2].dialogKind = kFolderDialog;
    d.actions.resize(3);
    for (std::uint16_t i = 0; i < 3; ++i) {
        d.actions[i].flags = 1u << 2;
        d.actions[i].pathSpec = i;
    }
    d.lists.resize(1);
    d.lists[0].entryCount = 3;
    d.lists[0].entries = {0, 1, 2};

    ArgumentSlot slot;
    slot.path = "C:\\Data\\in.txt";
    for (int item : {0, 1}) {
        slot.item = static_cast<std::uint16_t>(item);
        EXPECT_EQ(d.argumentFolder(slot), "C:\\Data\\");
    }
    slot.item = 2;
    EXPECT_EQ(d.argumentFolder(slot), "C:\\Data\\in.txt");
    slot.path = "in.txt";
    for (int item : {0, 1, 2}) {
        slot.item = static_cast<std::uint16_t>(item);
        EXPECT_EQ(d.argumentFolder(slot), "in.txt");
    }
}

TEST(CheckSlots, IgnoresDisabledAndRejectsItemAtListLength) {
    ProgramDescription d;
    d.header.listCount = 2;
    d.listLengths = {2, 3};
    ArgumentSlot slots[3];
    slots[0].enabled = 1;
    slots[0].group = 1;
    slots[0].item = 2;
    slots[1].group = 40;  // disabled: never looked at
    slots[1].item = 99;
    EXPECT_TRUE(d.checkSlots(slots));
    slots[0].item = 3;
    EXPECT_FALSE(d.checkSlots(slots));
    slots[0].item = 0;
    slots[2].enabled = 1;
    slots[2].group = 2;
    EXPECT_FALSE(d.checkSlots(slots));
}

}  // namespace
}  // namespace brennic

namespace brennic {
namespace {

// Raw tables: list 0 = {a0 -> list 1, a1 ends}, list 1 = {a2 -> list 2}, list 2 = {a3 ends}.
ProgramDescription chainedRawDescription() {
    ProgramDescription d;
    d.header.listCount = 3;
    d.listLengths = {2, 1, 1};
    d.listItems = {0, 1, 2, 3};
    d.actionRecords.resize(4);
    d.actionRecords[0].nextListNo = 2;
    d.actionRecords[2].nextListNo = 3;
    return d;
}

TEST(SavedChain, AcceptsWhatAConsistentSaveHoldsAndRejectsABrokenChain) {
    const ProgramDescription d = chainedRawDescription();
    ArgumentSlot slots[3];
    slots[0].enabled = 1;  // a0 leads to list 1, whose a2 leads to list 2
    slots[1].enabled = 1;
    slots[1].group = 1;
    slots[2].enabled = 1;
    slots[2].group = 2;
    ASSERT_TRUE(d.checkSlots(slots));
    EXPECT_TRUE(d.savedChainHolds(slots));

    slots[1].group = 2;  // page 2 on a list page 1 does not lead to
    ASSERT_TRUE(d.checkSlots(slots));
    EXPECT_FALSE(d.savedChainHolds(slots));
    slots[1].group = 1;

    slots[1].enabled = 0;  // page 3 in use behind a page 2 that is not
    EXPECT_FALSE(d.savedChainHolds(slots));

    slots[0].item = 1;  // a1 ends the chain: pages 2 and 3 must be out of use
    EXPECT_FALSE(d.savedChainHolds(slots));
    slots[2].enabled = 0;
    EXPECT_TRUE(d.savedChainHolds(slots));

    // Page 1 on list 1, whose chain holds from there on (a2 leads to list 2, a3 ends): page 1 never shows list 1.
    const ArgumentSlot onList1[3] = {{1, 0, 0, 0, 1, 0, "", ""}, {1, 0, 0, 0, 2, 0, "", ""}, {}};
    ASSERT_TRUE(d.checkSlots(onList1));
    EXPECT_FALSE(d.savedChainHolds(onList1));
    ProgramDescription startingOnList1 = d;
    startingOnList1.header.firstList = 1;
    EXPECT_TRUE(startingOnList1.savedChainHolds(onList1));

    slots[0].enabled = 0;  // first page not in use: the pages start fresh anyway
    slots[2].enabled = 1;
    EXPECT_TRUE(d.savedChainHolds(slots));
}

}  // namespace
}  // namespace brennic
