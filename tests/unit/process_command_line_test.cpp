#include <gtest/gtest.h>

#include "app/command_line.h"

namespace brennic {
namespace {

// Full-path resolution against a current directory, with the platform's 260-byte result buffer.
FullPathResolver resolverIn(std::string currentDirectory) {
    return [currentDirectory](const std::string& name) -> std::optional<std::string> {
        if (name.empty()) return std::nullopt;
        std::string full = name.size() > 2 && name[1] == ':' ? name : currentDirectory + "\\" + name;
        if (full.size() > kMaxTokenLength) return std::nullopt;
        return full;
    };
}

StartupPaths paths(const std::string& commandLine, std::int32_t count, const std::string& cwd = "C:\\Work") {
    return startupPaths(commandLine, count, resolverIn(cwd));
}

TEST(StartupPaths, ProgramPathAndDefaultConfig) {
    StartupPaths p = paths("\"C:\\Tools\\app.exe\"", 1);
    EXPECT_EQ(p.programPath, "C:\\Tools\\app.exe");
    EXPECT_EQ(p.configPath, "C:\\Tools\\prog.vx");

    // Unquoted relative name from a console: made absolute against the current directory.
    p = paths("app", 1);
    EXPECT_EQ(p.programPath, "C:\\Work\\app");
    EXPECT_EQ(p.configPath, "C:\\Work\\prog.vx");

    // A quoted relative program path is made absolute too, so the program directory never is relative.
    p = paths("\"bin\\app.exe\"", 1);
    EXPECT_EQ(p.programPath, "C:\\Work\\bin\\app.exe");
    EXPECT_EQ(p.configPath, "C:\\Work\\bin\\prog.vx");
}

// The program's own file, as the system reports it, gives the program directory however it was started; the
// config argument keeps its meaning.
TEST(StartupPaths, OwnFileGivesTheProgramDirectory) {
    const std::string own = "C:\\My Tools\\Brennic.exe";
    struct Case {
        const char* commandLine;
        std::int32_t count;  // as the platform counts the words
        const char* configPath;
    };
    const Case cases[] = {
        // Typed as "brennic" in a console whose current folder is elsewhere (found on PATH).
        {"brennic", 1, "C:\\My Tools\\prog.vx"},
        {"brennic  cfg.vx", 2, "C:\\Work\\cfg.vx"},
        // CreateProcess with an unquoted path that holds a space: the platform counts two words for it.
        {"C:\\My Tools\\Brennic.exe", 2, "C:\\My Tools\\prog.vx"},
        {"c:\\my tools\\brennic cfg.vx", 3, "C:\\Work\\cfg.vx"},
        {"C:\\My Tools\\Brennic.exe \"my cfg.vx\" other", 4, "my cfg.vx"},
        // Quoted as the shell starts it.
        {"\"C:\\My Tools\\Brennic.exe\" cfg.vx", 2, "C:\\Work\\cfg.vx"},
    };
    for (const Case& c : cases) {
        const StartupPaths p = startupPaths(c.commandLine, c.count, resolverIn("C:\\Work"), own);
        EXPECT_EQ(p.programPath, own) << c.commandLine;
        EXPECT_EQ(p.configPath, std::string(c.configPath)) << c.commandLine;
    }
    // A program file longer than a token may be: reported by the system, it is taken whole.
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\brennic.exe";
    const StartupPaths p = startupPaths("brennic", 1, resolverIn("C:\\Work"), deep);
    EXPECT_EQ(p.configPath, "C:\\" + std::string(300, 'd') + "\\prog.vx");
    // A start of the line that does not name the file ends at the first space, as before.
    EXPECT_EQ(ownPathPrefixLength("C:\\Other Place\\x.exe cfg", own, resolverIn("C:\\Work")), 8u);
}

TEST(StartupPaths, ConfigArgument) {
    // Unquoted: made absolute. Several spaces before it are skipped.
    StartupPaths p = paths("\"C:\\Tools\\app.exe\"    cfg\\a.vx", 2, "D:\\X");
    EXPECT_EQ(p.configPath, "D:\\X\\cfg\\a.vx");
    // Quoted: kept as written, spaces included.
    p = paths("\"C:\\Tools\\app.exe\" \"cfg\\my file.vx\"", 2);
    EXPECT_EQ(p.configPath, "cfg\\my file.vx");
    // Two or more arguments: only the first is taken.
    p = paths("C:\\Tools\\app.exe one.vx two.vx", 3);
    EXPECT_EQ(p.programPath, "C:\\Tools\\app.exe");
    EXPECT_EQ(p.configPath, "C:\\Work\\one.vx");
    // A tab does not separate.
    p = paths("C:\\Tools\\app.exe\tx.vx", 1);
    EXPECT_EQ(p.programPath, "C:\\Tools\\app.exe\tx.vx");
}

TEST(StartupPaths, FailedSplitGivesNoConfigPath) {
    // An opening quote without a closing one.
    StartupPaths p = paths("\"C:\\Tools\\app.exe\" \"cfg.vx", 2);
    EXPECT_EQ(p.programPath, "C:\\Tools\\app.exe");
    EXPECT_FALSE(p.configPath);
    // A quote after the first character of an unquoted token.
    p = paths("C:\\Tools\\app.exe cf\"g.vx", 2);
    EXPECT_FALSE(p.configPath);
    p = paths("C:\\To\"ols\\app.exe", 1);
    EXPECT_EQ(p.programPath, "");
    EXPECT_FALSE(p.configPath);
    // A token of 300 characters, quoted or not.
    const std::string longName(300, 'a');
    EXPECT_FALSE(paths("C:\\Tools\\app.exe \"" + longName + "\"", 2).configPath);
    EXPECT_FALSE(paths("C:\\Tools\\app.exe " + longName, 2).configPath);
    // 259 characters fit, 260 do not.
    EXPECT_EQ(paths("app \"" + std::string(259, 'b') + "\"", 2).configPath, std::string(259, 'b'));
    EXPECT_FALSE(paths("app \"" + std::string(260, 'b') + "\"", 2).configPath);
}

TEST(CommandLine, SplitCountAndCopy) {
    CommandLine line("app a.vx", 2, resolverIn("C:\\W"));
    EXPECT_EQ(line.tokensToTake(2), 2u);
    EXPECT_EQ(line.tokensToTake(1), 1u);
    EXPECT_FALSE(line.split(3));  // more than the platform counted
    EXPECT_EQ(line.tokensTaken(), 0u);
    ASSERT_TRUE(line.split(2));
    std::string token = "untouched";
    EXPECT_FALSE(line.copyToken(token, 2));
    EXPECT_EQ(token, "untouched");
    ASSERT_TRUE(line.copyToken(token, 1));
    EXPECT_EQ(token, "C:\\W\\a.vx");

    // A failed split keeps the platform's count; an empty quoted token is a token.
    CommandLine failing("app \"open", 2, resolverIn("C:\\W"));
    EXPECT_FALSE(failing.split(2));
    EXPECT_EQ(failing.argumentCount(), 2);
    CommandLine empty("app \"\"", 2, resolverIn("C:\\W"));
    ASSERT_TRUE(empty.split(2));
    EXPECT_EQ(empty.argumentCount(), 2);
    ASSERT_TRUE(empty.copyToken(token, 1));
    EXPECT_EQ(token, "");
    // A count the platform cannot have given (negative) is read as unsigned by tokensToTake only.
    CommandLine negative("app", -1, resolverIn("C:\\W"));
    EXPECT_EQ(negative.tokensToTake(2), 2u);
    EXPECT_FALSE(negative.split(2));
}

TEST(ProgramDirectory, LastBackslash) {
    EXPECT_EQ(programDirectoryOf("C:\\Tools\\app.exe"), "C:\\Tools\\");
    EXPECT_EQ(programDirectoryOf("app"), "app\\");
}

}  // namespace
}  // namespace brennic
