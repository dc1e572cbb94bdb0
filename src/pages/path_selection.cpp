// Taking chosen and dropped paths into a slot.
#include "pages/path_selection.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace brennic {

unsigned fileDialogFlags(bool saveDialog) {
    return kOfnPathMustExist | kOfnNoChangeDir | (saveDialog ? 0u : kOfnFileMustExist);
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
