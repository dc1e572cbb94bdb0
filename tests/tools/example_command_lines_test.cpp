// The shipped sources and the worked example of docs/config-format.md produce the command lines they promise,
// through the real table builder and command assembly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>
#include <string>

#include "atomic_file.h"
#include "authoring_commands.h"
#include "config_source.h"
#include "description/table_builder.h"
#include "launch/command_line.h"
#include "launch_fixture.h"

namespace brennic::authoring {
namespace {

namespace fs = std::filesystem;

fs::path sourceDir() {
    const char* dir = std::getenv("BRENNIC_SOURCE_DIR");
    return dir != nullptr ? fs::path(dir) : fs::path(BRENNIC_TEST_SOURCE_DIR);
}

std::string readSource(const fs::path& path) {
    std::string text;
    std::string problem;
    EXPECT_TRUE(readWholeFile(path.string(), text, problem)) << problem;
    return text;
}

// Pages picked by list label and caption, with what the user chose and typed.
struct Pick {
    const char* list;
    const char* caption;
    const char* path;
    const char* manual;
};

class ExampleCommandLines : public testing::Test {
protected:
    void build(const std::string& source) {
        const CompileOutcome outcome = compileSource(source, "example", description_);
        ASSERT_TRUE(outcome.ok()) << formatDiagnostic("example", outcome.errors.front());
        EXPECT_TRUE(outcome.warnings.empty()) << formatDiagnostic("example", outcome.warnings.front(), true);
        ASSERT_TRUE(buildTables(description_));
    }

    std::string commandLine(std::initializer_list<Pick> picks) {
        ArgumentSlots slots{};
        std::size_t page = 0;
        for (const Pick& pick : picks) {
            ArgumentSlot& slot = slots[page];
            bool found = false;
            for (std::size_t g = 0; g < description_.lists.size() && !found; ++g) {
                if (description_.lists[g].label != pick.list) continue;
                for (std::size_t i = 0; i < description_.lists[g].entries.size(); ++i) {
                    if (description_.actions[description_.lists[g].entries[i]].caption == pick.caption) {
                        slot.group = static_cast<std::uint16_t>(g);
                        slot.item = static_cast<std::uint16_t>(i);
                        found = true;
                        break;
                    }
                }
            }
            EXPECT_TRUE(found) << pick.list << " / " << pick.caption;
            slot.enabled = 1;
            slot.path = pick.path;
            controls_[page].text = pick.manual;
            ++page;
        }
        const PageControlsTable table{&controls_[0], &controls_[1], &controls_[2]};
        return buildParameters(description_, slots, table);
    }

