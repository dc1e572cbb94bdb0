// vxtool decompile: config file to readable source.
#include "atomic_file.h"
#include "authoring_commands.h"
#include "config_decompiler.h"
#include "config_source.h"
#include "description/config_writer.h"

namespace brennic::vxtool {

const char* const kDecompileHelp =
    "Usage: vxtool decompile prog.vx [-o SOURCE.toml]\n"
    "\n"
    "Turns a config file that vxtool check accepts into readable source, printed or written to\n"
    "SOURCE.toml (replaced at once). Lists, actions, paths, manuals and filters get generated names\n"
    "(list1, action1, ...). Compiling the source gives back the same config: the same bytes, except\n"
    "for anything stored after the last string, which no reader looks at. A config marked as holding\n"
    "UTF-8 texts whose texts are not valid UTF-8 cannot be written as source.\n"
    "\n"
    "Exit status: 0 written, 1 the config is refused or the output cannot be written, 2 usage error.\n";

int decompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto words = parseInputAndOutput(args, "decompile", kDecompileHelp, false, err);
    if (!words) return kExitUsage;
    if (words->help) {
        out << kDecompileHelp;
        return kExitSuccess;
    }
    ProgramDescription description;
    if (!loadConfigForTool(words->input, description, err)) return kExitRefused;
    if (const auto malformed = authoring::firstMalformedText(description)) {
        err << words->input << ": string " << *malformed + 1
            << " is not valid UTF-8, although the header marks the texts as UTF-8; such a config cannot be "
               "written as source\n";
        return kExitRefused;
    }
    const std::string source = authoring::decompileDescription(description, words->input);

    // The source must stand for exactly this config; check it before anyone relies on it.
    ProgramDescription again;
    const authoring::CompileOutcome outcome = authoring::compileSource(source, "decompiled source", again);
    if (!outcome.ok() || writeConfig(again) != writeConfig(description)) {
        err << words->input << ": cannot be expressed as source";
        if (!outcome.ok()) err << " (" << authoring::formatDiagnostic("decompiled source", outcome.errors.front()) << ")";
        err << "\n";
        return kExitRefused;
    }
    if (!words->output) {
        out << source;
        return kExitSuccess;
    }
    std::string problem;
    if (!authoring::writeFileAtomically(*words->output, source, problem)) {
        err << *words->output << ": " << problem << "\n";
        return kExitRefused;
    }
    return kExitSuccess;
}

}  // namespace brennic::vxtool
