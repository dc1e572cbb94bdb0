// Decompile then compile gives back the config: byte for byte for every raw description the writer stores,
// the same dump for any other accepted file. Checked over generated descriptions, the examples and the fuzz
// corpus.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "config_decompiler.h"
#include "config_source.h"
#include "description/config_error.h"
#include "description/config_loader.h"
#include "description/config_writer.h"
#include "platform/text.h"

namespace brennic::authoring {
namespace {

namespace fs = std::filesystem;

bool loadBytes(const std::vector<std::uint8_t>& bytes, ProgramDescription& d) {
    errorVX error;
    try {
        loadDescription(d, std::span<const std::uint8_t>(bytes), error);
        validateDescription(d, error);
    } catch (const errorVX&) {
        return false;
    }
    return true;
}

// decompile -> compile; the compiled raw part, or a failure with the compiler's first error.
testing::AssertionResult recompile(const ProgramDescription& raw, ProgramDescription& again, std::string* source) {
    const std::string text = decompileDescription(raw, "test.vx");
    if (source != nullptr) *source = text;
    const CompileOutcome outcome = compileSource(text, "decompiled", again);
    if (!outcome.ok()) {
        return testing::AssertionFailure() << formatDiagnostic("decompiled", outcome.errors.front()) << "\n" << text;
    }
    return testing::AssertionSuccess();
}

// Texts of a legacy config are any bytes but zero; those of a UTF-8 config any characters but U+0000: from
// the first `utf8Ranges` of ASCII, two-byte, three-byte and four-byte characters (0: a legacy config).
int utf8Ranges = 0;

std::string randomText(std::mt19937& rng, std::size_t maxLength) {
    std::string s(std::uniform_int_distribution<std::size_t>(0, maxLength)(rng), 'x');
    if (utf8Ranges == 0) {
        for (char& c : s) c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(rng));
        return s;
    }
    const char32_t ranges[][2] = {{1, 0x7F}, {0x80, 0x7FF}, {0x800, 0xFFFF}, {0x10000, 0x10FFFF}};
    const std::size_t length = s.size();
    s.clear();
    for (std::size_t i = 0; i < length; ++i) {
        const auto& range = ranges[std::uniform_int_distribution<int>(0, utf8Ranges - 1)(rng)];
        char32_t cp = std::uniform_int_distribution<char32_t>(range[0], range[1])(rng);
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 'x';
        appendUtf8(s, cp);
    }
    return s;
}

std::string randomFilter(std::mt19937& rng) {
    if (std::uniform_int_distribution<int>(0, 5)(rng) == 0) return randomText(rng, 6);  // anything at all
    std::string s;
    const int pairs = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < 2 * pairs; ++i) {
        std::string part = randomText(rng, 5);
        for (char& c : part) {
            if (c == '\x01') c = '*';
        }
        s += (part.empty() ? std::string("p") : part) + '\x01';
    }
    return s;
}

