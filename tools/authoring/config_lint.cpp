#include "config_lint.h"

#include <string_view>

#include "launch/command_line.h"
#include "platform/text.h"
#include "source_text.h"

namespace brennic::authoring {

namespace {

// The text as command assembly sees it: only an action that has a place contributes its text.
bool holds(const std::string& text, std::string_view mark) { return text.find(mark) != std::string::npos; }

void checkAction(const ActionEntry& action, std::size_t index, std::vector<ConfigMistake>& found) {
    const std::string& text = action.actionText;
    const bool textPlaced = action.actionPosition != 0;
    auto add = [&](ConfigMistake::Kind kind) { found.push_back({kind, index}); };

    // Assembly replaces the first p@ only, and only when it does not stand first.
    if (action.pathMode() != 0 && action.pathPosition == 0) {
        const auto mark = text.find(kPathMark);
        if (!textPlaced || mark == std::string::npos)
            add(ConfigMistake::kPathNeverPlaced);
        else if (mark == 0)
            add(ConfigMistake::kPathMarkAtStart);
    } else if (textPlaced && holds(text, kPathMark)) {
        add(ConfigMistake::kPathMarkLiteral);
    }

    // m@ marks are filled from the second character on.
    if (action.manualMode() != 0 && action.manualPosition == 0) {
        if (textPlaced && text.rfind(kManualMark, 0) == 0)
            add(ConfigMistake::kManualMarkAtStart);
        else if (!textPlaced || text.find(kManualMark, 1) == std::string::npos)
            add(ConfigMistake::kManualNeverPlaced);
    } else if (textPlaced && holds(text, kManualMark)) {
        add(ConfigMistake::kManualMarkLiteral);
    }
}

}  // namespace

std::vector<ConfigMistake> findConfigMistakes(const ProgramDescription& built) {
    std::vector<ConfigMistake> found;
    std::vector<bool> offered(built.actions.size(), false);
    for (const ActionList& list : built.lists) {
        for (std::uint16_t action : list.entries) {
            if (action < offered.size()) offered[action] = true;
        }
    }
    std::vector<bool> shown(built.lists.size(), false);
    if (built.header.firstList < shown.size()) shown[built.header.firstList] = true;
    for (const ActionEntry& action : built.actions) {
        if (action.nextMode() != 0 && action.nextList < shown.size()) shown[action.nextList] = true;
    }

    for (std::size_t i = 0; i < built.actions.size(); ++i) {
        checkAction(built.actions[i], i, found);
        if (!offered[i]) found.push_back({ConfigMistake::kActionOnNoList, i});
    }
    for (std::size_t i = 0; i < built.lists.size(); ++i) {
        if (!shown[i]) found.push_back({ConfigMistake::kListNeverShown, i});
    }
    return found;
}

std::string describeMistake(const ConfigMistake& mistake, const std::string& name) {
    switch (mistake.kind) {
        case ConfigMistake::kPathNeverPlaced:
            return name + " takes a path that never reaches the command line: give the path a place in 'order' "
                          "or put p@ into the text (not first)";
        case ConfigMistake::kManualNeverPlaced:
            return name + " takes manual arguments that never reach the command line: give them a place in "
                          "'order' or put m@ into the text (not first)";
        case ConfigMistake::kPathMarkAtStart:
            return name + "'s text starts with p@, and a mark at the very start is never replaced: the path is "
                          "lost and the program gets \"p@\"; begin the text with a space (\" p@ ...\") or give "
                          "the path a place of its own in 'order'";
        case ConfigMistake::kManualMarkAtStart:
            return name + "'s text starts with m@, and a mark at the very start is never replaced: the program "
                          "gets \"m@\" as it is (and, without a later m@, no manual arguments); begin the text with "
                          "a space (\" m@ ...\") or give the manual arguments a place of their own in 'order'";
        case ConfigMistake::kPathMarkLiteral:
            return name + "'s text holds p@, but nothing replaces it (the action takes no path, or its path has a "
                          "place of its own): the program gets \"p@\" as it is; give the action a 'path' and no "
                          "place for it in 'order', or take p@ out of the text";
        case ConfigMistake::kManualMarkLiteral:
            return name + "'s text holds m@, but nothing replaces it (the action takes no manual arguments, or "
                          "they have a place of their own): the program gets \"m@\" as it is; give the action a "
                          "'manual' and no place for it in 'order', or take m@ out of the text";
        case ConfigMistake::kActionOnNoList:
            return name + " is on no list, so no page offers it: add it to a list's 'actions', or remove it";
        case ConfigMistake::kListNeverShown:
            return name + " is neither the first list nor any action's 'next', so no page shows it: name it in "
                          "an action's 'next' (or in 'first-list'), or remove it";
    }
    return name;
}

std::string compiledName(const ProgramDescription& built, const ConfigMistake& mistake) {
    const TextForm form = textFormOf(built.header);
    auto readable = [&](const std::string& bytes) { return decodeText(bytes, form).value_or(validUtf8(bytes)); };
    const std::string number = std::to_string(mistake.index + 1);
    if (mistake.kind == ConfigMistake::kListNeverShown) {
        const std::string label = mistake.index < built.lists.size() ? built.lists[mistake.index].label : "";
        return "list " + number + " (\"" + readable(label) + "\")";
    }
    const std::string caption = mistake.index < built.actions.size() ? built.actions[mistake.index].caption : "";
    return "action " + number + " (\"" + readable(caption) + "\")";
}

}  // namespace brennic::authoring
