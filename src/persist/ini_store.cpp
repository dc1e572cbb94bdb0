// The options file of one tool folder.
#include "persist/ini_store.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/text.h"

namespace brennic {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kSection = "[Options]";
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kTextPrefix = "text:";

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && sameName(text.substr(0, prefix.size()), prefix);
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<std::uint32_t> decimal(std::string_view digits) {
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    std::uint64_t number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    if (number > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(number);
}

StoredValue dwordValue(std::uint32_t number) {
    StoredValue value{kStoreDword, std::string(sizeof number, '\0')};
    std::memcpy(value.data.data(), &number, sizeof number);  // little-endian, as the registry holds it
    return value;
}

bool writable(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

std::optional<std::string> renderLine(const std::string& name, const StoredValue& value) {
    if (name.empty() || !writable(name) || name.find('"') != std::string::npos || !isUtf8(name)) return std::nullopt;
    std::string line = "\"" + name + "\"=";
    if (value.type == kStoreDword && value.data.size() == sizeof(std::uint32_t)) {
        std::uint32_t number = 0;
        std::memcpy(&number, value.data.data(), sizeof number);
        return line + std::string(kDwordPrefix) + std::to_string(number);
    }
    if (value.type == kStoreText && writable(value.data) && isUtf8(value.data))
        return line + std::string(kTextPrefix) + value.data;
    return std::nullopt;
}

std::string lineProblem(std::size_t line, const std::string& what) {
    return "line " + std::to_string(line + 1) + ": " + what;
}

}  // namespace

OptionsFile::OptionsFile()
    : lines_{"; Brennic's options for the tools in this folder (UTF-8). Without this file the shared options apply.",
             std::string(kSection)} {}

std::optional<OptionsFile> OptionsFile::parse(const std::string& bytes, std::string& problem) {
    if (bytes.size() > kMaxOptionsFileSize) {
        problem = "the file is larger than 64 KB";
        return std::nullopt;
    }
    std::string_view text(bytes);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());

    OptionsFile file;
    file.lines_.clear();
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t number = file.lines_.size();
        if (!isUtf8(line) || line.find('\0') != std::string_view::npos) {
            problem = lineProblem(number, "not UTF-8 text");
            return std::nullopt;
        }
        const std::string_view content = trimmed(line);
        file.lines_.emplace_back(line);
        if (content.empty() || content.front() == ';' || content.front() == '#') continue;
        if (content.front() == '[') {
            if (!sameName(content, kSection)) {
                problem = lineProblem(number, "a section other than [Options]");
                return std::nullopt;
            }
            inSection = true;
            continue;
        }
        if (content.front() != '"') {
            problem = lineProblem(number, "not a \"name\"=value line");
            return std::nullopt;
        }
        if (!inSection) {
            problem = lineProblem(number, "a value before the [Options] line");
            return std::nullopt;
        }
        const std::string_view rest = content.substr(1);
        const auto quote = rest.find('"');
        if (quote == std::string_view::npos || quote == 0) {
            problem = lineProblem(number, "a value name must be a quoted, non-empty text");
            return std::nullopt;
        }
        std::string name(rest.substr(0, quote));
        std::string_view after = trimmed(rest.substr(quote + 1));
        if (after.empty() || after.front() != '=') {
            problem = lineProblem(number, "'=' missing after the name");
            return std::nullopt;
        }
        // The value starts after '=' and optional blanks; a text keeps everything after its prefix.
        const auto valueStart = line.find('=', line.find('"') + 1 + quote + 1);
        std::string_view value = line.substr(valueStart + 1);
        value.remove_prefix(std::min(value.size(), value.find_first_not_of(" \t")));
        StoredValue stored;
        if (startsWithNoCase(value, kDwordPrefix)) {
            const auto number32 = decimal(trimmed(value.substr(kDwordPrefix.size())));
            if (!number32) {
                problem = lineProblem(number, "a dword must be a decimal number from 0 to 4294967295");
                return std::nullopt;
            }
            stored = dwordValue(*number32);
        } else if (startsWithNoCase(value, kTextPrefix)) {
            stored = {kStoreText, std::string(value.substr(kTextPrefix.size()))};
        } else {
            problem = lineProblem(number, "a value must start with dword: or text:");
            return std::nullopt;
        }
        if (file.entry(name) != nullptr) {
            problem = lineProblem(number, "\"" + name + "\" is given twice");
            return std::nullopt;
        }
        file.entries_.push_back(Entry{std::move(name), std::move(stored), number});
    }
    return file;
}

const OptionsFile::Entry* OptionsFile::entry(const std::string& name) const {
    for (const Entry& e : entries_)
        if (sameName(e.name, name)) return &e;
    return nullptr;
}

