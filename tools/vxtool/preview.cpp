// vxtool preview: the command Brennic would run for a choice on each page, and what Start would warn about.
// The pages are Brennic's own page logic over stand-in controls, and the command comes from the same assembly
// as Start, "Copy command line" and the preview line, so what is printed here is what those give.
#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "authoring_commands.h"
#include "config_source.h"
#include "description/config_loader.h"
#include "description/table_builder.h"
#include "launch/launch.h"
#include "pages/argument_pages.h"
#include "platform/text.h"
#include "source_text.h"

namespace brennic::vxtool {

const char* const kPreviewHelp =
    "Usage: vxtool preview CONFIG [--mode hide|show|hold|output] [--programs FOLDER]\n"
    "                             [--entry N=NAME]... [--path N=TEXT]... [--manual N=TEXT]...\n"
    "\n"
    "Prints the command Brennic would run for these choices: the first line is exactly what \"Copy command\n"
    "line\" copies in that console mode (default hide), each line after it a warning Start would show\n"
    "(\"Argument 2 Empty path\"). CONFIG is a prog.vx or a .toml source.\n"
    "\n"
    "  N           the page, 1 to 3. Pages without a choice keep what Brennic starts them with: the first\n"
    "              entry of their list, no path, no manual arguments.\n"
    "  --entry     NAME is the entry's TOML key (sources only) or its caption, on the list the page shows\n"
    "              after the entries chosen before it.\n"
    "  --path      the path, as the file dialog or a drop would give it.\n"
    "  --manual    the text typed into the manual-arguments field.\n"
    "  --programs  the programs folder: the folder that holds the program folder named by the config.\n"
    "              Default: the config's own folder, as for a prog.vx beside brennic.exe.\n"
    "\n"
    "A choice the pages could not make (an entry not on the page's list, a page that is not in use, a path\n"
    "or manual text for an entry that takes none) is refused with exit status 1, as is a config Brennic\n"
    "refuses. Exit status 0: printed; 2: usage error.\n";

namespace {

// Stands in for an argument page's controls: keeps what the page logic puts into them and gives the
// manual-arguments text back, as the field would.
class PreviewPage final : public PageView {
public:
    std::string manualText() const override { return std::string(cutToUtf16Length(manual_, kMaxText)); }
    void setActionLabel(const std::string&) override {}
    void setPathLabel(const std::string&) override {}
    void setManualLabel(const std::string&) override {}
    void setManualTip(const std::string&) override {}
    void setActionItems(const std::vector<std::string>& captions) override {
        count_ = static_cast<int>(captions.size());
        selection_ = -1;
    }
    void selectActionItem(int index) override { selection_ = index >= 0 && index < count_ ? index : -1; }
    int actionSelection() const override { return selection_; }
    int actionCount() const override { return count_; }
    bool actionListEnabled() const override { return count_ > 1; }
    void enableActionList(bool) override {}
    void enableSelectButton(bool) override {}
    void enableManualField(bool) override {}
    void setPathText(const std::string&) override {}
    void setManualText(const std::string& text) override { manual_ = text; }
    void repaint() override {}

private:
    int count_ = 0;
    int selection_ = -1;
    std::string manual_;
};

class PreviewHost final : public PageHost {
public:
    void setTabCaption(int, const std::string&) override {}
    void setStatusText(int, const std::string&) override {}
    void commandChanged() override {}
};

struct PageChoice {
    std::optional<std::string> entry;
    std::optional<std::string> path;
    std::optional<std::string> manual;
};

struct PreviewWords {
    std::string config;
    std::uint32_t mode = kHideConsole;
    std::optional<std::string> programs;
    std::array<PageChoice, kArgumentCount> pages;
    bool help = false;
};

std::optional<PreviewWords> parseWords(const std::vector<std::string>& args, std::ostream& err) {
    PreviewWords words;
    auto usage = [&](const std::string& message) -> std::optional<PreviewWords> {
        err << "vxtool preview: " << message << "\n\n" << kPreviewHelp;
        return std::nullopt;
    };
    bool modeGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "-h" || word == "--help") {
            words.help = true;
            return words;
        }
        const bool takesValue = word == "--mode" || word == "--programs" || word == "--entry" || word == "--path" ||
                                word == "--manual";
        if (!takesValue) {
            if (word.size() > 1 && word[0] == '-') return usage("unknown option " + word);
            if (!words.config.empty()) return usage("more than one config: " + words.config + " and " + word);
            if (word.empty()) return usage("the config file name is empty");
            words.config = word;
            continue;
        }
        if (i + 1 == args.size()) return usage(word + " needs a value");
        const std::string& value = args[++i];
        if (word == "--mode") {
            static constexpr const char* kModes[] = {"hide", "show", "hold", "output"};
            const auto* found = std::find(std::begin(kModes), std::end(kModes), value);
            if (found == std::end(kModes)) return usage("--mode is hide, show, hold or output, not \"" + value + "\"");
            if (modeGiven) return usage("--mode is given twice");
            modeGiven = true;
            words.mode = static_cast<std::uint32_t>(found - std::begin(kModes));
        } else if (word == "--programs") {
            if (words.programs) return usage("--programs is given twice");
            words.programs = value;
        } else {
            if (value.size() < 2 || value[0] < '1' || value[0] > '3' || value[1] != '=') {
                return usage(word + " takes N=VALUE with N the page, 1 to 3, not \"" + value + "\"");
            }
            PageChoice& page = words.pages[static_cast<std::size_t>(value[0] - '1')];
            std::optional<std::string>& slot =
                word == "--entry" ? page.entry : word == "--path" ? page.path : page.manual;
            if (slot) return usage(word + " is given twice for page " + value.substr(0, 1));
            slot = value.substr(2);
        }
    }
    if (words.config.empty()) return usage("no config file");
    return words;
}

