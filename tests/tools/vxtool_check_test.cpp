// vxtool check run as a child process on config files written for the test.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "config_fixtures.h"
#include "description/config_writer.h"

namespace brennic {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string output;  // standard output only
};

class VxtoolCheck : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        tool = BRENNIC_VXTOOL_PATH;
        ASSERT_TRUE(fs::exists(tool)) << tool;
        dir = fs::temp_directory_path() /
              ("brennic_vxtool_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               "_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = dir / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    ToolRun run(const std::string& arguments) {
        ToolRun result;
#ifdef _WIN32
        // cmd.exe takes the whole line in one more pair of quotes.
        const std::string command = "\"\"" + tool.string() + "\" " + arguments + " 2>NUL\"";
        FILE* pipe = ::_popen(command.c_str(), "rb");
#else
        const std::string command = "'" + tool.string() + "' " + arguments + " 2>/dev/null";
        FILE* pipe = ::popen(command.c_str(), "r");
#endif
        if (pipe == nullptr) return result;
        std::array<char, 256> buffer{};
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), got);
#ifdef _WIN32
        result.status = ::_pclose(pipe);
#else
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        return result;
    }
#ifdef _WIN32
    ToolRun check(const std::string& path) { return run("check \"" + path + "\""); }
#else
    ToolRun check(const std::string& path) { return run("check '" + path + "'"); }
#endif

private:
    fs::path tool;
};

TEST_F(VxtoolCheck, ValidConfigGivesOkAndASummary) {
    const ToolRun r = check(write("prog.vx", test::sampleBytes()));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "ok\nlists 2, actions 5, path specs 2, manual specs 1, filter texts 2, executable conv.exe\n");
}

std::vector<std::uint8_t> sampleWith(void (*change)(ProgramDescription&)) {
    ProgramDescription raw = test::sampleRaw();
    change(raw);
    return writeConfig(raw);
}

std::vector<std::uint8_t> sampleCutTo(std::size_t size) {
    std::vector<std::uint8_t> bytes = test::sampleBytes();
    bytes.resize(size);
    return bytes;
}

// The sample (2 lists, 5 actions, 2 path specs, 1 manual spec, 2 filter texts, 23 strings) with more lists.
std::vector<std::uint8_t> sampleWithLists(std::size_t lists) {
    ProgramDescription d = test::sampleTables();
    while (d.lists.size() < lists) d.lists.push_back(ActionList{1, {0}, "More"});
    rawFromTables(d);
    return writeConfig(d);
}

struct Refusal {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* output;  // start-up's message, then what is wrong
};

// Every refusal: the first line is exactly what start-up shows, the next says what is wrong.
TEST_F(VxtoolCheck, EveryRefusalGivesStartUpsMessageAndWhatIsWrong) {
    EXPECT_EQ(check((dir / "missing.vx").string()).output, "Load file error\nthere is no such file\n");
    EXPECT_EQ(check(dir.string()).output, "Load file error\nit is a folder\n");
    const Refusal refusals[] = {
        {"empty", {}, "Empty file\n"},
        {"version 0", sampleWith([](ProgramDescription& d) { d.header.version = 0; }),
         "Can't load old config version\nthe version is 0, and Brennic reads versions 1 to 5\n"},
        {"version 6", sampleWith([](ProgramDescription& d) { d.header.version = 6; }),
         "Can't load new config version\nthe version is 6, and Brennic reads versions 1 to 5\n"},
        {"5 bytes", sampleCutTo(5),
         "Can't load old config version\nthe file is 5 bytes long, too short to hold the version (bytes 7 and 8)\n"},
        {"cut header", sampleCutTo(20),
         "Unexpected config end\nthe file is 20 bytes long and ends inside the 26-byte header\n"},
        {"cut records", sampleCutTo(26 + 15),
         "Unexpected config end\nthe file ends inside the action records: it holds 1 of the 5 the header counts\n"},
        {"cut filter items", sampleCutTo(26 + 50 + 4 + 4 + 10 + 1),
         "Unexpected config end\nthe file ends inside the filter items: it holds 1 of the 2 the header counts\n"},
        {"cut last zero byte", sampleCutTo(test::sampleBytes().size() - 1),
         "Unexpected config end\nstring 23 of 23 has no zero byte: the file ends first\n"},
        {"list item", sampleWith([](ProgramDescription& d) { d.listItems[3] = 99; }),
         "The config is damaged\nlist item 4 (list 2's entry 2) is 99, and there are 5 actions (list items count "
         "them from 0)\n"},
        {"next list", sampleWith([](ProgramDescription& d) { d.actionRecords[0].nextListNo = 99; }),
         "The config is damaged\naction 1's next list is 99, and there are 2 lists\n"},
        {"path spec", sampleWith([](ProgramDescription& d) { d.actionRecords[2].pathSpecNo = 3; }),
         "The config is damaged\naction 3's path spec is 3, and there are 2 path specs\n"},
        {"manual spec", sampleWith([](ProgramDescription& d) { d.actionRecords[3].manualSpecNo = 2; }),
         "The config is damaged\naction 4's manual spec is 2, and there is 1 manual spec\n"},
        {"text count", sampleWith([](ProgramDescription& d) { d.actionRecords[4].textCount = 3; }),
         "The config is damaged\naction 5's text count is 3, and an action owns at most 2 strings\n"},
        {"filter item", sampleWith([](ProgramDescription& d) { d.filterItems[1] = 2; }),
         "The config is damaged\nfilter item 2 (path spec 1's filter 2) is 2, and there are 2 filter texts (filter "
         "items count them from 0)\n"},
        {"list length", sampleWith([](ProgramDescription& d) { d.listLengths[1] = 21; }),
         "The config is damaged\nlist 2 has 21 entries, and a list holds at most 20\n"},
        {"30 lists", sampleWithLists(30), "The config is damaged\nthere are 30 lists, and at most 29 are allowed\n"},
        {"first list", sampleWith([](ProgramDescription& d) { d.header.firstList = 2; }),
         "The config is damaged\nthe first list is 2 (counted from 0), and there are 2 lists\n"},
        {"list lengths", sampleWith([](ProgramDescription& d) { d.listLengths[1] = 4; }),
         "The config is damaged\nthe lists' lengths add up to 6, and the file holds 5 list items\n"},
        {"filter counts", sampleWith([](ProgramDescription& d) { d.pathSpecRecords[1].filterCount = 1; }),
         "The config is damaged\nthe path specs' filter counts add up to 3, and the file holds 2 filter items\n"},
        {"strings", sampleWith([](ProgramDescription& d) {
             d.stringTable.pop_back();
             d.header.stringCount = 22;
         }),
         "The config is damaged\nthe file holds 22 strings, and the tables take 23\n"},
        {"empty first list", sampleWith([](ProgramDescription& d) { d.listLengths = {0, 3}; }),
         "The config is damaged\nthe first list (list 1) is empty, and page 1 shows it\n"},
        {"empty next list", sampleWith([](ProgramDescription& d) { d.listLengths = {2, 0}; }),
         "The config is damaged\naction 1's next list (list 2) is empty, and the page after action 1 shows it\n"},
    };
    for (const Refusal& r : refusals) {
        const ToolRun run = check(write("refused.vx", r.bytes));
        EXPECT_EQ(run.output, r.output) << r.name;
        EXPECT_EQ(run.status, 1) << r.name;
    }
}