bool OptionsFile::find(const std::string& name, StoredValue& value) const {
    const Entry* found = entry(name);
    if (found == nullptr) return false;
    value = found->value;
    return true;
}

bool OptionsFile::set(const std::string& name, const StoredValue& value) {
    const auto line = renderLine(name, value);
    if (!line) return false;
    for (Entry& e : entries_) {
        if (sameName(e.name, name)) {
            e.value = value;
            lines_[e.line] = *line;
            return true;
        }
    }
    bool hasSection = false;
    for (const std::string& l : lines_) hasSection = hasSection || sameName(trimmed(l), kSection);
    if (!hasSection) lines_.emplace_back(kSection);
    entries_.push_back(Entry{name, value, lines_.size()});
    lines_.push_back(*line);
    return true;
}

std::string OptionsFile::bytes() const {
    std::string out;
    for (const std::string& line : lines_) out += line + "\r\n";
    return out;
}

bool IniSettingsStore::exists() const { return files_.read(path_, 0).has_value(); }

bool IniSettingsStore::retire() {
    problem_.clear();
    if (files_.replace(path_, backupPath())) return true;
    problem_ = "The options file\n" + path_ + "\ncould not be moved aside to " + backupPath() +
               ": this folder keeps its own options.";
    return false;
}

std::optional<OptionsFile> IniSettingsStore::load(std::optional<std::string>& raw) {
    raw = files_.read(path_, kMaxOptionsFileSize + 1);
    if (!raw) return OptionsFile();
    std::string why;
    auto file = OptionsFile::parse(*raw, why);
    if (!file) {
        problem_ = "The options file\n" + path_ + "\nis damaged (" + why +
                   ") and is not used: the built-in defaults are in effect. Save config writes a new file and "
                   "keeps the damaged one as " + backupPath() + ".";
    }
    return file;
}

bool IniSettingsStore::read(const std::string& name, StoredValue& value) {
    problem_.clear();
    std::optional<std::string> raw;
    const auto file = load(raw);
    return raw && file && file->find(name, value);
}

bool IniSettingsStore::createKey() {
    problem_.clear();
    changed_ = false;
    std::optional<std::string> raw;
    open_ = load(raw);
    if (open_) return true;
    // A damaged file is kept before it is replaced: what it held may still matter to its owner.
    problem_.clear();
    if (!files_.writeNew(backupPath(), *raw)) {
        problem_ = "The damaged options file\n" + path_ + "\ncould not be kept as " + backupPath() +
                   "; nothing was saved.";
        return false;
    }
    open_ = OptionsFile();
    return true;
}

bool IniSettingsStore::writeDword(const std::string& name, std::uint32_t value) {
    problem_.clear();
    if (!open_ || !open_->set(name, dwordValue(value))) return false;
    changed_ = true;
    return true;
}

bool IniSettingsStore::writeText(const std::string& name, const std::string& text) {
    problem_.clear();
    if (!open_) return false;
    if (!open_->set(name, StoredValue{kStoreText, text})) {
        problem_ = "\"" + name + "\" cannot be kept in the options file: its text holds a line break.";
        return false;
    }
    changed_ = true;
    return true;
}

bool IniSettingsStore::closeKey() {
    problem_.clear();
    const bool write = open_.has_value() && changed_;
    const std::string bytes = write ? open_->bytes() : std::string();
    open_.reset();
    changed_ = false;
    if (!write) return true;
    if (writeFileAtomically(files_, path_, bytes)) return true;
    problem_ = "The options could not be written to\n" + path_ +
               "\nThe folder may be read-only or the disk full; the options were not saved.";
    return false;
}

bool FolderOrSharedStore::read(const std::string& name, StoredValue& value) {
    last_ = &pick();
    return last_->read(name, value);
}

bool FolderOrSharedStore::createKey() {
    last_ = &pick();
    return last_->createKey();
}

bool FolderOrSharedStore::writeDword(const std::string& name, std::uint32_t value) {
    return last_ != nullptr && last_->writeDword(name, value);
}

bool FolderOrSharedStore::writeText(const std::string& name, const std::string& text) {
    return last_ != nullptr && last_->writeText(name, text);
}

bool FolderOrSharedStore::closeKey() { return last_ == nullptr || last_->closeKey(); }

bool switchOptionsPlace(IniSettingsStore& folder, MessageBoxes& boxes, const AppOptions& options) {
    if (folder.exists()) {
        if (folder.retire()) return false;
        boxes.show(folder.problem(), kOptionsFileCaption, kMbOk | kMbIconError);
        return true;
    }
    if (saveOptions(folder, boxes, options) == 0) return true;
    // Half a set of options would decide the folder's options from then on: the folder stays on the shared ones.
    folder.discard();
    return false;
}

}  // namespace brennic
