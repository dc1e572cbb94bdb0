// Config descriptions and files built for the tests through the writer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "description/config_writer.h"
#include "state/program_description.h"

namespace brennic::test {

inline ActionEntry makeAction(std::string caption, std::string actionText = {}) {
    ActionEntry a;
    a.caption = std::move(caption);
    a.actionText = std::move(actionText);
    return a;
}

// A small, valid description as built tables: two lists (2 and 3 entries), five actions, two path
// specs (open-file with filters 1 and 0, folder without filters), one manual spec and two
// filter texts.
inline ProgramDescription sampleTables() {
    ProgramDescription d;
    d.header.version = 3;
    d.header.firstList = 0;
    d.texts = {"conv.exe", "Conv", "1.2, 3", "Ann", "Bob", "bob@example.org"};

    ActionList first;
    first.label = "Mode";
    first.entries = {0, 1};
    first.entryCount = 2;
    ActionList second;
    second.label = "Output";
    second.entries = {2, 3, 4};
    second.entryCount = 3;
    d.lists = {first, second};

    ActionEntry encode = makeAction("Encode", "-e");
    encode.flags = 1u | (1u << 2);  // next list and a path
    encode.nextList = 1;
    encode.pathSpec = 0;
    encode.pathPosition = 1;
    encode.actionPosition = 2;
    ActionEntry help = makeAction("Help", "-h");
    help.actionPosition = 1;
    ActionEntry toFolder = makeAction("To folder", "-o p@");
    toFolder.flags = 1u << 2;
    toFolder.pathSpec = 1;
    toFolder.actionPosition = 1;
    ActionEntry verbose = makeAction("Verbose", "-v m@");
    verbose.flags = 1u << 4;
    verbose.manualSpec = 0;
    verbose.actionPosition = 1;
    ActionEntry plain = makeAction("Plain");
    d.actions = {encode, help, toFolder, verbose, plain};

    PathSpec input;
    input.dialogKind = kOpenFileDialog;
    input.filters = {1, 0};
    input.filterCount = 2;
    input.label = "Input file";
    PathSpec output;
    output.dialogKind = kFolderDialog;
    output.label = "Output folder";
    d.pathSpecs = {input, output};

    d.manualSpecs = {ManualSpec{"Level", "A number from 1 to 9"}};
    d.filterTexts = {"Text files\x01*.txt", "All files\x01*.*"};
    return d;
}

// The raw part of sampleTables, as loadDescription would leave it.
inline ProgramDescription sampleRaw() {
    ProgramDescription d = sampleTables();
    rawFromTables(d);
    return d;
}

inline std::vector<std::uint8_t> sampleBytes() {
    return writeConfig(sampleRaw());
}

// The smallest raw description: one list of one action (caption only, placed first), with the given strings
// (six description texts, when there are six or more, then the list's label and the caption).
inline ProgramDescription oneActionRaw(std::vector<std::string> strings) {
    ProgramDescription d;
    d.header.version = 1;
    d.header.listCount = 1;
    d.header.listItemCount = 1;
    d.header.actionCount = 1;
    d.header.stringCount = static_cast<std::uint16_t>(strings.size());
    d.listLengths = {1};
    d.listItems = {0};
    d.actionRecords = {ActionRecord{0, 0, 0, 1, 0, 1u << 2, 0}};
    d.stringTable = std::move(strings);
    return d;
}

}  // namespace brennic::test