bool isSource(const std::string& path) {
    return path.size() >= 5 && path.compare(path.size() - 5, 5, ".toml") == 0;
}

// The config as Brennic works with it: loaded (or compiled), its texts as UTF-8, its tables built. For a source,
// the TOML keys of its actions and lists.
bool loadForPreview(const std::string& path, ProgramDescription& description, authoring::CompileOutcome& names,
                    std::ostream& err) {
    if (isSource(path)) {
        std::string source;
        std::string problem;
        if (!authoring::readWholeFile(path, source, problem)) {
            err << path << ": " << problem << "\n";
            return false;
        }
        names = authoring::compileSource(source, path, description);
        if (!names.ok()) {
            for (const auto& error : names.errors) err << authoring::formatDiagnostic(path, error) << "\n";
            err << path << ": " << names.errors.size() << (names.errors.size() == 1 ? " error" : " errors") << "\n";
            return false;
        }
    } else if (!loadConfigForTool(path, description, err)) {
        return false;
    }
    decodeConfigTexts(description, Windows1252());
    if (!buildTables(description)) {
        err << path << ": The config is damaged\n";
        return false;
    }
    return true;
}

// The folder that holds the config, with no separator at its end.
std::string configFolder(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(authoring::filePath(path), ignored);
    return authoring::utf8Name(absolute.parent_path());
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

class Preview {
public:
    Preview(AppState& state, const authoring::CompileOutcome& names, std::ostream& err)
        : state_(state), names_(names), err_(err), pages_(state, host_) {}

    // Starts the pages as Brennic starts them without a save file, then makes each page's choices as the user
    // would: the entries in page order, then paths and manual texts.
    bool choose(const std::array<PageChoice, kArgumentCount>& choices) {
        for (int page = 0; page < kArgumentCount; ++page) pages_.attach(page, views_[static_cast<std::size_t>(page)]);
        for (int page = 0; page < kArgumentCount; ++page) pages_.initialisePage(page);
        for (int page = 0; page < kArgumentCount; ++page) {
            const PageChoice& choice = choices[static_cast<std::size_t>(page)];
            const bool any = choice.entry || choice.path || choice.manual;
            if (any && !inUse(page)) return false;
            if (choice.entry && !selectEntry(page, *choice.entry)) return false;
        }
        for (int page = 0; page < kArgumentCount; ++page) {
            const PageChoice& choice = choices[static_cast<std::size_t>(page)];
            ArgumentSlot& slot = state_.slots[static_cast<std::size_t>(page)];
            if (choice.path) {
                if (slot.pathUsed == 0) return refuse(page, quoted(selectedCaption(page)) + " takes no path");
                slot.path = *choice.path;
                pages_.inputChanged(page);
            }
            if (choice.manual) {
                if (slot.manualUsed == 0) {
                    return refuse(page, quoted(selectedCaption(page)) + " takes no manual arguments");
                }
                views_[static_cast<std::size_t>(page)].setManualText(*choice.manual);
                pages_.inputChanged(page);
            }
        }
        return true;
    }

private:
    const ProgramDescription& description() const { return state_.description; }

    std::string listName(std::uint16_t list) const {
        const std::string label = list < description().lists.size() ? description().lists[list].label : "";
        if (list < names_.listNames.size()) return "'" + names_.listNames[list] + "' (" + quoted(label) + ")";
        return "list " + std::to_string(list + 1) + " (" + quoted(label) + ")";
    }

    std::string selectedCaption(int page) const {
        const ArgumentSlot& slot = state_.slots[static_cast<std::size_t>(page)];
        const ActionEntry* entry = description().selectedEntry(slot.group, slot.item);
        return entry != nullptr ? entry->caption : std::string();
    }

    // The lists page `page` can show, whatever was chosen before it: page 1 the first list, every later page
    // the next lists of the entries the page before it can show.
    std::vector<std::uint16_t> possibleLists(int page) const {
        std::vector<std::uint16_t> lists{description().header.firstList};
        for (int p = 1; p <= page; ++p) {
            std::vector<std::uint16_t> next;
            for (std::uint16_t list : lists) {
                if (list >= description().lists.size()) continue;
                for (std::uint16_t action : description().lists[list].entries) {
                    if (action >= description().actions.size()) continue;
                    const ActionEntry& entry = description().actions[action];
                    if (entry.nextMode() == 0) continue;
                    if (std::find(next.begin(), next.end(), entry.nextList) == next.end()) next.push_back(entry.nextList);
                }
            }
            lists = std::move(next);
        }
        return lists;
    }

    std::string possibleText(int page) const {
        const std::vector<std::uint16_t> lists = possibleLists(page);
        if (lists.empty()) return "no entry of any earlier page leads to page " + std::to_string(page + 1);
        std::string text = "page " + std::to_string(page + 1) + " can show ";
        for (std::size_t i = 0; i < lists.size(); ++i) {
            if (i != 0) text += i + 1 == lists.size() ? " or " : ", ";
            text += listName(lists[i]);
        }
        return text;
    }

    // "; it is on 'output' ("Output")" for the lists that hold an entry of that name; empty when none does.
    std::string listsHolding(const std::string& name) const {
        std::string text;
        for (std::size_t l = 0; l < description().lists.size(); ++l) {
            for (std::uint16_t action : description().lists[l].entries) {
                if (action >= description().actions.size()) continue;
                const bool byKey = action < names_.actionNames.size() && names_.actionNames[action] == name;
                if (!byKey && description().actions[action].caption != name) continue;
                text += text.empty() ? "; " + quoted(name) + " is on " : ", ";
                text += listName(static_cast<std::uint16_t>(l));
                break;
            }
        }
        return text;
    }

    bool refuse(int page, const std::string& message) {
        err_ << "vxtool preview: page " << page + 1 << ": " << message << "\n";
        return false;
    }

    bool inUse(int page) {
        if (state_.slots[static_cast<std::size_t>(page)].enabled != 0) return true;
        return refuse(page, "not in use: " + quoted(selectedCaption(page - 1)) + " on page " + std::to_string(page) +
                                " leads to no further page; " + possibleText(page));
    }

    bool selectEntry(int page, const std::string& name) {
        const ArgumentSlot& slot = state_.slots[static_cast<std::size_t>(page)];
        if (slot.group >= description().lists.size()) return refuse(page, "the page shows no list");
        const ActionList& list = description().lists[slot.group];
        std::optional<int> found;
        std::string entries;
        for (std::size_t i = 0; i < list.entries.size(); ++i) {
            const std::uint16_t action = list.entries[i];
            if (action >= description().actions.size()) continue;
            const ActionEntry& entry = description().actions[action];
            const bool byKey = action < names_.actionNames.size() && names_.actionNames[action] == name;
            if (!found && (byKey || entry.caption == name)) found = static_cast<int>(i);
            if (!entries.empty()) entries += ", ";
            entries += action < names_.actionNames.size() ? names_.actionNames[action] + " " + quoted(entry.caption)
                                                          : quoted(entry.caption);
        }
        if (!found) {
            std::string where = "shows " + listName(slot.group);
            if (page > 0) where += " after " + quoted(selectedCaption(page - 1)) + " on page " + std::to_string(page);
            return refuse(page, "no entry " + quoted(name) + ": the page " + where + " (entries: " + entries + "); " +
                                    possibleText(page) + listsHolding(name));
        }
        PageView& view = views_[static_cast<std::size_t>(page)];
        view.selectActionItem(*found);
        pages_.selectionChanged(page, view.actionSelection());
        return true;
    }

    AppState& state_;
    const authoring::CompileOutcome& names_;
    std::ostream& err_;
    PreviewHost host_;
    std::array<PreviewPage, kArgumentCount> views_;
    ArgumentPages pages_;
};

}  // namespace

int previewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto words = parseWords(args, err);
    if (!words) return kExitUsage;
    if (words->help) {
        out << kPreviewHelp;
        return kExitSuccess;
    }

    AppState state;
    authoring::CompileOutcome names;
    if (!loadForPreview(words->config, state.description, names, err)) return kExitRefused;
    state.descriptionReady = true;
    state.savedStateValid = false;
    state.options.consoleOpt = words->mode;
    std::string programs = words->programs.value_or(configFolder(words->config));
    // The folder as the folder picker gives it: no separator at the end (one is put between it and the
    // program folder).
    while (programs.size() > 1 && (programs.back() == '\\' || programs.back() == '/')) programs.pop_back();
    state.description.setProgramsFolder(programs, state.saveFilePath);

    Preview preview(state, names, err);
    if (!preview.choose(words->pages)) return kExitRefused;

    const AssembledCommand command =
        assembleCommand(state.description, state.slots, state.pageControls, state.options.consoleOpt);
    if (command.line.empty()) {
        err << "vxtool preview: " << words->config
            << ": the config names no executable, so Start can only fail and there is no command to copy\n";
        return kExitRefused;
    }
    WarningLog warnings;
    addWarnings(warnings, command.missing);
    out << command.line << '\n' << warnings.text;
    return kExitSuccess;
}

}  // namespace brennic::vxtool
