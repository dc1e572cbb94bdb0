// Named presets: the three pages kept under a name, in one file per described program beside its save file
// (`<stem>.presets`). Each preset holds the pages exactly as the save file holds them, with its texts in UTF-8.
//
// The file is a record file of kind "PRST", version 1 (see record_file.h); its payload:
//   count u16, then per preset, newest first:
//     name   u16 length + UTF-8 (1 to 64 characters, unique)
//     saved  i64, seconds since 1970-01-01 UTC
//     pages  u32 length + the save file's blocks 1-4, texts in UTF-8
// A file that breaks any of this is refused whole and kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/argument_slot.h"
#include "state/page_controls.h"

namespace brennic {

class FileStore;
class ProgramDescription;

inline constexpr std::string_view kPresetsKind = "PRST";
inline constexpr std::uint16_t kPresetsVersion = 1;
inline constexpr std::size_t kMaxPresetName = 64;  // characters, as an edit box counts them
inline constexpr std::size_t kMaxPresets = 100;

struct Preset {
    std::string name;
    std::int64_t savedAt = 0;
    std::string pages;  // the save file's blocks 1-4, texts in UTF-8
    bool operator==(const Preset&) const = default;
};

// The file next to the save file: its name with ".presets" (or `extension`) for the last extension.
std::string siblingPath(const std::string& saveFilePath, const std::string& extension);

// Why a name cannot be a preset's name (empty, too long, a control character); empty when it can.
std::string presetNameProblem(std::string_view name);

std::string encodePresets(const std::vector<Preset>& presets);

struct DecodedPresets {
    std::string problem;  // empty when the file was taken whole
    std::vector<Preset> presets;
};
DecodedPresets decodePresets(std::string_view bytes);

// The pages of a preset, read into fresh slots; none when its bytes do not decode.
std::optional<ArgumentSlots> presetSlots(const Preset& preset);

// The presets of one described program, as read from and written to its presets file.
class PresetStore {
public:
    enum class State { kNone, kReady, kDamaged };

    // Reads the file at `path` (a missing file is an empty list). kDamaged keeps the reason in problem().
    State open(FileStore& files, const std::string& path);
    State state() const { return state_; }
    const std::string& path() const { return path_; }
    const std::string& problem() const { return problem_; }
    const std::vector<Preset>& presets() const { return presets_; }
    const Preset* find(std::string_view name) const;

    // Keeps the pages under `name` as the newest preset, replacing one of the same name, and writes the file.
    // The pages are taken as a save would take them (live manual texts). False, with nothing changed in
    // memory or on disk, when the store is damaged, the write fails or a new name would pass kMaxPresets.
    bool save(FileStore& files, const std::string& name, ArgumentSlots& slots, const PageControlsTable& controls,
              std::int64_t now);
    // Removes the preset and writes the file; false, with nothing changed, when that fails.
    bool remove(FileStore& files, std::string_view name);
    // After the user agreed to remove a damaged file: removes it and starts an empty list.
    bool discardDamaged(FileStore& files);

private:
    bool write(FileStore& files, const std::vector<Preset>& presets);

    State state_ = State::kNone;
    std::string path_;
    std::string problem_;
    std::vector<Preset> presets_;
};

}  // namespace brennic
