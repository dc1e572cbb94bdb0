// vxtool dump: a config file as stable, diffable text.
#include "authoring_commands.h"
#include "config_decompiler.h"

namespace brennic::vxtool {

const char* const kDumpHelp =
    "Usage: vxtool dump prog.vx\n"
    "\n"
    "Prints the config as Brennic sees it once loaded: header counts, the six description texts,\n"
    "every list, action, path spec, manual spec and filter text, and what the\n"
    "file holds that no table uses. One \"name = value\" line per field, so the output compares well\n"
    "with diff. Texts are quoted: in a legacy config every byte outside printable ASCII is written as\n"
    "\\xHH; a config with UTF-8 texts (its reserved bytes marked \"(UTF-8 texts)\") shows them in their\n"
    "characters, with controls and invisible characters as \\uXXXX and malformed bytes as \\xHH.\n"
    "\n"
    "Exit status: 0 printed, 1 the config is refused (message as vxtool check), 2 usage error.\n";

int dumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto words = parseInputAndOutput(args, "dump", kDumpHelp, false, err);
    if (!words) return kExitUsage;
    if (words->help) {
        out << kDumpHelp;
        return kExitSuccess;
    }
    if (words->output) {
        err << "vxtool dump: -o is not used by dump; redirect the output instead\n\n" << kDumpHelp;
        return kExitUsage;
    }
    ProgramDescription description;
    if (!loadConfigForTool(words->input, description, err)) return kExitRefused;
    out << authoring::dumpDescription(description);
    return kExitSuccess;
}

}  // namespace brennic::vxtool
