#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config_fixtures.h"
#include "description/config_loader.h"
#include "description/config_writer.h"

namespace brennic {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct LoadResult {
    ProgramDescription description;
    errorVX error;
    std::string message() const { return errorMessage(error); }
};

// Loads from a stream and from memory, checks that both agree, and returns the memory result.
LoadResult load(const Bytes& bytes, bool validate = false) {
    LoadResult fromMemory;
    LoadResult fromStream;
    errorVX record;
    try {
        loadDescription(fromMemory.description, bytes, record);
        if (validate) validateDescription(fromMemory.description, record);
    } catch (const errorVX& e) {
        fromMemory.error = e;
    }
    std::istringstream stream(std::string(bytes.begin(), bytes.end()), std::ios::in | std::ios::binary);
    errorVX streamRecord;
    try {
        loadDescription(fromStream.description, stream, streamRecord);
        if (validate) validateDescription(fromStream.description, streamRecord);
    } catch (const errorVX& e) {
        fromStream.error = e;
    }
    EXPECT_EQ(fromMemory.error.configError, fromStream.error.configError);
    EXPECT_EQ(fromMemory.description.header, fromStream.description.header);
    EXPECT_EQ(fromMemory.description.stringTable, fromStream.description.stringTable);
    return fromMemory;
}

std::string validateMessage(const ProgramDescription& raw) {
    return load(writeConfig(raw), true).message();
}

TEST(LoadDescription, ReadsEveryFieldOfAWrittenFile) {
    const ProgramDescription raw = test::sampleRaw();
    LoadResult r = load(writeConfig(raw), true);
    ASSERT_EQ(r.error.raised, 0);
    EXPECT_EQ(r.description.header, raw.header);
    EXPECT_EQ(r.description.actionRecords, raw.actionRecords);
    EXPECT_EQ(r.description.pathSpecRecords, raw.pathSpecRecords);
    EXPECT_EQ(r.description.listLengths, raw.listLengths);
    EXPECT_EQ(r.description.listItems, raw.listItems);
    EXPECT_EQ(r.description.filterItems, raw.filterItems);
    EXPECT_EQ(r.description.stringTable, raw.stringTable);
}

TEST(LoadDescription, VersionRange) {
    for (std::uint16_t version = 0; version <= 7; ++version) {
        ProgramDescription raw = test::sampleRaw();
        raw.header.version = version;
        const LoadResult r = load(writeConfig(raw), true);
        if (version == 0) {
            EXPECT_EQ(r.message(), "Can't load old config version");
        } else if (version >= 6) {
            EXPECT_EQ(r.message(), "Can't load new config version");
        } else {
            EXPECT_EQ(r.error.raised, 0) << version;
            EXPECT_EQ(r.description.stringTable, raw.stringTable) << version;
        }
    }
    // The version test comes before any array: nothing of the body is read.
    ProgramDescription raw = test::sampleRaw();
    raw.header.version = 6;
    const LoadResult r = load(writeConfig(raw));
    EXPECT_TRUE(r.description.actionRecords.empty());
    EXPECT_TRUE(r.description.stringTable.empty());
}

TEST(LoadDescription, ShortFilesFailOnTheVersionOrTheEnd) {
    const Bytes full = test::sampleBytes();
    // Six bytes or fewer leave the version 0.
    for (std::size_t size : {0u, 1u, 6u}) {
        EXPECT_EQ(load(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size))).message(),
                  "Can't load old config version")
            << size;
    }
    // From the version's first byte on, a cut anywhere is an unexpected end.
    for (std::size_t size = 7; size < full.size(); ++size) {
        EXPECT_EQ(load(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size))).message(),
                  "Unexpected config end")
            << size;
    }
}

