#include "config_decompiler.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "config_source.h"
#include "description/config_loader.h"
#include "description/table_builder.h"
#include "platform/text.h"
#include "source_text.h"

namespace brennic::authoring {
namespace {

// Where each kind's strings and array entries lie in a raw description that passed the loader's tests.
struct Layout {
    bool descriptionTexts = false;
    std::size_t listLabels = 0;    // first string of each kind
    std::vector<std::size_t> actionStrings;
    std::size_t pathLabels = 0;
    std::size_t manualTexts = 0;
    std::size_t filterTexts = 0;
    std::size_t spareStrings = 0;  // first string no table takes
    std::vector<std::size_t> listStart;    // first listItems entry of each list
    std::size_t spareListItems = 0;
    std::vector<std::size_t> filterStart;  // first filterItems entry of each path
    std::size_t spareFilterItems = 0;
};

Layout layoutOf(const ProgramDescription& raw) {
    Layout layout;
    const ConfigHeader& h = raw.header;
    std::size_t cursor = 0;
    layout.descriptionTexts = h.stringCount >= 6;
    if (layout.descriptionTexts) cursor = 6;
    layout.listLabels = cursor;
    cursor += h.listCount;
    for (const ActionRecord& record : raw.actionRecords) {
        layout.actionStrings.push_back(cursor);
        cursor += record.textCount == 2 ? 2 : 1;
    }
    layout.pathLabels = cursor;
    cursor += h.pathSpecCount;
    layout.manualTexts = cursor;
    cursor += 2u * h.manualSpecCount;
    layout.filterTexts = cursor;
    cursor += h.filterTextCount;
    layout.spareStrings = cursor;

    std::size_t item = 0;
    for (std::uint16_t length : raw.listLengths) {
        layout.listStart.push_back(item);
        item += length;
    }
    layout.spareListItems = item;
    item = 0;
    for (const PathSpecRecord& record : raw.pathSpecRecords) {
        layout.filterStart.push_back(item);
        item += record.filterCount;
    }
    layout.spareFilterItems = item;
    return layout;
}

std::string name(const char* prefix, std::size_t index) { return prefix + std::to_string(index + 1); }

// A stored text as a TOML string. Texts that claim to be UTF-8 but are not cannot be written as source (see
// firstMalformedText); their malformed bytes show as U+FFFD.
std::string quoted(const std::string& bytes, TextForm form) {
    return tomlQuoted(decodeText(bytes, form).value_or(validUtf8(bytes)));
}

// A file name for the leading comment: one line, whatever bytes the name holds.
std::string commentText(std::string_view name) {
    std::string text = validUtf8(name);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return text;
}

template <typename Names>
std::string nameList(const Names& indices, const char* prefix) {
    std::string out = "[";
    bool first = true;
    for (auto index : indices) {
        if (!first) out += ", ";
        first = false;
        out += "\"" + name(prefix, index) + "\"";
    }
    return out + "]";
}

std::string byteList(const std::uint8_t* bytes, std::size_t count) {
    std::string out = "[";
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) out += ", ";
        out += std::to_string(bytes[i]);
    }
    return out + "]";
}

// The `order` form of three positions when the placed pieces occupy places 1..k once each.
bool orderOf(const std::array<unsigned, 3>& positions, std::string& order) {
    std::array<int, 4> pieceAt{-1, -1, -1, -1};
    unsigned placed = 0;
    for (std::size_t piece = 0; piece < 3; ++piece) {
        const unsigned place = positions[piece];
        if (place == 0) continue;
        if (pieceAt[place] != -1) return false;
        pieceAt[place] = static_cast<int>(piece);
        ++placed;
    }
    order = "[";
    for (unsigned place = 1; place <= placed; ++place) {
        if (pieceAt[place] == -1) return false;
        if (place != 1) order += ", ";
        order += "\"" + std::string(kPieceNames[static_cast<std::size_t>(pieceAt[place])]) + "\"";
    }
    order += "]";
    return true;
}

}  // namespace

