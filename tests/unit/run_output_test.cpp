// The run window's core: decoding output chunks, the console line layout, progress, exit texts, the bound,
// the incremental view updates and the streamed log.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "fake_code_pages.h"
#include "platform/text.h"
#include "run/console_lines.h"
#include "run/output_decoder.h"
#include "run/run_log.h"
#include "run/run_model.h"
#include "run/run_texts.h"

namespace brennic {
namespace {

using namespace std::string_literals;

const TestDoubleByteCodePage kOem;
const Windows1252 kAnsi;

std::string decodeChunks(OutputReading reading, const std::vector<std::string>& chunks) {
    OutputDecoder decoder(reading, kOem, kAnsi);
    std::string text;
    for (const std::string& chunk : chunks) decoder.decode(chunk, text);
    decoder.finish(text);
    return text;
}

// The bytes cut into every pair of chunks and into single bytes: the text must never depend on the cut.
std::vector<std::vector<std::string>> everySplit(const std::string& bytes) {
    std::vector<std::vector<std::string>> splits{{bytes}};
    for (std::size_t at = 1; at < bytes.size(); ++at) splits.push_back({bytes.substr(0, at), bytes.substr(at)});
    std::vector<std::string> single;
    for (const char c : bytes) single.emplace_back(1, c);
    splits.push_back(single);
    return splits;
}

TEST(RunOutput, DecodingIsTheSameWhereverTheChunksAreCut) {
    struct Case {
        OutputReading reading;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {OutputReading::Utf8, "a\u00e9\u6570\U0001F600z", "a\u00e9\u6570\U0001F600z"},
        {OutputReading::Utf8, "x\xe6\x95y\xc0\xaf", "x\uFFFDy\uFFFD\uFFFD"},  // cut short; overlong
        {OutputReading::Utf8, "ok\xf0\x9f\x98", "ok\uFFFD"},                    // cut short at the end
        {OutputReading::Ansi, "caf\xe9 \x80", "caf\u00e9 \u20ac"},
        {OutputReading::Oem, "a\x81\x41z\xfe", "a\u4E41z\uFFFD"},           // a lead byte, then a lone one
        {OutputReading::Oem, "\x81\x0a!", "\uFFFD\n!"},                    // a bad trail is read on its own
        {OutputReading::Auto, "\u00e9t\u00e9\n", "\u00e9t\u00e9\n"},        // UTF-8 stays UTF-8
        {OutputReading::Auto, "ab\x81\x41", "ab\u4E41"},                    // not UTF-8: OEM from there
        {OutputReading::Auto, "\u00e9\xc3(", "\u00e9\uFFFD("},            // falls back inside a character
    };
    for (const Case& c : cases) {
        for (const auto& chunks : everySplit(c.bytes)) {
            EXPECT_EQ(decodeChunks(c.reading, chunks), c.text)
                << readingName(c.reading) << " " << c.bytes << " in " << chunks.size() << " chunks";
        }
    }
}

TEST(RunOutput, AutoFallsBackOnceAndSaysSo) {
    OutputDecoder decoder(OutputReading::Auto, kOem, kAnsi);
    std::string text;
    decoder.decode("\u00e9", text);
    EXPECT_EQ(decoder.effectiveReading(), OutputReading::Utf8);
    decoder.decode("\x81\x41 \u00e9", text);  // the later UTF-8 bytes read OEM now
    EXPECT_TRUE(decoder.fellBack());
    EXPECT_EQ(decoder.effectiveReading(), OutputReading::Oem);
    EXPECT_EQ(text, "\u00e9\u4E41 \u90A9");  // C3 A9 is one double-byte character in the OEM code page
}

// A system whose code pages are UTF-8 itself: OEM and ANSI readings keep split characters whole too.
TEST(RunOutput, ASystemCodePageThatIsUtf8KeepsCharactersWhole) {
    struct Utf8System : CodePage {
        std::string toUtf8(std::string_view bytes) const override { return validUtf8(bytes); }
        std::optional<std::string> fromUtf8(std::string_view text) const override { return std::string(text); }
        bool isUtf8CodePage() const override { return true; }
    } const system;
    for (const OutputReading reading : {OutputReading::Oem, OutputReading::Ansi}) {
        for (const auto& chunks : everySplit("\u6570\U0001F600 \xe6\x95")) {
            OutputDecoder decoder(reading, system, system);
            std::string text;
            for (const std::string& chunk : chunks) decoder.decode(chunk, text);
            decoder.finish(text);
            EXPECT_EQ(text, "\u6570\U0001F600 \uFFFD") << readingName(reading) << " in " << chunks.size();
        }
    }
}

struct Layout {
    std::vector<std::string> lines;
    std::string current;
};

Layout layOut(const std::vector<std::string>& chunks) {
    OutputDecoder decoder(OutputReading::Utf8, kOem, kAnsi);
    ConsoleLines console;
    Layout layout;
    for (const std::string& chunk : chunks) {
        std::string text;
        decoder.decode(chunk, text);
        console.feed(text, layout.lines);
    }
    layout.current = console.currentLine();
    return layout;
}

TEST(RunOutput, LinesLookAsAConsoleShowsThemAndEscapesVanishEvenWhenSplit) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
        std::string current;
    };
    const Case cases[] = {
        {"one\r\ntwo\nthree", {"one", "two"}, "three"},
        {"[ 10%] copying\r[ 45%]\n", {"[ 45%] copying"}, ""},  // later characters overwrite
        {"abc\b\bX\b\b\b\bY", {}, "YXc"},                       // backspace stops at the start
        {"a\tb\x00\x07\x0b\x0c\x7f" "c"s, {}, "a\tbc"},           // tabs kept, other controls dropped
        {"\x1b[1;31mred\x1b[0m plain\x1b[K", {}, "red plain"},
        {"\x1b]0;title\x07shown\x1b]8;;http://x\x1b\\link", {}, "shownlink"},
        {"\x1b(Bx\x1b=y\x1b" "7z", {}, "xyz"},
        {"keep\x1b]no end\nnext", {"keep"}, "next"},  // an unended command gives up at the line end
        {"\x1b[12\nafter", {""}, "after"},            // so does an interrupted control sequence
        {"\u00e9\u00e9\r\u6570", {}, "\u6570\u00e9"},  // one character, one place, whatever its size
        // Whole lines (laid out in one piece when they arrive whole) give what the character-by-character
        // layout gives in the splits.
        {"\x1b[1;31mred\x1b[0m plain\x1b[K\r\n\tx\xc2\x85y\x7f\r\r\n", {"red plain", "\txy"}, ""},
        {"\x1b]0;t\r\x07" "a\x1b]8;;u\x1b\\b\n\x1b]2;open\r\nnext\n", {"ab", "", "next"}, ""},
        {"tail\x1b\nx\x1b[\r\nq\x1b(\n\x1b\x1b[m\u00e9\xc2\x9c\n", {"tail", "x", "q", "\u00e9"}, ""},
        {"12%\b\b3\n[ 5%]\rdone\n", {"13%", "done]"}, ""},
    };
    for (const Case& c : cases) {
        for (const auto& chunks : everySplit(c.bytes)) {
            const Layout layout = layOut(chunks);
            EXPECT_EQ(layout.lines, c.lines) << c.bytes;
            EXPECT_EQ(layout.current, c.current) << c.bytes;
        }
    }
}

