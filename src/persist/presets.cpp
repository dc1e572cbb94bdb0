// Named presets and their file.
#include "persist/presets.h"

#include <algorithm>
#include <set>

#include "persist/file_store.h"
#include "persist/record_file.h"
#include "persist/save_file.h"
#include "platform/text.h"

namespace brennic {

std::string siblingPath(const std::string& saveFilePath, const std::string& extension) {
    const auto slash = saveFilePath.rfind('\\');
    const auto dot = saveFilePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? saveFilePath.substr(0, dot) : saveFilePath) + extension;
}

std::string presetNameProblem(std::string_view name) {
    if (name.empty()) return "A preset needs a name.";
    if (!isUtf8(name)) return "The name is not valid text.";
    if (utf16Length(name) > kMaxPresetName)
        return "A preset's name has at most " + std::to_string(kMaxPresetName) + " characters.";
    for (std::size_t pos = 0; pos < name.size();) {
        const auto c = nextCodePoint(name, pos);
        if (c && (*c < 0x20 || *c == 0x7F)) return "A preset's name cannot hold line breaks or tabs.";
    }
    if (name.find_first_not_of(' ') == std::string_view::npos) return "A preset needs a name.";
    return {};
}

std::string encodePresets(const std::vector<Preset>& presets) {
    ByteWriter out;
    out.u16(static_cast<std::uint16_t>(presets.size()));
    for (const Preset& preset : presets) {
        out.text16(preset.name);
        out.i64(preset.savedAt);
        out.text32(preset.pages);
    }
    return sealRecordFile(kPresetsKind, kPresetsVersion, out.bytes());
}

std::optional<ArgumentSlots> presetSlots(const Preset& preset) {
    static const Utf8Texts utf8;
    ArgumentSlots slots{};
    if (!decodeSaveFile(preset.pages, slots, utf8)) return std::nullopt;
    return slots;
}

DecodedPresets decodePresets(std::string_view bytes) {
    DecodedPresets result;
    const OpenedRecordFile opened = openRecordFile(bytes, kPresetsKind, kPresetsVersion);
    if (!opened.problem.empty()) {
        result.problem = opened.problem;
        return result;
    }
    ByteReader in(opened.payload);
    const std::uint16_t count = in.u16();
    std::vector<Preset> presets;
    std::set<std::string> names;
    for (std::uint16_t i = 0; i < count && in.ok(); ++i) {
        Preset preset;
        preset.name = std::string(in.text16());
        preset.savedAt = in.i64();
        preset.pages = std::string(in.text32());
        if (!in.ok()) break;
        const std::string label = "preset " + std::to_string(i + 1);
        if (!presetNameProblem(preset.name).empty()) {
            result.problem = label + " has a name Brennic does not write";
            return result;
        }
        if (!names.insert(preset.name).second) {
            result.problem = "the name \"" + preset.name + "\" is there twice";
            return result;
        }
        if (!presetSlots(preset)) {
            result.problem = "the pages of \"" + preset.name + "\" are incomplete";
            return result;
        }
        presets.push_back(std::move(preset));
    }
    if (!in.ok() || !in.atEnd()) {
        result.problem = "its list of presets is cut short or has bytes added";
        return result;
    }
    if (presets.size() > kMaxPresets) {
        result.problem = "it holds more than " + std::to_string(kMaxPresets) + " presets";
        return result;
    }
    result.presets = std::move(presets);
    return result;
}

PresetStore::State PresetStore::open(FileStore& files, const std::string& path) {
    path_ = path;
    presets_.clear();
    problem_.clear();
    const std::optional<std::string> bytes = files.read(path, kRecordFileReadLimit + 1);
    if (!bytes) {
        state_ = State::kReady;  // no file yet: no presets
        return state_;
    }
    if (bytes->size() > kRecordFileReadLimit) {
        problem_ = "it is larger than a presets file can be";
        state_ = State::kDamaged;
        return state_;
    }
    DecodedPresets decoded = decodePresets(*bytes);
    if (!decoded.problem.empty()) {
        problem_ = std::move(decoded.problem);
        state_ = State::kDamaged;
        return state_;
    }
    presets_ = std::move(decoded.presets);
    state_ = State::kReady;
    return state_;
}

const Preset* PresetStore::find(std::string_view name) const {
    const auto found =
        std::find_if(presets_.begin(), presets_.end(), [&](const Preset& preset) { return preset.name == name; });
    return found != presets_.end() ? &*found : nullptr;
}

bool PresetStore::write(FileStore& files, const std::vector<Preset>& presets) {
    return writeFileAtomically(files, path_, encodePresets(presets));
}

bool PresetStore::save(FileStore& files, const std::string& name, ArgumentSlots& slots,
                       const PageControlsTable& controls, std::int64_t now) {
    if (state_ != State::kReady || !presetNameProblem(name).empty()) return false;
    static const Utf8Texts utf8;
    std::vector<Preset> next;
    next.push_back(Preset{name, now, encodeSaveFile(slots, controls, utf8)});
    for (const Preset& preset : presets_) {
        if (preset.name != name) next.push_back(preset);
    }
    if (next.size() > kMaxPresets || !write(files, next)) return false;
    presets_ = std::move(next);
    return true;
}

bool PresetStore::remove(FileStore& files, std::string_view name) {
    if (state_ != State::kReady || find(name) == nullptr) return false;
    std::vector<Preset> next;
    for (const Preset& preset : presets_) {
        if (preset.name != name) next.push_back(preset);
    }
    if (!write(files, next)) return false;
    presets_ = std::move(next);
    return true;
}

bool PresetStore::discardDamaged(FileStore& files) {
    if (state_ != State::kDamaged) return false;
    if (!files.remove(path_)) return false;
    state_ = State::kReady;
    problem_.clear();
    presets_.clear();
    return true;
}

}  // namespace brennic
