// The single in-memory description of the described program: header counts, the raw arrays read from
// the config file, and the linked tables that buildTables derives from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brennic {

// Table limits: a count must be below its limit.
inline constexpr std::uint16_t kListLimit = 30;
inline constexpr std::uint16_t kActionLimit = 100;
inline constexpr std::uint16_t kPathSpecLimit = 50;
inline constexpr std::uint16_t kManualSpecLimit = 100;
inline constexpr std::uint16_t kFilterTextLimit = 100;
inline constexpr std::uint16_t kMaxListEntries = 20;

// The header's reserved bytes of a config whose texts are UTF-8: "UTF-8" and a zero byte. Every other value
// means texts in the system's ANSI code page, as in every config written before texts were Unicode.
inline constexpr std::array<std::uint8_t, 6> kUtf8TextsMarker = {'U', 'T', 'F', '-', '8', 0};

// The 26-byte config header, field for field.
struct ConfigHeader {
    std::array<std::uint8_t, 6> reserved{};
    std::uint16_t version = 0;
    std::uint16_t stringCount = 0;
    std::uint16_t firstList = 0;
    std::uint16_t listCount = 0;
    std::uint16_t listItemCount = 0;
    std::uint16_t filterItemCount = 0;
    std::uint16_t actionCount = 0;
    std::uint16_t pathSpecCount = 0;
    std::uint16_t filterTextCount = 0;
    std::uint16_t manualSpecCount = 0;

    bool textsAreUtf8() const { return reserved == kUtf8TextsMarker; }

    bool operator==(const ConfigHeader&) const = default;
};

// One 10-byte action record as stored in the file (1-based references, 0 = none).
struct ActionRecord {
    std::uint16_t pathSpecNo = 0;
    std::uint16_t manualSpecNo = 0;
    std::uint16_t nextListNo = 0;
    std::uint8_t textCount = 0;
    std::uint8_t reserved1 = 0;
    std::uint8_t placement = 0;
    std::uint8_t reserved2 = 0;

    bool operator==(const ActionRecord&) const = default;
};

// One 2-byte path-spec record as stored in the file.
struct PathSpecRecord {
    std::uint8_t dialogKind = 0;
    std::uint8_t filterCount = 0;

    bool operator==(const PathSpecRecord&) const = default;
};

struct ActionList {
    std::uint16_t entryCount = 0;
    std::vector<std::uint16_t> entries;  // 0-based indices into ProgramDescription::actions
    std::string label;

    bool operator==(const ActionList&) const = default;
};

struct ActionEntry {
    std::uint16_t nextList = 0;
    std::uint32_t flags = 0;  // bits 0-1 nextMode, 2-3 pathMode, 4-5 manualMode
    std::uint8_t pathPosition = 0;
    std::uint8_t actionPosition = 0;
    std::uint8_t manualPosition = 0;
    std::uint16_t pathSpec = 0;
    std::uint16_t manualSpec = 0;
    std::string caption;
    std::string actionText;

    std::uint32_t nextMode() const { return flags & 3u; }
    std::uint32_t pathMode() const { return (flags >> 2) & 3u; }
    std::uint32_t manualMode() const { return (flags >> 4) & 3u; }

    bool operator==(const ActionEntry&) const = default;
};

enum DialogKind : std::uint8_t { kOpenFileDialog = 0, kSaveFileDialog = 1, kFolderDialog = 2 };

struct PathSpec {
    std::uint8_t dialogKind = 0;
    std::uint8_t filterCount = 0;
    std::vector<std::uint16_t> filters;  // 0-based indices into ProgramDescription::filterTexts
    std::string label;

    bool operator==(const PathSpec&) const = default;
};

struct ManualSpec {
    std::string label;
    std::string info;

    bool operator==(const ManualSpec&) const = default;
};

// Lines collected while a command line is assembled; shown and emptied by the launch.
struct WarningLog {
    std::string text;
};

// Indices of the six description texts (string table entries 0 to 5).
enum DescriptionText : int {
    kExecutableName = 0,
    kProgramFolderName = 1,
    kVersionText = 2,
    kAppAuthor = 3,
    kCnfAuthor = 4,
    kContactText = 5,
};

struct ArgumentSlot;

class ProgramDescription {
public:
    WarningLog warningLog;

    // Raw arrays, present from loadDescription until buildTables.
    std::vector<std::uint16_t> listLengths;
    std::vector<std::uint16_t> listItems;
    std::vector<std::uint8_t> filterItems;
    ConfigHeader header;
    std::vector<ActionRecord> actionRecords;
    std::vector<PathSpecRecord> pathSpecRecords;
    std::vector<std::string> stringTable;

    // Derived tables, built by buildTables.
    std::vector<ActionList> lists;
    std::vector<ActionEntry> actions;
    std::vector<PathSpec> pathSpecs;
    std::vector<ManualSpec> manualSpecs;
    std::vector<std::string> filterTexts;

    std::array<std::string, 6> texts;  // executableName .. contactText, see DescriptionText
    std::string programsFolder;        // ends in a backslash once set

    static constexpr std::uint16_t maxVersion = 5;
    static constexpr std::uint16_t minVersion = 1;

    const std::string& executableName() const { return texts[kExecutableName]; }
    const std::string& programFolderName() const { return texts[kProgramFolderName]; }
    const std::string& versionText() const { return texts[kVersionText]; }
    const std::string& appAuthor() const { return texts[kAppAuthor]; }
    const std::string& cnfAuthor() const { return texts[kCnfAuthor]; }
    const std::string& contactText() const { return texts[kContactText]; }

    // Path operations.
    void setProgramsFolderFromPath(std::string& path);
    void setProgramsFolder(const std::string& folder, std::string& saveFilePath);
    void makeSaveFilePath(std::string& saveFilePath) const;
    void makeExecutablePath(std::string& appExePath) const;
    std::string argumentFolder(const ArgumentSlot& slot) const;
    bool checkSlots(const ArgumentSlot* slots) const;  // the three slots read from a save file
    // Whether slots that passed checkSlots also follow the chain of the lists: page 1 shows firstList, and page
    // k+1 is in use exactly while page k is in use and its entry leads on, and then shows that entry's next list.
    // Reads the raw arrays, like checkSlots. A state whose first page is not in use holds trivially: the pages
    // then start fresh.
    bool savedChainHolds(const ArgumentSlot* slots) const;
    // Why slots do not fit: the first page that names a list or entry the description lacks, else the first
    // page where the chain breaks. Reads the raw arrays while they exist (start-up, before buildTables) and
    // the built tables after that, so a save file and a preset are judged by the same rules.
    struct SlotMisfit {
        enum Kind { kFits, kNoSuchList, kNoSuchEntry, kBrokenChain } kind = kFits;
        int page = 0;               // 0-based page the misfit was found on
        std::uint16_t group = 0;    // the list the page names
        std::uint16_t item = 0;     // the entry the page names
        std::size_t available = 0;  // lists in the description (kNoSuchList), entries of the list (kNoSuchEntry)
    };
    SlotMisfit findSlotMisfit(const ArgumentSlot* slots) const;
    const std::string& descriptionText(int index) const;  // the text putTextInWindow shows; index 0..5

    // The entry a slot selects, or nullptr when group or item does not name one.
    const ActionEntry* selectedEntry(std::uint16_t group, std::uint16_t item) const;
};

// The stem of a file name: up to, not including, its last '.'; a name without '.' is its own stem.
std::string fileStem(const std::string& name);

}  // namespace brennic
