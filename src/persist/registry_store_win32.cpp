// The options key in the registry of the current user.
#include "persist/registry_store_win32.h"

#include <cstring>
#include <vector>

#include "platform/text_win32.h"

namespace brennic {

RegistrySettingsStore::~RegistrySettingsStore() {
    if (key_ != nullptr) RegCloseKey(key_);
}

bool RegistrySettingsStore::read(const std::string& name, StoredValue& value) {
    HKEY key = nullptr;
    // Read access only: reading must not fail where the user may not write.
    if (RegOpenKeyExW(HKEY_CURRENT_USER, widen(kOptionsKeyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const std::wstring wideName = widen(name);
    DWORD type = 0;
    DWORD size = 0;
    bool ok = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (ok) {
        std::vector<BYTE> data(size + 2u);
        ok = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS &&
             size < data.size();
        if (ok) {
            value.type = type;
            if (type == REG_SZ) {
                // The store's texts are UTF-8; a text stored by any version reads as the characters it holds.
                std::wstring text(size / sizeof(wchar_t), L'\0');
                std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
                value.data = narrow(text);
            } else {
                value.data.assign(reinterpret_cast<const char*>(data.data()), size);
            }
        }
    }
    RegCloseKey(key);
    return ok;
}

bool RegistrySettingsStore::createKey() {
    if (key_ != nullptr) return true;
    return RegCreateKeyExW(HKEY_CURRENT_USER, widen(kOptionsKeyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_WRITE, nullptr, &key_, nullptr) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::writeDword(const std::string& name, std::uint32_t value) {
    const DWORD data = value;
    return RegSetValueExW(key_, widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::writeText(const std::string& name, const std::string& text) {
    // The text's characters without a terminating zero, as every version has stored it.
    const std::wstring wide = widen(text);
    return RegSetValueExW(key_, widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.data()),
                          static_cast<DWORD>(wide.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::closeKey() {
    const LONG result = RegCloseKey(key_);
    key_ = nullptr;
    return result == ERROR_SUCCESS;
}

}  // namespace brennic
