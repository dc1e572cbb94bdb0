// vxtool check: the config as start-up sees it, and what is wrong with it.
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "atomic_file.h"
#include "commands.h"
#include "config_decompiler.h"
#include "config_lint.h"
#include "config_source.h"
#include "description/config_explain.h"
#include "description/config_loader.h"
#include "description/table_builder.h"
#include "state/argument_slot.h"
#include "platform/text.h"
#include "source_text.h"

namespace brennic::vxtool {

const char* const kCheckHelp =
    "Usage: vxtool check prog.vx\n"
    "       vxtool check prog.toml\n"
    "\n"
    "Loads, checks and builds the config exactly as Brennic does at start-up (a .toml source is compiled\n"
    "first; its errors are reported as by vxtool compile, exit status 1). When Brennic would refuse it,\n"
    "prints the message Brennic shows (\"Load file error\", \"Empty file\", \"Can't load old config version\",\n"
    "\"Can't load new config version\", \"Unexpected config end\", \"The config is damaged\"), then lines that\n"
    "say what is wrong: which record or table, which field, its value and the limit it breaks; exit status 1.\n"
    "Otherwise prints \"ok\" and a summary line, then a line starting \"warning:\" for each thing that loads\n"
    "but cannot work as meant (an empty executable name, fewer than six description texts, malformed UTF-8\n"
    "in a config marked as holding UTF-8 texts) or is most likely a mistake: a path or manual arguments that\n"
    "never reach the command line, a p@ or m@ that stays in the command as it is (also one at the very start\n"
    "of a text), an action no list offers, a list no page shows. Warnings on a source name its file and line.\n"
    "Exit status 0. Exit status 2: usage error.\n";

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
        if (!buildTables(description)) {
            outcome.message = "The config is damaged";
        } else {
            for (const authoring::ConfigMistake& mistake : authoring::findConfigMistakes(description)) {
                outcome.warnings.push_back(
                    authoring::describeMistake(mistake, authoring::compiledName(description, mistake)));
            }
        }
    } catch (const errorVX& raised) {
        outcome.message = errorMessage(raised);
        outcome.details = explainRefusal(raised, path, description);
    } catch (const std::exception&) {
        outcome.message = "Unknown error";
    }
    return outcome;
}

// "ok" and the summary line of a built description.
void printSummary(const ProgramDescription& description, std::ostream& out) {
    const authoring::TextForm form = authoring::textFormOf(description.header);
    const std::string& name = description.executableName();
    const std::string executable = authoring::decodeText(name, form).value_or(validUtf8(name));
    out << "ok\n"
        << "lists " << description.lists.size() << ", actions " << description.actions.size() << ", path specs "
        << description.pathSpecs.size() << ", manual specs " << description.manualSpecs.size() << ", filter texts "
        << description.filterTexts.size() << ", executable " << executable
        << (form == authoring::TextForm::kUtf8 ? ", texts UTF-8" : "") << '\n';
}

bool isSource(const std::string& path) {
    return path.size() >= 5 && path.compare(path.size() - 5, 5, ".toml") == 0;
}

// check on a source: compiled as vxtool compile would, then the compiled config as start-up sees it. The
// warnings carry the source's lines.
int checkSource(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string source;
    std::string problem;
    if (!authoring::readWholeFile(path, source, problem)) {
        out << "Load file error\n" << problem << '\n';
        return 1;
    }
    ProgramDescription description;
    const authoring::CompileOutcome compiled = authoring::compileSource(source, path, description);
    if (!compiled.ok()) {
        for (const auto& error : compiled.errors) err << authoring::formatDiagnostic(path, error) << '\n';
        out << path << ": " << compiled.errors.size() << (compiled.errors.size() == 1 ? " error" : " errors")
            << '\n';
        return 1;
    }
    std::vector<std::string> warnings = warningsFor(description);
    if (!buildTables(description)) {
        out << "The config is damaged\n";
        return 1;
    }
    printSummary(description, out);
    for (const std::string& warning : warnings) out << "warning: " << path << ": " << warning << '\n';
    for (const auto& warning : compiled.warnings) out << authoring::formatDiagnostic(path, warning, true) << '\n';
    return 0;
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
    if (isSource(args[0])) return checkSource(args[0], out, err);
    ProgramDescription description;
    const Outcome outcome = startupOutcome(args[0], description);
    if (!outcome.message.empty()) {
        out << outcome.message << '\n';
        for (const std::string& detail : outcome.details) out << detail << '\n';
        return 1;
    }
    printSummary(description, out);
    for (const std::string& warning : outcome.warnings) out << "warning: " << warning << '\n';
    return 0;
}

}  // namespace brennic::vxtool
