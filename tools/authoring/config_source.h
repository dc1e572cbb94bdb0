// The readable config source (TOML) and its compiler into the raw part of a ProgramDescription.
//
// One source file describes one program. Top-level tables: [program] (the six description texts and the first
// list), [lists.NAME], [actions.NAME], [paths.NAME], [manuals.NAME], [filters.NAME], and [binary] for details
// of the file format that only unusual files need. Entries refer to each other by name, in any order; each kind
// is numbered in the order its entries stand in the source. docs/config-format.md describes every key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "state/program_description.h"

namespace brennic::authoring {

struct SourceLocation {
    std::uint32_t line = 0;  // 1-based; 0 when unknown
    std::uint32_t column = 0;

    friend bool operator<(const SourceLocation& a, const SourceLocation& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    }
};

struct Diagnostic {
    SourceLocation where;
    std::string message;
    std::string hint;  // how the usual cause of this error is fixed; empty when there is no such advice
};

struct CompileOutcome {
    std::vector<Diagnostic> errors;    // in source order; empty when the source compiled
    std::vector<Diagnostic> warnings;  // things that compile but are probably not meant
    // The TOML keys of the actions and lists, in their order in the compiled config (filled once the source
    // parses).
    std::vector<std::string> actionNames;
    std::vector<std::string> listNames;

    bool ok() const { return errors.empty(); }
};

// Compiles source text into the raw part of `description` (header, records, arrays, string table). On errors
// the raw part is unspecified and must not be written.
CompileOutcome compileSource(std::string_view sourceText, std::string_view sourceName,
                             ProgramDescription& description);

// An error is "file:line:column: message" (or "file: message" without a location), followed by a line
// "file:line:column: hint: ..." when it has a hint. A warning is "warning: file:line: message".
std::string formatDiagnostic(std::string_view sourceName, const Diagnostic& diagnostic, bool warning = false);

// The name among `names` closest to `name` by edit distance, when it is close enough to be a slip of the pen
// (at most a third of the name's length, and at least 1, differing); empty otherwise.
std::string closestName(std::string_view name, const std::vector<std::string>& names);

// Names of the three pieces of an action's command text, as written in `order` and `positions`.
inline constexpr std::string_view kPieceNames[3] = {"path", "action", "manual"};
// Names of the dialog kinds 0..3 as written in `dialog`; other kinds are written as numbers.
inline constexpr std::string_view kDialogNames[4] = {"open", "save", "folder", "none"};

}  // namespace brennic::authoring
