// The options key as the tests see it.
#include "driver/registry.h"

#include <windows.h>

#include "driver/workspace.h"

namespace brennic::e2e {

namespace {

constexpr const char* kKey = "Software\\Brennic\\Options\\";

std::optional<std::string> rawValue(const std::string& name, DWORD wantedType) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> result;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == wantedType) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            data.resize(size);
            result = data;
        }
    }
    RegCloseKey(key);
    return result;
}

}  // namespace

void deleteOptions() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brennic"); }

std::optional<std::uint32_t> optionDword(const std::string& name) {
    const auto data = rawValue(name, REG_DWORD);
    if (!data || data->size() != 4) return std::nullopt;
    std::uint32_t value = 0;
    memcpy(&value, data->data(), 4);
    return value;
}

std::optional<std::string> optionText(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::wstring wideName(name.begin(), name.end());
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> result;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::wstring data(size / sizeof(wchar_t), L'\0');
        if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            data.resize(size / sizeof(wchar_t));
            // Wine's narrow RegSetValueExA stores a terminating NUL even when the data has none.
            while (!data.empty() && data.back() == L'\0') data.pop_back();
            result = utf8(data.c_str());
        }
    }
    RegCloseKey(key);
    return result;
}

std::vector<std::string> optionNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

void setOptionRaw(const std::string& name, std::uint32_t type, const std::string& bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void setOptionDword(const std::string& name, std::uint32_t value) {
    setOptionRaw(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4));
}

void setOptionText(const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring data = wide(text);
    RegSetValueExW(key, wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    RegCloseKey(key);
}

}  // namespace brennic::e2e