// A raw description that the loader accepts, with every stored field varied: the form of the texts, reserved
// bytes, versions, text counts 0..2, placement bits 6-7, dialog kinds beyond 2, spare list and filter items, spare strings.
ProgramDescription randomDescription(std::mt19937& rng) {
    auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    auto u16 = [](int v) { return static_cast<std::uint16_t>(v); };
    auto u8 = [](int v) { return static_cast<std::uint8_t>(v); };
    ProgramDescription d;
    ConfigHeader& h = d.header;
    for (auto& b : h.reserved) b = u8(pick(0, 3) == 0 ? pick(0, 255) : 0);
    utf8Ranges = std::array<int, 4>{0, 0, 1, 4}[static_cast<std::size_t>(pick(0, 3))];
    if (utf8Ranges != 0) h.reserved = kUtf8TextsMarker;
    h.version = u16(pick(1, 5));
    const int lists = pick(1, 5);
    const int actions = pick(1, 9);
    const int paths = pick(0, 4);
    const int manuals = pick(0, 3);
    const int filters = pick(0, 4);
    h.firstList = u16(pick(0, lists - 1));
    for (int i = 0; i < actions; ++i) {
        ActionRecord r;
        r.pathSpecNo = u16(pick(0, paths));
        r.manualSpecNo = u16(pick(0, manuals));
        r.nextListNo = u16(pick(0, lists));
        r.textCount = u8(pick(0, 2));
        r.reserved1 = u8(pick(0, 4) == 0 ? pick(0, 255) : 0);
        r.placement = u8(pick(0, 255));
        r.reserved2 = u8(pick(0, 4) == 0 ? pick(0, 255) : 0);
        d.actionRecords.push_back(r);
    }
    for (int i = 0; i < lists; ++i) {
        const int length = pick(1, 6);
        d.listLengths.push_back(u16(length));
        for (int j = 0; j < length; ++j) d.listItems.push_back(u16(pick(0, actions - 1)));
    }
    for (int i = 0; i < paths; ++i) {
        const int count = filters == 0 ? 0 : pick(0, 3);
        d.pathSpecRecords.push_back({u8(pick(0, 3) == 0 ? pick(0, 255) : pick(0, 2)), u8(count)});
        for (int j = 0; j < count; ++j) d.filterItems.push_back(u8(pick(0, filters - 1)));
    }
    if (pick(0, 3) == 0) d.listItems.push_back(u16(pick(0, actions - 1)));
    if (filters > 0 && pick(0, 3) == 0) d.filterItems.push_back(u8(pick(0, filters - 1)));
    for (int i = 0; i < 6; ++i) d.stringTable.push_back(randomText(rng, 12));
    for (int i = 0; i < lists; ++i) d.stringTable.push_back(randomText(rng, 8));
    for (const ActionRecord& r : d.actionRecords) {
        d.stringTable.push_back(randomText(rng, 8));
        if (r.textCount == 2) d.stringTable.push_back(randomText(rng, 8));
    }
    for (int i = 0; i < paths + 2 * manuals; ++i) d.stringTable.push_back(randomText(rng, 8));
    for (int i = 0; i < filters; ++i) d.stringTable.push_back(randomFilter(rng));
    for (int i = pick(0, 4) == 0 ? pick(1, 3) : 0; i > 0; --i) d.stringTable.push_back(randomText(rng, 4));
    h.stringCount = u16(static_cast<int>(d.stringTable.size()));
    h.listCount = u16(lists);
    h.listItemCount = u16(static_cast<int>(d.listItems.size()));
    h.filterItemCount = u16(static_cast<int>(d.filterItems.size()));
    h.actionCount = u16(actions);
    h.pathSpecCount = u16(paths);
    h.filterTextCount = u16(filters);
    h.manualSpecCount = u16(manuals);
    return d;
}

TEST(ConfigRoundTrip, GeneratedDescriptionsComeBackByteForByte) {
    std::mt19937 rng(20261207);
    std::array<int, 5> checked{};  // by utf8Ranges: legacy, ASCII-only UTF-8, UTF-8 from every plane
    for (int round = 0; round < 400; ++round) {
        const ProgramDescription raw = randomDescription(rng);
        const std::vector<std::uint8_t> bytes = writeConfig(raw);
        ProgramDescription loaded;
        if (!loadBytes(bytes, loaded)) continue;  // e.g. an empty list that a page can show
        ProgramDescription again;
        ASSERT_TRUE(recompile(loaded, again, nullptr)) << "round " << round;
        ASSERT_EQ(writeConfig(again), bytes) << "round " << round << "\n" << decompileDescription(loaded, "");
        ++checked[static_cast<std::size_t>(utf8Ranges)];
    }
    // Most generated descriptions are valid; the property must not hold vacuously for any form.
    EXPECT_GT(checked[0], 100);
    EXPECT_GT(checked[1], 40);
    EXPECT_GT(checked[4], 40);
}

TEST(ConfigRoundTrip, DescriptionWithoutTextsAndSpareEntriesComesBack) {
    ProgramDescription d;
    d.header.version = 2;
    d.header.listCount = 1;
    d.header.actionCount = 2;
    d.header.listItemCount = 3;
    d.listLengths = {1};
    d.listItems = {1, 0, 1};  // two entries after the only list's one
    d.actionRecords.resize(2);
    d.actionRecords[0].textCount = 1;
    d.actionRecords[1].textCount = 2;
    d.stringTable = {"Label", "First", "Second", "-s"};  // four strings: no description texts
    d.header.stringCount = 4;
    const std::vector<std::uint8_t> bytes = writeConfig(d);
    ProgramDescription loaded;
    ASSERT_TRUE(loadBytes(bytes, loaded));
    ProgramDescription again;
    std::string source;
    ASSERT_TRUE(recompile(loaded, again, &source));
    EXPECT_NE(source.find("description-texts = false"), std::string::npos) << source;
    EXPECT_NE(source.find("spare-list-items = [\"action1\", \"action2\"]"), std::string::npos) << source;
    EXPECT_EQ(writeConfig(again), bytes);
}

