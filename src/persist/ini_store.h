// Options kept by one tool folder: brennic.ini beside brennic.exe, a UTF-8 text file that takes the place of
// the shared registry key while it exists. The file holds the same value names, types and data as the key, so
// the same load and save (with their range checks and defaults) run over it.
//
//     ; comment
//     [Options]
//     "user dir"=dword:1
//     "console opt "=dword:0
//     "run app path"=text:C:\Tools
//
// Names are quoted (a name may end in a space) and compared without regard to ASCII case, as the registry
// does; dword values are decimal, text values run verbatim to the end of the line. Lines of names this
// version does not know, and comments, survive a save.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "persist/file_store.h"
#include "persist/options.h"
#include "platform/platform.h"

namespace brennic {

inline constexpr const char* kOptionsFileName = "brennic.ini";
inline constexpr std::size_t kMaxOptionsFileSize = 64 * 1024;

// An options file's lines, with the values found in them.
class OptionsFile {
public:
    // A new file: a comment and the section line.
    OptionsFile();

    // Parses the file's bytes. Nothing, with `problem` set ("line 3: ..."), when they are not an options file.
    static std::optional<OptionsFile> parse(const std::string& bytes, std::string& problem);

    bool find(const std::string& name, StoredValue& value) const;
    // False when the name or text cannot be written in this format (a quote, a line break, a zero).
    bool set(const std::string& name, const StoredValue& value);
    std::string bytes() const;  // CR LF line ends, no byte-order mark

private:
    struct Entry {
        std::string name;
        StoredValue value;
        std::size_t line;
    };
    const Entry* entry(const std::string& name) const;

    std::vector<std::string> lines_;
    std::vector<Entry> entries_;
};

// The settings store over one options file. Every read reads the file; every closeKey after a write
// replaces the file in one step (a temporary file moved over it), so a failure never leaves half a file.
class IniSettingsStore : public SettingsStore {
public:
    IniSettingsStore(FileStore& files, std::string path) : files_(files), path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    bool exists() const;
    // Moves the file aside (to the backup name) so that the folder uses the shared options again.
    bool retire();
    std::string backupPath() const { return path_ + ".bak"; }
    bool discard() { return files_.remove(path_); }

    bool read(const std::string& name, StoredValue& value) override;
    bool createKey() override;
    bool writeDword(const std::string& name, std::uint32_t value) override;
    bool writeText(const std::string& name, const std::string& text) override;
    bool closeKey() override;
    std::string problem() const override { return problem_; }

private:
    // The file as it is now: parsed, new when it does not exist, nothing when it is damaged.
    std::optional<OptionsFile> load(std::optional<std::string>& raw);

    FileStore& files_;
    std::string path_;
    std::optional<OptionsFile> open_;  // between createKey and closeKey
    bool changed_ = false;
    std::string problem_;
};

// The folder's own file while it exists, the shared store otherwise; chosen afresh for each read and for each
// value a save writes.
class FolderOrSharedStore : public SettingsStore {
public:
    FolderOrSharedStore(IniSettingsStore& folder, SettingsStore& shared) : folder_(folder), shared_(shared) {}
    bool usesFolder() const { return folder_.exists(); }

    bool read(const std::string& name, StoredValue& value) override;
    bool createKey() override;
    bool writeDword(const std::string& name, std::uint32_t value) override;
    bool writeText(const std::string& name, const std::string& text) override;
    bool closeKey() override;
    std::string problem() const override { return last_ != nullptr ? last_->problem() : std::string(); }

private:
    SettingsStore& pick() { return folder_.exists() ? static_cast<SettingsStore&>(folder_) : shared_; }

    IniSettingsStore& folder_;
    SettingsStore& shared_;
    SettingsStore* last_ = nullptr;
};

inline constexpr const char* kOptionsFileCaption = "Options";

// Switches the folder to its own options file, written with the options in effect, or (when it has one)
// back to the shared options, moving the file aside. Failures are shown; the result is whether the folder
// keeps its own options afterwards.
bool switchOptionsPlace(IniSettingsStore& folder, MessageBoxes& boxes, const AppOptions& options);

}  // namespace brennic
