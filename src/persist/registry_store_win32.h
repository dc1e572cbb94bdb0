// The options key in the registry of the current user.
#pragma once

#include <windows.h>

#include "persist/options.h"

namespace brennic {

class RegistrySettingsStore : public SettingsStore {
public:
    ~RegistrySettingsStore() override;
    bool read(const std::string& name, StoredValue& value) override;
    bool createKey() override;
    bool writeDword(const std::string& name, std::uint32_t value) override;
    bool writeText(const std::string& name, const std::string& text) override;
    bool closeKey() override;

private:
    HKEY key_ = nullptr;
};

}  // namespace brennic