TEST(RunOutput, AnEndlessLineWrapsAndAnEndlessCommandGivesUp) {
    Layout layout = layOut({std::string(kMaxLineCharacters, 'a') + "bc\n"});
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0].size(), kMaxLineCharacters);
    EXPECT_EQ(layout.lines[1], "bc");
    layout = layOut({std::string(kMaxLineCharacters, 'a') + "\n"});  // exactly full: no empty extra line
    EXPECT_EQ(layout.lines.size(), 1u);
    // The same with escapes and characters of several bytes, whole and one character at a time.
    std::string wide = "\x1b[0m";
    for (std::size_t i = 0; i < kMaxLineCharacters + 2; ++i) wide += i % 2 == 0 ? "\u00e9" : "\x1b[1mz";
    wide += "\r\n";
    std::vector<std::string> single;
    for (std::size_t at = 0; at < wide.size();) {
        std::size_t next = at;
        nextCodePoint(wide, next);
        single.push_back(wide.substr(at, next - at));
        at = next;
    }
    for (const auto& chunks : {std::vector<std::string>{wide}, single}) {
        layout = layOut(chunks);
        ASSERT_EQ(layout.lines.size(), 2u);
        EXPECT_EQ(layout.lines[0].size(), kMaxLineCharacters / 2 * 3);
        EXPECT_EQ(layout.lines[1], "\u00e9z");
    }
    layout = layOut({"\x1b]" + std::string(kMaxOscCharacters, 't') + "shown"});
    EXPECT_EQ(layout.current, "shown");
}

