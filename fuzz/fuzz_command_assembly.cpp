// Command assembly and Start over a fuzzed description, fuzzed slots and fuzzed manual texts. Start must never
// crash, every warning line must read "Argument <1-3> <message>", every path must leave the warning log
// empty, and a quoted path must come back as one argument, unchanged, when the described program splits its
// command line by the usual Windows rules.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake_launcher.h"
#include "fake_platform.h"
#include "launch/command_line.h"
#include "launch/launch.h"
#include "launch/quoting.h"
#include "launch_fixture.h"

namespace {

// The usual Windows argument splitting of one argument starting at text[at]: 2n backslashes before a quote
// give n backslashes and toggle quoting, 2n+1 give n backslashes and a literal quote, other backslashes are
// literal; a space or tab outside quotes ends the argument.
std::string firstArgument(const std::string& text, std::size_t& at) {
    std::string argument;
    bool quoted = false;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\\') {
            std::size_t run = 0;
            while (at < text.size() && text[at] == '\\') ++run, ++at;
            if (at < text.size() && text[at] == '"') {
                argument.append(run / 2, '\\');
                if (run % 2 == 1) {
                    argument += '"';
                    ++at;
                }
            } else {
                argument.append(run, '\\');
            }
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
            ++at;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) break;
        argument += c;
        ++at;
    }
    return argument;
}

void checkWarningLines(const std::string& log) {
    std::size_t start = 0;
    while (start < log.size()) {
        const auto end = log.find('\n', start);
        if (end == std::string::npos) std::abort();  // every line ends in a line feed
        const std::string line = log.substr(start, end - start);
        if (line.rfind("Argument ", 0) != 0 || line.size() < 11) std::abort();
        if (line[9] < '1' || line[9] > '3' || line[10] != ' ') std::abort();
        const std::string message = line.substr(11);
        if (message != brennic::kEmptyPathWarning && message != brennic::kEmptyManualWarning) std::abort();
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);

    // A path alone, quoted for the described program.
    const std::string path = in.ConsumeRandomLengthString(300);
    if (path.find('"') == std::string::npos && path.find('\0') == std::string::npos) {
        const std::string quoted = brennic::quoteArgument(path);
        std::size_t at = 0;
        if (!path.empty() && (firstArgument(quoted, at) != path || at != quoted.size())) std::abort();
    }

    brennic::test::LaunchFixture fixture;
    brennic::ProgramDescription& description = fixture.state.description;
    description.texts[brennic::kExecutableName] = in.ConsumeRandomLengthString(40);

    const std::size_t actionCount = in.ConsumeIntegralInRange<std::size_t>(0, 8);
    for (std::size_t i = 0; i < actionCount; ++i) {
        brennic::ActionEntry entry;
        entry.flags = in.ConsumeIntegral<std::uint8_t>() & 0x3fu;
        const std::uint8_t placement = in.ConsumeIntegral<std::uint8_t>();
        entry.pathPosition = static_cast<std::uint8_t>(placement & 3u);
        entry.actionPosition = static_cast<std::uint8_t>((placement >> 2) & 3u);
        entry.manualPosition = static_cast<std::uint8_t>((placement >> 4) & 3u);
        entry.actionText = in.ConsumeRandomLengthString(600);
        description.actions.push_back(std::move(entry));
    }
    const std::size_t listCount = in.ConsumeIntegralInRange<std::size_t>(0, 4);
    for (std::size_t i = 0; i < listCount; ++i) {
        brennic::ActionList list;
        const std::size_t entries = in.ConsumeIntegralInRange<std::size_t>(0, 5);
        for (std::size_t e = 0; e < entries; ++e) list.entries.push_back(in.ConsumeIntegral<std::uint8_t>() % 10u);
        list.entryCount = static_cast<std::uint16_t>(list.entries.size());
        description.lists.push_back(std::move(list));
    }
    for (std::size_t page = 0; page < 3; ++page) {
        brennic::ArgumentSlot& slot = fixture.state.slots[page];
        slot.enabled = in.ConsumeBool() ? 1 : 0;
        slot.group = in.ConsumeIntegral<std::uint8_t>() % 6u;
        slot.item = in.ConsumeIntegral<std::uint8_t>() % 7u;
        slot.path = in.ConsumeRandomLengthString(300);
        fixture.pages[page].text = in.ConsumeRandomLengthString(400);
    }
    if (in.ConsumeBool()) fixture.state.pageControls[in.ConsumeIntegralInRange<std::size_t>(0, 2)] = nullptr;

    brennic::AppOptions options;
    options.consoleOpt = in.ConsumeIntegralInRange<std::uint32_t>(0, 4);
    options.showWarn = in.ConsumeBool() ? 1 : 0;
    options.startSound = in.ConsumeBool() ? 1 : 0;

    const std::string parameters =
        brennic::buildParameters(description, fixture.state.slots, fixture.state.pageControls);
    checkWarningLines(description.warningLog.text);
    description.warningLog.text.clear();

    brennic::test::FakeMessageBoxes boxes;
    boxes.answers = {in.ConsumeBool() ? brennic::kIdYes : brennic::kIdNo};
    brennic::test::FakeLauncher shell;
    shell.result.started = in.ConsumeBool();
    const std::string started = brennic::startProgram(description, fixture.state.slots, fixture.state.pageControls,
                                                      options, boxes, shell, 0);
    if (started != parameters) std::abort();  // the same pages give the same text
    if (!description.warningLog.text.empty()) std::abort();
    if (shell.requests.size() > 1) std::abort();
    if (description.executableName().empty() && !shell.requests.empty()) std::abort();

    (void)brennic::commandLineText(description, fixture.state.slots, fixture.state.pageControls, options);
    if (!description.warningLog.text.empty()) std::abort();
    return 0;
}