struct Warned {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* output;
};

// Configs that load but cannot work as meant, and configs in both text forms: "ok" with exit status 0, texts
// printed as UTF-8.
TEST_F(VxtoolCheck, LoadableConfigsGiveOkAndWarnings) {
    const char* const summary = "ok\nlists 2, actions 5, path specs 2, manual specs 1, filter texts 2, executable ";
    const ProgramDescription fewStrings = test::oneActionRaw({"Label", "Caption"});  // no description texts
    const Warned cases[] = {
        {"empty executable", sampleWith([](ProgramDescription& d) { d.stringTable[kExecutableName].clear(); }),
         "\nwarning: the executable name is empty: Start can only fail\n"},
        {"two strings", writeConfig(fewStrings),
         "ok\nlists 1, actions 1, path specs 0, manual specs 0, filter texts 0, executable \nwarning: the file holds 2 "
         "strings, fewer than the six description texts: the executable name is empty, so Start can only fail; the "
         "title and the About page are empty, and the save file is named \".as\"\n"},
        {"legacy texts", sampleWith([](ProgramDescription& d) { d.stringTable[kExecutableName] = "caf\xE9.exe"; }),
         "caf\xC3\xA9.exe\n"},
        {"UTF-8 texts", sampleWith([](ProgramDescription& d) {
             d.header.reserved = kUtf8TextsMarker;
             d.stringTable[kExecutableName] = "\xD0\xB4\xD0\xB0.exe";
         }),
         "\xD0\xB4\xD0\xB0.exe, texts UTF-8\n"},
        {"malformed UTF-8", sampleWith([](ProgramDescription& d) {
             d.header.reserved = kUtf8TextsMarker;
             d.stringTable[7] = "Out\xFFput";
         }),
         "conv.exe, texts UTF-8\nwarning: string 8 is not valid UTF-8, although the header marks the texts as "
         "UTF-8: Brennic shows its malformed bytes as U+FFFD\n"},
    };
    for (const Warned& w : cases) {
        const ToolRun run = check(write("loads.vx", w.bytes));
        const std::string expected = w.output[0] == 'o' ? w.output : summary + std::string(w.output);
        EXPECT_EQ(run.output, expected) << w.name;
        EXPECT_EQ(run.status, 0) << w.name;
    }
}

TEST_F(VxtoolCheck, UsageErrors) {
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("check").status, 2);
    EXPECT_EQ(run("check a b").status, 2);
    EXPECT_EQ(run("frobnicate x").status, 2);
    EXPECT_EQ(run("check --help").status, 0);
}

}  // namespace
}  // namespace brennic
