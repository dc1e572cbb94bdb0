// Mistakes that a config can hold and still load: pieces of an action that never reach the command line, marks
// that reach the described program as they are, actions no page can offer and lists no page can show. The same
// findings serve `vxtool compile` and `check` on a source (named by their TOML keys, at their lines) and `check`
// on a compiled config (named by number and caption).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "state/program_description.h"

namespace brennic::authoring {

struct ConfigMistake {
    enum Kind {
        kPathNeverPlaced,      // the action takes a path, but neither its own place nor a usable p@ puts it anywhere
        kManualNeverPlaced,    // the same for manual arguments and m@
        kPathMarkAtStart,      // the path would go to p@, which stands first in the text and is never replaced
        kManualMarkAtStart,    // the same for m@
        kPathMarkLiteral,      // the text holds p@ that nothing replaces (no path, or the path has its own place)
        kManualMarkLiteral,    // the same for m@
        kActionOnNoList,       // no list offers the action
        kListNeverShown,       // neither the first list nor any action's next list
    } kind;
    std::size_t index;  // the action's or the list's index, from 0
};

// Looks at built tables (buildTables has run). Findings come action by action, then list by list.
std::vector<ConfigMistake> findConfigMistakes(const ProgramDescription& built);

// The warning text, the fix in words included. `name` names the action or list: "action 'copy'" in a source,
// "action 3 (\"Copy\")" in a compiled config.
std::string describeMistake(const ConfigMistake& mistake, const std::string& name);

// A name for an action or list of a compiled config, counted from 1 as the file's references count them:
// action 3 ("Copy a folder"), list 2 ("Target").
std::string compiledName(const ProgramDescription& built, const ConfigMistake& mistake);

}  // namespace brennic::authoring
