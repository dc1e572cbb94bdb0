// One Start over three pages with long action texts full of marks and full manual fields, and the command
// preview's work after one keystroke on the same pages.
#include <benchmark/benchmark.h>

#include <string>

#include "fake_launcher.h"
#include "fake_platform.h"
#include "launch/command_preview.h"
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

// Path through the action text's mark, manual arguments through its marks (positions 0 = inside).
void selectLongPages(test::LaunchFixture& fixture) {
    for (int page = 0; page < 3; ++page) {
        fixture.select(page, test::makeEntry(longActionText(page), 1, 1, 0, 1, 0),
                       "C:\\Some Folder\\With Spaces\\input file " + std::to_string(page) + ".dat\\",
                       fullManualField());
    }
}

void BM_StartThreePages(benchmark::State& state) {
    test::LaunchFixture fixture;
    selectLongPages(fixture);
    AppOptions options;
    options.consoleOpt = kHoldConsole;
    options.showWarn = 1;
    test::FakeMessageBoxes boxes;
    test::FakeLauncher shell;
    std::size_t length = 0;
    for (auto _ : state) {
        shell.requests.clear();
        const std::string parameters = startProgram(fixture.state.description, fixture.state.slots,
                                                    fixture.state.pageControls, options, boxes, shell, 0);
        length = parameters.size();
        benchmark::DoNotOptimize(shell.requests.data());
    }
    if (shell.requests.size() != 1) state.SkipWithError("Start launched nothing");
    state.counters["parameter_bytes"] = static_cast<double>(length);
}

// What the main window works out after a keystroke in a manual field: the whole line, the marker and the tip.
// Every keystroke changes the field, so each round reads a different text.
void BM_PreviewPerKeystroke(benchmark::State& state) {
    test::LaunchFixture fixture;
    selectLongPages(fixture);
    fixture.state.options.consoleOpt = kHoldConsole;
    std::string& field = fixture.pages[1].text;
    std::size_t length = 0;
    std::size_t round = 0;
    for (auto _ : state) {
        field.back() = static_cast<char>('a' + round++ % 26);
        const CommandPreview preview = commandPreview(fixture.state);
        length = preview.line.size();
        benchmark::DoNotOptimize(preview.tip.data());
    }
    if (length == 0) state.SkipWithError("the preview was empty");
    state.counters["line_bytes"] = static_cast<double>(length);
}

BENCHMARK(BM_StartThreePages)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewPerKeystroke)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brennic
