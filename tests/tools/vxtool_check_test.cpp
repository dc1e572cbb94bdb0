// vxtool check run as a child process on config files written for the test.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
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
               "_" + std::to_string(::getpid()));
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
        const std::string command = "'" + tool.string() + "' " + arguments + " 2>/dev/null";
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        std::array<char, 256> buffer{};
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), got);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }
    ToolRun check(const std::string& path) { return run("check '" + path + "'"); }

private:
    fs::path tool;
};

TEST_F(VxtoolCheck, ValidConfigGivesOkAndASummary) {
    const ToolRun r = check(write("prog.vx", test::sampleBytes()));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "ok\nlists 2, actions 5, path specs 2, manual specs 1, filter texts 2, executable conv.exe\n");
}

TEST_F(VxtoolCheck, EveryFailureGivesStartUpsMessage) {
    EXPECT_EQ(check((dir / "missing.vx").string()).output, "Load file error\n");
    EXPECT_EQ(check(write("empty.vx", {})).output, "Empty file\n");

    ProgramDescription raw = test::sampleRaw();
    raw.header.version = 0;
    EXPECT_EQ(check(write("old.vx", writeConfig(raw))).output, "Can't load old config version\n");
    raw.header.version = 6;
    EXPECT_EQ(check(write("new.vx", writeConfig(raw))).output, "Can't load new config version\n");

    std::vector<std::uint8_t> cut = test::sampleBytes();
    cut.pop_back();
    EXPECT_EQ(check(write("cut.vx", cut)).output, "Unexpected config end\n");

    raw = test::sampleRaw();
    raw.listItems[0] = 99;
    const ToolRun damaged = check(write("damaged.vx", writeConfig(raw)));
    EXPECT_EQ(damaged.output, "The config is damaged\n");
    EXPECT_EQ(damaged.status, 1);
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
