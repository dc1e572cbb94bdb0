// Turning a loaded config (its raw part) back into readable source, and the stable text dump of a config.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "state/program_description.h"

namespace brennic::authoring {

// Source text for a raw description that passed the loader's tests (findDamage finds nothing). Lists, actions,
// paths, manuals and filters get generated names (list1, action1, ...). Compiling the result gives back the same
// raw part, the form of the texts, reserved bytes and spare entries included, provided firstMalformedText finds
// nothing. `origin` is named in the leading comment.
std::string decompileDescription(const ProgramDescription& raw, std::string_view origin);

// The first string of a config marked as holding UTF-8 texts that is not valid UTF-8 (Brennic shows U+FFFD for
// its malformed bytes, and no source can give them back); nothing for a legacy config.
std::optional<std::size_t> firstMalformedText(const ProgramDescription& raw);

// The description as the program sees it after building its tables, one "name = value" line per field, with
// texts quoted (see dumpQuoted: legacy texts with every byte outside printable ASCII as \xHH, UTF-8 texts in
// their characters) and the reserved bytes of a UTF-8 config marked "(UTF-8 texts)". The raw-only details
// (version, reserved bytes, text counts, unused array entries and strings) are included, so two configs dump
// alike exactly when they load alike. Requires a raw part that passed the loader's tests.
std::string dumpDescription(const ProgramDescription& raw);

// How a filter text splits into description/pattern pairs: true and the pairs when it is "d\1p\1..." with no
// empty part.
bool splitFilterText(std::string_view text, std::vector<std::pair<std::string, std::string>>& pairs);

}  // namespace brennic::authoring
