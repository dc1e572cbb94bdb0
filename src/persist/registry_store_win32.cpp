// The options key in the registry of the current user.
#include "persist/registry_store_win32.h"

#include <vector>

namespace brennic {

RegistrySettingsStore::~RegistrySettingsStore() {
    if (key_ != nullptr) RegCloseKey(key_);
}

bool RegistrySettingsStore::read(const std::string& name, StoredValue& value) {
    HKEY key = nullptr;
    // Read access only: reading must not fail where the user may not write.
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD size = 0;
    bool ok = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (ok) {
        std::vector<BYTE> data(size + 1u);
        ok = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS &&
             size < data.size();
        if (ok) {
            value.type = type;
            value.data.assign(reinterpret_cast<const char*>(data.data()), size);
        }
    }
    RegCloseKey(key);
    return ok;
}

bool RegistrySettingsStore::createKey() {
    if (key_ != nullptr) return true;
    return RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, &key_, nullptr) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::writeDword(const std::string& name, std::uint32_t value) {
    const DWORD data = value;
    return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::writeText(const std::string& name, const std::string& text) {
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::closeKey() {
    const LONG result = RegCloseKey(key_);
    key_ = nullptr;
    return result == ERROR_SUCCESS;
}

}  // namespace brennic
