// Taking chosen and dropped paths into a slot.
#include "pages/path_selection.h"

#include "platform/platform.h"

namespace brennic {

unsigned fileDialogFlags(bool saveDialog) {
    return kOfnPathMustExist | kOfnNoChangeDir | (saveDialog ? 0u : kOfnFileMustExist);
}

bool takeChosenPath(ArgumentSlot& slot, const std::string& chosen) {
    if (chosen.empty() || chosen.size() > kMaxText) return false;
    slot.path = chosen;
    return true;
}

bool takeDroppedName(ArgumentSlot& slot, const std::string& name, MessageBoxes& boxes) {
    if (name.size() > kMaxText) {
        boxes.show(kDroppedNameTooLong, kDroppedNameCaption, kMbOk | kMbIconError);
        return false;
    }
    if (name.empty()) return false;
    slot.path = name;
    return true;
}

}  // namespace brennic
