// vxtool check: the config as start-up sees it, and what is wrong with it.
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "atomic_file.h"
#include "commands.h"
#include "config_decompiler.h"
#include "description/config_explain.h"
#include "description/config_loader.h"
#include "description/table_builder.h"
#include "state/argument_slot.h"
#include "platform/text.h"
#include "source_text.h"

namespace brennic::vxtool {

const char* const kCheckHelp =
    "Usage: vxtool check prog.vx\n"
    "\n"
    "Loads, checks and builds the config exactly as Brennic does at start-up. When Brennic would refuse it,\n"
    "prints the message Brennic shows (\"Load file error\", \"Empty file\", \"Can't load old config version\",\n"
    "\"Can't load new config version\", \"Unexpected config end\", \"The config is damaged\"), then lines that\n"
    "say what is wrong: which record or table, which field, its value and the limit it breaks; exit status 1.\n"
    "Otherwise prints \"ok\" and a summary line, then a line starting \"warning:\" for each thing that loads\n"
    "but cannot work as meant (an empty executable name, fewer than six description texts, malformed UTF-8\n"
    "in a config marked as holding UTF-8 texts); exit status 0. Exit status 2: usage error.\n";

namespace {

struct Outcome {
    std::string message;  // what start-up would show; empty when the description became ready
    std::vector<std::string> details;   // what is wrong, when it is refused
    std::vector<std::string> warnings;  // what loads but cannot work as meant
};

std::string count(std::size_t n, const char* singular, const char* plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

std::vector<std::string> explainRefusal(const errorVX& raised, const std::string& path, const ProgramDescription& d) {
    const std::filesystem::path file = authoring::filePath(path);
    std::error_code ignored;
    if (raised.configError != 0) {
        std::string reason = explainConfigError(raised, path, d, 0);
        if (reason.empty()) return {};
        return {reason};
    }
    if (raised.fileError == kLoadFileError) {
        if (path.empty()) return {"the file name is empty"};
        if (!std::filesystem::exists(file, ignored)) return {"there is no such file"};
        if (std::filesystem::is_directory(file, ignored)) return {"it is a folder"};
        return {"the file cannot be opened for reading"};
    }
    return {};
}

// What loads but cannot work as meant. Runs on the raw part, before the tables are built.
std::vector<std::string> warningsFor(const ProgramDescription& raw) {
    std::vector<std::string> warnings;
    if (raw.header.stringCount < 6) {
        warnings.push_back("the file holds " + count(raw.header.stringCount, "string", "strings") +
                           ", fewer than the six description texts: the executable name is empty, so Start can "
                           "only fail; the title and the About page are empty, and the save file is named \".as\"");
    } else if (raw.stringTable[kExecutableName].empty()) {
        warnings.push_back("the executable name is empty: Start can only fail");
    }
    if (const auto malformed = authoring::firstMalformedText(raw)) {
        warnings.push_back("string " + std::to_string(*malformed + 1) +
                           " is not valid UTF-8, although the header marks the texts as UTF-8: Brennic shows "
                           "its malformed bytes as U+FFFD");
    }
    return warnings;
}

// Start-up's steps from opening the file to building the tables.
Outcome startupOutcome(const std::string& path, ProgramDescription& description) {
    Outcome outcome;
    errorVX error;
    try {
        loadConfigFile(path, description, error);
        outcome.warnings = warningsFor(description);
        std::string saveFilePath;
        description.makeSaveFilePath(saveFilePath);
        ArgumentSlots unusedSlots{};
        description.checkSlots(unusedSlots.data());
        if (!buildTables(description)) outcome.message = "The config is damaged";
    } catch (const errorVX& raised) {
        outcome.message = errorMessage(raised);
        outcome.details = explainRefusal(raised, path, description);
    } catch (const std::exception&) {
        outcome.message = "Unknown error";
    }
    return outcome;
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
    const Outcome outcome = startupOutcome(args[0], description);
    if (!outcome.message.empty()) {
        out << outcome.message << '\n';
        for (const std::string& detail : outcome.details) out << detail << '\n';
        return 1;
    }
    const authoring::TextForm form = authoring::textFormOf(description.header);
    const std::string& name = description.executableName();
    const std::string executable = authoring::decodeText(name, form).value_or(validUtf8(name));
    out << "ok\n"
        << "lists " << description.lists.size() << ", actions " << description.actions.size() << ", path specs "
        << description.pathSpecs.size() << ", manual specs " << description.manualSpecs.size() << ", filter texts "
        << description.filterTexts.size() << ", executable " << executable
        << (form == authoring::TextForm::kUtf8 ? ", texts UTF-8" : "") << '\n';
    for (const std::string& warning : outcome.warnings) out << "warning: " << warning << '\n';
    return 0;
}

}  // namespace brennic::vxtool