TEST(LoadDescription, ShortHeaderReadKeepsTheRestOfTheHeader) {
    // Seven bytes: the first read takes the low byte of the version and fails; the later reads take nothing.
    const Bytes seven = {0, 0, 0, 0, 0, 0, 1};
    ProgramDescription d;
    d.header.stringCount = 0x1234;
    errorVX record;
    EXPECT_THROW(loadDescription(d, seven, record), errorVX);
    EXPECT_EQ(d.header.version, 1);
    EXPECT_EQ(d.header.stringCount, 0x1234);  // not reached by any read
    EXPECT_EQ(record.configError, kUnexpectedConfigEnd);
}

TEST(LoadDescription, FilesThatDeclareNoStringsMustStillBeComplete) {
    ProgramDescription raw;
    raw.header.version = 1;
    raw.header.actionCount = 1;
    raw.header.listCount = 1;
    raw.actionRecords.resize(1);
    raw.listLengths = {1};
    const Bytes full = writeConfig(raw);
    ASSERT_EQ(full.size(), 26u + 10u + 2u);
    EXPECT_EQ(load(full).error.raised, 0);
    EXPECT_EQ(load(Bytes(full.begin(), full.end() - 1)).message(), "Unexpected config end");  // in the arrays
    EXPECT_EQ(load(Bytes(full.begin(), full.begin() + 20)).message(), "Unexpected config end");  // in the header
}

TEST(LoadDescription, StringBoundaries) {
    ProgramDescription raw = test::sampleRaw();
    raw.stringTable.back() = "";  // an empty string is a lone zero byte
    Bytes bytes = writeConfig(raw);
    LoadResult r = load(bytes, true);
    ASSERT_EQ(r.error.raised, 0);
    EXPECT_EQ(r.description.stringTable.back(), "");

    // Bytes after the last string are never read.
    Bytes extra = bytes;
    extra.insert(extra.end(), {'x', 'y', 0, 0xFF});
    r = load(extra, true);
    EXPECT_EQ(r.error.raised, 0);
    EXPECT_EQ(r.description.stringTable, raw.stringTable);

    // A last string without its zero byte is complete in memory but the file has ended.
    raw.stringTable.back() = "All";
    bytes = writeConfig(raw);
    bytes.pop_back();
    r = load(bytes);
    EXPECT_EQ(r.message(), "Unexpected config end");
    EXPECT_EQ(r.description.stringTable.back(), "All");
}

