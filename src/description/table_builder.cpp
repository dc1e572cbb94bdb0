// The table builder: one string cursor walks the string table in the order the file stores its strings.
#include "description/table_builder.h"

#include <utility>

#include "description/config_loader.h"

namespace brennic {

namespace {

template <typename T>
void release(std::vector<T>& raw) {
    std::vector<T>().swap(raw);
}

}  // namespace

bool buildTables(ProgramDescription& d) {
    if (findDamage(d) != nullptr) return false;
    const ConfigHeader& h = d.header;
    const std::vector<std::string>& strings = d.stringTable;
    std::size_t cursor = 0;

    if (h.stringCount >= 6) {
        for (std::size_t i = 0; i < d.texts.size(); ++i) d.texts[i] = strings[i];
        cursor = 6;
    }

    d.lists.clear();
    if (h.listCount >= 1 && h.listCount < kListLimit) {
        d.lists.resize(h.listCount);
        std::size_t item = 0;
        for (std::size_t i = 0; i < h.listCount; ++i) {
            ActionList& list = d.lists[i];
            list.entryCount = d.listLengths[i];
            list.entries.assign(d.listItems.begin() + static_cast<std::ptrdiff_t>(item),
                                d.listItems.begin() + static_cast<std::ptrdiff_t>(item + list.entryCount));
            item += list.entryCount;
        }
        for (std::size_t i = 0; i < h.listCount; ++i) d.lists[i].label = strings[cursor + i];
        cursor += h.listCount;
    }
    release(d.listLengths);
    release(d.listItems);

    d.actions.clear();
    if (h.actionCount >= 1 && h.actionCount < kActionLimit) {
        d.actions.resize(h.actionCount);
        for (std::size_t i = 0; i < h.actionCount; ++i) {
            const ActionRecord& r = d.actionRecords[i];
            ActionEntry& a = d.actions[i];
            a.caption = strings[cursor++];
            if (r.textCount > 1) a.actionText = strings[cursor++];
            if (r.nextListNo != 0) {
                a.nextList = static_cast<std::uint16_t>(r.nextListNo - 1u);
                a.flags |= 1u;
            }
            a.pathPosition = static_cast<std::uint8_t>(r.placement & 3u);
            a.actionPosition = static_cast<std::uint8_t>((r.placement >> 2) & 3u);
            a.manualPosition = static_cast<std::uint8_t>((r.placement >> 4) & 3u);
            if (r.pathSpecNo != 0) {
                a.pathSpec = static_cast<std::uint16_t>(r.pathSpecNo - 1u);
                a.flags |= 1u << 2;
            }
            if (r.manualSpecNo != 0) {
                a.manualSpec = static_cast<std::uint16_t>(r.manualSpecNo - 1u);
                a.flags |= 1u << 4;
            }
        }
    }
    release(d.actionRecords);

    d.pathSpecs.clear();
    if (h.pathSpecCount >= 1 && h.pathSpecCount < kPathSpecLimit) {
        d.pathSpecs.resize(h.pathSpecCount);
        std::size_t filterItem = 0;
        for (std::size_t j = 0; j < h.pathSpecCount; ++j) {
            const PathSpecRecord& r = d.pathSpecRecords[j];
            PathSpec& spec = d.pathSpecs[j];
            spec.dialogKind = r.dialogKind;
            spec.filterCount = r.filterCount;
            for (std::size_t k = 0; k < r.filterCount; ++k) spec.filters.push_back(d.filterItems[filterItem++]);
            spec.label = strings[cursor + j];
        }
        cursor += h.pathSpecCount;
    }
    release(d.pathSpecRecords);
    release(d.filterItems);

    d.manualSpecs.clear();
    if (h.manualSpecCount >= 1 && h.manualSpecCount < kManualSpecLimit) {
        d.manualSpecs.resize(h.manualSpecCount);
        for (ManualSpec& spec : d.manualSpecs) {
            spec.label = strings[cursor];
            spec.info = strings[cursor + 1];
            cursor += 2;
        }
    }

    d.filterTexts.clear();
    if (h.filterTextCount >= 1 && h.filterTextCount < kFilterTextLimit)
        d.filterTexts.assign(strings.begin() + static_cast<std::ptrdiff_t>(cursor),
                             strings.begin() + static_cast<std::ptrdiff_t>(cursor + h.filterTextCount));

    release(d.stringTable);
    return true;
}

}  // namespace brennic