    ProgramDescription description_;
    test::FakePageControls controls_[3];
};

TEST_F(ExampleCommandLines, WorkedExampleOfTheDocumentation) {
    const std::string doc = readSource(sourceDir() / "docs" / "config-format.md");
    const auto start = doc.find("```toml\n");
    ASSERT_NE(start, std::string::npos);
    const auto end = doc.find("```", start + 8);
    build(doc.substr(start + 8, end - start - 8));
    EXPECT_EQ(commandLine({{"Input", "Convert a file", "C:\\in.mov", ""},
                           {"Video", "Other codec...", "", "av1"},
                           {"Output", "Write to", "C:\\out.mp4", ""}}),
              "-i \"C:\\in.mov\" -c:v av1 -y \"C:\\out.mp4\" ");
    EXPECT_EQ(description_.warningLog.text, "");
}

TEST_F(ExampleCommandLines, DemoPutsPathsAndManualWordsAtTheirMarks) {
    build(readSource(sourceDir() / "examples" / "demo" / "demo.toml"));
    EXPECT_EQ(description_.executableName(), "brennic-demo.exe");
    EXPECT_EQ(description_.programFolderName(), "Demo");
    EXPECT_EQ(commandLine({{"Task", "Convert a media file", "C:\\Media\\in put.wav", ""},
                           {"Quality", "Custom level, with a log file", "C:\\logs\\run.txt", "5"},
                           {"Output", "Write to a file", "C:\\out.mp3", ""}}),
              "--convert \"C:\\Media\\in put.wav\" -q 5 --log \"C:\\logs\\run.txt\" -o \"C:\\out.mp3\" ");
    EXPECT_EQ(commandLine({{"Task", "Tag: name and value", "", "title \"My Song\""}}),
              "--tag title=\"My Song\" ");
    EXPECT_EQ(commandLine({{"Task", "Copy a file", "C:\\a.txt", ""}, {"Destination", "Into a folder", "D:\\", ""}}),
              "--copy \"C:\\a.txt\" --into \"D:\\\\\" ");
}

TEST_F(ExampleCommandLines, ToolExamplesGiveTheCommandsInTheirHeaders) {
    build(readSource(sourceDir() / "examples" / "archiver" / "prog.toml"));
    EXPECT_EQ(commandLine({{"Command", "Extract an archive", "C:\\backup.pak", ""},
                           {"Extract to", "Into a folder", "C:\\Restore", ""}}),
              "x \"C:\\backup.pak\" -o\"C:\\Restore\" ");
    EXPECT_EQ(commandLine({{"Command", "Create an archive", "C:\\backup.pak", ""},
                           {"Compression", "Maximum", "", ""},
                           {"Contents", "Add a folder", "C:\\Work", ""}}),
              "a \"C:\\backup.pak\" -mx=9 \"C:\\Work\" ");
}

TEST_F(ExampleCommandLines, DownloaderAndConverter) {
    build(readSource(sourceDir() / "examples" / "downloader" / "prog.toml"));
    EXPECT_EQ(commandLine({{"Download", "A web address", "", "\"https://example.org/a.iso\""},
                           {"Save to", "Into a folder", "D:\\Downloads", ""},
                           {"Options", "Limit the speed", "", "2M"}}),
              "\"https://example.org/a.iso\" -P \"D:\\Downloads\" --limit 2M ");
}

TEST_F(ExampleCommandLines, ConverterQualityWordsComeBeforeTheOutput) {
    build(readSource(sourceDir() / "examples" / "converter" / "prog.toml"));
    EXPECT_EQ(commandLine({{"Input", "Convert a file", "C:\\in.mov", ""},
                           {"Video", "H.264", "", ""},
                           {"Output", "Write to, with quality", "C:\\out.mp4", "-crf 23"}}),
              "-i \"C:\\in.mov\" -c:v h264 -crf 23 -y \"C:\\out.mp4\" ");
}

// The getting-started guide's example is the shipped xcopy example, and its console transcripts are what vxtool
// prints: each "> vxtool ..." line is run in a folder holding the example as prog.toml, and what it writes to
// standard output must be the lines below it (trailing spaces aside: the guide's lines have none). A command
// shown without output is a refusal, whose message the guide quotes as "error output: `...`".
TEST(GettingStartedGuide, ExampleIsTheShippedOneAndEveryCommandPrintsWhatTheGuideShows) {
    const std::string guide = readSource(sourceDir() / "docs" / "getting-started.md");
    const std::string example = readSource(sourceDir() / "examples" / "xcopy" / "prog.toml");
    const auto tomlStart = guide.find("```toml\n");
    ASSERT_NE(tomlStart, std::string::npos);
    const auto tomlEnd = guide.find("```\n", tomlStart + 8);
    EXPECT_EQ(guide.substr(tomlStart + 8, tomlEnd - tomlStart - 8), example);

    const fs::path dir = fs::temp_directory_path() / ("brennic_guide_" + std::to_string(reinterpret_cast<std::uintptr_t>(&guide)));
    fs::create_directories(dir);
    {
        std::string problem;
        ASSERT_TRUE(writeFileAtomically((dir / "prog.toml").string(), example, problem)) << problem;
    }
    const fs::path before = fs::current_path();
    fs::current_path(dir);

    auto rightTrimmed = [](std::string text) {
        std::string out;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out += line + "\n";
        }
        return out;
    };
    // Words as the console splits them: spaces separate, double quotes group.
    auto words = [](const std::string& line) {
        std::vector<std::string> result;
        std::string word;
        bool quoted = false, any = false;
        for (char c : line) {
            if (c == '"') {
                quoted = !quoted;
                any = true;
            } else if (c == ' ' && !quoted) {
                if (any) result.push_back(word);
                word.clear();
                any = false;
            } else {
                word += c;
                any = true;
            }
        }
        if (any) result.push_back(word);
        return result;
    };
    const std::pair<const char*, vxtool::CommandFunction> commands[] = {
        {"compile", vxtool::compileCommand}, {"check", vxtool::checkCommand}, {"preview", vxtool::previewCommand}};

    int run = 0;
    for (auto block = guide.find("```console\n"); block != std::string::npos; block = guide.find("```console\n", block + 1)) {
        const auto end = guide.find("```\n", block + 11);
        std::istringstream lines(guide.substr(block + 11, end - block - 11));
        std::vector<std::pair<std::string, std::string>> transcript;  // command, expected output
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("> ", 0) == 0)
                transcript.emplace_back(line.substr(2), "");
            else if (!transcript.empty())
                transcript.back().second += line + "\n";
        }
        for (const auto& [command, expected] : transcript) {
            const std::vector<std::string> all = words(command);
            ASSERT_GE(all.size(), 2u) << command;
            ASSERT_EQ(all[0], "vxtool") << command;
            vxtool::CommandFunction function = nullptr;
            for (const auto& [name, f] : commands) {
                if (all[1] == name) function = f;
            }
            ASSERT_NE(function, nullptr) << command;
            std::ostringstream out, err;
            const int status = function(std::vector<std::string>(all.begin() + 2, all.end()), out, err);
            ++run;
            EXPECT_EQ(rightTrimmed(out.str()), expected) << command << "\n" << err.str();
            if (!expected.empty() || all[1] == "compile") {
                EXPECT_EQ(status, 0) << command << "\n" << err.str();
                EXPECT_EQ(err.str(), "") << command;
                continue;
            }
            EXPECT_EQ(status, 1) << command;
            const auto quotedAt = guide.find("error output: `", end);
            ASSERT_NE(quotedAt, std::string::npos);
            const auto quoteEnd = guide.find('`', quotedAt + 15);
            std::string message = guide.substr(quotedAt + 15, quoteEnd - quotedAt - 15);
            for (auto at = message.find('\n'); at != std::string::npos; at = message.find('\n')) message[at] = ' ';
            EXPECT_EQ(err.str(), "vxtool preview: " + message + "\n");
        }
    }
    fs::current_path(before);
    fs::remove_all(dir);
    EXPECT_EQ(run, 5);
}

}  // namespace
}  // namespace brennic::authoring
