// Argument parsing and config loading shared by compile, decompile and dump.
#include "authoring_commands.h"

#include "description/config_error.h"
#include "description/config_loader.h"

namespace brennic::vxtool {

std::optional<InputAndOutput> parseInputAndOutput(const std::vector<std::string>& args, const char* command,
                                                  const char* help, bool outputRequired, std::ostream& err) {
    InputAndOutput result;
    auto usage = [&](const std::string& message) -> std::optional<InputAndOutput> {
        err << "vxtool " << command << ": " << message << "\n\n" << help;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "-h" || word == "--help") {
            result.help = true;
            return result;
        }
        if (word == "-o" || word == "--output") {
            if (result.output) return usage("-o is given twice");
            if (i + 1 == args.size() || args[i + 1].empty()) return usage("-o needs a file name");
            result.output = args[++i];
        } else if (word.size() > 1 && word[0] == '-') {
            return usage("unknown option " + word);
        } else if (!result.input.empty()) {
            return usage("more than one input file: " + result.input + " and " + word);
        } else if (word.empty()) {
            return usage("the input file name is empty");
        } else {
            result.input = word;
        }
    }
    if (result.input.empty()) return usage("no input file");
    if (outputRequired && !result.output) return usage("no output file (-o FILE)");
    return result;
}

bool loadConfigForTool(const std::string& path, ProgramDescription& description, std::ostream& err) {
    errorVX error;
    try {
        loadConfigFile(path, description, error);
    } catch (const errorVX& raised) {
        // The message Brennic (and vxtool check) shows, with what the loader found.
        std::string message = errorMessage(raised);
        if (message.empty()) message = "the file is refused";
        if (raised.configError == 0 && raised.fileError == kLoadFileError) message += " (cannot open the file)";
        if (raised.configError == kConfigDamaged) {
            if (const auto damage = explainDamage(description)) message += " (" + damage->detail + ")";
        }
        err << path << ": " << message << "\n";
        return false;
    }
    return true;
}

}  // namespace brennic::vxtool
