// Config files for the tests.
#include "driver/configs.h"

#include "description/config_writer.h"
#include "driver/workspace.h"

namespace brennic::e2e {

namespace {

ActionEntry action(const std::string& caption, const std::string& text) {
    ActionEntry entry;
    entry.caption = caption;
    entry.actionText = text;
    entry.actionPosition = 1;
    return entry;
}

}  // namespace

ProgramDescription sampleTables() {
    ProgramDescription d;
    d.header.version = 5;
    d.texts = {"tool.exe", "Tool", "Version 1.0", "Tool author", "Config author", "tool@example.org"};

    ActionList mode;
    mode.label = "Mode";
    mode.entries = {0, 1};
    ActionList output;
    output.label = "Output";
    output.entries = {2, 3};
    d.lists = {mode, output};

    ActionEntry encode = action("Encode", "-e");
    encode.flags = 1u | (1u << 2);  // a next list and a path
    encode.nextList = 1;
    encode.pathSpec = 0;
    encode.pathPosition = 2;
    ActionEntry help = action("Help", "-h");
    ActionEntry quiet = action("Quiet", "-q");
    ActionEntry level = action("Level", "-l m@");
    level.flags = 1u << 4;  // manual arguments
    level.manualSpec = 0;
    d.actions = {encode, help, quiet, level};

    PathSpec input;
    input.dialogKind = kOpenFileDialog;
    input.filters = {0, 1};
    input.label = "Input file";
    d.pathSpecs = {input};
    d.manualSpecs = {ManualSpec{"Level", "A number from 1 to 9"}};
    d.filterTexts = {"Text files\x01*.txt", "All files\x01*.*"};
    return d;
}

std::vector<std::uint8_t> configBytes(ProgramDescription tables) {
    rawFromTables(tables);
    return writeConfig(tables);
}

std::string writeConfigFile(const std::string& path, const ProgramDescription& tables) {
    writeFile(path, configBytes(tables));
    return path;
}

std::string writeDefaultConfig() { return writeConfigFile(join(appDir(), "prog.vx"), sampleTables()); }

std::string describedFolder(const ProgramDescription& tables, const std::string& programsFolder) {
    return join(programsFolder, tables.programFolderName());
}

std::string describedExe(const ProgramDescription& tables, const std::string& programsFolder) {
    return join(describedFolder(tables, programsFolder), tables.executableName());
}

}  // namespace brennic::e2e
