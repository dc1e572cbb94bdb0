// vxtool compile, decompile and dump as commands: exit status, messages, files written or left alone; and the
// console output they are printed through.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "authoring_commands.h"
#include "config_decompiler.h"
#include "config_fixtures.h"
#include "console_output.h"
#include "description/config_writer.h"
#include "platform/text.h"

namespace brennic::vxtool {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

using CommandFn = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

ToolRun run(CommandFn command, const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    ToolRun result;
    result.status = command(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

const char* const kSource =
    "[program]\n"
    "executable = \"tool.exe\"\n"
    "folder = \"Tool\"\n"
    "[lists.main]\n"
    "label = \"Action\"\n"
    "actions = [\"go\"]\n"
    "[actions.go]\n"
    "caption = \"Go \\\"now\\\" \u00e9\"\n"
    "text = \"-g p@\"\n"
    "path = \"in\"\n"
    "[paths.in]\n"
    "dialog = \"open\"\n"
    "label = \"Input\"\n"
    "filters = [\"all\"]\n"
    "[filters.all]\n"
    "description = \"All files\"\n"
    "pattern = \"*.*\"\n";

class VxtoolAuthoring : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("brennic_authoring_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return path(name);
    }
    std::string read(const std::string& name) const {
        std::string bytes;
        std::string problem;
        EXPECT_TRUE(authoring::readWholeFile(path(name), bytes, problem)) << problem;
        return bytes;
    }
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

TEST_F(VxtoolAuthoring, CompileThenDecompileThenCompileGivesTheSameFile) {
    const std::string source = write("src.toml", kSource);
    ToolRun compiled = run(compileCommand, {source, "-o", path("prog.vx")});
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_EQ(compiled.err, "");

    ToolRun decompiled = run(decompileCommand, {path("prog.vx"), "-o", path("back.toml")});
    ASSERT_EQ(decompiled.status, 0) << decompiled.err;
    EXPECT_NE(read("back.toml").find("caption = \"Go \\\"now\\\" \u00e9\""), std::string::npos) << read("back.toml");
    ToolRun again = run(compileCommand, {path("back.toml"), "-o", path("again.vx")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(read("again.vx"), read("prog.vx"));

    // Without -o the source goes to standard output.
    ToolRun printed = run(decompileCommand, {path("prog.vx")});
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out, read("back.toml"));
}

TEST_F(VxtoolAuthoring, RefusedSourceWritesNothingAndKeepsTheOldOutput) {
    const std::string good = write("good.toml", kSource);
    ASSERT_EQ(run(compileCommand, {good, "-o", path("prog.vx")}).status, 0);
    const std::string before = read("prog.vx");

    std::string broken = kSource;
    broken.replace(broken.find("caption"), 7, "captoin");
    const std::string source = write("bad.toml", broken);
    ToolRun r = run(compileCommand, {source, "-o", path("prog.vx")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(source + ":8:1: unknown key 'captoin'"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
    EXPECT_EQ(read("prog.vx"), before);
    EXPECT_EQ(filesInDir(), 3u) << "no temporary file may stay behind";
}

TEST_F(VxtoolAuthoring, OutputThatCannotBeReplacedIsAFailureWithoutLeftovers) {
    const std::string source = write("src.toml", kSource);
    fs::create_directories(dir_ / "taken");
    fs::create_directories(dir_ / "taken" / "inside");  // a non-empty folder cannot be replaced by a file
    ToolRun r = run(compileCommand, {source, "-o", path("taken")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot replace"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_directory(dir_ / "taken" / "inside"));
    EXPECT_EQ(filesInDir(), 2u);

    ToolRun missingFolder = run(compileCommand, {source, "-o", path("no/such/folder/prog.vx")});
    EXPECT_EQ(missingFolder.status, 1);
    EXPECT_NE(missingFolder.err.find("cannot create"), std::string::npos) << missingFolder.err;
}

TEST_F(VxtoolAuthoring, MissingOrRefusedInputsAreRefusedWithStatusOne) {
    ToolRun noSource = run(compileCommand, {path("absent.toml"), "-o", path("prog.vx")});
    EXPECT_EQ(noSource.status, 1);
    EXPECT_NE(noSource.err.find("absent.toml: cannot open"), std::string::npos) << noSource.err;
    EXPECT_FALSE(fs::exists(path("prog.vx")));

    ToolRun noConfig = run(dumpCommand, {path("absent.vx")});
    EXPECT_EQ(noConfig.status, 1);
    EXPECT_NE(noConfig.err.find("absent.vx: Load file error"), std::string::npos) << noConfig.err;

    // Version 0: refused as Brennic refuses it, by every command that reads configs.
    const std::string old = write("old.vx", std::string(26, '\0') + "x");
    for (CommandFn command : {dumpCommand, decompileCommand}) {
        ToolRun r = run(command, {old});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, old + ": Can't load old config version\n");
        EXPECT_EQ(r.out, "");
    }

    // A damaged file names the damage.
    ProgramDescription d;
    d.header.version = 1;
    d.header.listCount = 1;
    d.listLengths = {0};
    d.stringTable = {"a.exe", "A", "", "", "", "", "L"};
    d.header.stringCount = 7;
    const std::vector<std::uint8_t> bytes = writeConfig(d);
    const std::string damaged = write("damaged.vx", std::string(bytes.begin(), bytes.end()));
    ToolRun r = run(dumpCommand, {damaged});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(damaged + ": The config is damaged ("), std::string::npos) << r.err;
}

TEST_F(VxtoolAuthoring, UsageErrorsAreStatusTwoAndHelpIsStatusZero) {
    const std::vector<std::pair<CommandFn, std::vector<std::string>>> usageErrors = {
        {compileCommand, {}},
        {compileCommand, {"a.toml"}},                  // no -o
        {compileCommand, {"a.toml", "-o"}},            // -o without a file
        {compileCommand, {"a.toml", "b.toml", "-o", "x"}},
        {compileCommand, {"a.toml", "-o", "x", "-o", "y"}},
        {compileCommand, {"a.toml", "--fast", "-o", "x"}},
        {decompileCommand, {}},
        {dumpCommand, {}},
        {dumpCommand, {"a.vx", "-o", "out.txt"}},
    };
    for (const auto& [command, args] : usageErrors) {
        ToolRun r = run(command, args);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
        EXPECT_NE(r.err.find("Usage: vxtool"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    for (CommandFn command : {compileCommand, decompileCommand, dumpCommand}) {
        ToolRun r = run(command, {"--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("Usage: vxtool ", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("Exit status"), std::string::npos);
    }
}

TEST_F(VxtoolAuthoring, DumpEscapesBytesAndIgnoresWhatFollowsTheLastString) {
    ProgramDescription d;
    d.header.version = 4;
    d.header.reserved = {0, 0, 0, 0, 0, 9};
    d.header.listCount = 1;
    d.header.actionCount = 1;
    d.header.listItemCount = 1;
    d.listLengths = {1};
    d.listItems = {0};
    d.actionRecords = {ActionRecord{0, 0, 0, 1, 0, 0x39 | 0x40, 0}};
    d.stringTable = {"a.exe", "A", "", "", "", "", "Tab\there", "q\"\\\x01\xE9\x7F"};
    d.header.stringCount = 8;
    std::vector<std::uint8_t> bytes = writeConfig(d);
    const std::string plain = write("plain.vx", std::string(bytes.begin(), bytes.end()));
    const std::string tailed = write("tailed.vx", std::string(bytes.begin(), bytes.end()) + "trailing junk");

    ToolRun a = run(dumpCommand, {plain});
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_NE(a.out.find("header.reserved = 0 0 0 0 0 9\nheader.version = 4\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("list[0].label = \"Tab\\x09here\"\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("action[0].caption = \"q\\\"\\\\\\x01\\xE9\\x7F\"\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("action[0].positions = path 1, action 2, manual 3\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("action[0].placementBits67 = 1\n"), std::string::npos) << a.out;
    for (char c : a.out) {
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "dump holds a raw byte " << int(c);
    }
    ToolRun b = run(dumpCommand, {tailed});
    EXPECT_EQ(b.status, 0);
    EXPECT_EQ(b.out, a.out);

    // A reserved byte is part of the config: it shows, and survives decompile and compile.
    ToolRun source = run(decompileCommand, {tailed, "-o", path("tailed.toml")});
    ASSERT_EQ(source.status, 0) << source.err;
    EXPECT_NE(read("tailed.toml").find("reserved = [0, 0, 0, 0, 0, 9]"), std::string::npos);
    ASSERT_EQ(run(compileCommand, {path("tailed.toml"), "-o", path("back.vx")}).status, 0);
    EXPECT_EQ(read("back.vx"), read("plain.vx"));
}

// A config marked as holding UTF-8 texts: dump shows the form and the characters, decompile writes the key the
// texts alone would not choose, and both come back byte for byte; malformed UTF-8 there cannot become source.
TEST_F(VxtoolAuthoring, Utf8ConfigsDumpAndComeBackInTheirCharacters) {
    ProgramDescription d = test::oneActionRaw({"a.exe", "A", "", "", "", "",
                                               "\xD0\xB4\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5 \xE6\x95\xB0",
                                               "\xF0\x9F\x98\x80\x01\xE2\x80\xAE"});
    d.header.reserved = kUtf8TextsMarker;
    auto roundTrip = [&](const std::string& name, const char* expectedKey) {
        const std::vector<std::uint8_t> bytes = writeConfig(d);
        const std::string config = write(name + ".vx", std::string(bytes.begin(), bytes.end()));
        ToolRun source = run(decompileCommand, {config, "-o", path(name + ".toml")});
        ASSERT_EQ(source.status, 0) << source.err;
        EXPECT_EQ(read(name + ".toml").find("reserved ="), std::string::npos) << read(name + ".toml");
        if (expectedKey != nullptr) {
            EXPECT_NE(read(name + ".toml").find(expectedKey), std::string::npos) << read(name + ".toml");
        } else {
            EXPECT_EQ(read(name + ".toml").find("text-encoding"), std::string::npos) << read(name + ".toml");
        }
        ASSERT_EQ(run(compileCommand, {path(name + ".toml"), "-o", path(name + "-back.vx")}).status, 0);
        EXPECT_EQ(read(name + "-back.vx"), read(name + ".vx"));
    };

    roundTrip("marked", nullptr);
    ToolRun dump = run(dumpCommand, {path("marked.vx")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_NE(dump.out.find("header.reserved = 85 84 70 45 56 0 (UTF-8 texts)\n"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("list[0].label = \"\xD0\xB4\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5 \xE6\x95\xB0\"\n"),
              std::string::npos)
        << dump.out;
    EXPECT_NE(dump.out.find("action[0].caption = \"\xF0\x9F\x98\x80\\x01\\u202E\"\n"), std::string::npos) << dump.out;

    d.stringTable[6] = "List";
    d.stringTable[7] = "Go";
    roundTrip("ascii", "text-encoding = \"utf-8\"");

    // A legacy config whose texts are not all ASCII needs the opposite key.
    d.header.reserved = {};
    d.stringTable[7] = "Caf\xE9";
    roundTrip("legacy", "text-encoding = \"cp1252\"");

    d.header.reserved = kUtf8TextsMarker;
    d.stringTable[7] = "Caf\xE9";  // code page 1252, not UTF-8
    const std::vector<std::uint8_t> bytes = writeConfig(d);
    const std::string malformed = write("malformed.vx", std::string(bytes.begin(), bytes.end()));
    ToolRun refused = run(decompileCommand, {malformed});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, malformed + ": string 8 is not valid UTF-8, although the header marks the texts as UTF-8; "
                                       "such a config cannot be written as source\n");
    ToolRun shown = run(dumpCommand, {malformed});
    EXPECT_NE(shown.out.find("action[0].caption = \"Caf\\xE9\"\n"), std::string::npos) << shown.out;
}

// What reaches a console is whole characters: a write never ends inside a UTF-8 sequence, however the output
// is flushed, and nothing is lost or reordered; malformed bytes and a sequence cut at the very end pass on.
class CollectingBuffer final : public WholeCharacterBuffer {
public:
    std::vector<std::string> writes;
    bool refuse = false;

protected:
    bool write(std::string_view text) override {
        if (refuse) return false;
        writes.emplace_back(text);
        return true;
    }
};

fs::path sourceDir() {
    const char* dir = std::getenv("BRENNIC_SOURCE_DIR");
    return dir != nullptr ? fs::path(dir) : fs::path(BRENNIC_TEST_SOURCE_DIR);
}

std::string example(const char* name) { return (sourceDir() / "examples" / name).string(); }

// The command for a choice on each page, as "Copy command line" copies it, then Start's warning lines.
struct PreviewCase {
    const char* example;
    std::vector<std::string> choices;
    const char* output;
};

TEST_F(VxtoolAuthoring, PreviewGivesTheCommandOfEveryExampleInEveryMode) {
    const PreviewCase cases[] = {
        // xcopy: the guide's command, then each console mode; nothing chosen leaves the paths empty.
        {"xcopy/prog.toml",
         {"--programs", "C:\\Windows", "--entry", "1=folder-tree", "--path", "1=C:\\Work", "--path",
          "2=D:\\Backup\\Work", "--entry", "3=overwrite"},
         "\"C:\\Windows\\System32\\xcopy.exe\" \"C:\\Work\" /E /I \"D:\\Backup\\Work\" /Y \n"},
        {"xcopy/prog.toml",
         {"--programs", "C:\\Windows\\", "--mode", "output", "--entry", "1=The files of a folder, without subfolders",
          "--path", "1=C:\\My Work", "--path", "2=E:\\", "--entry", "3=newer-only"},
         "\"C:\\Windows\\System32\\xcopy.exe\" \"C:\\My Work\" /I \"E:\\\\\" /D /Y \n"},
        {"xcopy/prog.toml", {"--programs", "C:\\Windows", "--mode", "show"},
         "\"C:\\Windows\\System32\\xcopy.exe\"  /E /I  /Y \nArgument 1 Empty path\nArgument 2 Empty path\n"},
        {"xcopy/prog.toml",
         {"--programs", "C:\\Windows", "--mode", "hold", "--path", "1=C:\\Work", "--path", "2=D:\\Copy", "--entry",
          "3=other-switches", "--manual", "3=/H /K"},
         "cmd.exe /k C: && cd \"C:\\Windows\\System32\" && \"C:\\Windows\\System32\\xcopy.exe\" \"C:\\Work\" /E /I "
         "\"D:\\Copy\" /Y /H /K \n"},
        {"xcopy/prog.toml", {"--programs", "C:\\Windows", "--entry", "3=other-switches", "--path", "1=C:\\A", "--path",
          "2=C:\\B"},
         "\"C:\\Windows\\System32\\xcopy.exe\" \"C:\\A\" /E /I \"C:\\B\" /Y  \nArgument 3 Empty manual args\n"},
        // The demo: marks filled from the path and the manual words, three pages.
        {"demo/demo.toml",
         {"--programs", "D:\\Tools", "--entry", "1=convert", "--path", "1=C:\\in put.wav", "--entry",
          "2=quality-custom", "--manual", "2=5", "--path", "2=C:\\log.txt", "--entry", "3=Write to a file", "--path",
          "3=C:\\out.mp3"},
         "\"D:\\Tools\\Demo\\brennic-demo.exe\" --convert \"C:\\in put.wav\" -q 5 --log \"C:\\log.txt\" -o "
         "\"C:\\out.mp3\" \n"},
        {"demo/demo.toml", {"--programs", "D:\\Tools", "--mode", "hold", "--entry", "1=tag", "--manual", "1=title x"},
         "cmd.exe /k D: && cd \"D:\\Tools\\Demo\" && \"D:\\Tools\\Demo\\brennic-demo.exe\" --tag title=x \n"},
        {"converter/prog.toml",
         {"--programs", "C:\\P", "--mode", "show", "--path", "1=C:\\in.mov", "--entry", "2=vp9", "--entry",
          "3=to-file-quality", "--manual", "3=-crf 23"},
         "\"C:\\P\\mconv\\mconv.exe\" -i \"C:\\in.mov\" -c:v vp9 -crf 23 -y  \nArgument 3 Empty path\n"},
        {"archiver/prog.toml", {"--programs", "C:\\P", "--mode", "output", "--path", "1=C:\\a.pak"},
         "\"C:\\P\\packit\\packit.exe\" a \"C:\\a.pak\" -mx=0  \nArgument 3 Empty path\n"},
        {"downloader/prog.toml", {"--programs", "C:\\P", "--manual", "1=https://example.org/a.iso"},
         "\"C:\\P\\fetchit\\fetchit.exe\" https://example.org/a.iso -P  \nArgument 2 Empty path\n"},
    };
    for (const PreviewCase& c : cases) {
        std::vector<std::string> args{example(c.example)};
        args.insert(args.end(), c.choices.begin(), c.choices.end());
        const ToolRun r = run(previewCommand, args);
        EXPECT_EQ(r.status, 0) << c.example << " " << testing::PrintToString(c.choices) << "\n" << r.err;
        EXPECT_EQ(r.out, c.output) << c.example << " " << testing::PrintToString(c.choices);
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(VxtoolAuthoring, PreviewReadsCompiledConfigsAndTheirFolder) {
    ASSERT_EQ(run(compileCommand, {example("xcopy/prog.toml"), "-o", path("prog.vx")}).status, 0);
    // A compiled config knows no TOML keys: entries are named by their captions. The programs folder is the
    // config's own folder unless one is given.
    ToolRun r = run(previewCommand, {path("prog.vx"), "--entry", "1=A folder with all its subfolders", "--path",
                                     "1=C:\\Work", "--path", "2=D:\\Copy", "--entry", "3=Overwrite it"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "\"" + fs::absolute(dir_).string() + "\\System32\\xcopy.exe\" \"C:\\Work\" /E /I \"D:\\Copy\" /Y \n");
    ToolRun byKey = run(previewCommand, {path("prog.vx"), "--entry", "1=folder-tree"});
    EXPECT_EQ(byKey.status, 1);
    EXPECT_NE(byKey.err.find("page 1: no entry \"folder-tree\""), std::string::npos) << byKey.err;
}

TEST_F(VxtoolAuthoring, PreviewRefusesChoicesThePagesCannotMake) {
    const std::string demo = example("demo/demo.toml");
    const std::pair<std::vector<std::string>, const char*> refused[] = {
        // Page 2 after "Show the version" is not in use; the message names the lists page 2 can show.
        {{"--entry", "1=show-version", "--entry", "2=quality-high"},
         "page 2: not in use: \"Show the version\" on page 1 leads to no further page; page 2 can show 'quality' "
         "(\"Quality\") or 'destination' (\"Destination\")"},
        // An entry of another list: page 2 shows "Quality" after "Convert a media file".
        {{"--entry", "2=into-folder"},
         "page 2: no entry \"into-folder\": the page shows 'quality' (\"Quality\") after \"Convert a media file\" on "
         "page 1"},
        {{"--entry", "1=copy", "--entry", "2=into-folder", "--entry", "3=High"}, "page 3: not in use"},
        {{"--entry", "1=show-version", "--path", "1=C:\\x"}, "page 1: \"Show the version\" takes no path"},
        {{"--entry", "1=copy", "--manual", "1=x"}, "page 1: \"Copy a file\" takes no manual arguments"},
        {{"--entry", "1=nothing-like-it"}, "page 1: no entry \"nothing-like-it\""},
    };
    for (const auto& [choices, message] : refused) {
        std::vector<std::string> args{demo};
        args.insert(args.end(), choices.begin(), choices.end());
        const ToolRun r = run(previewCommand, args);
        EXPECT_EQ(r.status, 1) << testing::PrintToString(choices);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    // Where a wrong entry is: "into-folder" is on the list page 2 shows after "Copy a file".
    EXPECT_NE(run(previewCommand, {demo, "--entry", "2=into-folder"}).err.find("\"into-folder\" is on 'destination'"),
              std::string::npos);

    const std::vector<std::string> usage[] = {
        {},
        {demo, "--entry", "4=x"},
        {demo, "--entry", "1"},
        {demo, "--path", "0=C:\\"},
        {demo, "--mode", "console"},
        {demo, "--entry", "1=copy", "--entry", "1=tag"},
        {demo, "--programs"},
        {demo, "other.toml"},
    };
    for (const auto& args : usage) {
        const ToolRun r = run(previewCommand, args);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
        EXPECT_NE(r.err.find("Usage: vxtool preview"), std::string::npos) << r.err;
    }
    const ToolRun missing = run(previewCommand, {path("absent.vx")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Load file error"), std::string::npos) << missing.err;
    std::string broken = kSource;
    broken.replace(broken.find("\"in\""), 4, "\"inn\"");
    const ToolRun refusedSource = run(previewCommand, {write("bad.toml", broken)});
    EXPECT_EQ(refusedSource.status, 1);
    EXPECT_NE(refusedSource.err.find("hint: the closest name is 'in'"), std::string::npos) << refusedSource.err;
}

// check gives the same warnings on a source (with its file and line) and on the config compiled from it (by
// number and caption); compile prints them too and still writes the config.
TEST_F(VxtoolAuthoring, CheckWarnsAboutTheSameMistakesInSourceAndConfig) {
    const std::string source = write("prog.toml", std::string(kSource) +
                                                      "[actions.stray]\n"
                                                      "caption = \"Stray\"\n"
                                                      "text = \"p@ -x\"\n"
                                                      "path = \"in\"\n");
    const ToolRun compiled = run(compileCommand, {source, "-o", path("prog.vx")});
    EXPECT_EQ(compiled.status, 0);
    const std::string atStart =
        "'s text starts with p@, and a mark at the very start is never replaced: the path is lost and the program "
        "gets \"p@\"; begin the text with a space (\" p@ ...\") or give the path a place of its own in 'order'\n";
    const std::string onNoList = " is on no list, so no page offers it: add it to a list's 'actions', or remove it\n";
    EXPECT_EQ(compiled.err, "warning: " + source + ":18: action 'stray'" + atStart + "warning: " + source +
                                ":18: action 'stray'" + onNoList);

    const std::string summary = "ok\nlists 1, actions 2, path specs 1, manual specs 0, filter texts 1, executable "
                                "tool.exe, texts UTF-8\n";
    const ToolRun fromSource = run(checkCommand, {source});
    EXPECT_EQ(fromSource.status, 0);
    EXPECT_EQ(fromSource.out, summary + "warning: " + source + ":18: action 'stray'" + atStart + "warning: " +
                                  source + ":18: action 'stray'" + onNoList);
    const ToolRun fromConfig = run(checkCommand, {path("prog.vx")});
    EXPECT_EQ(fromConfig.status, 0);
    EXPECT_EQ(fromConfig.out, summary + "warning: action 2 (\"Stray\")" + atStart + "warning: action 2 (\"Stray\")" +
                                  onNoList);

    // A source the compiler refuses: its errors, exit status 1.
    const ToolRun refused = run(checkCommand, {write("bad.toml", "[program]\nexecutable = \"t.exe\n")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(":2:20: hint: the text begun on this line has no closing quote"), std::string::npos)
        << refused.err;
}

TEST(ConsoleOutput, WritesHoldWholeCharactersOnly) {
    std::string text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\n";
    while (text.size() < 10000) text += text;  // crosses the buffer's chunk size inside characters
    for (const bool flushEveryByte : {true, false}) {
        CollectingBuffer buffer;
        std::ostream stream(&buffer);
        for (const char c : text) {
            stream.put(c);
            if (flushEveryByte) stream.flush();
        }
        stream.flush();
        buffer.finish();
        std::string joined;
        for (const std::string& written : buffer.writes) {
            EXPECT_FALSE(written.empty());
            EXPECT_TRUE(isUtf8(written)) << testing::PrintToString(written);
            joined += written;
        }
        EXPECT_TRUE(joined == text);
    }
    EXPECT_EQ(wholeCharactersLength("ab\xE4\xB8"), 2u);
    EXPECT_EQ(wholeCharactersLength("ab\xF0\x9F\x98"), 2u);
    EXPECT_EQ(wholeCharactersLength("ab\xF0\x9F\x98\x80"), 6u);
    EXPECT_EQ(wholeCharactersLength("ab\xFF\x80"), 4u);  // malformed: passed on, shown as U+FFFD
    EXPECT_EQ(wholeCharactersLength("\xE4"), 0u);
    CollectingBuffer cut;
    std::ostream(&cut) << "x\xE4\xB8" << std::flush;
    cut.finish();
    EXPECT_EQ(cut.writes, (std::vector<std::string>{"x", "\xE4\xB8"}));
}

// The console takes UTF-16 in pieces: a pair is never split across two, a short write goes on where it stopped,
// and a refused write is reported, to the caller and through the stream.
TEST(ConsoleOutput, PiecesKeepSurrogatePairsAndReportFailures) {
    const std::u16string pair = u"\U0001F600";
    std::u16string text = u"abc" + pair + u"d" + pair + pair;
    std::vector<std::u16string> pieces;
    auto collect = [&pieces](std::u16string_view piece) {
        pieces.emplace_back(piece);
        return piece.size();
    };
    for (const std::size_t maxUnits : {2u, 3u, 4u, 5u, 8192u}) {
        pieces.clear();
        ASSERT_TRUE(writeInPieces(text, maxUnits, collect)) << maxUnits;
        std::u16string joined;
        for (const std::u16string& piece : pieces) {
            EXPECT_LE(piece.size(), maxUnits);
            EXPECT_FALSE(piece.back() >= 0xD800 && piece.back() <= 0xDBFF) << maxUnits;
            EXPECT_FALSE(piece.front() >= 0xDC00 && piece.front() <= 0xDFFF) << maxUnits;
            joined += piece;
        }
        EXPECT_TRUE(joined == text) << maxUnits;
    }

    std::u16string received;
    EXPECT_TRUE(writeInPieces(u"abcdefg", 4, [&received](std::u16string_view piece) {
        received += piece.substr(0, 1);  // a console that takes one unit at a time
        return std::size_t{1};
    }));
    EXPECT_TRUE(received == u"abcdefg");

    int calls = 0;
    EXPECT_FALSE(writeInPieces(u"abcdefg", 2, [&calls](std::u16string_view) {
        ++calls;
        return std::size_t{0};
    }));
    EXPECT_EQ(calls, 1);

    CollectingBuffer refused;
    refused.refuse = true;
    std::ostream stream(&refused);
    stream << "lost" << std::flush;
    EXPECT_TRUE(stream.bad());
    EXPECT_TRUE(refused.writes.empty());
}

}  // namespace
}  // namespace brennic::vxtool
