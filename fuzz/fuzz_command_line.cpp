// The command-line tokenizer and the start-up paths over fuzzed command lines, argument counts and a
// full-path resolver that fails or produces long paths. No token may keep a quote or exceed 259 characters,
// the program path is always a resolved (absolute) path, and a config path exists only beside a program path
// (an empty one, from "", is refused later as a file that cannot be opened).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "platform/text.h"

namespace {

void fail(int line) {
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}
#define check(condition) ((condition) ? void() : fail(__LINE__))

bool absolute(const std::string& path) {
    return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto argumentCount = in.ConsumeIntegralInRange<std::int32_t>(-2, 5);
    const std::string folder = "C:\\" + std::string(in.ConsumeIntegralInRange<std::size_t>(0, 270), 'd') + "\\";
    const bool resolverFails = in.ConsumeIntegralInRange<int>(0, 7) == 0;
    const std::string line = in.ConsumeRemainingBytesAsString();

    // Like the platform's resolution: an empty name fails, an absolute one stays, others join the current
    // folder; a result longer than 259 characters does not fit the 260-byte buffer.
    int resolved = 0;
    const brennic::FullPathResolver resolve = [&](const std::string& name) -> std::optional<std::string> {
        ++resolved;
        if (resolverFails || name.empty()) return std::nullopt;
        std::string full = absolute(name) ? name : folder + name;
        if (full.size() > brennic::kMaxTokenLength) return std::nullopt;
        return full;
    };

    const brennic::StartupPaths paths = brennic::startupPaths(line, argumentCount, resolve);
    check(paths.programPath.size() <= brennic::kMaxTokenLength);
    check(paths.programPath.find('"') == std::string::npos);
    if (!paths.programPath.empty()) check(absolute(paths.programPath));
    if (paths.configPath) {
        check(!paths.programPath.empty());
        check(paths.configPath->find('"') == std::string::npos);
    }
    if (resolverFails) check(paths.programPath.empty() && !paths.configPath);

    // The tokenizer itself: tokens past the ones taken are never handed out.
    brennic::CommandLine commandLine(line, argumentCount, resolve);
    const std::uint32_t wanted = commandLine.tokensToTake(3);
    const bool split = commandLine.split(wanted);
    std::string token = "unchanged";
    check(!commandLine.copyToken(token, commandLine.tokensTaken()) && token == "unchanged");
    for (std::uint32_t i = 0; i < commandLine.tokensTaken(); ++i) {
        check(commandLine.copyToken(token, i));
        check(brennic::utf16Length(token) <= brennic::kMaxTokenLength);
        check(token.find('"') == std::string::npos);
    }
    if (split) check(commandLine.argumentCount() == static_cast<std::int32_t>(wanted));
    return 0;
}
