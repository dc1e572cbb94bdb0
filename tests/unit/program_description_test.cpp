#include <gtest/gtest.h>

#include "description/program_description.h"
#include "pages/argument_slot.h"

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
