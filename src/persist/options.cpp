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

constexpr std::uint32_t kOutputWindowMode = 3;

// "console opt " as it is stored: the output window is the hidden console to every earlier version.
std::uint32_t storedConsoleOpt(std::uint32_t consoleOpt) {
    return consoleOpt == kOutputWindowMode ? 0u : consoleOpt;
}

// A stored DWORD of the right type and size.
bool readDword(SettingsStore& store, const char* name, std::uint32_t& number) {
    StoredValue value;
    if (!store.read(name, value)) return false;
    if (value.type != kStoreDword || value.data.size() != sizeof(std::uint32_t)) return false;
    std::memcpy(&number, value.data.data(), sizeof number);  // little-endian, as the store keeps it
    return true;
}

// A stored text without its terminating NUL; a value that carries NULs ends at the first one.
std::string storedText(const std::string& data) {
    const auto nul = data.find('\0');
    return nul == std::string::npos ? data : data.substr(0, nul);
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
    bool consoleOptRead = false;
    for (int i = 0; i < kIntegerOptionCount; ++i) {
        std::uint32_t number = 0;
        if (!readDword(store, integerOptionName(i), number)) continue;
        integerOption(options, i) = clampOption(i, number);
        if (i == kConsoleOpt) consoleOptRead = true;
    }
    // Only a stored hidden console can stand for the output window; 1 or 2 means an earlier version chose.
    std::uint32_t outputWindow = 0;
    if (consoleOptRead && options.consoleOpt == 0 && readDword(store, kOutputWindowName, outputWindow) &&
        outputWindow != 0) {
        options.consoleOpt = kOutputWindowMode;
    }
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
    values.consoleOpt = storedConsoleOpt(options.consoleOpt);
    // The six integers, the folder when chosen, then the output window beside a stored hidden console.
    const int textIndex = values.userDir != 0 ? kIntegerOptionCount : -1;
    const int outputIndex = kIntegerOptionCount + (values.userDir != 0 ? 1 : 0);
    const int count = outputIndex + (values.consoleOpt == 0 ? 1 : 0);
    for (int i = 0; i < count; ++i) {
        if (!store.createKey()) {
            boxes.show("Cant create key", kSaveCaption, kMbOk | kMbIconError);
            return 1;
        }
        const char* name = i < kIntegerOptionCount ? integerOptionName(i)
                           : i == textIndex        ? kRunAppPathName
                                                   : kOutputWindowName;
        bool written = false;
        if (i < kIntegerOptionCount) {
            written = store.writeDword(name, integerOption(values, i));
        } else if (i == textIndex) {
            written = store.writeText(name, values.runAppPath);
        } else {
            written = store.writeDword(name, options.consoleOpt == kOutputWindowMode ? 1u : 0u);
        }
        if (!written) boxes.show(name, kSaveCaption, kMbOk | kMbIconError);
        if (!store.closeKey()) {
            boxes.show("close key", kSaveCaption, kMbOk | kMbIconError);
            return 1;
        }
        if (!written) return 1;
    }
    return 0;
}

}  // namespace brennic
