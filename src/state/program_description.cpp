// Path operations and look-ups of the program description.
#include "state/program_description.h"

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

bool ProgramDescription::checkSlots(const ArgumentSlot* slots) const {
    for (int i = 0; i < kArgumentCount; ++i) {
        const ArgumentSlot& slot = slots[i];
        if (slot.enabled == 0) continue;
        if (slot.group >= header.listCount || slot.group >= listLengths.size()) return false;
        if (slot.item >= listLengths[slot.group]) return false;
    }
    return true;
}

bool ProgramDescription::savedChainHolds(const ArgumentSlot* slots) const {
    if (slots[0].enabled == 0) return true;
    // Page 1 only ever shows the first list.
    if (slots[0].group != header.firstList) return false;
    for (int k = 0; k + 1 < kArgumentCount; ++k) {
        const ArgumentSlot& slot = slots[k];
        const ArgumentSlot& next = slots[k + 1];
        bool leadsOn = false;
        std::uint16_t nextList = 0;
        if (slot.enabled != 0) {
            if (slot.group >= listLengths.size()) return false;
            std::size_t index = slot.item;
            for (std::size_t list = 0; list < slot.group; ++list) index += listLengths[list];
            if (index >= listItems.size() || listItems[index] >= actionRecords.size()) return false;
            const ActionRecord& action = actionRecords[listItems[index]];
            leadsOn = action.nextListNo != 0;
            nextList = static_cast<std::uint16_t>(action.nextListNo - 1);
        }
        if ((next.enabled != 0) != leadsOn) return false;
        if (leadsOn && next.group != nextList) return false;
    }
    return true;
}

const std::string& ProgramDescription::descriptionText(int index) const {
    static const std::string empty;
    return index >= 0 && index < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(index)] : empty;
}

}  // namespace brennic
