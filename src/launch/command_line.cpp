// Assembly of the described program's parameter text from the three argument pages.
#include "launch/command_line.h"

#include "launch/quoting.h"
#include "platform/text.h"

namespace brennic {

void addWarning(WarningLog& log, int pageIndex, const std::string& message) {
    log.text += "Argument ";
    log.text += std::to_string(pageIndex + 1);
    log.text += ' ';
    log.text += message;
    log.text += '\n';
}

void addWarnings(WarningLog& log, const MissingByPage& missing) {
    for (int page = 0; page < kArgumentCount; ++page) {
        const MissingIngredients& lacking = missing[static_cast<std::size_t>(page)];
        if (lacking.path) addWarning(log, page, kEmptyPathWarning);
        if (lacking.manual) addWarning(log, page, kEmptyManualWarning);
    }
}

std::string takeToken(std::string& manual) {
    if (!manual.empty() && manual.front() == '"') {
        const auto closing = manual.find('"', 1);
        if (closing != std::string::npos) {
            std::string token = manual.substr(0, closing + 1);
            manual.erase(0, closing + 1);
            return token;
        }
    }
    const auto space = manual.find(' ');
    if (space == std::string::npos) {
        std::string token = std::move(manual);
        manual.clear();
        return token;
    }
    std::string token = manual.substr(0, space);
    manual.erase(0, space + 1);
    return token;
}

void distributeManualArguments(std::string& action, std::string& manual) {
    std::size_t from = 1;
    for (;;) {
        const auto mark = action.find(kManualMark, from);
        if (mark == std::string::npos) return;
        manual.erase(0, manual.find_first_not_of(' '));  // npos erases everything
        if (manual.empty()) return;
        const std::string token = takeToken(manual);
        action.replace(mark, kManualMark.size(), token);
        from = mark;
    }
}

namespace {

void endWithSpace(std::string& piece) {
    if (piece.empty() || piece.back() != ' ') piece += ' ';
}

}  // namespace

std::string buildArgumentText(const ArgumentSlot& slot, const ActionEntry& entry, const PageControls* controls,
                              MissingIngredients& missing) {
    std::string pathPiece;
    if (entry.pathMode() != 0) {
        if (slot.path.empty())
            missing.path = true;
        else
            pathPiece = quoteArgument(slot.path);
    }

    std::string manualPiece = controls ? controls->manualText() : std::string();
    manualPiece = std::string(cutToUtf16Length(manualPiece, kMaxText));
    if (entry.manualMode() != 0 && manualPiece.empty()) missing.manual = true;

    std::string actionPiece;
    if (entry.actionPosition != 0) {
        actionPiece = entry.actionText;
        if (entry.pathPosition == 0 && entry.pathMode() != 0) {
            const auto mark = actionPiece.find(kPathMark);
            if (mark != std::string::npos && mark != 0) actionPiece.replace(mark, kPathMark.size(), pathPiece);
        }
        if (entry.manualPosition == 0 && entry.manualMode() != 0) distributeManualArguments(actionPiece, manualPiece);
    }

    endWithSpace(pathPiece);
    endWithSpace(actionPiece);
    endWithSpace(manualPiece);

    std::string text;
    for (std::uint8_t place = 1; place <= 3; ++place) {
        if (entry.pathPosition == place)
            text += pathPiece;
        else if (entry.actionPosition == place)
            text += actionPiece;
        else if (entry.manualPosition == place)
            text += manualPiece;
    }
    return text;
}

std::string buildArgumentText(ProgramDescription& description, int pageIndex, const ArgumentSlot& slot,
                              const ActionEntry& entry, const PageControls* controls) {
    MissingIngredients missing;
    std::string text = buildArgumentText(slot, entry, controls, missing);
    if (missing.path) addWarning(description.warningLog, pageIndex, kEmptyPathWarning);
    if (missing.manual) addWarning(description.warningLog, pageIndex, kEmptyManualWarning);
    return text;
}

std::string buildParameters(const ProgramDescription& description, const ArgumentSlots& slots,
                            const PageControlsTable& controls, MissingByPage& missing) {
    std::string parameters;
    for (int page = 0; page < kArgumentCount; ++page) {
        const auto index = static_cast<std::size_t>(page);
        const ArgumentSlot& slot = slots[index];
        if (slot.enabled == 0) continue;
        const ActionEntry* entry = description.selectedEntry(slot.group, slot.item);
        if (!entry) continue;
        parameters += buildArgumentText(slot, *entry, controls[index], missing[index]);
    }
    return parameters;
}

std::string buildParameters(ProgramDescription& description, const ArgumentSlots& slots,
                            const PageControlsTable& controls) {
    MissingByPage missing{};
    std::string parameters = buildParameters(description, slots, controls, missing);
    addWarnings(description.warningLog, missing);
    return parameters;
}

}  // namespace brennic
