// Path operations and look-ups of the program description.
#include "state/program_description.h"

#include <algorithm>

#include "state/argument_slot.h"

namespace brennic {

std::string fileStem(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {

// The text up to, not including, the last backslash; the whole text when it has none.
std::string beforeLastBackslash(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

}  // namespace

void ProgramDescription::setProgramsFolderFromPath(std::string& path) {
    programsFolder = beforeLastBackslash(path) + '\\';
    path = programsFolder;
}

void ProgramDescription::setProgramsFolder(const std::string& folder, std::string& saveFilePath) {
    programsFolder = folder + '\\';
    saveFilePath = programsFolder + programFolderName() + '\\' + fileStem(executableName()) + ".as";
}

void ProgramDescription::makeSaveFilePath(std::string& saveFilePath) const {
    // Reads the raw string table: runs between loading and buildTables, on a table of at least two strings.
    const std::string empty;
    const std::string& exe = stringTable.size() > 0 ? stringTable[0] : empty;
    const std::string& folder = stringTable.size() > 1 ? stringTable[1] : empty;
    saveFilePath = programsFolder + folder + '\\' + fileStem(exe) + ".as";
}

void ProgramDescription::makeExecutablePath(std::string& appExePath) const {
    appExePath = programsFolder + programFolderName() + '\\' + executableName();
}

const ActionEntry* ProgramDescription::selectedEntry(std::uint16_t group, std::uint16_t item) const {
    if (group >= lists.size()) return nullptr;
    const ActionList& list = lists[group];
    if (item >= list.entries.size()) return nullptr;
    const std::uint16_t action = list.entries[item];
    return action < actions.size() ? &actions[action] : nullptr;
}

std::string ProgramDescription::argumentFolder(const ArgumentSlot& slot) const {
    const ActionEntry* entry = selectedEntry(slot.group, slot.item);
    const bool fileDialog =
        entry && entry->pathMode() != 0 && entry->pathSpec < pathSpecs.size() &&
        pathSpecs[entry->pathSpec].dialogKind < kFolderDialog;
    if (!fileDialog) return slot.path;
    const auto slash = slot.path.rfind('\\');
    return slash == std::string::npos ? slot.path : slot.path.substr(0, slash + 1);
}

namespace {

// The lists' shape, from the raw arrays before buildTables and from the built tables after it.
struct ListShape {
    const ProgramDescription& d;
    bool raw;

    explicit ListShape(const ProgramDescription& description)
        : d(description), raw(!description.listLengths.empty() || description.lists.empty()) {}

    std::size_t listCount() const {
        return raw ? std::min<std::size_t>(d.header.listCount, d.listLengths.size()) : d.lists.size();
    }
    std::size_t entryCount(std::uint16_t group) const {
        return raw ? d.listLengths[group] : d.lists[group].entries.size();
    }
    // Whether the entry leads on, and to which list; false also when the entry names no action.
    bool leadsOn(std::uint16_t group, std::uint16_t item, std::uint16_t& nextList, bool& known) const {
        known = false;
        if (raw) {
            if (group >= d.listLengths.size()) return false;
            std::size_t index = item;
            for (std::size_t list = 0; list < group; ++list) index += d.listLengths[list];
            if (index >= d.listItems.size() || d.listItems[index] >= d.actionRecords.size()) return false;
            const ActionRecord& action = d.actionRecords[d.listItems[index]];
            known = true;
            nextList = static_cast<std::uint16_t>(action.nextListNo - 1);
            return action.nextListNo != 0;
        }
        const ActionEntry* entry = d.selectedEntry(group, item);
        if (entry == nullptr) return false;
        known = true;
        nextList = entry->nextList;
        return entry->nextMode() != 0;
    }
};

using SlotMisfit = ProgramDescription::SlotMisfit;

SlotMisfit indexMisfit(const ListShape& shape, const ArgumentSlot* slots) {
    for (int i = 0; i < kArgumentCount; ++i) {
        const ArgumentSlot& slot = slots[i];
        if (slot.enabled == 0) continue;
        if (slot.group >= shape.listCount())
            return {SlotMisfit::kNoSuchList, i, slot.group, slot.item, shape.listCount()};
        if (slot.item >= shape.entryCount(slot.group))
            return {SlotMisfit::kNoSuchEntry, i, slot.group, slot.item, shape.entryCount(slot.group)};
    }
    return {};
}

// Page 1 shows firstList; page k+1 is in use exactly while page k is in use and its entry leads on, and then
// shows that entry's next list.
SlotMisfit chainMisfit(const ListShape& shape, const ProgramDescription& d, const ArgumentSlot* slots) {
    if (slots[0].enabled == 0) return {};
    if (slots[0].group != d.header.firstList) return {SlotMisfit::kBrokenChain, 0, slots[0].group, slots[0].item, 0};
    for (int k = 0; k + 1 < kArgumentCount; ++k) {
        const ArgumentSlot& slot = slots[k];
        const ArgumentSlot& next = slots[k + 1];
        bool leadsOn = false;
        std::uint16_t nextList = 0;
        if (slot.enabled != 0) {
            bool known = false;
            leadsOn = shape.leadsOn(slot.group, slot.item, nextList, known);
            if (!known) return {SlotMisfit::kBrokenChain, k, slot.group, slot.item, 0};
        }
        if ((next.enabled != 0) != leadsOn || (leadsOn && next.group != nextList))
            return {SlotMisfit::kBrokenChain, k + 1, next.group, next.item, 0};
    }
    return {};
}

}  // namespace

bool ProgramDescription::checkSlots(const ArgumentSlot* slots) const {
    return indexMisfit(ListShape(*this), slots).kind == SlotMisfit::kFits;
}

bool ProgramDescription::savedChainHolds(const ArgumentSlot* slots) const {
    return chainMisfit(ListShape(*this), *this, slots).kind == SlotMisfit::kFits;
}

ProgramDescription::SlotMisfit ProgramDescription::findSlotMisfit(const ArgumentSlot* slots) const {
    const ListShape shape(*this);
    const SlotMisfit index = indexMisfit(shape, slots);
    return index.kind != SlotMisfit::kFits ? index : chainMisfit(shape, *this, slots);
}

const std::string& ProgramDescription::descriptionText(int index) const {
    static const std::string empty;
    return index >= 0 && index < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(index)] : empty;
}

}  // namespace brennic
