// A fuzzed config and a fuzzed save file through the start-up steps that join them: load and validate the
// config, restore the saved page state against it, build the tables. Input: two bytes (little-endian) giving
// the save file's length, the save file, then the config file.
//
// Whatever restoreSavedState accepts must name an entry of the built tables on every page in use, and a
// rejected state must leave the pages empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "description/config_loader.h"
#include "description/table_builder.h"
#include "fake_file_store.h"
#include "fake_platform.h"
#include "persist/save_file.h"
#include "platform/text.h"

namespace {

const brennic::Windows1252 kCodePage;  // stands for the system's ANSI code page

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t saveSize = std::min<std::size_t>(size - 2, data[0] | (std::size_t{data[1]} << 8));
    const std::string saveBytes(reinterpret_cast<const char*>(data + 2), saveSize);
    const std::span<const std::uint8_t> configBytes(data + 2 + saveSize, size - 2 - saveSize);

    brennic::ProgramDescription description;
    brennic::errorVX error;
    try {
        brennic::loadDescription(description, configBytes, error);
        brennic::validateDescription(description, error);
    } catch (const brennic::errorVX&) {
        return 0;
    }

    description.programsFolder = "C:\\Programs\\";
    std::string saveFilePath;
    description.makeSaveFilePath(saveFilePath);
    brennic::test::FakeFileStore files;
    files.files[saveFilePath] = saveBytes;
    brennic::test::FakeMessageBoxes boxes;
    boxes.answers = {brennic::kIdNo};  // keep the damaged file

    brennic::ArgumentSlots slots{};
    const bool valid = brennic::restoreSavedState(slots, description, saveFilePath, files, boxes, kCodePage);
    if (!brennic::buildTables(description)) std::abort();  // validated raw state must always build

    for (const brennic::ArgumentSlot& slot : slots) {
        if (!valid) {
            if (slot.enabled != 0 || !slot.path.empty() || !slot.manualText.empty()) std::abort();
            continue;
        }
        if (slot.enabled == 0) continue;
        const brennic::ActionEntry* entry = description.selectedEntry(slot.group, slot.item);
        if (entry == nullptr) std::abort();
        if (entry->pathMode() != 0 && entry->pathSpec >= description.pathSpecs.size()) std::abort();
        if (entry->manualMode() != 0 && entry->manualSpec >= description.manualSpecs.size()) std::abort();
        if (entry->nextMode() != 0 && entry->nextList >= description.lists.size()) std::abort();
        (void)description.argumentFolder(slot);
    }
    if (files.files.count(saveFilePath) == 0) std::abort();  // answered No: the file stays
    return 0;
}
