// A tool folder's own options file: the same load and save as the registry key, over brennic.ini.
#include <gtest/gtest.h>

#include "fake_file_store.h"
#include "fake_platform.h"
#include "fake_settings_store.h"
#include "persist/ini_store.h"

namespace brennic {
namespace {

using test::FakeFileStore;
using test::FakeMessageBoxes;
using test::FakeSettingsStore;

const std::string kPath = "C:\\Tools\\brennic.ini";

struct Folder {
    FakeFileStore files;
    IniSettingsStore store{files, kPath};
    FakeMessageBoxes boxes;
};

TEST(OptionsFile, RoundTripKeepsEveryValueAndExactName) {
    Folder folder;
    AppOptions saved;
    saved.userDir = 1;
    saved.consoleOpt = 0;
    saved.startSound = 1;
    saved.showWarn = 0;
    saved.runAppPath = "D:\\Werkzeuge \xC3\xA4 \xE6\x97\xA5";  // spaces and any script, verbatim
    saved.windowWidth = 700;
    saved.windowHeight = 420;
    ASSERT_EQ(saveOptions(folder.store, folder.boxes, saved), 0);
    EXPECT_TRUE(folder.boxes.shown.empty());

    const std::string& text = folder.files.files.at(kPath);
    EXPECT_NE(text.find("[Options]\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"console opt \"=dword:0\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"run app path\"=text:D:\\Werkzeuge"), std::string::npos);
    EXPECT_EQ(folder.files.files.count(kPath + ".tmp"), 0u);

    AppOptions loaded;
    EXPECT_TRUE(loadOptions(folder.store, loaded));
    EXPECT_EQ(loaded.userDir, 1u);
    EXPECT_EQ(loaded.consoleOpt, 0u);
    EXPECT_EQ(loaded.startSound, 1u);
    EXPECT_EQ(loaded.showWarn, 0u);
    EXPECT_EQ(loaded.runAppPath, saved.runAppPath);
    EXPECT_EQ(loaded.windowWidth, 700u);
    EXPECT_EQ(loaded.windowHeight, 420u);
}

TEST(OptionsFile, HandWrittenFileKeepsCommentsAndForeignValuesThroughASave) {
    Folder folder;
    folder.files.files[kPath] =
        "\xEF\xBB\xBF; mine\n"
        "[options]\n"
        "  \"Console Opt \" = dword: 1 \n"
        "\"from a later version\"=text:keep me\n";
    AppOptions options;
    EXPECT_TRUE(loadOptions(folder.store, options));
    EXPECT_EQ(options.consoleOpt, 1u);  // names compare as the registry compares them

    options.consoleOpt = 0;
    ASSERT_EQ(saveOptions(folder.store, folder.boxes, options), 0);
    const std::string& text = folder.files.files.at(kPath);
    EXPECT_EQ(text.rfind("; mine\r\n[options]\r\n\"console opt \"=dword:0\r\n\"from a later version\"=text:keep me\r\n", 0),
              0u);
    EXPECT_NE(text.find("\"show warn\"=dword:1\r\n"), std::string::npos);
}

TEST(OptionsFile, RangeChecksAndTypesAreTheRegistrysOwn) {
    Folder folder;
    folder.files.files[kPath] =
        "[Options]\n"
        "\"console opt \"=dword:7\n"
        "\"start sound\"=dword:42\n"
        "\"show warn\"=text:0\n"
        "\"user dir\"=dword:1\n"
        "\"run app path\"=text:\n"
        "\"window width\"=dword:40000\n"
        "\"window height\"=dword:300\n";
    AppOptions options;
    EXPECT_FALSE(loadOptions(folder.store, options));  // a folder option without its folder
    EXPECT_EQ(options.consoleOpt, 2u);
    EXPECT_EQ(options.startSound, 1u);
    EXPECT_EQ(options.showWarn, 1u);
    EXPECT_EQ(options.userDir, 0u);
    EXPECT_EQ(options.windowWidth, 0u);
    EXPECT_EQ(options.windowHeight, 0u);
    EXPECT_TRUE(folder.store.problem().empty());
}

TEST(OptionsFile, DamagedOrForeignFileGivesDefaultsAndSaysWhere) {
    const struct {
        const char* bytes;
        const char* where;
    } cases[] = {
        {"[Settings]\nkey=1\n", "line 1"},
        {"\"show warn\"=dword:0\n", "line 1"},
        {"[Options]\n\"show warn\"=dword:-1\n", "line 2"},
        {"[Options]\n\"show warn\"=dword:4294967296\n", "line 2"},
        {"[Options]\n\"show warn\"=0\n", "line 2"},
        {"[Options]\nshow warn=0\n", "line 2"},
        {"[Options]\n\"show warn=dword:0\n", "line 2"},
        {"[Options]\n\"\"=dword:0\n", "line 2"},
        {"[Options]\n\"show warn\"=dword:0\n\"SHOW WARN\"=dword:1\n", "line 3"},
        {"[Options]\n\n\"run app path\"=text:\xC3\x28\n", "line 3"},
        {"MZ\x90\x00\x03", "line 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        Folder folder;
        folder.files.files[kPath] = std::string(c.bytes, std::char_traits<char>::length(c.bytes) +
                                                             (c.bytes[0] == 'M' ? 2 : 0));
        AppOptions options;
        options.showWarn = 1;
        EXPECT_TRUE(loadOptions(folder.store, options));
        EXPECT_EQ(options.showWarn, 1u);
        EXPECT_EQ(options.consoleOpt, 2u);
        EXPECT_NE(folder.store.problem().find(c.where), std::string::npos) << folder.store.problem();
        EXPECT_NE(folder.store.problem().find(kPath), std::string::npos);
    }

    Folder big;
    big.files.files[kPath] = "[Options]\n" + std::string(kMaxOptionsFileSize, ';');
    AppOptions options;
    loadOptions(big.store, options);
    EXPECT_NE(big.store.problem().find("64 KB"), std::string::npos);
}

TEST(OptionsFile, SavingOverADamagedFileKeepsItAsBackup) {
    Folder folder;
    folder.files.files[kPath] = "[Elsewhere]\nimportant=1\n";
    AppOptions options;
    options.consoleOpt = 1;
    ASSERT_EQ(saveOptions(folder.store, folder.boxes, options), 0);
    EXPECT_EQ(folder.files.files.at(kPath + ".bak"), "[Elsewhere]\nimportant=1\n");
    AppOptions loaded;
    loadOptions(folder.store, loaded);
    EXPECT_EQ(loaded.consoleOpt, 1u);

    // Without room for the copy nothing is written and the damaged file stays as it was.
    Folder full;
    full.files.files[kPath] = "junk";
    full.files.unwritable.insert(kPath + ".bak");
    EXPECT_EQ(saveOptions(full.store, full.boxes, options), 1);
    EXPECT_EQ(full.files.files.at(kPath), "junk");
    ASSERT_EQ(full.boxes.shown.size(), 1u);
    EXPECT_NE(full.boxes.shown[0].text.find("nothing was saved"), std::string::npos);
}

TEST(OptionsFile, AFolderThatCannotBeWrittenSaysSoAndKeepsTheFile) {
    Folder folder;
    folder.files.files[kPath] = "[Options]\n\"console opt \"=dword:1\n";
    folder.files.unwritable.insert(kPath + ".tmp");
    AppOptions options;
    options.consoleOpt = 0;
    EXPECT_EQ(saveOptions(folder.store, folder.boxes, options), 1);
    ASSERT_EQ(folder.boxes.shown.size(), 1u);  // one clear message, then the save stops
    EXPECT_NE(folder.boxes.shown[0].text.find("could not be written"), std::string::npos);
    EXPECT_EQ(folder.boxes.shown[0].caption, "Save Cnf err");
    EXPECT_EQ(folder.files.files.at(kPath), "[Options]\n\"console opt \"=dword:1\n");
    EXPECT_EQ(folder.files.files.count(kPath + ".tmp"), 0u);

    Folder moveFails;
    moveFails.files.replaceFails = true;
    EXPECT_EQ(saveOptions(moveFails.store, moveFails.boxes, options), 1);
    EXPECT_EQ(moveFails.files.files.count(kPath), 0u);
}

TEST(OptionsFile, ATextWithALineBreakIsRefusedByName) {
    Folder folder;
    AppOptions options;
    options.userDir = 1;
    options.runAppPath = "C:\\a\r\n\"user dir\"=dword:0";
    EXPECT_EQ(saveOptions(folder.store, folder.boxes, options), 1);
    ASSERT_EQ(folder.boxes.shown.size(), 1u);
    EXPECT_NE(folder.boxes.shown[0].text.find("\"run app path\""), std::string::npos);
    // The six numbers before it were written; a folder option without its folder reads as none.
    AppOptions loaded;
    EXPECT_FALSE(loadOptions(folder.store, loaded));
    EXPECT_EQ(loaded.userDir, 0u);
    EXPECT_EQ(folder.files.files.at(kPath).find("\r\n\"user dir\"=dword:0"), std::string::npos);
}

TEST(FolderOptions, SwitchingCarriesTheOptionsOverAndLeavesTheRegistryAlone) {
    Folder folder;
    FakeSettingsStore registry;
    registry.putDword("console opt ", 2);
    FolderOrSharedStore store(folder.store, registry);
    EXPECT_FALSE(store.usesFolder());

    AppOptions options;
    options.consoleOpt = 0;
    EXPECT_TRUE(switchOptionsPlace(folder.store, folder.boxes, options));
    EXPECT_TRUE(store.usesFolder());
    options.consoleOpt = 1;
    ASSERT_EQ(saveOptions(store, folder.boxes, options), 0);
    EXPECT_EQ(registry.dword("console opt "), 2u);
    EXPECT_TRUE(registry.log.empty());  // neither created nor written
    AppOptions loaded;
    loadOptions(store, loaded);
    EXPECT_EQ(loaded.consoleOpt, 1u);

    // And back: the file is moved aside, and the shared key is what the next start reads.
    EXPECT_FALSE(switchOptionsPlace(folder.store, folder.boxes, options));
    EXPECT_FALSE(store.usesFolder());
    EXPECT_EQ(folder.files.files.count(kPath + ".bak"), 1u);
    AppOptions shared;
    loadOptions(store, shared);
    EXPECT_EQ(shared.consoleOpt, 2u);
    EXPECT_TRUE(folder.boxes.shown.empty());
}

TEST(FolderOptions, ASwitchThatCannotWriteLeavesNoHalfFile) {
    Folder folder;
    folder.files.replaceFails = true;
    AppOptions options;
    EXPECT_FALSE(switchOptionsPlace(folder.store, folder.boxes, options));
    EXPECT_FALSE(folder.store.exists());
    ASSERT_EQ(folder.boxes.shown.size(), 1u);
    EXPECT_NE(folder.boxes.shown[0].text.find("read-only"), std::string::npos);
}

}  // namespace
}  // namespace brennic
