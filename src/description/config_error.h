// The error record of config loading and the choice of its message.
//
// Config loading reports every failure it detects by raising an errorVX: the record is marked raised, one of
// its two code slots gets the code, and a copy is thrown. Start-up catches the copy and shows
// errorMessage() (caption "Error") unless it is empty, then clears the record.
#pragma once

#include <cstdint>
#include <string>

namespace brennic {

struct errorVX {
    std::int32_t raised = 0;       // 1 once raised
    std::int32_t fileError = 0;    // file-level code, 0 = none
    std::int32_t configError = 0;  // config-level code, 0 = none
};

// fileError codes.
inline constexpr std::int32_t kLoadFileError = 1;      // "Load file error": the file cannot be opened
inline constexpr std::int32_t kEmptyFile = 2;          // "Empty file"
inline constexpr std::int32_t kSavingConfigError = 3;  // "Saving config error"

// configError codes.
inline constexpr std::int32_t kOldConfigVersion = 1;     // "Can't load old config version"
inline constexpr std::int32_t kNewConfigVersion = 2;     // "Can't load new config version"
inline constexpr std::int32_t kUnexpectedConfigEnd = 3;  // "Unexpected config end"
inline constexpr std::int32_t kConfigDamaged = 4;        // "The config is damaged"

// Caption of the box that shows a config error.
inline constexpr const char* kConfigErrorCaption = "Error";

// One of the record's two code slots, e.g. &errorVX::configError.
using ErrorSlot = std::int32_t errorVX::*;

// Sets raised to 1 and the slot to code, then throws a copy of the record.
[[noreturn]] void raiseError(errorVX& record, ErrorSlot slot, std::int32_t code);

// The text to show for a caught record: the configError message when it has a known code, else the fileError
// message when that has a known code, else empty (nothing is shown).
std::string errorMessage(const errorVX& record);

// Sets all three fields to 0, as after the message was shown.
void clearError(errorVX& record);

}  // namespace brennic