TEST(RunOutput, ProgressIsTheLastPlausiblePercentage) {
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"45%", 45},           {"done 45.3% of it", 45}, {"[ 45%]", 45},  {"100%", 100},
        {"0%", 0},             {"10% then 20%", 20},      {"1000%", {}},   {"%d", {}},
        {"101%", {}},          {"100.5%", {}},            {"100.0%", 100}, {"1.2.3%", {}},
        {"v2.5 50%% x", 50},   {"no number", {}},         {"", {}},        {"99% and 1000%", 99},
    };
    for (const auto& [text, percent] : cases) EXPECT_EQ(lastPercentage(text), percent) << text;
}

TEST(RunOutput, EndsAndDurationsInWords) {
    const std::pair<std::uint32_t, std::string> ends[] = {
        {0, "exit code 0"},
        {1, "exit code 1"},
        {0xFFFFFFFFu, "exit code -1"},
        {0x80000000u, "exit code -2147483648"},
        {0xC0000005u, "0xC0000005 (access violation)"},
        {0xC00000FDu, "0xC00000FD (stack overflow)"},
        {0xC0000094u, "0xC0000094 (integer divide by zero)"},
        {0xC0000409u, "0xC0000409 (stack buffer overrun)"},
        {0xC0000135u, "0xC0000135 (DLL not found)"},
        {0xC000013Au, "0xC000013A (control-C exit)"},
        {0xC0001234u, "0xC0001234"},
    };
    for (const auto& [code, text] : ends) EXPECT_EQ(describeExit(code, false), text) << code;
    EXPECT_EQ(describeExit(0xC0000005u, true), "Stopped");
    EXPECT_TRUE(endedWell(RunEnd{0, false}));
    EXPECT_FALSE(endedWell(RunEnd{0, true}));
    EXPECT_FALSE(endedWell(RunEnd{1, false}));

    const std::pair<std::uint64_t, std::string> durations[] = {
        {0, "0.0 s"},          {400, "0.4 s"},           {9999, "9.9 s"},          {12345, "12 s"},
        {59999, "59 s"},       {185000, "3 min 05 s"},   {3599000, "59 min 59 s"}, {3720000, "1 h 02 min"},
        {90061000, "25 h 01 min"},
    };
    for (const auto& [ms, text] : durations) EXPECT_EQ(durationText(ms), text) << ms;

    EXPECT_EQ(programNameForTitle("C:\\Tools\\xcopy.EXE"), "xcopy");
    EXPECT_EQ(programNameForTitle("ffmpeg"), "ffmpeg");
    EXPECT_EQ(runTitle("xcopy", true, {}), "xcopy \u2014 running");
    EXPECT_EQ(runTitle("xcopy", false, RunEnd{0, false}), "xcopy \u2014 exit code 0");
    EXPECT_EQ(runTitle("", false, RunEnd{0, true}), "Brennic \u2014 Stopped");
}

// The EDIT control as the Win32 side drives it: updates applied in UTF-16 units.
struct FakeEdit {
    std::u16string text;
    void apply(const ViewUpdate& update) {
        if (!update.changed) return;
        if (update.reset) {
            text = utf16FromUtf8(update.text);
            return;
        }
        ASSERT_LE(update.dropFront, text.size());
        text.erase(0, update.dropFront);
        ASSERT_LE(update.replaceFrom, text.size());
        text.replace(update.replaceFrom, std::u16string::npos, utf16FromUtf8(update.text));
    }
};

