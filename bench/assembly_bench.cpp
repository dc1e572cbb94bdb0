// One Start over three pages with long action texts full of marks and full manual fields.
#include <benchmark/benchmark.h>

#include <string>

#include "fake_platform.h"
#include "launch/launch.h"
#include "launch_fixture.h"

namespace brennic {
namespace {

// An action text of about 8 KiB: a path mark, then 200 manual marks between words.
std::string longActionText(int page) {
    std::string text = "--input=p@ ";
    for (int i = 0; i < 200; ++i) text += "--option-" + std::to_string(page) + "-" + std::to_string(i) + "=m@ ";
    while (text.size() < 8192) text += "--padding-text ";
    return text;
}

// 259 characters: 86 short tokens, every tenth one quoted.
std::string fullManualField() {
    std::string text;
    for (int i = 0; text.size() + 4 <= kMaxText; ++i) text += i % 10 == 0 ? "\"x\" " : "ab ";
    return text.substr(0, kMaxText);
}

void BM_StartThreePages(benchmark::State& state) {
    test::LaunchFixture fixture;
    for (int page = 0; page < 3; ++page) {
        // Path through the action text's mark, manual arguments through its marks (positions 0 = inside).
        fixture.select(page, test::makeEntry(longActionText(page), 1, 1, 0, 1, 0),
                       "C:\\Some Folder\\With Spaces\\input file " + std::to_string(page) + ".dat\\",
                       fullManualField());
    }
    AppOptions options;
    options.consoleOpt = kHoldConsole;
    options.showWarn = 1;
    test::FakeMessageBoxes boxes;
    test::FakeShell shell;
    std::size_t length = 0;
    for (auto _ : state) {
        shell.requests.clear();
        const std::string parameters = startProgram(fixture.state.description, fixture.state.slots,
                                                    fixture.state.pageControls, options, boxes, shell);
        length = parameters.size();
        benchmark::DoNotOptimize(shell.requests.data());
    }
    if (shell.requests.size() != 1) state.SkipWithError("Start launched nothing");
    state.counters["parameter_bytes"] = static_cast<double>(length);
}

BENCHMARK(BM_StartThreePages)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brennic