bool splitFilterText(std::string_view text, std::vector<std::pair<std::string, std::string>>& pairs) {
    pairs.clear();
    if (text.empty() || text.back() != '\x01') return false;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\x01', start);
        if (end == start) return false;  // an empty part
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (parts.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
    return true;
}

std::optional<std::size_t> firstMalformedText(const ProgramDescription& raw) {
    if (textFormOf(raw.header) != TextForm::kUtf8) return std::nullopt;
    for (std::size_t i = 0; i < raw.stringTable.size(); ++i) {
        if (!isUtf8(raw.stringTable[i])) return i;
    }
    return std::nullopt;
}

std::string decompileDescription(const ProgramDescription& raw, std::string_view origin) {
    const ConfigHeader& h = raw.header;
    const Layout layout = layoutOf(raw);
    const auto& s = raw.stringTable;
    const TextForm form = textFormOf(h);
    auto quoted = [form](const std::string& bytes) { return authoring::quoted(bytes, form); };
    std::string out;
    out += "# Brennic program description";
    if (!origin.empty()) out += ", decompiled from " + commentText(origin);
    out += ".\n# Names were generated; rename them freely. Compile with: vxtool compile SOURCE -o prog.vx\n\n";

    out += "[program]\n";
    static constexpr const char* kTextKeys[6] = {"executable",    "folder",  "version", "app-author",
                                                 "config-author", "contact"};
    if (layout.descriptionTexts) {
        for (std::size_t i = 0; i < 6; ++i) out += std::string(kTextKeys[i]) + " = " + quoted(s[i]) + "\n";
    }
    out += "first-list = \"" + name("list", h.firstList) + "\"\n";

    // The compiler chooses the form from the texts: a key is needed only where the texts alone would choose
    // the other one. The UTF-8 form's marker stands for itself, so its reserved bytes are never written.
    bool asciiTexts = true;
    for (const std::string& text : s) asciiTexts = asciiTexts && isAscii(text);
    const char* encodingKey = nullptr;
    if (form == TextForm::kUtf8 && asciiTexts) encodingKey = "utf-8";
    if (form == TextForm::kLegacy && !asciiTexts) encodingKey = "cp1252";
    const bool reservedSet = form == TextForm::kLegacy && h.reserved != std::array<std::uint8_t, 6>{};
    const bool spareLists = layout.spareListItems < raw.listItems.size();
    const bool spareFilters = layout.spareFilterItems < raw.filterItems.size();
    const bool spareStrings = layout.spareStrings < s.size();
    if (h.version != 1 || encodingKey != nullptr || reservedSet || !layout.descriptionTexts || spareLists ||
        spareFilters || spareStrings) {
        out += "\n[binary]\n";
        if (h.version != 1) out += "version = " + std::to_string(h.version) + "\n";
        if (encodingKey != nullptr) out += "text-encoding = \"" + std::string(encodingKey) + "\"\n";
        if (reservedSet) out += "reserved = " + byteList(h.reserved.data(), h.reserved.size()) + "\n";
        if (!layout.descriptionTexts) out += "description-texts = false\n";
        if (spareLists) {
            std::vector<std::uint16_t> items(raw.listItems.begin() + static_cast<std::ptrdiff_t>(layout.spareListItems),
                                             raw.listItems.end());
            out += "spare-list-items = " + nameList(items, "action") + "\n";
        }
        if (spareFilters) {
            std::vector<std::uint8_t> items(
                raw.filterItems.begin() + static_cast<std::ptrdiff_t>(layout.spareFilterItems), raw.filterItems.end());
            out += "spare-filter-items = " + nameList(items, "filter") + "\n";
        }
        if (spareStrings) {
            out += "spare-strings = [";
            for (std::size_t i = layout.spareStrings; i < s.size(); ++i) {
                if (i != layout.spareStrings) out += ", ";
                out += quoted(s[i]);
            }
            out += "]\n";
        }
    }

    for (std::size_t i = 0; i < h.listCount; ++i) {
        out += "\n[lists." + name("list", i) + "]\n";
        out += "label = " + quoted(s[layout.listLabels + i]) + "\n";
        const auto first = raw.listItems.begin() + static_cast<std::ptrdiff_t>(layout.listStart[i]);
        out += "actions = " + nameList(std::vector<std::uint16_t>(first, first + raw.listLengths[i]), "action") + "\n";
    }

    for (std::size_t i = 0; i < h.actionCount; ++i) {
        const ActionRecord& r = raw.actionRecords[i];
        out += "\n[actions." + name("action", i) + "]\n";
        out += "caption = " + quoted(s[layout.actionStrings[i]]) + "\n";
        if (r.textCount == 2) {
            out += "text = " + quoted(s[layout.actionStrings[i] + 1]) + "\n";
        } else if (r.textCount == 0) {
            out += "text-count = 0\n";
        }
        if (r.pathSpecNo != 0) out += "path = \"" + name("path", r.pathSpecNo - 1u) + "\"\n";
        if (r.manualSpecNo != 0) out += "manual = \"" + name("manual", r.manualSpecNo - 1u) + "\"\n";
        if (r.nextListNo != 0) out += "next = \"" + name("list", r.nextListNo - 1u) + "\"\n";
        const std::array<unsigned, 3> positions{r.placement & 3u, (r.placement >> 2) & 3u, (r.placement >> 4) & 3u};
        std::string order;
        if (orderOf(positions, order)) {
            out += "order = " + order + "\n";
        } else {
            out += "positions = { path = " + std::to_string(positions[0]) + ", action = " +
                   std::to_string(positions[1]) + ", manual = " + std::to_string(positions[2]) + " }\n";
        }
        if ((r.placement >> 6) != 0) out += "placement-bits-6-7 = " + std::to_string(r.placement >> 6) + "\n";
        if (r.reserved1 != 0 || r.reserved2 != 0) {
            const std::uint8_t bytes[2] = {r.reserved1, r.reserved2};
            out += "reserved = " + byteList(bytes, 2) + "\n";
        }
    }

    for (std::size_t i = 0; i < h.pathSpecCount; ++i) {
        const PathSpecRecord& r = raw.pathSpecRecords[i];
        out += "\n[paths." + name("path", i) + "]\n";
        if (r.dialogKind < 4) {
            out += "dialog = \"" + std::string(kDialogNames[r.dialogKind]) + "\"\n";
        } else {
            out += "dialog = " + std::to_string(r.dialogKind) + "\n";
        }
        out += "label = " + quoted(s[layout.pathLabels + i]) + "\n";
        const auto first = raw.filterItems.begin() + static_cast<std::ptrdiff_t>(layout.filterStart[i]);
        out += "filters = " + nameList(std::vector<std::uint8_t>(first, first + r.filterCount), "filter") + "\n";
    }

    for (std::size_t i = 0; i < h.manualSpecCount; ++i) {
        out += "\n[manuals." + name("manual", i) + "]\n";
        out += "label = " + quoted(s[layout.manualTexts + 2 * i]) + "\n";
        out += "info = " + quoted(s[layout.manualTexts + 2 * i + 1]) + "\n";
    }

    for (std::size_t i = 0; i < h.filterTextCount; ++i) {
        const std::string& text = s[layout.filterTexts + i];
        out += "\n[filters." + name("filter", i) + "]\n";
        std::vector<std::pair<std::string, std::string>> pairs;
        if (!splitFilterText(text, pairs)) {
            out += "# Not a sequence of description/pattern pairs: the file dialog may show it wrongly.\n";
            out += "raw-text = " + quoted(text) + "\n";
        } else if (pairs.size() == 1) {
            out += "description = " + quoted(pairs[0].first) + "\n";
            out += "pattern = " + quoted(pairs[0].second) + "\n";
        } else {
            out += "pairs = [\n";
            for (const auto& [description, pattern] : pairs) {
                out += "    [" + quoted(description) + ", " + quoted(pattern) + "],\n";
            }
            out += "]\n";
        }
    }
    return out;
}

std::string dumpDescription(const ProgramDescription& raw) {
    const ConfigHeader& h = raw.header;
    const Layout layout = layoutOf(raw);
    std::string out;
    auto line = [&out](const std::string& key, const std::string& value) { out += key + " = " + value + "\n"; };
    auto numbers = [](const auto& values) {
        std::string text;
        for (auto value : values) {
            if (!text.empty()) text += ' ';
            text += std::to_string(value);
        }
        return text.empty() ? std::string("-") : text;
    };

    const TextForm form = textFormOf(h);
    std::vector<unsigned> reserved(h.reserved.begin(), h.reserved.end());
    line("header.reserved", numbers(reserved) + (form == TextForm::kUtf8 ? " (UTF-8 texts)" : ""));
    line("header.version", std::to_string(h.version));
    line("header.stringCount", std::to_string(h.stringCount));
    line("header.firstList", std::to_string(h.firstList));
    line("header.listCount", std::to_string(h.listCount));
    line("header.listItemCount", std::to_string(h.listItemCount));
    line("header.filterItemCount", std::to_string(h.filterItemCount));
    line("header.actionCount", std::to_string(h.actionCount));
    line("header.pathSpecCount", std::to_string(h.pathSpecCount));
    line("header.filterTextCount", std::to_string(h.filterTextCount));
    line("header.manualSpecCount", std::to_string(h.manualSpecCount));

    ProgramDescription built;
    built.header = raw.header;
    built.actionRecords = raw.actionRecords;
    built.pathSpecRecords = raw.pathSpecRecords;
    built.listLengths = raw.listLengths;
    built.listItems = raw.listItems;
    built.filterItems = raw.filterItems;
    built.stringTable = raw.stringTable;
    if (!buildTables(built)) {
        out += "error = \"the tables cannot be built\"\n";
        return out;
    }

    static constexpr const char* kTextNames[6] = {"executableName", "programFolderName", "versionText",
                                                  "appAuthor",      "cnfAuthor",         "contactText"};
    line("texts.present", layout.descriptionTexts ? "yes" : "no");
    for (std::size_t i = 0; i < 6; ++i) {
        line(std::string("texts.") + kTextNames[i], dumpQuoted(built.texts[i], form));
    }

    for (std::size_t i = 0; i < built.lists.size(); ++i) {
        const std::string key = "list[" + std::to_string(i) + "]";
        line(key + ".label", dumpQuoted(built.lists[i].label, form));
        line(key + ".entries", numbers(built.lists[i].entries));
    }
    for (std::size_t i = 0; i < built.actions.size(); ++i) {
        const ActionEntry& a = built.actions[i];
        const ActionRecord& r = raw.actionRecords[i];
        const std::string key = "action[" + std::to_string(i) + "]";
        line(key + ".caption", dumpQuoted(a.caption, form));
        line(key + ".actionText", dumpQuoted(a.actionText, form));
        line(key + ".textCount", std::to_string(r.textCount));
        line(key + ".positions", "path " + std::to_string(a.pathPosition) + ", action " +
                                     std::to_string(a.actionPosition) + ", manual " +
                                     std::to_string(a.manualPosition));
        line(key + ".placementBits67", std::to_string(r.placement >> 6));
        line(key + ".next", a.nextMode() != 0 ? "list " + std::to_string(a.nextList) : std::string("none"));
        line(key + ".pathSpec", a.pathMode() != 0 ? std::to_string(a.pathSpec) : std::string("none"));
        line(key + ".manualSpec", a.manualMode() != 0 ? std::to_string(a.manualSpec) : std::string("none"));
        line(key + ".reserved", std::to_string(r.reserved1) + " " + std::to_string(r.reserved2));
    }
    for (std::size_t i = 0; i < built.pathSpecs.size(); ++i) {
        const PathSpec& p = built.pathSpecs[i];
        const std::string key = "pathSpec[" + std::to_string(i) + "]";
        std::string kind = std::to_string(p.dialogKind);
        if (p.dialogKind < 3) kind += std::string(" (") + std::string(kDialogNames[p.dialogKind]) + ")";
        else kind += " (no dialog)";
        line(key + ".dialogKind", kind);
        line(key + ".label", dumpQuoted(p.label, form));
        line(key + ".filters", numbers(p.filters));
    }
    for (std::size_t i = 0; i < built.manualSpecs.size(); ++i) {
        const std::string key = "manualSpec[" + std::to_string(i) + "]";
        line(key + ".label", dumpQuoted(built.manualSpecs[i].label, form));
        line(key + ".info", dumpQuoted(built.manualSpecs[i].info, form));
    }
    for (std::size_t i = 0; i < built.filterTexts.size(); ++i) {
        line("filterText[" + std::to_string(i) + "]", dumpQuoted(built.filterTexts[i], form));
    }
    std::vector<unsigned> spareLists(raw.listItems.begin() + static_cast<std::ptrdiff_t>(layout.spareListItems),
                                     raw.listItems.end());
    std::vector<unsigned> spareFilters(
        raw.filterItems.begin() + static_cast<std::ptrdiff_t>(layout.spareFilterItems), raw.filterItems.end());
    line("unused.listItems", numbers(spareLists));
    line("unused.filterItems", numbers(spareFilters));
    for (std::size_t i = layout.spareStrings; i < raw.stringTable.size(); ++i) {
        line("unused.string[" + std::to_string(i) + "]", dumpQuoted(raw.stringTable[i], form));
    }
    return out;
}

}  // namespace brennic::authoring
