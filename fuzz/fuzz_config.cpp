// The config reader, the checks and the table builder over arbitrary bytes. Nothing may crash or read outside
// a table; a refused file carries exactly one known code; an accepted file builds tables whose every index is in
// range, is written back byte for byte by the writer, and survives a round trip through the writer unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <sstream>
#include <string>

#include "description/config_loader.h"
#include "description/config_writer.h"
#include "description/table_builder.h"
#include "state/argument_slot.h"

namespace {

using namespace brennic;

void fail(int line) {
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}
#define check(condition) ((condition) ? void() : fail(__LINE__))

// Loads and validates; returns true when accepted, else checks the raised record.
bool loadAndValidate(ProgramDescription& d, std::span<const std::uint8_t> bytes) {
    errorVX record;
    try {
        loadDescription(d, bytes, record);
        validateDescription(d, record);
        check(record.raised == 0);
        return true;
    } catch (const errorVX& e) {
        check(e.raised == 1 && e.fileError == 0 && e.configError >= 1 && e.configError <= 4);
        check(!errorMessage(e).empty());
        return false;
    }
}

void checkTables(const ProgramDescription& d, const ConfigHeader& h) {
    check(d.actionRecords.empty() && d.pathSpecRecords.empty() && d.listLengths.empty() && d.listItems.empty() &&
          d.filterItems.empty() && d.stringTable.empty());
    check(d.lists.size() == h.listCount && d.lists.size() >= 1 && d.lists.size() < kListLimit);
    check(d.actions.size() == h.actionCount && d.actions.size() < kActionLimit);
    check(d.pathSpecs.size() == h.pathSpecCount && d.pathSpecs.size() < kPathSpecLimit);
    check(d.manualSpecs.size() == h.manualSpecCount && d.manualSpecs.size() < kManualSpecLimit);
    check(d.filterTexts.size() == h.filterTextCount && d.filterTexts.size() < kFilterTextLimit);
    check(h.firstList < d.lists.size() && !d.lists[h.firstList].entries.empty());
    for (const ActionList& list : d.lists) {
        check(list.entryCount == list.entries.size() && list.entries.size() <= kMaxListEntries);
        for (std::uint16_t entry : list.entries) check(entry < d.actions.size());
    }
    for (const ActionEntry& a : d.actions) {
        check((a.flags & ~0x15u) == 0);
        check(a.pathPosition <= 3 && a.actionPosition <= 3 && a.manualPosition <= 3);
        if (a.nextMode() != 0) {
            check(a.nextList < d.lists.size() && !d.lists[a.nextList].entries.empty());
        } else {
            check(a.nextList == 0);
        }
        check(a.pathMode() != 0 ? a.pathSpec < d.pathSpecs.size() : a.pathSpec == 0);
        check(a.manualMode() != 0 ? a.manualSpec < d.manualSpecs.size() : a.manualSpec == 0);
    }
    for (const PathSpec& spec : d.pathSpecs) {
        check(spec.filterCount == spec.filters.size());
        for (std::uint16_t filter : spec.filters) check(filter < d.filterTexts.size());
    }
    for (std::size_t group = 0; group < d.lists.size(); ++group)
        for (std::size_t item = 0; item < d.lists[group].entries.size(); ++item)
            check(d.selectedEntry(static_cast<std::uint16_t>(group), static_cast<std::uint16_t>(item)) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    ProgramDescription d;
    const bool accepted = loadAndValidate(d, bytes);

    // Reading from a stream gives the same result as reading from memory.
    {
        ProgramDescription fromStream;
        std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
        errorVX record;
        bool streamAccepted = true;
        try {
            loadDescription(fromStream, stream, record);
            validateDescription(fromStream, record);
        } catch (const errorVX&) {
            streamAccepted = false;
        }
        check(streamAccepted == accepted);
        check(fromStream.header == d.header);
        if (accepted) check(fromStream.stringTable == d.stringTable);
    }
    if (!accepted) return 0;

    // The writer puts back exactly the bytes that were read.
    const std::vector<std::uint8_t> written = writeConfig(d);
    check(written.size() <= size && std::equal(written.begin(), written.end(), data));

    // Slot checks on the raw state, with slots taken from the input.
    ArgumentSlots slots{};
    for (std::size_t i = 0; i < slots.size() && size >= 6 * (i + 1); ++i) {
        slots[i].enabled = data[6 * i] & 1;
        slots[i].group = static_cast<std::uint16_t>(data[6 * i + 1] | (data[6 * i + 2] << 8));
        slots[i].item = static_cast<std::uint16_t>(data[6 * i + 3] | (data[6 * i + 4] << 8));
    }
    std::string saveFilePath;
    d.makeSaveFilePath(saveFilePath);
    (void)d.checkSlots(slots.data());

    const ConfigHeader header = d.header;
    check(buildTables(d));
    checkTables(d, header);

    // Built tables written back and read again give the same tables.
    ProgramDescription again = d;
    rawFromTables(again);
    const std::vector<std::uint8_t> rewritten = writeConfig(again);
    ProgramDescription reloaded;
    check(loadAndValidate(reloaded, rewritten));
    check(buildTables(reloaded));
    check(reloaded.texts == d.texts && reloaded.lists == d.lists && reloaded.actions == d.actions &&
          reloaded.pathSpecs == d.pathSpecs && reloaded.manualSpecs == d.manualSpecs &&
          reloaded.filterTexts == d.filterTexts);
    return 0;
}