TEST(ConfigRoundTrip, DecompiledSourceReadsNaturally) {
    ProgramDescription d;
    d.header.version = 1;
    d.header.listCount = 1;
    d.header.actionCount = 1;
    d.header.listItemCount = 1;
    d.header.pathSpecCount = 1;
    d.header.filterTextCount = 1;
    d.header.filterItemCount = 1;
    d.listLengths = {1};
    d.listItems = {0};
    d.actionRecords = {ActionRecord{1, 0, 0, 2, 0, static_cast<std::uint8_t>(2 | (1 << 2)), 0}};
    d.pathSpecRecords = {PathSpecRecord{kOpenFileDialog, 1}};
    d.filterItems = {0};
    d.stringTable = {"a.exe", "A", "", "", "", "", "Mode", "Open", "-i", "Input", "Text\x01*.txt\x01"};
    d.header.stringCount = static_cast<std::uint16_t>(d.stringTable.size());
    const std::string source = decompileDescription(d, "a.vx");
    for (const char* expected :
         {"[program]\nexecutable = \"a.exe\"\nfolder = \"A\"\n", "first-list = \"list1\"\n",
          "[lists.list1]\nlabel = \"Mode\"\nactions = [\"action1\"]\n",
          "caption = \"Open\"\ntext = \"-i\"\npath = \"path1\"\norder = [\"action\", \"path\"]\n",
          "[paths.path1]\ndialog = \"open\"\nlabel = \"Input\"\nfilters = [\"filter1\"]\n",
          "[filters.filter1]\ndescription = \"Text\"\npattern = \"*.txt\"\n"}) {
        EXPECT_NE(source.find(expected), std::string::npos) << "missing:\n" << expected << "\nin:\n" << source;
    }
    EXPECT_EQ(source.find("[binary]"), std::string::npos) << "nothing unusual, so no [binary] table";
}

TEST(ConfigRoundTrip, SharedPositionsAndGapsUsePositionsTable) {
    std::string order;
    ProgramDescription d;
    d.header = ConfigHeader{};
    d.header.version = 1;
    d.header.listCount = 1;
    d.header.actionCount = 2;
    d.header.listItemCount = 2;
    d.listLengths = {2};
    d.listItems = {0, 1};
    d.actionRecords = {ActionRecord{0, 0, 0, 1, 0, static_cast<std::uint8_t>(1 | (1 << 2)), 0},
                       ActionRecord{0, 0, 0, 1, 0, static_cast<std::uint8_t>(2 << 2), 0}};
    d.stringTable = {"a", "b", "", "", "", "", "L", "x", "y"};
    d.header.stringCount = 9;
    const std::string source = decompileDescription(d, "");
    EXPECT_NE(source.find("positions = { path = 1, action = 1, manual = 0 }"), std::string::npos) << source;
    EXPECT_NE(source.find("positions = { path = 0, action = 2, manual = 0 }"), std::string::npos) << source;
    ProgramDescription again;
    ASSERT_TRUE(recompile(d, again, nullptr));
    EXPECT_EQ(writeConfig(again), writeConfig(d));
}