// The reader refills a 64 KiB buffer: strings that cross its edges, and files cut next to them.
TEST(LoadDescription, StringsAcrossTheReadBuffer) {
    ProgramDescription raw = test::sampleRaw();
    for (std::size_t i = 0; i < raw.stringTable.size(); ++i)
        raw.stringTable[i] = std::string(40000 + 997 * i, static_cast<char>('a' + i % 26));
    const Bytes bytes = writeConfig(raw);
    ASSERT_GT(bytes.size(), 3u * 65536u);
    LoadResult r = load(bytes, true);
    ASSERT_EQ(r.error.raised, 0);
    EXPECT_EQ(r.description.stringTable, raw.stringTable);
    for (std::size_t cut : {std::size_t{65535}, std::size_t{65536}, std::size_t{65537}, std::size_t{131072},
                            bytes.size() - 1}) {
        r = load(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_EQ(r.message(), "Unexpected config end") << "cut at " << cut;
    }
}

TEST(LoadDescription, LargeCountsInASmallFileAllocateLittle) {
    ProgramDescription raw;
    raw.header.version = 1;
    raw.header.actionCount = 0xFFFF;
    raw.header.listItemCount = 0xFFFF;
    raw.header.stringCount = 0xFFFF;
    const LoadResult r = load(writeConfig(raw));
    EXPECT_EQ(r.message(), "Unexpected config end");
    EXPECT_LE(r.description.actionRecords.capacity(), 1024u);
    EXPECT_LE(r.description.stringTable.size(), 1u);
}

TEST(ConfigFileSize, MeasuresAndRewinds) {
    std::istringstream stream(std::string("abcdef", 6));
    EXPECT_EQ(configFileSize(stream), 6u);
    EXPECT_EQ(stream.get(), 'a');
    std::istringstream empty;
    EXPECT_EQ(configFileSize(empty), 0u);
}

// The four tests of the loaded file.
TEST(ValidateDescription, IndexTests) {
    EXPECT_EQ(validateMessage(test::sampleRaw()), "");

    ProgramDescription raw = test::sampleRaw();
    raw.listItems[0] = raw.header.actionCount;  // a list item equal to actionCount
    EXPECT_EQ(validateMessage(raw), "The config is damaged");

    raw = test::sampleRaw();
    raw.actionRecords[1].nextListNo = raw.header.listCount;  // names the last list: valid
    EXPECT_EQ(validateMessage(raw), "");
    raw.actionRecords[1].nextListNo = static_cast<std::uint16_t>(raw.header.listCount + 1);
    EXPECT_EQ(validateMessage(raw), "The config is damaged");

    raw = test::sampleRaw();
    raw.actionRecords[0].pathSpecNo = raw.header.pathSpecCount;
    EXPECT_EQ(validateMessage(raw), "");
    raw.actionRecords[0].pathSpecNo = static_cast<std::uint16_t>(raw.header.pathSpecCount + 1);
    EXPECT_EQ(validateMessage(raw), "The config is damaged");

    raw = test::sampleRaw();
    raw.actionRecords[0].manualSpecNo = static_cast<std::uint16_t>(raw.header.manualSpecCount + 1);
    EXPECT_EQ(validateMessage(raw), "The config is damaged");

    raw = test::sampleRaw();
    raw.actionRecords[4].textCount = 0;  // behaves like 1
    EXPECT_EQ(validateMessage(raw), "");
    raw.stringTable.push_back("enough strings for a second one");
    ++raw.header.stringCount;
    raw.actionRecords[4].textCount = 2;
    EXPECT_EQ(validateMessage(raw), "");
    raw.actionRecords[4].textCount = 3;
    EXPECT_EQ(validateMessage(raw), "The config is damaged");

    raw = test::sampleRaw();
    raw.filterItems[0] = static_cast<std::uint8_t>(raw.header.filterTextCount);
    EXPECT_EQ(validateMessage(raw), "The config is damaged");
}

TEST(ValidateDescription, ListLengthLimit) {
    ProgramDescription tables = test::sampleTables();
    tables.lists[1].entries.assign(20, 4);
    ProgramDescription raw = tables;
    rawFromTables(raw);
    EXPECT_EQ(validateMessage(raw), "");
    tables.lists[1].entries.assign(21, 4);
    raw = tables;
    rawFromTables(raw);
    EXPECT_EQ(validateMessage(raw), "The config is damaged");
}

// Descriptions the four tests let through but that would make the tables refer to entries that do not exist.
TEST(ValidateDescription, RefusesWhatTheTablesCannotHold) {
    const auto damaged = [](auto change) {
        ProgramDescription raw = test::sampleRaw();
        change(raw);
        return validateMessage(raw) == "The config is damaged";
    };
    // Counts at their table limits (padded with strings so that only the count is wrong).
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        ProgramDescription t = test::sampleTables();
        t.lists.resize(30, t.lists[0]);
        d = t;
        rawFromTables(d);
    }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        ProgramDescription t = test::sampleTables();
        t.actions.resize(100, t.actions[4]);
        d = t;
        rawFromTables(d);
    }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        ProgramDescription t = test::sampleTables();
        t.pathSpecs.resize(50, t.pathSpecs[1]);
        d = t;
        rawFromTables(d);
    }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        ProgramDescription t = test::sampleTables();
        t.manualSpecs.resize(100);
        d = t;
        rawFromTables(d);
    }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        ProgramDescription t = test::sampleTables();
        t.filterTexts.resize(100);
        d = t;
        rawFromTables(d);
    }));
    // One below each limit is accepted.
    EXPECT_FALSE(damaged([](ProgramDescription& d) {
        ProgramDescription t = test::sampleTables();
        t.lists.resize(29, t.lists[0]);
        t.actions.resize(99, t.actions[4]);
        t.pathSpecs.resize(49, t.pathSpecs[1]);
        t.manualSpecs.resize(99);
        t.filterTexts.resize(99);
        d = t;
        rawFromTables(d);
    }));

    EXPECT_TRUE(damaged([](ProgramDescription& d) { d.header.firstList = d.header.listCount; }));
    EXPECT_FALSE(damaged([](ProgramDescription& d) { d.header.firstList = 1; }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) { ++d.listLengths[1]; }));  // lengths exceed listItems
    EXPECT_TRUE(damaged([](ProgramDescription& d) { ++d.pathSpecRecords[1].filterCount; }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        d.stringTable.pop_back();
        --d.header.stringCount;
    }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        d.actionRecords[4].textCount = 2;  // one more string taken than the file holds
    }));
    // An empty list that the first page or a next list would show.
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        d.listLengths[0] = 0;
        d.listItems.erase(d.listItems.begin(), d.listItems.begin() + 2);
        d.header.listItemCount = 3;
    }));
    EXPECT_TRUE(damaged([](ProgramDescription& d) {
        d.listLengths[1] = 0;
        d.listItems.resize(2);
        d.header.listItemCount = 2;
    }));
}

