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

void loadWindowSize(SettingsStore& store, AppOptions& options) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!readDword(store, kWindowWidthName, width) || !readDword(store, kWindowHeightName, height)) return;
    if (width == 0 || height == 0 || width > kMaxWindowExtent || height > kMaxWindowExtent) return;
    options.windowWidth = width;
    options.windowHeight = height;
}

// One value of a save: its own open and close of the key, as every version has done it.
enum class Written { ok, stop };

template <typename Write>
Written saveOne(SettingsStore& store, MessageBoxes& boxes, const char* name, Write write) {
    auto show = [&](const std::string& fallback) {
        const std::string explained = store.problem();
        boxes.show(explained.empty() ? fallback : explained, kSaveCaption, kMbOk | kMbIconError);
    };
    if (!store.createKey()) {
        show("Cant create key");
        return Written::stop;
    }
    const bool written = write();
    if (!written) show(name);
    if (!store.closeKey()) {
        show("close key");
        return Written::stop;
    }
    return written ? Written::ok : Written::stop;
}

// The on/off values added after the six, each with its field; anything but 0 means on, as for the six.
struct AddedOption {
    const char* name;
    std::uint32_t AppOptions::*field;
};
constexpr AddedOption kAddedOptions[] = {{kKeepPagesAtExitName, &AppOptions::keepPagesAtExit}};

void loadAddedOptions(SettingsStore& store, AppOptions& options) {
    for (const AddedOption& added : kAddedOptions) {
        std::uint32_t number = 0;
        if (readDword(store, added.name, number)) options.*added.field = number != 0 ? 1u : 0u;
    }
}

// Written only when on, or to switch off one stored before; 0 when written or left alone, 1 after a failure.
int saveAddedOptions(SettingsStore& store, MessageBoxes& boxes, const AppOptions& options) {
    for (const AddedOption& added : kAddedOptions) {
        const std::uint32_t value = options.*added.field;
        StoredValue stored;
        if (value == 0 && !store.read(added.name, stored)) continue;
        if (saveOne(store, boxes, added.name, [&] { return store.writeDword(added.name, value); }) != Written::ok)
            return 1;
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
    loadWindowSize(store, options);
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
    values.consoleOpt = storedConsoleOpt(options.consoleOpt);
    for (int i = 0; i < kIntegerOptionCount; ++i) {
        const char* name = integerOptionName(i);
        const std::uint32_t number = integerOption(values, i);
        if (saveOne(store, boxes, name, [&] { return store.writeDword(name, number); }) != Written::ok) return 1;
    }
    if (values.userDir != 0 &&
        saveOne(store, boxes, kRunAppPathName, [&] { return store.writeText(kRunAppPathName, values.runAppPath); }) !=
            Written::ok)
        return 1;
    // Beside a stored hidden console only: 1 for the output window, 0 so that an earlier 1 cannot come back.
    if (values.consoleOpt == 0) {
        const std::uint32_t window = options.consoleOpt == kOutputWindowMode ? 1u : 0u;
        if (saveOne(store, boxes, kOutputWindowName, [&] { return store.writeDword(kOutputWindowName, window); }) !=
            Written::ok)
            return 1;
    }
    if (values.windowWidth != 0 && values.windowHeight != 0) {
        if (saveOne(store, boxes, kWindowWidthName,
                    [&] { return store.writeDword(kWindowWidthName, values.windowWidth); }) != Written::ok ||
            saveOne(store, boxes, kWindowHeightName,
                    [&] { return store.writeDword(kWindowHeightName, values.windowHeight); }) != Written::ok)
            return 1;
    }
    return saveAddedOptions(store, boxes, values);
}

}  // namespace brennic