// Texts and names outside ASCII, written directly or as escapes, in every kind of string, stored in code page
// 1252; characters the code page lacks in comments. What the parser gives back must be exactly what was written.
TEST(ConfigRoundTrip, TextsAndNamesOutsideAsciiComeBackByteForByte) {
    const std::string source =
        "\xEF\xBB\xBF"  // a byte order mark, as some editors write
        "# Comments hold anything: \u4e2d\u6587 \U0001F600 \ufeef \u3000 \u2028 \U0010FFFD \u00e9\n"
        "[program]\n"
        "executable = \"caf\u00e9.exe\"\n"
        "folder = \"Gr\u00f6\u00dfe \u2013 \u20ac \u2019 \u0178 \u2122\"  # \ufeef\n"
        "version = \"\u00a0\u00ff\u00ad\u0081\"\n"
        "[lists.\"Gr\u00f6\u00dfe\"]\n"
        "label = \"Stra\u00dfe\"\n"
        "actions = [\"caf\u00e9\", \"na\u00efve\"]\n"
        "[actions.\"caf\u00e9\"]\n"
        "caption = 'C:\\Programme\\Caf\u00e9'\n"
        "text = \"\\u00e9 = \u00e9\"\n"
        "[actions.\"na\u00efve\"]\n"
        // After a line-ending backslash only spaces, tabs and line breaks are skipped.
        "caption = \"\"\"na\u00efve \\\n    \u00e9 and \\\n\u00a0kept\"\"\"\n"
        "[binary]\n"
        "text-encoding = \"cp1252\"\n";
    ProgramDescription compiled;
    const CompileOutcome outcome = compileSource(source, "texts.toml", compiled);
    ASSERT_TRUE(outcome.ok()) << formatDiagnostic("texts.toml", outcome.errors.front());
    const std::vector<std::string>& strings = compiled.stringTable;
    ASSERT_EQ(strings.size(), 10u);
    EXPECT_EQ(strings[0], "caf\xE9.exe");
    EXPECT_EQ(strings[1], "Gr\xF6\xDF" "e \x96 \x80 \x92 \x9F \x99");
    EXPECT_EQ(strings[2], "\xA0\xFF\xAD\x81");
    EXPECT_EQ(strings[6], "Stra\xDF" "e");
    EXPECT_EQ(strings[7], "C:\\Programme\\Caf\xE9");
    EXPECT_EQ(strings[8], "\xE9 = \xE9");
    EXPECT_EQ(strings[9], "na\xEFve \xE9 and \xA0kept");
    EXPECT_EQ(compiled.listItems, (std::vector<std::uint16_t>{0, 1}));  // the names were found

    const std::vector<std::uint8_t> bytes = writeConfig(compiled);
    ProgramDescription loaded;
    ASSERT_TRUE(loadBytes(bytes, loaded));
    ProgramDescription again;
    std::string decompiled;
    ASSERT_TRUE(recompile(loaded, again, &decompiled));
    EXPECT_EQ(writeConfig(again), bytes);
    EXPECT_NE(decompiled.find("folder = \"Gr\u00f6\u00dfe \u2013 \u20ac \u2019 \u0178 \u2122\"\n"), std::string::npos)
        << decompiled;
}

std::vector<fs::path> filesUnder(const fs::path& root, const std::string& extension) {
    std::vector<fs::path> files;
    std::error_code error;
    if (!fs::is_directory(root, error)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string readFile(const fs::path& path) {
    std::string bytes;
    std::string problem;
    EXPECT_TRUE(readWholeFile(path.string(), bytes, problem)) << problem;
    return bytes;
}

fs::path sourceDir() {
    const char* dir = std::getenv("BRENNIC_SOURCE_DIR");
    return dir != nullptr ? fs::path(dir) : fs::path(BRENNIC_TEST_SOURCE_DIR);
}

TEST(ConfigRoundTrip, EveryExampleCompilesCleanlyAndComesBack) {
    const auto examples = filesUnder(sourceDir() / "examples", ".toml");
    ASSERT_GE(examples.size(), 4u) << "the demo and three tool examples";
    for (const fs::path& path : examples) {
        SCOPED_TRACE(path.string());
        ProgramDescription compiled;
        const CompileOutcome outcome = compileSource(readFile(path), path.string(), compiled);
        ASSERT_TRUE(outcome.ok()) << formatDiagnostic(path.string(), outcome.errors.front());
        EXPECT_TRUE(outcome.warnings.empty()) << formatDiagnostic(path.string(), outcome.warnings.front(), true);
        const std::vector<std::uint8_t> bytes = writeConfig(compiled);
        ProgramDescription loaded;
        ASSERT_TRUE(loadBytes(bytes, loaded));
        ProgramDescription again;
        ASSERT_TRUE(recompile(loaded, again, nullptr));
        EXPECT_EQ(writeConfig(again), bytes);
    }
}

TEST(ConfigRoundTrip, EveryAcceptedCorpusFileGivesTheSameDump) {
    int accepted = 0;
    for (const fs::path& path : filesUnder(sourceDir() / "fuzz" / "corpus", "")) {
        const std::string content = readFile(path);
        const std::vector<std::uint8_t> bytes(content.begin(), content.end());
        ProgramDescription loaded;
        if (!loadBytes(bytes, loaded)) continue;
        SCOPED_TRACE(path.string());
        ++accepted;
        ProgramDescription again;
        ASSERT_TRUE(recompile(loaded, again, nullptr));
        EXPECT_EQ(writeConfig(again), writeConfig(loaded));
        EXPECT_EQ(dumpDescription(again), dumpDescription(loaded));
    }
    RecordProperty("accepted_corpus_files", accepted);
}

}  // namespace
}  // namespace brennic::authoring
