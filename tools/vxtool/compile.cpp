// vxtool compile: readable source to config file.
#include <sstream>

#include "atomic_file.h"
#include "authoring_commands.h"
#include "config_source.h"
#include "description/config_writer.h"

namespace brennic::vxtool {

const char* const kCompileHelp =
    "Usage: vxtool compile SOURCE.toml -o prog.vx\n"
    "\n"
    "Compiles a readable program description into a config file. Every problem is reported as\n"
    "FILE:LINE:COLUMN: message (for the usual slips followed by FILE:LINE:COLUMN: hint: ...), and\n"
    "nothing is written unless the whole source is correct; the output is replaced at once, never\n"
    "left half written. Warnings, as \"warning: FILE:LINE: message\" with the fix, are printed but do\n"
    "not stop the compile: pieces of a command that never reach the command line, a p@ or m@ that\n"
    "the program would get as it is (also one at the very start of a text), an action no list\n"
    "offers, a list no page shows, unchecked filters.\n"
    "Texts are stored as UTF-8, marked in the header, unless all of them are ASCII or the source asks\n"
    "for code page 1252 ([binary] text-encoding = \"cp1252\"), which Brennic 0.9 also reads.\n"
    "The source format is described in docs/config-format.md.\n"
    "\n"
    "Exit status: 0 compiled, 1 the source is refused or the output cannot be written, 2 usage error.\n";

int compileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto words = parseInputAndOutput(args, "compile", kCompileHelp, true, err);
    if (!words) return kExitUsage;
    if (words->help) {
        out << kCompileHelp;
        return kExitSuccess;
    }
    std::string source;
    std::string problem;
    if (!authoring::readWholeFile(words->input, source, problem)) {
        err << words->input << ": " << problem << "\n";
        return kExitRefused;
    }
    ProgramDescription description;
    const authoring::CompileOutcome outcome = authoring::compileSource(source, words->input, description);
    for (const auto& warning : outcome.warnings) err << authoring::formatDiagnostic(words->input, warning, true) << "\n";
    for (const auto& error : outcome.errors) err << authoring::formatDiagnostic(words->input, error) << "\n";
    if (!outcome.ok()) {
        err << words->input << ": " << outcome.errors.size() << (outcome.errors.size() == 1 ? " error" : " errors")
            << ", nothing written\n";
        return kExitRefused;
    }
    const std::vector<std::uint8_t> bytes = writeConfig(description);
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!authoring::writeFileAtomically(*words->output, view, problem)) {
        err << *words->output << ": " << problem << "\n";
        return kExitRefused;
    }
    return kExitSuccess;
}

}  // namespace brennic::vxtool
