#include <gtest/gtest.h>

#include <stdexcept>

#include "config_fixtures.h"
#include "description/config_writer.h"

namespace brennic {
namespace {

TEST(WriteConfig, ByteLayout) {
    ProgramDescription d;
    d.header.reserved = {1, 2, 3, 4, 5, 6};
    d.header.version = 0x0102;
    d.header.stringCount = 2;
    d.header.firstList = 3;
    d.header.listCount = 4;
    d.header.listItemCount = 5;
    d.header.filterItemCount = 6;
    d.header.actionCount = 7;
    d.header.pathSpecCount = 8;
    d.header.filterTextCount = 9;
    d.header.manualSpecCount = 0x0A0B;
    ActionRecord r;
    r.pathSpecNo = 0x1112;
    r.manualSpecNo = 0x1314;
    r.nextListNo = 0x1516;
    r.textCount = 2;
    r.reserved1 = 0xAA;
    r.placement = 0x39;
    r.reserved2 = 0xBB;
    d.actionRecords = {r};
    d.pathSpecRecords = {{2, 3}};
    d.listLengths = {0x0201};
    d.listItems = {0x0403};
    d.filterItems = {0x05};
    d.stringTable = {"ab", ""};
    const std::vector<std::uint8_t> expected = {
        1, 2, 3, 4, 5, 6, 0x02, 0x01, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 0x0B, 0x0A,  // header
        0x12, 0x11, 0x14, 0x13, 0x16, 0x15, 2, 0xAA, 0x39, 0xBB,                                    // action
        2, 3,                                                                                       // path spec
        0x01, 0x02, 0x03, 0x04, 0x05,                                                               // arrays
        'a', 'b', 0, 0};                                                                            // strings
    EXPECT_EQ(writeConfig(d), expected);

    d.stringTable = {std::string("a\0b", 3)};
    EXPECT_THROW(writeConfig(d), std::invalid_argument);
}

TEST(RawFromTables, CountsReferencesAndStringOrder) {
    const ProgramDescription d = test::sampleRaw();
    EXPECT_EQ(d.header.version, 3);
    EXPECT_EQ(d.header.listCount, 2);
    EXPECT_EQ(d.header.listItemCount, 5);
    EXPECT_EQ(d.header.actionCount, 5);
    EXPECT_EQ(d.header.pathSpecCount, 2);
    EXPECT_EQ(d.header.filterItemCount, 2);
    EXPECT_EQ(d.header.manualSpecCount, 1);
    EXPECT_EQ(d.header.filterTextCount, 2);
    EXPECT_EQ(d.header.stringCount, d.stringTable.size());
    EXPECT_EQ(d.actionRecords[0].pathSpecNo, 1);
    EXPECT_EQ(d.actionRecords[0].nextListNo, 2);
    EXPECT_EQ(d.actionRecords[0].placement, 0x09);
    EXPECT_EQ(d.actionRecords[2].pathSpecNo, 2);
    EXPECT_EQ(d.actionRecords[3].manualSpecNo, 1);
    EXPECT_EQ(d.actionRecords[4].textCount, 1);
    EXPECT_EQ(d.actionRecords[4].nextListNo, 0);
    const std::vector<std::string> strings = {
        "conv.exe", "Conv",      "1.2, 3",        "Ann",       "Bob",           "bob@example.org",
        "Mode",     "Output",    "Encode",        "-e",        "Help",          "-h",
        "To folder", "-o p@",    "Verbose",       "-v m@",     "Plain",         "Input file",
        "Output folder", "Level", "A number from 1 to 9", "Text files\x01*.txt", "All files\x01*.*"};
    EXPECT_EQ(d.stringTable, strings);
}

TEST(RawFromTables, RefusesWhatTheFormatCannotHold) {
    ProgramDescription d = test::sampleTables();
    d.pathSpecs[0].filters = {256};
    EXPECT_THROW(rawFromTables(d), std::length_error);
    d = test::sampleTables();
    d.pathSpecs[0].filters.assign(256, 0);
    EXPECT_THROW(rawFromTables(d), std::length_error);
    d = test::sampleTables();
    d.actions[0].nextList = 0xFFFF;
    EXPECT_THROW(rawFromTables(d), std::length_error);
}

}  // namespace
}  // namespace brennic
