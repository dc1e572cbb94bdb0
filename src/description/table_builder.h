// Turning the raw arrays and string table of a loaded description into its linked tables.
#pragma once

#include "state/program_description.h"

namespace brennic {

// Builds the description texts, lists, actions, path specs, manual specs and filter texts,
// handing out the strings in file order, then releases the raw arrays and the string table.
// Returns true when the tables were built. It refuses (returns false and changes nothing) a raw state that
// findDamage rejects, so it never reads outside a raw array; start-up only calls it after validateDescription,
// where that cannot happen.
bool buildTables(ProgramDescription& description);

}  // namespace brennic
