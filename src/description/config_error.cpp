// Raising config errors and choosing their message.
#include "description/config_error.h"

namespace brennic {

void raiseError(errorVX& record, ErrorSlot slot, std::int32_t code) {
    record.raised = 1;
    record.*slot = code;
    throw record;
}

std::string errorMessage(const errorVX& record) {
    std::string text;
    switch (record.fileError) {
    case kLoadFileError: text = "Load file error"; break;
    case kEmptyFile: text = "Empty file"; break;
    case kSavingConfigError: text = "Saving config error"; break;
    default: break;
    }
    switch (record.configError) {
    case kOldConfigVersion: text = "Can't load old config version"; break;
    case kNewConfigVersion: text = "Can't load new config version"; break;
    case kUnexpectedConfigEnd: text = "Unexpected config end"; break;
    case kConfigDamaged: text = "The config is damaged"; break;
    default: break;
    }
    return text;
}

void clearError(errorVX& record) {
    record = errorVX{};
}

}  // namespace brennic
