// The command-line tokenizer and the start-up paths derived from it.
#include "app/command_line.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace brennic {

CommandLine::CommandLine(std::string commandLine, std::int32_t argumentCount, FullPathResolver resolve)
    : argumentCount_(argumentCount), remainingText_(std::move(commandLine)), resolve_(std::move(resolve)) {}

std::uint32_t CommandLine::tokensToTake(std::uint32_t limit) const {
    const auto count = static_cast<std::uint32_t>(argumentCount_);
    return count < limit ? count : limit;
}

bool CommandLine::split(std::uint32_t n) {
    if (argumentCount_ < 0 || static_cast<std::uint32_t>(argumentCount_) < n) return false;
    tokensTaken_ = n;
    tokens_.assign(n, std::string());
    for (std::uint32_t i = 0; i < n; ++i)
        if (!takeToken(i)) return false;
    argumentCount_ = static_cast<std::int32_t>(n);
    return true;
}

void CommandLine::takeOwnPath(std::string ownPath, std::size_t unquotedLength) {
    ownPath_ = std::move(ownPath);
    ownPathLength_ = unquotedLength;
}

bool CommandLine::takeToken(std::uint32_t index) {
    std::string& text = remainingText_;
    const bool ownPath = index == 0 && ownPath_.has_value();
    std::string token;
    std::size_t consumed = 0;
    bool quoted = false;
    if (ownPath && (text.empty() || text[0] != '"')) {
        // Skipped as the system read it: the text may hold spaces.
        consumed = std::min(ownPathLength_, text.size());
        if (consumed < text.size() && text[consumed] == ' ') ++consumed;
    } else if (!text.empty() && text[0] == '"') {
        const std::size_t close = text.find('"', 1);
        if (close == std::string::npos) return false;
        token = text.substr(1, close - 1);
        consumed = close + 1;
        quoted = true;
    } else {
        const std::size_t end = text.find(' ');
        const std::size_t length = end == std::string::npos ? text.size() : end;
        token = text.substr(0, length);
        if (token.find('"') != std::string::npos) return false;
        consumed = end == std::string::npos ? length : length + 1;
    }
    if (ownPath) {
        token = *ownPath_;  // reported by the system: neither resolved nor bounded by a token's length
    } else {
        // The program's own path is always made absolute; other quoted tokens are kept as written.
        if (!quoted || index == 0) {
            std::optional<std::string> full = resolve_ ? resolve_(token) : std::nullopt;
            if (!full) return false;
            token = std::move(*full);
        }
        if (utf16Length(token) > kMaxTokenLength) return false;
    }
    tokens_[index] = std::move(token);

    text.erase(0, consumed);
    const std::size_t firstKept = text.find_first_not_of(' ');
    text.erase(0, firstKept == std::string::npos ? text.size() : firstKept);
    return true;
}

bool CommandLine::copyToken(std::string& destination, std::uint32_t index) const {
    if (index >= tokensTaken_) return false;
    destination = tokens_[index];
    return true;
}

std::string programDirectoryOf(const std::string& programPath) {
    const std::size_t slash = programPath.rfind('\\');
    return (slash == std::string::npos ? programPath : programPath.substr(0, slash)) + '\\';
}

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

}  // namespace

std::size_t ownPathPrefixLength(std::string_view text, const std::string& ownPath, const FullPathResolver& resolve) {
    const std::size_t firstSpace = std::min(text.find(' '), text.size());
    if (!resolve) return firstSpace;
    for (std::size_t end = firstSpace; end <= text.size(); end = std::min(text.find(' ', end + 1), text.size())) {
        const std::string_view start = text.substr(0, end);
        if (start.find('"') != std::string_view::npos) break;
        if (const std::optional<std::string> full = resolve(std::string(start))) {
            if (sameLetters(*full, ownPath) || sameLetters(*full + ".exe", ownPath)) return end;
        }
        if (end == text.size()) break;
    }
    return firstSpace;
}

StartupPaths startupPaths(const std::string& text, std::int32_t argumentCount, const FullPathResolver& resolve,
                          const std::optional<std::string>& ownPath) {
    // The platform counts at least the program itself; the program path is taken even from a lower count.
    if (argumentCount < 1) argumentCount = 1;
    std::size_t ownPathLength = 0;
    if (ownPath && (text.empty() || text[0] != '"')) {
        ownPathLength = ownPathPrefixLength(text, *ownPath, resolve);
        // The platform counted each word of an unquoted program path with spaces as an argument of its own.
        const std::string_view taken = std::string_view(text).substr(0, ownPathLength);
        for (std::size_t at = taken.find(' '); at != std::string_view::npos && argumentCount > 1;
             at = taken.find(' ', taken.find_first_not_of(' ', at))) {
            --argumentCount;
        }
    }
    CommandLine commandLine(text, argumentCount, resolve);
    if (ownPath) commandLine.takeOwnPath(*ownPath, ownPathLength);
    StartupPaths paths;
    const bool complete = commandLine.split(commandLine.tokensToTake(2));
    commandLine.copyToken(paths.programPath, 0);  // empty when the split failed on token 0
    if (!complete) return paths;
    std::string configPath;
    if (commandLine.copyToken(configPath, 1)) {
        paths.configPath = std::move(configPath);
    } else {
        paths.configPath = programDirectoryOf(paths.programPath) + "prog.vx";
    }
    return paths;
}

}  // namespace brennic
