// The config writer, the exact inverse of the loader's byte layout.
#include "description/config_writer.h"

#include <stdexcept>
#include <string>

namespace brennic {

namespace {

void putU8(std::vector<std::uint8_t>& out, std::uint8_t value) {
    out.push_back(value);
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint16_t count16(std::size_t value, const char* what) {
    if (value > 0xFFFFu) throw std::length_error(std::string("too many ") + what + " for a config file");
    return static_cast<std::uint16_t>(value);
}

std::uint8_t count8(std::size_t value, const char* what) {
    if (value > 0xFFu) throw std::length_error(std::string(what) + " does not fit in one byte");
    return static_cast<std::uint8_t>(value);
}

// A 1-based reference from a mode flag and a 0-based index.
std::uint16_t reference(std::uint32_t mode, std::uint16_t index) {
    if (mode == 0) return 0;
    return count16(std::size_t{index} + 1u, "table entries");
}

}  // namespace

std::vector<std::uint8_t> writeConfig(const ProgramDescription& d) {
    const ConfigHeader& h = d.header;
    std::vector<std::uint8_t> out;
    for (std::uint8_t b : h.reserved) putU8(out, b);
    for (std::uint16_t field : {h.version, h.stringCount, h.firstList, h.listCount, h.listItemCount,
                                h.filterItemCount, h.actionCount, h.pathSpecCount, h.filterTextCount,
                                h.manualSpecCount})
        putU16(out, field);
    for (const ActionRecord& r : d.actionRecords) {
        putU16(out, r.pathSpecNo);
        putU16(out, r.manualSpecNo);
        putU16(out, r.nextListNo);
        putU8(out, r.textCount);
        putU8(out, r.reserved1);
        putU8(out, r.placement);
        putU8(out, r.reserved2);
    }
    for (const PathSpecRecord& r : d.pathSpecRecords) {
        putU8(out, r.dialogKind);
        putU8(out, r.filterCount);
    }
    for (std::uint16_t v : d.listLengths) putU16(out, v);
    for (std::uint16_t v : d.listItems) putU16(out, v);
    for (std::uint8_t v : d.filterItems) putU8(out, v);
    for (const std::string& s : d.stringTable) {
        if (s.find('\0') != std::string::npos) throw std::invalid_argument("a config string cannot hold a zero byte");
        out.insert(out.end(), s.begin(), s.end());
        putU8(out, 0);
    }
    return out;
}

void rawFromTables(ProgramDescription& d) {
    ConfigHeader& h = d.header;
    d.actionRecords.clear();
    d.pathSpecRecords.clear();
    d.listLengths.clear();
    d.listItems.clear();
    d.filterItems.clear();
    d.stringTable.assign(d.texts.begin(), d.texts.end());

    for (const ActionList& list : d.lists) {
        d.listLengths.push_back(count16(list.entries.size(), "list entries"));
        d.listItems.insert(d.listItems.end(), list.entries.begin(), list.entries.end());
        d.stringTable.push_back(list.label);
    }
    for (const ActionEntry& a : d.actions) {
        ActionRecord r;
        r.pathSpecNo = reference(a.pathMode(), a.pathSpec);
        r.manualSpecNo = reference(a.manualMode(), a.manualSpec);
        r.nextListNo = reference(a.nextMode(), a.nextList);
        r.textCount = a.actionText.empty() ? 1 : 2;
        r.placement = static_cast<std::uint8_t>((a.pathPosition & 3u) | ((a.actionPosition & 3u) << 2) |
                                                ((a.manualPosition & 3u) << 4));
        d.actionRecords.push_back(r);
        d.stringTable.push_back(a.caption);
        if (!a.actionText.empty()) d.stringTable.push_back(a.actionText);
    }
    for (const PathSpec& spec : d.pathSpecs) {
        d.pathSpecRecords.push_back({spec.dialogKind, count8(spec.filters.size(), "a path spec's filters")});
        for (std::uint16_t filter : spec.filters) d.filterItems.push_back(count8(filter, "a filter index"));
        d.stringTable.push_back(spec.label);
    }
    for (const ManualSpec& spec : d.manualSpecs) {
        d.stringTable.push_back(spec.label);
        d.stringTable.push_back(spec.info);
    }
    d.stringTable.insert(d.stringTable.end(), d.filterTexts.begin(), d.filterTexts.end());

    h.stringCount = count16(d.stringTable.size(), "strings");
    h.listCount = count16(d.lists.size(), "lists");
    h.listItemCount = count16(d.listItems.size(), "list items");
    h.filterItemCount = count16(d.filterItems.size(), "filter items");
    h.actionCount = count16(d.actions.size(), "actions");
    h.pathSpecCount = count16(d.pathSpecs.size(), "path specs");
    h.filterTextCount = count16(d.filterTexts.size(), "filter texts");
    h.manualSpecCount = count16(d.manualSpecs.size(), "manual specs");
}

}  // namespace brennic
