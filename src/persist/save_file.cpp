// Reading and writing the save file.
#include "persist/save_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "state/program_description.h"
#include "persist/file_store.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace brennic {

namespace {

// A flag as one byte. A non-zero flag never becomes a zero byte, so the blocks that follow always match it.
std::uint8_t flagByte(std::int32_t flag) {
    const auto low = static_cast<std::uint8_t>(static_cast<std::uint32_t>(flag) & 0xFFu);
    return flag != 0 && low == 0 ? std::uint8_t{1} : low;
}

void putU16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFFu));
    out.push_back(static_cast<char>(value >> 8));
}

// A text as stored: up to its first zero byte, then the terminating zero.
void putText(std::string& out, const std::string& text) {
    out.append(text.c_str());
    out.push_back('\0');
}

// The text in the code page: exact when it fits, otherwise each character the code page lacks becomes '?'.
// Sets `exact` to false when a character was replaced.
std::string legacyForm(std::string_view text, const CodePage& legacyTexts, bool& exact) {
    if (auto bytes = legacyTexts.fromUtf8(text)) return std::move(*bytes);
    exact = false;
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const bool valid = nextCodePoint(text, pos).has_value();
        const auto bytes = valid ? legacyTexts.fromUtf8(text.substr(start, pos - start)) : std::nullopt;
        out += bytes ? *bytes : std::string("?");
    }
    return out;
}