TEST(ValidateDescription, StringCountFloor) {
    // The smallest usable description (one list label, one caption) takes two strings, which are also the two
    // that the save file path reads.
    ProgramDescription raw;
    raw.header.version = 1;
    raw.header.listCount = 1;
    raw.header.listItemCount = 1;
    raw.header.actionCount = 1;
    raw.actionRecords.resize(1);
    raw.listLengths = {1};
    raw.listItems = {0};
    raw.stringTable = {"caption"};
    raw.header.stringCount = 1;
    EXPECT_EQ(validateMessage(raw), "The config is damaged");
    raw.stringTable = {"label", "caption"};
    raw.header.stringCount = 2;
    EXPECT_EQ(validateMessage(raw), "");
}

class ConfigFileTest : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("brennic_loader_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string write(const std::string& name, const Bytes& bytes) {
        const std::filesystem::path path = dir / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    static std::string outcome(const std::string& path) {
        ProgramDescription d;
        errorVX record;
        try {
            loadConfigFile(path, d, record);
        } catch (const errorVX& e) {
            return errorMessage(e);
        }
        return "ok";
    }
};

TEST_F(ConfigFileTest, OpenSizeLoadAndValidate) {
    EXPECT_EQ(outcome((dir / "missing.vx").string()), "Load file error");
    EXPECT_EQ(outcome(""), "Load file error");
    EXPECT_EQ(outcome(dir.string()), "Load file error");
    EXPECT_EQ(outcome(write("empty.vx", {})), "Empty file");
    EXPECT_EQ(outcome(write("good.vx", test::sampleBytes())), "ok");
    Bytes cut = test::sampleBytes();
    cut.resize(cut.size() - 1);
    EXPECT_EQ(outcome(write("cut.vx", cut)), "Unexpected config end");
    // Larger than the reader's buffer: read in several refills from the file.
    ProgramDescription large = test::sampleRaw();
    for (std::string& text : large.stringTable) text.assign(30000, 'q');
    Bytes largeBytes = writeConfig(large);
    EXPECT_EQ(outcome(write("large.vx", largeBytes)), "ok");
    largeBytes.resize(70000);
    EXPECT_EQ(outcome(write("large-cut.vx", largeBytes)), "Unexpected config end");
    ProgramDescription raw = test::sampleRaw();
    raw.header.firstList = 7;
    EXPECT_EQ(outcome(write("damaged.vx", writeConfig(raw))), "The config is damaged");
}

}  // namespace
}  // namespace brennic