TEST(RunOutput, IncrementalUpdatesRebuildTheWindowTextExactly) {
    RunModel model("prog", "prog.exe", kOem, kAnsi);
    model.started(0);
    FakeEdit edit;
    std::size_t updates = 0;
    std::size_t resets = 0;
    for (int i = 0; i < 50000; ++i) {
        std::string chunk = "line " + std::to_string(i) + " \u6570\U0001F600";
        chunk += i % 7 == 0 ? "\r[" + std::to_string(i % 101) + "%]" : "\n";
        model.append(chunk);
        if (i % 97 == 0) {
            const ViewUpdate update = model.takeViewUpdate();
            edit.apply(update);
            ++updates;
            resets += update.reset ? 1 : 0;
            if (i % 1067 == 0) {
                ASSERT_EQ(edit.text, utf16FromUtf8(model.viewText())) << i;
            }
        }
    }
    edit.apply(model.takeViewUpdate());
    EXPECT_EQ(edit.text, utf16FromUtf8(model.viewText()));
    EXPECT_EQ(resets, 1u) << "only the first update replaces the whole text, of " << updates;
    EXPECT_FALSE(model.takeViewUpdate().changed);

    // A control that showed only the tail gets everything back in the next update.
    const std::string tail = model.viewTail(3);
    const std::string view = model.viewText();
    ASSERT_TRUE(view.ends_with(tail));
    EXPECT_EQ(std::count(tail.begin(), tail.end(), '\n'), 3);
    EXPECT_EQ(view[view.size() - tail.size() - 1], '\n');
    model.viewReplaced();
    const ViewUpdate update = model.takeViewUpdate();
    EXPECT_TRUE(update.reset);
    EXPECT_EQ(update.text, view);
}

TEST(RunOutput, TheWindowKeepsTheLatestLinesAndTheLogKeepsEverything) {
    RunModel model("prog", "\"C:\\p\\prog.exe\" -v", kOem, kAnsi);
    model.started(1000);
    std::string raw;
    const std::size_t total = kMaxKeptLines + 1234;
    for (std::size_t i = 0; i < total; ++i) raw += "row " + std::to_string(i) + "\n";
    for (std::size_t at = 0; at < raw.size(); at += 4093) model.append(std::string_view(raw).substr(at, 4093));
    model.append("tail 50%");
    model.ended(RunEnd{0, false}, 2200);

    const std::string view = model.viewText();
    EXPECT_EQ(view.rfind("row " + std::to_string(total - kMaxKeptLines) + "\r\n", 0), 0u);
    EXPECT_TRUE(view.ends_with("row " + std::to_string(total - 1) + "\r\ntail 50%"));
    EXPECT_EQ(model.leftOutLines(), 1234u);
    EXPECT_EQ(model.leftOutText(), "The window shows the last 20,000 lines; 1,234 earlier lines are in the saved log.");
    EXPECT_EQ(model.progress(), 50);
    EXPECT_TRUE(model.endedWell());
    EXPECT_EQ(model.statusText(99999), "exit code 0, 1.2 s");
    EXPECT_EQ(model.titleText(), "prog \u2014 exit code 0");

    // Streamed in odd chunks, the log equals the one-piece conversion and holds every line.
    struct Sink : LogSink {
        std::string text;
        bool write(std::string_view utf8) override {
            text.append(utf8);
            return true;
        }
    } sink;
    LogWriter writer(sink, model.logReading(), kOem, kAnsi);
    ASSERT_TRUE(writer.header(model.commandLine()));
    const std::string all = raw + "tail 50%";
    for (std::size_t at = 0; at < all.size(); at += 777) ASSERT_TRUE(writer.write(std::string_view(all).substr(at, 777)));
    ASSERT_TRUE(writer.finish(model.logFooter(5000)));
    const std::string whole = logText(model.commandLine(), all, model.logReading(), kOem, kAnsi, model.logFooter(5000));
    EXPECT_EQ(sink.text, whole);
    EXPECT_EQ(whole.rfind("\xEF\xBB\xBF" "Command line: \"C:\\p\\prog.exe\" -v\r\nOutput read as: UTF-8\r\n\r\nrow 0\r\n", 0), 0u);
    EXPECT_NE(whole.find("\r\nrow 1233\r\n"), std::string::npos);
    EXPECT_TRUE(whole.ends_with("\r\ntail 50%\r\n\r\nEnded: exit code 0, 1.2 s\r\n"));

    // A sink that fails stops the writer.
    struct FailingSink : LogSink {
        int writes = 0;
        bool write(std::string_view) override { return ++writes < 2; }
    } failing;
    LogWriter broken(failing, OutputReading::Utf8, kOem, kAnsi);
    EXPECT_TRUE(broken.header("x"));
    EXPECT_FALSE(broken.write("a\n"));
    EXPECT_FALSE(broken.finish({}));
    EXPECT_EQ(failing.writes, 2);
}