// Reads forward over the file's bytes; once a read runs past the end, ok() stays false.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::string_view rest() const { return ok_ ? bytes_.substr(pos_) : std::string_view(); }

    std::uint8_t u8() {
        if (!ok_ || pos_ >= bytes_.size()) return fail<std::uint8_t>();
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }

    std::uint16_t u16() {
        const std::uint8_t low = u8();
        const std::uint8_t high = u8();
        return static_cast<std::uint16_t>(low | (high << 8));
    }

    std::string text() {
        if (!ok_) return {};
        const auto end = bytes_.find('\0', pos_);
        if (end == std::string_view::npos) return fail<std::string>();
        std::string result(bytes_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return result;
    }

private:
    template <typename T>
    T fail() {
        ok_ = false;
        return T{};
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

std::string encodeSaveFile(ArgumentSlots& slots, const PageControlsTable& controls, const CodePage& legacyTexts) {
    struct Flags {
        std::uint8_t enabled = 0, path = 0, manual = 0;
    };
    std::array<Flags, kArgumentCount> flags{};
    std::string out;
    std::uint8_t count = 0;

    for (std::size_t page = 0; page < slots.size(); ++page) {
        ArgumentSlot& slot = slots[page];
        Flags& f = flags[page];
        f.enabled = flagByte(slot.enabled);
        out.push_back(static_cast<char>(f.enabled));
        if (f.enabled == 0) continue;

        if (slot.pathUsed != 0 && !slot.path.empty() && slot.path.front() != '\0') {
            f.path = flagByte(slot.pathUsed);
            ++count;
        }
        out.push_back(static_cast<char>(f.path));

        if (slot.manualUsed != 0) {
            std::string text = controls[page] ? controls[page]->manualText() : std::string();
            text.resize(std::string_view(text.c_str()).size());
            text = std::string(cutToUtf16Length(text, kMaxText));
            if (!text.empty()) {
                f.manual = flagByte(slot.manualUsed);
                ++count;
                slot.manualText = std::move(text);
            }
        }
        out.push_back(static_cast<char>(f.manual));
    }

    for (std::size_t page = 0; page < slots.size(); ++page) {
        if (flags[page].enabled == 0) continue;
        putU16(out, slots[page].group);
        putU16(out, slots[page].item);
    }

    out.push_back(static_cast<char>(count));

    std::vector<const std::string*> texts;
    for (std::size_t page = 0; page < slots.size(); ++page) {
        if (flags[page].path != 0) texts.push_back(&slots[page].path);
        if (flags[page].manual != 0) texts.push_back(&slots[page].manualText);
    }
    bool exact = true;
    for (const std::string* text : texts) putText(out, legacyForm(text->c_str(), legacyTexts, exact));
    if (!exact) {
        out.append(kUtf8TextsTag);
        for (const std::string* text : texts) putText(out, validUtf8(std::string_view(text->c_str())));
    }
    return out;
}

bool decodeSaveFile(std::string_view bytes, ArgumentSlots& slots, const CodePage& legacyTexts) {
    // Everything is read into fresh records first: a page the file leaves out is restored as not in use.
    ArgumentSlots read{};
    Reader in(bytes);

    for (ArgumentSlot& slot : read) {
        slot.enabled = in.u8();
        if (slot.enabled == 0) continue;
        slot.pathUsed = in.u8();
        slot.manualUsed = in.u8();
    }
    for (ArgumentSlot& slot : read) {
        if (slot.enabled == 0) continue;
        slot.group = in.u16();
        slot.item = in.u16();
    }
    in.u8();  // the text count: the flags already say which texts follow
    std::vector<std::string*> texts;
    for (ArgumentSlot& slot : read) {
        if (slot.pathUsed != 0) texts.push_back(&slot.path);
        if (slot.manualUsed != 0) texts.push_back(&slot.manualText);
    }
    for (std::string* text : texts) *text = legacyTexts.toUtf8(in.text());
    if (!in.ok()) return false;

    // Block 5 is taken only whole: its tag, one valid UTF-8 text for every text above.
    const std::string_view rest = in.rest();
    if (rest.substr(0, kUtf8TextsTag.size()) == kUtf8TextsTag) {
        Reader utf8(rest.substr(kUtf8TextsTag.size()));
        std::vector<std::string> unicode;
        for (std::size_t i = 0; i < texts.size() && utf8.ok(); ++i) unicode.push_back(utf8.text());
        const bool whole = utf8.ok() && std::all_of(unicode.begin(), unicode.end(),
                                                     [](const std::string& text) { return isUtf8(text); });
        if (whole) {
            for (std::size_t i = 0; i < texts.size(); ++i) *texts[i] = std::move(unicode[i]);
        }
    }

    for (std::size_t page = 0; page < slots.size(); ++page) {
        read[page].toolTip = slots[page].toolTip;
        slots[page] = std::move(read[page]);
    }
    return true;
}

bool writeSaveFile(ArgumentSlots& slots, const PageControlsTable& controls, const std::string& saveFilePath,
                   FileStore& files, MessageBoxes& boxes, const CodePage& legacyTexts) {
    const std::string bytes = encodeSaveFile(slots, controls, legacyTexts);
    if (writeFileAtomically(files, saveFilePath, bytes)) return true;
    boxes.show("Error save!", "Save!", kMbSystemModal);
    return false;
}

bool loadSaveFile(ArgumentSlots& slots, const std::string& saveFilePath, FileStore& files,
                  const CodePage& legacyTexts) {
    const std::optional<std::string> bytes = files.read(saveFilePath, kSaveFileReadLimit);
    return bytes && decodeSaveFile(*bytes, slots, legacyTexts);
}

std::string savedStateMisfit(const ProgramDescription& description, const ArgumentSlots& slots,
                             const std::string& source) {
    using Misfit = ProgramDescription::SlotMisfit;
    const Misfit misfit = description.findSlotMisfit(slots.data());
    const std::string changed = "The config's lists changed since " + source + " was saved: ";
    const std::string argument = "argument " + std::to_string(misfit.page + 1);
    switch (misfit.kind) {
        case Misfit::kNoSuchList:
            return changed + argument + " is on list " + std::to_string(misfit.group + 1) +
                   ", but the config now has " + std::to_string(misfit.available) + " lists.";
        case Misfit::kNoSuchEntry:
            return changed + argument + " has entry " + std::to_string(misfit.item + 1) + " of list " +
                   std::to_string(misfit.group + 1) + ", which now has " + std::to_string(misfit.available) +
                   " entries.";
        case Misfit::kBrokenChain:
            return changed + argument +
                   (misfit.page == 0 ? " is not on the list the config now starts with."
                                     : " no longer follows from the entry chosen on the argument before it.");
        case Misfit::kFits: break;
    }
    for (std::size_t page = 0; page < slots.size(); ++page) {
        if (utf16Length(slots[page].manualText) > kMaxText)
            return "It was not written by Brennic: argument " + std::to_string(page + 1) +
                   " holds manual arguments longer than the field's " + std::to_string(kMaxText) + " characters.";
    }
    return {};
}

void offerSaveFileRemoval(const std::string& saveFilePath, FileStore& files, MessageBoxes& boxes,
                          const std::string& reason) {
    boxes.beep(kMbIconExclamation);
    std::string text = "Save file is damaged, remove file?";
    if (!reason.empty()) text += "\n\n" + reason + "\n\nNo keeps the file; the pages start fresh.";
    if (boxes.show(text, "Save file", kMbIconQuestion | kMbYesNo) == kIdYes) files.remove(saveFilePath);
}

bool restoreSavedState(ArgumentSlots& slots, const ProgramDescription& description,
                       const std::string& saveFilePath, FileStore& files, MessageBoxes& boxes,
                       const CodePage& legacyTexts) {
    if (!loadSaveFile(slots, saveFilePath, files, legacyTexts)) return false;
    // A state that no longer follows the lists' chain (the config changed since it was saved) would show a
    // page the page before it does not lead to, and put it on the command line: it is damaged too.
    const std::string misfit = savedStateMisfit(description, slots, "the file");
    if (misfit.empty()) return true;
    offerSaveFileRemoval(saveFilePath, files, boxes, misfit);
    // What the rejected file held is not used: the pages start fresh.
    for (ArgumentSlot& slot : slots) {
        const WindowHandle toolTip = slot.toolTip;
        slot = ArgumentSlot{};
        slot.toolTip = toolTip;
    }
    return false;
}

std::string Utf8Texts::toUtf8(std::string_view bytes) const { return validUtf8(bytes); }

std::optional<std::string> Utf8Texts::fromUtf8(std::string_view text) const { return std::string(text); }

}  // namespace brennic
