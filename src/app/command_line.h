// Splitting the process's command line into the program's own path and the config path.
//
// The tokenizer's rules, on the command line (UTF-8), for each token in turn:
//   "C:\Tools\app.exe" cfg.vx     a token that starts with a quote runs to the next quote; it may be empty and
//                                 hold spaces; the quotes are removed and the text is kept as written
//   app  cfg\a.vx                 any other token runs to the first space and is made absolute with the resolver
//   a"b  /  "open                 a quote inside an unquoted token, or a quote never closed, fails the split
//   app    cfg.vx                 after each token every leading space (not tab) is skipped
// There is no backslash escaping and doubled quotes are not special. Token 0, the program's own path, is always
// made absolute, quoted or not. A token longer than 259 characters (UTF-16 units, after resolution) fails the
// split.
//
// The text of token 0 is only what the starter wrote: "brennic" typed in a console whose current folder is
// elsewhere, or an unquoted C:\My Tools\brennic.exe handed to CreateProcess (which tries each start of the line
// that ends at a space). When the program knows its own file, that file is the program path, and token 0 is
// skipped as the system read it: up to the first start of the line that names the file.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic {

// The platform's full-path resolution against the current directory (a 260-byte result buffer): the full path,
// or nullopt when it fails or does not fit in 259 characters.
using FullPathResolver = std::function<std::optional<std::string>(const std::string& name)>;

inline constexpr std::size_t kMaxTokenLength = 259;

class CommandLine {
public:
    // argumentCount: the number of arguments the platform counts, the program itself included.
    CommandLine(std::string commandLine, std::int32_t argumentCount, FullPathResolver resolve);

    // Token 0 becomes ownPath (the program's file as the system reports it, any length) instead of its text;
    // its text is only skipped. Call before split; the argument count must already leave out the extra words
    // an unquoted token 0 with spaces gave the platform (see ownPathPrefixLength).
    void takeOwnPath(std::string ownPath, std::size_t unquotedLength);

    // The smaller of the argument count and limit, both taken as unsigned.
    std::uint32_t tokensToTake(std::uint32_t limit) const;

    // Takes n tokens. False, with nothing taken, when the platform counted fewer than n arguments; false when
    // the tokenizer fails (the tokens from the failing one on stay empty). On success argumentCount becomes n.
    bool split(std::uint32_t n);

    // Copies token index into destination; false, leaving destination untouched, when index is not below the
    // number of tokens taken.
    bool copyToken(std::string& destination, std::uint32_t index) const;

    std::int32_t argumentCount() const { return argumentCount_; }
    std::uint32_t tokensTaken() const { return tokensTaken_; }

private:
    bool takeToken(std::uint32_t index);

    std::int32_t argumentCount_;
    std::uint32_t tokensTaken_ = 0;
    std::vector<std::string> tokens_;
    std::string remainingText_;
    FullPathResolver resolve_;
    std::optional<std::string> ownPath_;
    std::size_t ownPathLength_ = 0;
};

// How much of an unquoted command line the system took as the program's file: the shortest start that ends at a
// space (or the end) and, made absolute, names ownPath (with or without ".exe"; letters compared without
// case); otherwise up to the first space. Without a match nothing better is known.
std::size_t ownPathPrefixLength(std::string_view text, const std::string& ownPath, const FullPathResolver& resolve);

// The program directory of a program path: the text before its last backslash (the whole path when it has
// none) followed by one backslash.
std::string programDirectoryOf(const std::string& programPath);

// What start-up takes from its command line.
struct StartupPaths {
    // Token 0 as a full path: what setProgramsFolderFromPath receives. Empty when the split failed on it.
    std::string programPath;
    // Token 1 when the process got an argument, otherwise prog.vx in the program directory. Empty when the
    // command line could not be split: start-up then fails as for a config file that cannot be opened.
    std::optional<std::string> configPath;
};

// Splits the command line into at most two tokens and derives the two paths start-up needs. ownPath, when the
// system reports it, is the program's own file: it gives the program directory whatever the command line says.
StartupPaths startupPaths(const std::string& text, std::int32_t argumentCount, const FullPathResolver& resolve,
                          const std::optional<std::string>& ownPath = std::nullopt);

}  // namespace brennic
