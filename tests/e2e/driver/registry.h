// The options key HKCU\Software\Brennic\Options as the tests see it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brennic::e2e {

// Deletes HKCU\Software\Brennic with everything under it: the program then starts with its defaults.
void deleteOptions();
// A REG_DWORD value of the options key; nothing when it is missing or of another type.
std::optional<std::uint32_t> optionDword(const std::string& name);
// A REG_SZ value's text (without a terminating NUL); nothing when it is missing or of another type.
std::optional<std::string> optionText(const std::string& name);
// The names of all values in the options key.
std::vector<std::string> optionNames();
void setOptionDword(const std::string& name, std::uint32_t value);
void setOptionText(const std::string& name, const std::string& text);
void setOptionRaw(const std::string& name, std::uint32_t type, const std::string& bytes);

}  // namespace brennic::e2e
