#include <gtest/gtest.h>

#include "config_fixtures.h"
#include "description/config_loader.h"
#include "description/config_writer.h"
#include "description/table_builder.h"

namespace brennic {
namespace {

// Loads, validates and builds written bytes, as start-up does.
ProgramDescription loadAndBuild(const ProgramDescription& raw) {
    ProgramDescription d;
    errorVX record;
    const std::vector<std::uint8_t> bytes = writeConfig(raw);
    loadDescription(d, bytes, record);
    validateDescription(d, record);
    EXPECT_TRUE(buildTables(d));
    return d;
}

TEST(BuildTables, RoundTripOfTheSampleAndReleaseOfRawArrays) {
    const ProgramDescription tables = test::sampleTables();
    const ProgramDescription d = loadAndBuild(test::sampleRaw());
    EXPECT_EQ(d.texts, tables.texts);
    EXPECT_EQ(d.lists, tables.lists);
    EXPECT_EQ(d.actions, tables.actions);
    EXPECT_EQ(d.pathSpecs, tables.pathSpecs);
    EXPECT_EQ(d.manualSpecs, tables.manualSpecs);
    EXPECT_EQ(d.filterTexts, tables.filterTexts);
    EXPECT_TRUE(d.actionRecords.empty());
    EXPECT_TRUE(d.pathSpecRecords.empty());
    EXPECT_TRUE(d.listLengths.empty());
    EXPECT_TRUE(d.listItems.empty());
    EXPECT_TRUE(d.filterItems.empty());
    EXPECT_TRUE(d.stringTable.empty());
    // Filter texts keep their byte 1 unchanged.
    EXPECT_EQ(d.filterTexts[0], std::string("Text files\x01*.txt"));
}

TEST(BuildTables, ListsTakeConsecutiveItems) {
    const ProgramDescription d = loadAndBuild(test::sampleRaw());
    ASSERT_EQ(d.lists.size(), 2u);
    EXPECT_EQ(d.lists[0].entryCount, 2);
    EXPECT_EQ(d.lists[0].entries, (std::vector<std::uint16_t>{0, 1}));
    EXPECT_EQ(d.lists[1].entryCount, 3);
    EXPECT_EQ(d.lists[1].entries, (std::vector<std::uint16_t>{2, 3, 4}));
    EXPECT_EQ(d.lists[0].label, "Mode");
    EXPECT_EQ(d.lists[1].label, "Output");
}

TEST(BuildTables, FiveStringsLeaveTheDescriptionTextsEmpty) {
    ProgramDescription raw;
    raw.header.version = 1;
    raw.header.listCount = 1;
    raw.header.listItemCount = 1;
    raw.header.actionCount = 1;
    raw.listLengths = {1};
    raw.listItems = {0};
    raw.actionRecords.resize(1);
    raw.stringTable = {"label", "caption", "s2", "s3", "s4"};
    raw.header.stringCount = 5;
    ProgramDescription d = loadAndBuild(raw);
    for (const std::string& text : d.texts) EXPECT_EQ(text, "");
    EXPECT_EQ(d.lists[0].label, "label");
    EXPECT_EQ(d.actions[0].caption, "caption");

    // Six strings: the texts are set; a minimal one-list, one-action description takes two more.
    raw.stringTable = {"a.exe", "A", "v", "x", "y", "z", "label", "caption"};
    raw.header.stringCount = 8;
    d = loadAndBuild(raw);
    EXPECT_EQ(d.texts[kExecutableName], "a.exe");
    EXPECT_EQ(d.texts[kContactText], "z");
    EXPECT_EQ(d.lists[0].label, "label");
    EXPECT_TRUE(d.pathSpecs.empty());
    EXPECT_TRUE(d.manualSpecs.empty());
    EXPECT_TRUE(d.filterTexts.empty());
}

TEST(BuildTables, ActionRecordsBecomeEntries) {
    ProgramDescription raw = test::sampleRaw();
    // Action 1 ("Help", "-h") owns two strings; make it own one, with textCount 0, and the string after it moves
    // up: drop "-h" from the table.
    raw.actionRecords[1].textCount = 0;
    raw.stringTable.erase(raw.stringTable.begin() + 6 + 2 + 2 + 1);
    --raw.header.stringCount;
    raw.actionRecords[1].placement = 0x39 | 0xC0;  // bits 6 and 7 carry nothing
    raw.actionRecords[1].nextListNo = 1;
    const ProgramDescription d = loadAndBuild(raw);

    const ActionEntry& encode = d.actions[0];
    EXPECT_EQ(encode.caption, "Encode");
    EXPECT_EQ(encode.actionText, "-e");
    EXPECT_EQ(encode.nextMode(), 1u);
    EXPECT_EQ(encode.nextList, 1);
    EXPECT_EQ(encode.pathMode(), 1u);
    EXPECT_EQ(encode.pathSpec, 0);
    EXPECT_EQ(encode.manualMode(), 0u);

    const ActionEntry& help = d.actions[1];
    EXPECT_EQ(help.caption, "Help");
    EXPECT_EQ(help.actionText, "");
    EXPECT_EQ(help.nextMode(), 1u);
    EXPECT_EQ(help.nextList, 0);
    EXPECT_EQ(help.pathPosition, 1);
    EXPECT_EQ(help.actionPosition, 2);
    EXPECT_EQ(help.manualPosition, 3);
    EXPECT_EQ(help.flags, 1u);

    EXPECT_EQ(d.actions[2].caption, "To folder");  // the strings after the shortened action stay aligned
    EXPECT_EQ(d.actions[3].manualMode(), 1u);
    EXPECT_EQ(d.actions[3].manualSpec, 0);
    EXPECT_EQ(d.actions[4].flags, 0u);
    EXPECT_EQ(d.actions[4].actionText, "");
    EXPECT_EQ(d.pathSpecs[0].label, "Input file");
}

TEST(BuildTables, PathSpecsShareTheFilterItemsInOrder) {
    ProgramDescription tables = test::sampleTables();
    PathSpec none;
    none.dialogKind = kSaveFileDialog;
    none.label = "No filters";
    PathSpec last;
    last.dialogKind = 7;  // opens no dialog, kept as stored
    last.filters = {0};
    last.filterCount = 1;
    last.label = "Last";
    // Filters {1,0}, then none, then {0}: the third takes filterItems entry 2.
    tables.pathSpecs = {tables.pathSpecs[0], none, last};
    ProgramDescription raw = tables;
    rawFromTables(raw);
    EXPECT_EQ(raw.filterItems, (std::vector<std::uint8_t>{1, 0, 0}));
    // Extra strings after the last one taken are discarded.
    raw.stringTable.push_back("spare");
    ++raw.header.stringCount;
    const ProgramDescription d = loadAndBuild(raw);
    ASSERT_EQ(d.pathSpecs.size(), 3u);
    EXPECT_EQ(d.pathSpecs[0].filters, (std::vector<std::uint16_t>{1, 0}));
    EXPECT_EQ(d.pathSpecs[1].filterCount, 0);
    EXPECT_TRUE(d.pathSpecs[1].filters.empty());
    EXPECT_EQ(d.pathSpecs[2].filters, (std::vector<std::uint16_t>{0}));
    EXPECT_EQ(d.pathSpecs[2].dialogKind, 7);
    EXPECT_EQ(d.pathSpecs[2].label, "Last");
    EXPECT_EQ(d.manualSpecs[0].label, "Level");
    EXPECT_EQ(d.manualSpecs[0].info, "A number from 1 to 9");
    EXPECT_EQ(d.filterTexts, tables.filterTexts);
}

TEST(BuildTables, RefusesARawStateItCannotBuild) {
    ProgramDescription raw = test::sampleRaw();
    raw.lists.clear();
    raw.stringTable.pop_back();  // the header still declares the dropped string
    EXPECT_FALSE(buildTables(raw));
    EXPECT_TRUE(raw.lists.empty());
    EXPECT_EQ(raw.stringTable.size(), raw.header.stringCount - 1u);

    // A second build finds no raw arrays left.
    ProgramDescription d = loadAndBuild(test::sampleRaw());
    const auto lists = d.lists;
    EXPECT_FALSE(buildTables(d));
    EXPECT_EQ(d.lists, lists);
}

}  // namespace
}  // namespace brennic
