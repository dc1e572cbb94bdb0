// Loading and saving the user options through a per-user settings store.
#pragma once

#include <cstdint>
#include <string>

#include "state/app_options.h"
#include "platform/platform.h"

namespace brennic {

// Value types as the settings store knows them.
inline constexpr std::uint32_t kStoreText = 1;   // REG_SZ
inline constexpr std::uint32_t kStoreDword = 4;  // REG_DWORD

struct StoredValue {
    std::uint32_t type = 0;
    std::string data;  // the raw bytes
};

// The options key "Software\Brennic\Options\" of the current user. Reads open the key read-only; a save
// opens (creating it when needed) and closes the key once per value.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // False when the key or the value does not exist or cannot be read.
    virtual bool read(const std::string& name, StoredValue& value) = 0;
    virtual bool createKey() = 0;
    virtual bool writeDword(const std::string& name, std::uint32_t value) = 0;
    virtual bool writeText(const std::string& name, const std::string& text) = 0;  // no terminating NUL
    virtual bool closeKey() = 0;
    // What went wrong with the store itself at the last operation, in the user's words; empty when the store
    // has nothing to add to the caller's own message (the registry never has).
    virtual std::string problem() const { return {}; }
};

inline constexpr const char* kOptionsKeyPath = "Software\\Brennic\\Options\\";
inline constexpr const char* kRunAppPathName = "run app path";
// The console mode "Show output in window" (consoleOpt 3) is stored as "console opt " 0, which every
// earlier version reads as "Hide console", plus this value set to 1. It is written only beside a stored
// "console opt " of 0 (1 for the output window, 0 for the hidden console) and read only there, so a
// "console opt " of 1 or 2 written later by an earlier version wins.
inline constexpr const char* kOutputWindowName = "output window";
inline constexpr int kIntegerOptionCount = 6;
// Values later versions added, beside the six: written only when on, or to switch off one stored before, so a
// default setup stores exactly the six values earlier versions wrote (and ignore when they find more).
inline constexpr const char* kKeepPagesAtExitName = "keep pages at exit";
// The window size, written only once a size was given (read back or resized); earlier versions ignore them.
inline constexpr const char* kWindowWidthName = "window width";
inline constexpr const char* kWindowHeightName = "window height";
inline constexpr std::uint32_t kMaxWindowExtent = 32767;

// The store's value name of each integer option, in record order ("console opt " ends with a space).
const char* integerOptionName(int index);
// The integer option of that index in the record.
std::uint32_t& integerOption(AppOptions& options, int index);

// Reads every option present in the store over the record. Values of the wrong type or size are ignored;
// on/off values other than 0 count as 1, "console opt " above 2 is 2, userDir above 1 is 1; a "console opt " of
// 0 read with an "output window" value other than 0 gives consoleOpt 3. With userDir set,
// the folder text must be readable, non-empty and at most 259 characters; otherwise userDir becomes 0 and
// the result is false (the integer options read stay in effect). A window size is taken only as a pair of
// values 1 to kMaxWindowExtent.
bool loadOptions(SettingsStore& store, AppOptions& options);

// Writes the six integer options (consoleOpt 3 as "console opt " 0), when userDir is set the folder text,
// when "console opt " is stored as 0 "output window" (1 for consoleOpt 3), the window size once one was given,
// and the added on/off values. Stops at the first failure after showing its message (caption "Save Cnf err";
// the store's own explanation when it has one); returns 0 when everything was written, 1 otherwise.
int saveOptions(SettingsStore& store, MessageBoxes& boxes, const AppOptions& options);

}  // namespace brennic
