// Loading and saving the user options.
#include "persist/options.h"

#include <array>
#include <cstring>

#include "state/argument_slot.h"
#include "platform/text.h"

namespace brennic {

namespace {

constexpr std::array<const char*, kIntegerOptionCount> kIntegerNames = {
    "user dir", "console opt ", "start sound", "path clr", "margs clr", "show warn"};

constexpr int kConsoleOpt = 1;

// The largest value each integer option may hold.
constexpr std::array<std::uint32_t, kIntegerOptionCount> kUpperBounds = {1, 2, 1, 1, 1, 1};

constexpr const char* kSaveCaption = "Save Cnf err";

std::uint32_t clampOption(int index, std::uint32_t value) {
    const std::uint32_t upper = kUpperBounds[static_cast<std::size_t>(index)];
    if (index == kConsoleOpt) return value > upper ? upper : value;
    return value != 0 ? 1u : 0u;  // userDir and the on/off options: anything but 0 means on
}

// A stored text without its terminating NUL; a value that carries NULs ends at the first one.
std::string storedText(const std::string& data) {
    const auto nul = data.find('\0');
    return nul == std::string::npos ? data : data.substr(0, nul);
}

// The on/off values added after the six, each with its field; anything but 0 means on, as for the six.
struct AddedOption {
    const char* name;
    std::uint32_t AppOptions::*field;
};
constexpr AddedOption kAddedOptions[] = {{kKeepPagesAtExitName, &AppOptions::keepPagesAtExit}};

void loadAddedOptions(SettingsStore& store, AppOptions& options) {
    for (const AddedOption& added : kAddedOptions) {
        StoredValue value;
        if (!store.read(added.name, value)) continue;
        if (value.type != kStoreDword || value.data.size() != sizeof(std::uint32_t)) continue;
        std::uint32_t number = 0;
        std::memcpy(&number, value.data.data(), sizeof number);
        options.*added.field = number != 0 ? 1u : 0u;
    }
}

// Same steps and messages as for the six values; 0 when written or left alone, 1 after a failure.
int saveAddedOptions(SettingsStore& store, MessageBoxes& boxes, const AppOptions& options) {
    for (const AddedOption& added : kAddedOptions) {
        const std::uint32_t value = options.*added.field;
        StoredValue stored;
        if (value == 0 && !store.read(added.name, stored)) continue;
        if (!store.createKey()) {
            boxes.show("Cant create key", kSaveCaption, kMbOk | kMbIconError);
            return 1;
        }
        const bool written = store.writeDword(added.name, value);
        if (!written) boxes.show(added.name, kSaveCaption, kMbOk | kMbIconError);
        if (!store.closeKey()) {
            boxes.show("close key", kSaveCaption, kMbOk | kMbIconError);
            return 1;
        }
        if (!written) return 1;
    }
    return 0;
}

}  // namespace

const char* integerOptionName(int index) {
    return index >= 0 && index < kIntegerOptionCount ? kIntegerNames[static_cast<std::size_t>(index)] : "";
}

std::uint32_t& integerOption(AppOptions& options, int index) {
    switch (index) {
        case 0: return options.userDir;
        case 1: return options.consoleOpt;
        case 2: return options.startSound;
        case 3: return options.pathClr;
        case 4: return options.margsClr;
        default: return options.showWarn;
    }
}

bool loadOptions(SettingsStore& store, AppOptions& options) {
    for (int i = 0; i < kIntegerOptionCount; ++i) {
        StoredValue value;
        if (!store.read(integerOptionName(i), value)) continue;
        if (value.type != kStoreDword || value.data.size() != sizeof(std::uint32_t)) continue;
        std::uint32_t number = 0;
        std::memcpy(&number, value.data.data(), sizeof number);  // little-endian, as the store keeps it
        integerOption(options, i) = clampOption(i, number);
    }
    loadAddedOptions(store, options);
    if (options.userDir == 0) return true;

    StoredValue folder;
    if (store.read(kRunAppPathName, folder) && folder.type == kStoreText) {
        const std::string text = storedText(folder.data);
        if (!text.empty() && utf16Length(text) <= kMaxText) {
            options.runAppPath = text;
            return true;
        }
    }
    // Without a usable folder text the program directory is used, and a later save must not claim a folder.
    options.userDir = 0;
    return false;
}

int saveOptions(SettingsStore& store, MessageBoxes& boxes, const AppOptions& options) {
    AppOptions values = options;
    const int count = kIntegerOptionCount + (values.userDir != 0 ? 1 : 0);
    for (int i = 0; i < count; ++i) {
        if (!store.createKey()) {
            boxes.show("Cant create key", kSaveCaption, kMbOk | kMbIconError);
            return 1;
        }
        const bool written = i < kIntegerOptionCount
                                 ? store.writeDword(integerOptionName(i), integerOption(values, i))
                                 : store.writeText(kRunAppPathName, values.runAppPath);
        if (!written) {
            boxes.show(i < kIntegerOptionCount ? integerOptionName(i) : kRunAppPathName, kSaveCaption,
                       kMbOk | kMbIconError);
        }
        if (!store.closeKey()) {
            boxes.show("close key", kSaveCaption, kMbOk | kMbIconError);
            return 1;
        }
        if (!written) return 1;
    }
    return saveAddedOptions(store, boxes, values);
}

}  // namespace brennic
