#include "config_source.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>

// toml++ 3.3 states some expectations of its parser as compiler assumptions (TOML_ASSUME: __builtin_assume with
// clang, __assume with MSVC, nothing with GCC; in debug builds an assert). Malformed input breaks two of them (a
// '}' where an array expects a value, "a = [1, [}"; a quote inside a date-like number, "r = 1310-10-\"r"): a
// false assumption is undefined behaviour, and a debug build stops. Here they assume nothing, as GCC already
// compiles them; the parser's own checks that follow report the error.
#include <toml++/impl/preprocessor.h>
#undef TOML_ASSUME
#define TOML_ASSUME(...) static_assert(true)
#undef TOML_ASSERT_ASSUME
#define TOML_ASSERT_ASSUME(...) static_assert(true)
#include <toml++/toml.h>

#include "description/config_loader.h"
#include "parser_text.h"
#include "source_text.h"

namespace brennic::authoring {
namespace {

SourceLocation locationOf(const toml::source_region& region) {
    return {region.begin.line, region.begin.column};
}

// Every key and string the compiler takes from the parsed tree comes through these two, in the source's own
// characters (the parser was shown another form of them, see parser_text.h).
std::string keyOf(const toml::key& key) { return fromParser(key.str()); }

std::optional<std::string> stringOf(const toml::node& node) {
    const auto* value = node.as_string();
    if (value == nullptr) return std::nullopt;
    return fromParser(value->get());
}

// toml++ 3.3 reads a table header whose name starts with a character that cannot start a key under a broken
// precondition (an assertion in debug builds, undefined behaviour where it is compiled as an assumption).
// Such headers are found here first and refused as a syntax error. The scan follows strings, comments and
// brackets far enough to know which lines begin a table header.
std::optional<SourceLocation> malformedTableHeader(std::string_view text) {
    auto bareKey = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    };
    std::uint32_t line = 1;
    std::size_t lineStart = 0;
    int depth = 0;
    bool atLineStart = true;
    auto column = [&](std::size_t at) {
        std::uint32_t count = 1;
        for (std::size_t i = lineStart; i < at; ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
        }
        return count;
    };
    auto skipTo = [&](std::size_t& i, std::string_view end, bool escapes) {
        while (i < text.size() && text.compare(i, end.size(), end) != 0) {
            if (text[i] == '\n') {
                if (end.size() == 1) return;  // a one-line string ends at the line's end
                ++line;
                lineStart = i + 1;
            }
            i += (escapes && text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\n') ? 2u : 1u;
        }
        i = std::min(text.size(), i + end.size());
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = ++i;
            atLineStart = true;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '[' && depth == 0 && atLineStart) {
            std::size_t at = i + 1;
            if (at < text.size() && text[at] == '[') ++at;
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
            if (at < text.size() && !bareKey(text[at]) && text[at] != '"' && text[at] != '\'' && text[at] != ']') {
                return SourceLocation{line, column(at)};
            }
            while (i < text.size() && text[i] != '\n') ++i;  // a header is one line
            continue;
        }
        atLineStart = false;
        if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (text.compare(i, 3, "\"\"\"") == 0) {
            i += 3;
            skipTo(i, "\"\"\"", true);
        } else if (text.compare(i, 3, "\'\'\'") == 0) {
            i += 3;
            skipTo(i, "\'\'\'", false);
        } else if (c == '"' || c == '\'') {
            ++i;
            skipTo(i, c == '"' ? "\"" : "\'", c == '"');
        } else {
            if (c == '[' || c == '{') ++depth;
            if ((c == ']' || c == '}') && depth > 0) --depth;
            ++i;
        }
    }
    return std::nullopt;
}

// Bare keys and table names are ASCII only. A character outside ASCII standing outside strings and comments is
// refused here with a message that says so (the parser would only name the character it did not expect). This
// is for the message only: the parser never sees such characters in a form it cannot classify (parser_text.h).
// A string starts only where a value or key can start (after white space, '=', '[', '{', ',' or '.'), and a
// one-line string ends at a control character, so a letter inside a malformed token is named too.
std::optional<SourceLocation> nonAsciiOutsideStrings(std::string_view text) {
    std::uint32_t line = 1;
    std::size_t lineStart = 0;
    auto column = [&](std::size_t at) {
        std::uint32_t count = 1;
        for (std::size_t i = lineStart; i < at; ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
        }
        return count;
    };
    auto skipTo = [&](std::size_t& i, std::string_view end, bool escapes) {
        while (i < text.size() && text.compare(i, end.size(), end) != 0) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (end.size() == 1 && ((byte < 0x20 && byte != '\t') || byte == 0x7F)) return;  // ends a one-line string
            if (text[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
            i += (escapes && text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\n') ? 2u : 1u;
        }
        i = std::min(text.size(), i + end.size());
    };
    auto stringMayStart = [&](std::size_t at) {
        if (at == 0) return true;
        const char before = text[at - 1];
        return before == ' ' || before == '\t' || before == '\n' || before == '\r' || before == '=' ||
               before == '[' || before == '{' || before == ',' || before == '.';
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = ++i;
        } else if ((c == '"' || c == '\'') && !stringMayStart(i)) {
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (text.compare(i, 3, "\"\"\"") == 0) {
            i += 3;
            skipTo(i, "\"\"\"", true);
        } else if (text.compare(i, 3, "\'\'\'") == 0) {
            i += 3;
            skipTo(i, "\'\'\'", false);
        } else if (c == '"' || c == '\'') {
            ++i;
            skipTo(i, c == '"' ? "\"" : "\'", c == '"');
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            return SourceLocation{line, column(i)};
        } else {
            ++i;
        }
    }
    return std::nullopt;
}

std::string quotedName(std::string_view name) { return "'" + std::string(name) + "'"; }

// One named entry of a kind ([lists.NAME] and so on).
struct Entry {
    std::string name;
    SourceLocation where;
    const toml::table* table = nullptr;
};

struct Kind {
    const char* tableName;    // "lists"
    const char* singular;     // "list"
    std::uint16_t limit;      // count must be below it
    std::vector<Entry> entries;
    std::map<std::string, std::uint16_t, std::less<>> index;
};

class Compiler {
public:
    Compiler(ProgramDescription& description) : description_(description) {}

    CompileOutcome run(std::string_view text, std::string_view sourceName);

private:
    void error(SourceLocation where, std::string message) { outcome_.errors.push_back({where, std::move(message)}); }
    void error(const toml::node& node, std::string message) { error(locationOf(node.source()), std::move(message)); }
    void warning(SourceLocation where, std::string message) {
        outcome_.warnings.push_back({where, std::move(message)});
    }

    void checkKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                   const std::string& owner);
    void collect(const toml::table& root, Kind& kind);
    std::optional<std::string> text(const toml::table& table, std::string_view key, const Entry& owner,
                                    bool required);
    std::optional<std::string> textOf(const toml::node& node, const std::string& what);
    std::optional<std::int64_t> integer(const toml::node& node, std::int64_t low, std::int64_t high,
                                        const std::string& what);
    std::optional<std::uint16_t> reference(const toml::node& node, const Kind& kind, const std::string& what);
    std::vector<std::uint16_t> references(const toml::node& node, const Kind& kind, const std::string& what,
                                          std::size_t maxCount, const char* tooMany);

    void readProgram(const toml::table& root);
    void readBinary(const toml::table& root);
    void readFilters();
    void readManuals();
    void readPaths();
    void readActions();
    void readLists();
    void checkReachableLists();
    void assemble();

    ProgramDescription& description_;
    CompileOutcome outcome_;

    Kind lists_{"lists", "list", kListLimit, {}, {}};
    Kind actions_{"actions", "action", kActionLimit, {}, {}};
    Kind paths_{"paths", "path", kPathSpecLimit, {}, {}};
    Kind manuals_{"manuals", "manual", kManualSpecLimit, {}, {}};
    Kind filters_{"filters", "filter", kFilterTextLimit, {}, {}};

    // What the source says, before it is laid out.
    std::array<std::string, 6> texts_;
    bool descriptionTexts_ = true;
    std::optional<std::uint16_t> firstList_;
    const toml::node* firstListNode_ = nullptr;
    std::uint16_t version_ = 1;
    std::array<std::uint8_t, 6> headerReserved_{};
    std::vector<std::uint16_t> spareListItems_;
    std::vector<std::uint8_t> spareFilterItems_;
    std::vector<std::string> spareStrings_;
    SourceLocation spareStringsWhere_;

    std::vector<std::string> filterTexts_;
    std::vector<std::pair<std::string, std::string>> manualTexts_;
    struct PathOut {
        std::uint8_t dialogKind = 0;
        std::vector<std::uint16_t> filters;
        std::string label;
    };
    std::vector<PathOut> pathsOut_;
    struct ActionOut {
        ActionRecord record;
        std::string caption;
        std::optional<std::string> actionText;
        const toml::node* nextNode = nullptr;
    };
    std::vector<ActionOut> actionsOut_;
    struct ListOut {
        std::vector<std::uint16_t> entries;
        std::string label;
    };
    std::vector<ListOut> listsOut_;
};

void Compiler::checkKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                         const std::string& owner) {
    for (auto&& [key, value] : table) {
        (void)value;
        const std::string keyName = keyOf(key);
        if (std::find(allowed.begin(), allowed.end(), keyName) == allowed.end()) {
            std::string known;
            for (auto name : allowed) {
                if (!known.empty()) known += ", ";
                known += name;
            }
            error(locationOf(key.source()),
                  "unknown key " + quotedName(keyName) + " in " + owner + " (known keys: " + known + ")");
        }
    }
}

void Compiler::collect(const toml::table& root, Kind& kind) {
    const toml::node* node = root.get(kind.tableName);
    if (node == nullptr) return;
    const toml::table* table = node->as_table();
    if (table == nullptr) {
        error(*node, std::string("'") + kind.tableName + "' must be a table of named " + kind.singular +
                         "s, e.g. [" + kind.tableName + ".NAME]");
        return;
    }
    for (auto&& [key, value] : *table) {
        const toml::table* entryTable = value.as_table();
        if (entryTable == nullptr) {
            error(value, std::string(kind.singular) + " " + quotedName(keyOf(key)) + " must be a table");
            continue;
        }
        kind.entries.push_back({keyOf(key), locationOf(key.source()), entryTable});
    }
    std::stable_sort(kind.entries.begin(), kind.entries.end(),
                     [](const Entry& a, const Entry& b) { return a.where < b.where; });
    if (kind.entries.size() >= kind.limit) {
        error(kind.entries[kind.limit - 1u].where,
              std::string("too many ") + kind.singular + "s: at most " + std::to_string(kind.limit - 1) +
                  " are allowed, this is number " + std::to_string(kind.limit));
        kind.entries.resize(kind.limit - 1u);
    }
    for (std::size_t i = 0; i < kind.entries.size(); ++i) {
        kind.index.emplace(kind.entries[i].name, static_cast<std::uint16_t>(i));
    }
}

std::optional<std::string> Compiler::textOf(const toml::node& node, const std::string& what) {
    const auto value = stringOf(node);
    if (!value) {
        error(node, what + " must be a text in double quotes");
        return std::nullopt;
    }
    std::string bytes;
    if (auto problem = encodeText(*value, bytes)) {
        error(node, what + ": " + describe(*problem));
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> Compiler::text(const toml::table& table, std::string_view key, const Entry& owner,
                                          bool required) {
    const toml::node* node = table.get(key);
    const std::string what = owner.name.empty() ? std::string(key) : quotedName(key) + " of " + owner.name;
    if (node == nullptr) {
        if (required) error(owner.where, owner.name + " has no " + quotedName(key));
        return std::nullopt;
    }
    return textOf(*node, what);
}

std::optional<std::int64_t> Compiler::integer(const toml::node& node, std::int64_t low, std::int64_t high,
                                              const std::string& what) {
    const auto* value = node.as_integer();
    if (value == nullptr || value->get() < low || value->get() > high) {
        error(node, what + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
        return std::nullopt;
    }
    return value->get();
}

std::optional<std::uint16_t> Compiler::reference(const toml::node& node, const Kind& kind, const std::string& what) {
    const auto name = stringOf(node);
    if (!name) {
        error(node, what + " must be the name of a " + kind.singular + " in double quotes");
        return std::nullopt;
    }
    const auto found = kind.index.find(*name);
    if (found == kind.index.end()) {
        error(node, what + " names " + quotedName(*name) + ", but there is no [" + kind.tableName + "." + *name +
                        "]");
        return std::nullopt;
    }
    return found->second;
}

std::vector<std::uint16_t> Compiler::references(const toml::node& node, const Kind& kind, const std::string& what,
                                                std::size_t maxCount, const char* tooMany) {
    std::vector<std::uint16_t> result;
    const toml::array* array = node.as_array();
    if (array == nullptr) {
        error(node, what + " must be a list of " + kind.singular + " names, e.g. [\"a\", \"b\"]");
        return result;
    }
    for (std::size_t i = 0; i < array->size(); ++i) {
        const toml::node& element = *array->get(i);
        if (i == maxCount) {
            error(element, what + ": " + tooMany);
            break;
        }
        if (auto index = reference(element, kind, what)) result.push_back(*index);
    }
    return result;
}

void Compiler::readProgram(const toml::table& root) {
    const toml::node* node = root.get("program");
    const toml::table* program = node != nullptr ? node->as_table() : nullptr;
    if (node != nullptr && program == nullptr) {
        error(*node, "'program' must be a table: [program]");
        return;
    }
    static constexpr std::string_view kTextKeys[6] = {"executable",    "folder",  "version", "app-author",
                                                      "config-author", "contact"};
    if (program == nullptr) {
        if (descriptionTexts_) error({1, 1}, "the source has no [program] table (it needs at least 'executable' "
                                             "and 'folder')");
        return;
    }
    checkKeys(*program,
              {"executable", "folder", "version", "app-author", "config-author", "contact", "first-list"},
              "[program]");
    const Entry owner{"[program]", locationOf(program->source()), program};
    for (std::size_t i = 0; i < 6; ++i) {
        if (!descriptionTexts_) {
            if (const toml::node* textNode = program->get(kTextKeys[i])) {
                error(*textNode, quotedName(kTextKeys[i]) +
                                     " cannot be given when [binary] says description-texts = false");
            }
            continue;
        }
        // Without an executable and its folder nothing can be started or saved.
        if (auto value = text(*program, kTextKeys[i], owner, i < 2)) texts_[i] = *value;
    }
    firstListNode_ = program->get("first-list");
}

void Compiler::readBinary(const toml::table& root) {
    const toml::node* node = root.get("binary");
    if (node == nullptr) return;
    const toml::table* binary = node->as_table();
    if (binary == nullptr) {
        error(*node, "'binary' must be a table: [binary]");
        return;
    }
    checkKeys(*binary,
              {"version", "reserved", "description-texts", "spare-list-items", "spare-filter-items",
               "spare-strings"},
              "[binary]");
    if (const toml::node* v = binary->get("version")) {
        if (auto value = integer(*v, ProgramDescription::minVersion, ProgramDescription::maxVersion, "'version'")) {
            version_ = static_cast<std::uint16_t>(*value);
        }
    }
    if (const toml::node* r = binary->get("reserved")) {
        const toml::array* array = r->as_array();
        if (array == nullptr || array->size() != headerReserved_.size()) {
            error(*r, "'reserved' must be a list of 6 byte values, e.g. [0, 0, 0, 0, 0, 0]");
        } else {
            for (std::size_t i = 0; i < headerReserved_.size(); ++i) {
                if (auto value = integer(*array->get(i), 0, 255, "a reserved byte")) {
                    headerReserved_[i] = static_cast<std::uint8_t>(*value);
                }
            }
        }
    }
    if (const toml::node* d = binary->get("description-texts")) {
        if (const auto* flag = d->as_boolean()) {
            descriptionTexts_ = flag->get();
        } else {
            error(*d, "'description-texts' must be true or false");
        }
    }
    if (const toml::node* s = binary->get("spare-strings")) {
        spareStringsWhere_ = locationOf(s->source());
        if (const toml::array* array = s->as_array()) {
            for (auto&& element : *array) {
                if (auto value = textOf(element, "a spare string")) spareStrings_.push_back(*value);
            }
        } else {
            error(*s, "'spare-strings' must be a list of texts");
        }
    }
}

void Compiler::readFilters() {
    for (const Entry& entry : filters_.entries) {
        const std::string owner = "filter " + quotedName(entry.name);
        checkKeys(*entry.table, {"description", "pattern", "pairs", "raw-text"}, owner);
        const toml::table& t = *entry.table;
        const bool single = t.contains("description") || t.contains("pattern");
        const int forms = (single ? 1 : 0) + (t.contains("pairs") ? 1 : 0) + (t.contains("raw-text") ? 1 : 0);
        std::string bytes;
        if (forms != 1) {
            error(entry.where, owner + " needs exactly one of: 'description' with 'pattern', 'pairs', 'raw-text'");
        } else if (const toml::node* raw = t.get("raw-text")) {
            if (auto value = textOf(*raw, "'raw-text' of " + owner)) bytes = *value;
            warning(locationOf(raw->source()),
                    owner + " is given as 'raw-text' and is not checked; the file dialog may show it wrongly");
        } else {
            // Each pair becomes description, byte 1, pattern, byte 1 — the separators the file dialog's list
            // needs. An empty part or a byte 1 inside a part would shift every pair after it.
            auto addPart = [&](const toml::node& node, const char* part) {
                auto value = textOf(node, std::string(part) + " of " + owner);
                if (!value) return;
                if (value->empty()) {
                    error(node, owner + " is not a sequence of description/pattern pairs: its " + part +
                                    " is empty");
                } else if (value->find('\x01') != std::string::npos) {
                    error(node, owner + " is not a sequence of description/pattern pairs: its " + part +
                                    " holds the separator \\u0001");
                }
                bytes += *value;
                bytes.push_back('\x01');
            };
            if (single) {
                const toml::node* description = t.get("description");
                const toml::node* pattern = t.get("pattern");
                if (description == nullptr || pattern == nullptr) {
                    error(entry.where, owner + " is not a sequence of description/pattern pairs: it needs both "
                                               "'description' and 'pattern'");
                } else {
                    addPart(*description, "description");
                    addPart(*pattern, "pattern");
                }
            } else if (const toml::node* pairsNode = t.get("pairs"); pairsNode != nullptr) {
                const toml::array* pairs = pairsNode->as_array();
                if (pairs == nullptr || pairs->empty()) {
                    error(*pairsNode, "'pairs' of " + owner + " must be a list of [description, pattern] pairs");
                } else {
                    for (auto&& pairNode : *pairs) {
                        const toml::array* pair = pairNode.as_array();
                        if (pair == nullptr || pair->size() != 2) {
                            error(pairNode, owner + " is not a sequence of description/pattern pairs: each "
                                                    "element of 'pairs' must be [description, pattern]");
                            continue;
                        }
                        addPart(*pair->get(0), "description");
                        addPart(*pair->get(1), "pattern");
                    }
                }
            }
        }
        filterTexts_.push_back(bytes);
    }
}

void Compiler::readManuals() {
    for (const Entry& entry : manuals_.entries) {
        const Entry owner{"manual " + quotedName(entry.name), entry.where, entry.table};
        checkKeys(*entry.table, {"label", "info"}, owner.name);
        auto label = text(*entry.table, "label", owner, true);
        auto info = text(*entry.table, "info", owner, false);
        manualTexts_.emplace_back(label.value_or(""), info.value_or(""));
    }
}

void Compiler::readPaths() {
    for (const Entry& entry : paths_.entries) {
        const Entry owner{"path " + quotedName(entry.name), entry.where, entry.table};
        checkKeys(*entry.table, {"dialog", "label", "filters"}, owner.name);
        PathOut out;
        if (const toml::node* dialog = entry.table->get("dialog")) {
            if (const auto name = stringOf(*dialog)) {
                const auto* found = std::find(std::begin(kDialogNames), std::end(kDialogNames), *name);
                if (found == std::end(kDialogNames)) {
                    error(*dialog, "'dialog' of " + owner.name +
                                       " must be \"open\", \"save\", \"folder\", \"none\" or a number 0..255");
                } else {
                    out.dialogKind = static_cast<std::uint8_t>(found - std::begin(kDialogNames));
                }
            } else if (auto value = integer(*dialog, 0, 255, "'dialog' of " + owner.name)) {
                out.dialogKind = static_cast<std::uint8_t>(*value);
            }
        } else {
            error(entry.where, owner.name + " has no 'dialog' (\"open\", \"save\", \"folder\" or \"none\")");
        }
        if (auto label = text(*entry.table, "label", owner, true)) out.label = *label;
        if (const toml::node* filters = entry.table->get("filters")) {
            out.filters = references(*filters, filters_, "'filters' of " + owner.name, 255,
                                     "at most 255 filters can belong to one path");
        }
        pathsOut_.push_back(std::move(out));
    }
}

void Compiler::readActions() {
    for (const Entry& entry : actions_.entries) {
        const Entry owner{"action " + quotedName(entry.name), entry.where, entry.table};
        const toml::table& t = *entry.table;
        checkKeys(t,
                  {"caption", "text", "path", "manual", "next", "order", "positions", "text-count", "reserved",
                   "placement-bits-6-7"},
                  owner.name);
        ActionOut out;
        out.caption = text(t, "caption", owner, true).value_or("");
        out.actionText = text(t, "text", owner, false);
        out.record.textCount = out.actionText ? 2u : 1u;
        if (const toml::node* count = t.get("text-count")) {
            if (out.actionText) {
                error(*count, "'text-count' of " + owner.name + " cannot be given together with 'text' (an "
                                                                "action with a text always owns 2 strings)");
            } else if (auto value = integer(*count, 0, 1, "'text-count' of " + owner.name)) {
                out.record.textCount = static_cast<std::uint8_t>(*value);
            }
        }
        if (const toml::node* path = t.get("path")) {
            if (auto index = reference(*path, paths_, "'path' of " + owner.name)) {
                out.record.pathSpecNo = static_cast<std::uint16_t>(*index + 1);
            }
        }
        if (const toml::node* manual = t.get("manual")) {
            if (auto index = reference(*manual, manuals_, "'manual' of " + owner.name)) {
                out.record.manualSpecNo = static_cast<std::uint16_t>(*index + 1);
            }
        }
        if (const toml::node* next = t.get("next")) {
            out.nextNode = next;
            if (auto index = reference(*next, lists_, "'next' of " + owner.name)) {
                out.record.nextListNo = static_cast<std::uint16_t>(*index + 1);
            }
        }

        // Positions of path, action text and manual arguments (0 = no place of its own).
        std::array<std::uint8_t, 3> positions{0, 1, 0};
        const toml::node* order = t.get("order");
        const toml::node* explicitPositions = t.get("positions");
        if (order != nullptr && explicitPositions != nullptr) {
            error(*explicitPositions, owner.name + ": give either 'order' or 'positions', not both");
        } else if (order != nullptr) {
            positions = {0, 0, 0};
            const toml::array* pieces = order->as_array();
            if (pieces == nullptr) {
                error(*order, "'order' of " + owner.name + " must be a list such as [\"action\", \"path\"]");
            } else {
                for (std::size_t i = 0; i < pieces->size(); ++i) {
                    const toml::node& piece = *pieces->get(i);
                    const auto name = stringOf(piece);
                    const auto* found =
                        !name ? std::end(kPieceNames)
                              : std::find(std::begin(kPieceNames), std::end(kPieceNames), *name);
                    if (found == std::end(kPieceNames)) {
                        error(piece, "'order' of " + owner.name + " may hold only \"path\", \"action\" and "
                                                                  "\"manual\"");
                    } else if (positions[static_cast<std::size_t>(found - std::begin(kPieceNames))] != 0) {
                        error(piece, "'order' of " + owner.name + " names " + quotedName(*name) +
                                         " twice; use 'positions' to put two pieces at one place");
                    } else {
                        positions[static_cast<std::size_t>(found - std::begin(kPieceNames))] =
                            static_cast<std::uint8_t>(i + 1);
                    }
                }
            }
        } else if (explicitPositions != nullptr) {
            positions = {0, 0, 0};
            const toml::table* table = explicitPositions->as_table();
            if (table == nullptr) {
                error(*explicitPositions, "'positions' of " + owner.name +
                                              " must be a table such as { action = 1, path = 1 }");
            } else {
                checkKeys(*table, {"path", "action", "manual"}, "'positions' of " + owner.name);
                for (std::size_t i = 0; i < 3; ++i) {
                    if (const toml::node* value = table->get(kPieceNames[i])) {
                        if (auto number = integer(*value, 0, 3, "a position")) {
                            positions[i] = static_cast<std::uint8_t>(*number);
                        }
                    }
                }
            }
        }
        std::uint8_t highBits = 0;
        if (const toml::node* bits = t.get("placement-bits-6-7")) {
            if (auto value = integer(*bits, 0, 3, "'placement-bits-6-7' of " + owner.name)) {
                highBits = static_cast<std::uint8_t>(*value);
            }
        }
        out.record.placement =
            static_cast<std::uint8_t>(positions[0] | (positions[1] << 2) | (positions[2] << 4) | (highBits << 6));
        if (const toml::node* reserved = t.get("reserved")) {
            const toml::array* array = reserved->as_array();
            if (array == nullptr || array->size() != 2) {
                error(*reserved, "'reserved' of " + owner.name + " must be a list of 2 byte values, e.g. [0, 0]");
            } else {
                if (auto b = integer(*array->get(0), 0, 255, "a reserved byte")) {
                    out.record.reserved1 = static_cast<std::uint8_t>(*b);
                }
                if (auto b = integer(*array->get(1), 0, 255, "a reserved byte")) {
                    out.record.reserved2 = static_cast<std::uint8_t>(*b);
                }
            }
        }

        // Pieces that the command line would silently lose.
        const std::string actionText = out.actionText.value_or("");
        if (out.record.pathSpecNo != 0 && positions[0] == 0) {
            const auto mark = actionText.find("p@");
            if (positions[1] == 0 || mark == std::string::npos || mark == 0) {
                warning(entry.where, owner.name + " takes a path that never reaches the command line: give it a "
                                                  "place in 'order' or put p@ into its text (not first)");
            }
        }
        if (out.record.manualSpecNo != 0 && positions[2] == 0) {
            if (positions[1] == 0 || actionText.size() < 3 || actionText.find("m@", 1) == std::string::npos) {
                warning(entry.where, owner.name + " takes manual arguments that never reach the command line: "
                                                  "give them a place in 'order' or put m@ into its text (not "
                                                  "first)");
            }
        }
        actionsOut_.push_back(std::move(out));
    }
}

void Compiler::readLists() {
    for (const Entry& entry : lists_.entries) {
        const Entry owner{"list " + quotedName(entry.name), entry.where, entry.table};
        checkKeys(*entry.table, {"label", "actions"}, owner.name);
        ListOut out;
        out.label = text(*entry.table, "label", owner, true).value_or("");
        if (const toml::node* actions = entry.table->get("actions")) {
            out.entries = references(*actions, actions_, "'actions' of " + owner.name, kMaxListEntries,
                                     "a list holds at most 20 actions");
        } else {
            error(entry.where, owner.name + " has no 'actions'");
        }
        listsOut_.push_back(std::move(out));
    }
}

void Compiler::checkReachableLists() {
    if (lists_.entries.empty()) {
        error({1, 1}, "the source defines no list; the first page needs one ([lists.NAME])");
        return;
    }
    if (firstListNode_ != nullptr) {
        firstList_ = reference(*firstListNode_, lists_, "'first-list'");
    } else {
        firstList_ = 0;
    }
    auto isEmpty = [&](std::size_t list) {
        const toml::node* actions = lists_.entries[list].table->get("actions");
        return actions != nullptr && actions->as_array() != nullptr && actions->as_array()->empty();
    };
    if (firstList_ && isEmpty(*firstList_)) {
        error(lists_.entries[*firstList_].where,
              "list " + quotedName(lists_.entries[*firstList_].name) + " is empty, but the first page shows it");
    }
    for (std::size_t i = 0; i < actionsOut_.size(); ++i) {
        const std::uint16_t next = actionsOut_[i].record.nextListNo;
        if (next == 0 || next > listsOut_.size()) continue;
        if (isEmpty(next - 1u)) {
            error(*actionsOut_[i].nextNode, "'next' of action " + quotedName(actions_.entries[i].name) +
                                                " names list " + quotedName(lists_.entries[next - 1u].name) +
                                                ", which is empty; a page would show no choice");
        }
    }
}

void Compiler::assemble() {
    description_.header = ConfigHeader{};
    description_.actionRecords.clear();
    description_.pathSpecRecords.clear();
    description_.listLengths.clear();
    description_.listItems.clear();
    description_.filterItems.clear();
    description_.stringTable.clear();
    ConfigHeader& header = description_.header;
    header.reserved = headerReserved_;
    header.version = version_;
    header.firstList = firstList_.value_or(0);

    std::vector<std::string>& strings = description_.stringTable;
    if (descriptionTexts_) strings.assign(texts_.begin(), texts_.end());
    for (const ListOut& list : listsOut_) {
        description_.listLengths.push_back(static_cast<std::uint16_t>(list.entries.size()));
        description_.listItems.insert(description_.listItems.end(), list.entries.begin(), list.entries.end());
        strings.push_back(list.label);
    }
    description_.listItems.insert(description_.listItems.end(), spareListItems_.begin(), spareListItems_.end());
    for (const ActionOut& action : actionsOut_) {
        description_.actionRecords.push_back(action.record);
        strings.push_back(action.caption);
        if (action.actionText) strings.push_back(*action.actionText);
    }
    for (const PathOut& path : pathsOut_) {
        description_.pathSpecRecords.push_back({path.dialogKind, static_cast<std::uint8_t>(path.filters.size())});
        for (std::uint16_t filter : path.filters) description_.filterItems.push_back(static_cast<std::uint8_t>(filter));
        strings.push_back(path.label);
    }
    description_.filterItems.insert(description_.filterItems.end(), spareFilterItems_.begin(),
                                    spareFilterItems_.end());
    for (const auto& [label, info] : manualTexts_) {
        strings.push_back(label);
        strings.push_back(info);
    }
    strings.insert(strings.end(), filterTexts_.begin(), filterTexts_.end());
    strings.insert(strings.end(), spareStrings_.begin(), spareStrings_.end());

    if (!descriptionTexts_ && strings.size() >= 6) {
        error(spareStringsWhere_.line != 0 ? spareStringsWhere_ : SourceLocation{1, 1},
              "with description-texts = false the file can hold at most 5 strings (it would hold " +
                  std::to_string(strings.size()) + "), or the first six would be taken as description texts");
    }
    if (strings.size() > std::numeric_limits<std::uint16_t>::max() ||
        description_.listItems.size() > std::numeric_limits<std::uint16_t>::max() ||
        description_.filterItems.size() > std::numeric_limits<std::uint16_t>::max()) {
        error({1, 1}, "the description is too large for the file format (more than 65535 strings or items)");
        return;
    }
    header.stringCount = static_cast<std::uint16_t>(strings.size());
    header.listCount = static_cast<std::uint16_t>(listsOut_.size());
    header.listItemCount = static_cast<std::uint16_t>(description_.listItems.size());
    header.filterItemCount = static_cast<std::uint16_t>(description_.filterItems.size());
    header.actionCount = static_cast<std::uint16_t>(actionsOut_.size());
    header.pathSpecCount = static_cast<std::uint16_t>(pathsOut_.size());
    header.filterTextCount = static_cast<std::uint16_t>(filterTexts_.size());
    header.manualSpecCount = static_cast<std::uint16_t>(manualTexts_.size());
}

CompileOutcome Compiler::run(std::string_view sourceText, std::string_view sourceName) {
    ParserText parserText = toParserText(sourceText);
    if (parserText.refusal) {
        outcome_.errors.push_back(std::move(*parserText.refusal));
        return std::move(outcome_);
    }
    // The scans below and the parser count lines and columns alike over this text: characters, not bytes.
    const std::string_view text = parserText.text;
    if (auto where = malformedTableHeader(text)) {
        error(*where, "a table name must follow '[' (a letter, digit, '-', '_' or a quoted name)");
        return std::move(outcome_);
    }
    if (auto where = nonAsciiOutsideStrings(text)) {
        error(*where, "a character outside ASCII may stand only in a quoted string, a quoted name or a comment");
        return std::move(outcome_);
    }
    toml::table root;
    try {
        root = toml::parse(text, sourceName);
    } catch (const toml::parse_error& failure) {
        error(locationOf(failure.source()), fromParser(failure.description()));
        return std::move(outcome_);
    }

    checkKeys(root, {"program", "binary", "lists", "actions", "paths", "manuals", "filters"}, "the source");
    readBinary(root);
    readProgram(root);
    collect(root, lists_);
    collect(root, actions_);
    collect(root, paths_);
    collect(root, manuals_);
    collect(root, filters_);
    readFilters();
    readManuals();
    readPaths();
    readActions();
    readLists();

    if (const toml::table* binary = root["binary"].as_table()) {
        if (const toml::node* spare = binary->get("spare-list-items")) {
            spareListItems_ = references(*spare, actions_, "'spare-list-items'", 65535, "too many items");
        }
        if (const toml::node* spare = binary->get("spare-filter-items")) {
            for (std::uint16_t filter : references(*spare, filters_, "'spare-filter-items'", 65535, "too many")) {
                spareFilterItems_.push_back(static_cast<std::uint8_t>(filter));
            }
        }
    }
    checkReachableLists();
    if (outcome_.ok()) assemble();

    // Whatever the compiler lets through must also pass the loader's own tests.
    if (outcome_.ok()) {
        if (const char* damage = findDamage(description_)) {
            error(SourceLocation{}, std::string("the compiled description would be refused: ") + damage);
        }
    }
    auto byLocation = [](const Diagnostic& a, const Diagnostic& b) { return a.where < b.where; };
    std::stable_sort(outcome_.errors.begin(), outcome_.errors.end(), byLocation);
    std::stable_sort(outcome_.warnings.begin(), outcome_.warnings.end(), byLocation);
    return std::move(outcome_);
}

}  // namespace

CompileOutcome compileSource(std::string_view sourceText, std::string_view sourceName,
                             ProgramDescription& description) {
    return Compiler(description).run(sourceText, sourceName);
}

std::string formatDiagnostic(std::string_view sourceName, const Diagnostic& diagnostic, bool warning) {
    std::string out(sourceName);
    if (diagnostic.where.line != 0) {
        out += ":" + std::to_string(diagnostic.where.line) + ":" + std::to_string(diagnostic.where.column);
    }
    out += warning ? ": warning: " : ": ";
    out += diagnostic.message;
    return out;
}

}  // namespace brennic::authoring
