// vxtool check: the config as start-up sees it.
#include <exception>

#include "commands.h"
#include "description/config_loader.h"
#include "description/table_builder.h"
#include "pages/argument_slot.h"

namespace brennic::vxtool {

const char* const kCheckHelp =
    "Usage: vxtool check prog.vx\n"
    "\n"
    "Loads, checks and builds the config exactly as Brennic does at start-up. Prints the message Brennic\n"
    "would show (\"Load file error\", \"Empty file\", \"Can't load old config version\", \"Can't load new\n"
    "config version\", \"Unexpected config end\", \"The config is damaged\") and exits with 1, or prints\n"
    "\"ok\" and a summary line and exits with 0. Exit status 2: usage error.\n";

namespace {

// Start-up's steps from opening the file to building the tables. Returns the message start-up would show,
// or an empty text when the description became ready.
std::string startupOutcome(const std::string& path, ProgramDescription& description) {
    errorVX error;
    try {
        loadConfigFile(path, description, error);
        std::string saveFilePath;
        description.makeSaveFilePath(saveFilePath);
        ArgumentSlots unusedSlots{};
        description.checkSlots(unusedSlots.data());
        if (!buildTables(description)) return "The config is damaged";
    } catch (const errorVX& raised) {
        return errorMessage(raised);
    } catch (const std::exception&) {
        return "Unknown error";
    }
    return {};
}

}  // namespace

int checkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        out << kCheckHelp;
        return 0;
    }
    if (args.size() != 1) {
        err << "vxtool check: expected one config file\n\n" << kCheckHelp;
        return 2;
    }
    ProgramDescription description;
    const std::string message = startupOutcome(args[0], description);
    if (!message.empty()) {
        out << message << '\n';
        return 1;
    }
    out << "ok\n"
        << "lists " << description.lists.size() << ", actions " << description.actions.size() << ", path specs "
        << description.pathSpecs.size() << ", manual specs " << description.manualSpecs.size() << ", filter texts "
        << description.filterTexts.size() << ", executable " << description.executableName() << '\n';
    return 0;
}

}  // namespace brennic::vxtool
