// Path display form and filter lists.
#include "pages/path_display.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "state/program_description.h"
#include "state/argument_slot.h"
#include "platform/text.h"

namespace brennic {

std::string displayPath(const std::string& path) {
    std::string result;
    result.reserve(path.size());
    std::size_t end = path.size();  // the not yet shown text is path[0, end)
    while (true) {
        const auto slash = end == 0 ? std::string::npos : path.rfind('\\', end - 1);
        if (slash == std::string::npos) {
            result.append(path, 0, end);
            return result;
        }
        result.append(path, slash + 1, end - slash - 1);
        result.push_back('\\');
        end = slash;
    }
}

std::string buildFilterText(const ProgramDescription& description, const PathSpec& spec) {
    std::string text;
    const std::size_t count = std::min<std::size_t>(spec.filterCount, spec.filters.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t index = spec.filters[i];
        if (index >= description.filterTexts.size()) return kDefaultFilter;
        text += description.filterTexts[index];
        if (text.size() >= kFilterBufferSize) return kDefaultFilter;
    }
    return text.empty() ? std::string(kDefaultFilter) : text;
}

namespace {

std::string listOf(const std::string& filterText) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < filterText.size()) {
        auto end = filterText.find('\x01', start);
        if (end == std::string::npos) end = filterText.size();
        // A zero byte or an empty part would end the platform's list early: stop there.
        std::string part = filterText.substr(start, end - start);
        const auto nul = part.find('\0');
        const bool cut = nul != std::string::npos;
        if (cut) part.resize(nul);
        if (part.empty()) break;
        parts.push_back(std::move(part));
        if (cut) break;
        start = end + 1;
    }
    parts.resize(parts.size() - parts.size() % 2);  // a description without its pattern is dropped

    std::string list;
    for (const std::string& part : parts) {
        list += part;
        list.push_back('\0');
    }
    if (list.empty()) return list;
    list.push_back('\0');
    return list;
}

}  // namespace

std::string filterList(const std::string& filterText) {
    std::string list = listOf(filterText);
    if (list.empty() || list.size() > kFilterBufferSize) list = listOf(kDefaultFilter);
    return list;
}

std::string dialogInitialText(const std::string& path) {
    return std::string(cutToUtf16Length(path, kMaxText));
}

}  // namespace brennic
