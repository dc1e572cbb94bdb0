// Taking chosen and dropped paths into a slot.
#include "pages/path_selection.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/text.h"

namespace brennic {

unsigned fileDialogFlags(bool saveDialog) {
    return kOfnPathMustExist | kOfnNoChangeDir | (saveDialog ? 0u : kOfnFileMustExist);
}

namespace {

// The pattern of the index-th (1-based) description and pattern pair of a zero-separated filter list.
std::string patternAt(const std::string& list, unsigned index) {
    std::size_t pos = 0;
    for (unsigned part = 0; pos < list.size(); ++part) {
        const std::size_t end = std::min(list.find('\0', pos), list.size());
        if (end == pos) break;  // the list's closing zero
        if (part == 2 * index - 1) return list.substr(pos, end - pos);
        pos = end + 1;
    }
    return {};
}

// "ext" of a single "*.ext" pattern, blanks around it allowed; empty for anything else ("*.*", "*.a;*.b").
std::string singleExtension(const std::string& pattern) {
    const auto first = pattern.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const std::string trimmed = pattern.substr(first, pattern.find_last_not_of(' ') - first + 1);
    if (trimmed.size() < 3 || trimmed.compare(0, 2, "*.") != 0) return {};
    const std::string extension = trimmed.substr(2);
    if (extension.find_first_of("*?;. \\/:<>|\"") != std::string::npos) return {};
    return extension;
}

}  // namespace

std::string withDefaultExtension(const std::string& name, const std::string& list, unsigned filterIndex) {
    if (filterIndex == 0 || name.empty()) return name;
    const std::string extension = singleExtension(patternAt(list, filterIndex));
    if (extension.empty()) return name;
    const auto slash = name.find_last_of("\\/");
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    if (base.empty() || base.find('.') != std::string::npos) return name;
    return name + "." + extension;
}

bool takeChosenPath(ArgumentSlot& slot, const std::string& chosen) {
    if (chosen.empty() || utf16Length(chosen) > kMaxText) return false;
    slot.path = chosen;
    return true;
}

bool takeDroppedName(ArgumentSlot& slot, const std::string& name, MessageBoxes& boxes) {
    if (utf16Length(name) > kMaxText) {
        boxes.show(kDroppedNameTooLong, kDroppedNameCaption, kMbOk | kMbIconError);
        return false;
    }
    if (name.empty()) return false;
    slot.path = name;
    return true;
}

}  // namespace brennic
