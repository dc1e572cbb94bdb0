// The shipped sources and the worked example of docs/config-format.md produce the command lines they promise,
// through the real table builder and command assembly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "atomic_file.h"
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

}  // namespace
}  // namespace brennic::authoring