TEST(RunOutput, SwitchingTheReadingDecodesWhatIsKeptAgain) {
    RunModel model("prog", "prog", kOem, kAnsi, OutputReading::Utf8);
    model.started(0);
    model.append("caf\xe9\n\xe6\x95");
    EXPECT_EQ(model.viewText(), "caf\uFFFD\r\n");  // the cut-short character waits
    model.takeViewUpdate();
    model.setReading(OutputReading::Ansi);
    const ViewUpdate update = model.takeViewUpdate();
    EXPECT_TRUE(update.reset);
    EXPECT_EQ(update.text, "caf\u00e9\r\n\u00e6\u2022");
    EXPECT_EQ(model.logReading(), OutputReading::Ansi);
    model.setReading(OutputReading::Auto);  // the run was not all UTF-8: Auto reads OEM
    EXPECT_EQ(model.logReading(), OutputReading::Oem);
    EXPECT_EQ(model.viewText(), "caf\uFFFD\r\n\uB395");  // E9 before a line feed is no character there
}

TEST(RunOutput, AutoReadsEverythingKeptAsOemOnceAByteIsNotUtf8) {
    RunModel model("prog", "prog", kOem, kAnsi);
    model.started(0);
    FakeEdit edit;
    model.append("\u00e9t\u00e9\n");
    edit.apply(model.takeViewUpdate());
    EXPECT_EQ(model.viewText(), "\u00e9t\u00e9\r\n");
    EXPECT_EQ(model.logReading(), OutputReading::Utf8);
    model.append("\x81\x41\n");
    const ViewUpdate update = model.takeViewUpdate();
    EXPECT_TRUE(update.reset);
    edit.apply(update);
    // The earlier UTF-8 bytes C3 A9 are a double-byte character in the OEM code page now.
    EXPECT_EQ(model.viewText(), "\u90A9t\u90A9\r\n\u4E41\r\n");
    EXPECT_EQ(edit.text, utf16FromUtf8(model.viewText()));
    EXPECT_EQ(model.logReading(), OutputReading::Oem);
}

TEST(RunOutput, ProgressFollowsTheLineBeingWrittenThenTheLastFewLines) {
    RunModel model("prog", "prog", kOem, kAnsi);
    model.started(0);
    EXPECT_EQ(model.progress(), std::nullopt);
    model.append("[ 10%]\r[ 45%]");
    EXPECT_EQ(model.progress(), 45);
    model.append("\nfile a\n");
    EXPECT_EQ(model.progress(), 45);
    for (int i = 0; i < 8; ++i) model.append("file\n");
    EXPECT_EQ(model.progress(), std::nullopt);  // long ago: busy again
    EXPECT_EQ(model.statusText(12500), "Running, 12 s");
    EXPECT_EQ(model.titleText(), "prog \u2014 running");
    model.ended(RunEnd{0xC0000005u, false}, 13000);
    EXPECT_FALSE(model.endedWell());
    EXPECT_EQ(model.statusText(99999), "0xC0000005 (access violation), 13 s");
}

}  // namespace
}  // namespace brennic
