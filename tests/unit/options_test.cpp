// Loading and saving the user options against an in-memory store.
#include <gtest/gtest.h>

#include <optional>

#include "fake_platform.h"
#include "fake_settings_store.h"
#include "persist/options.h"

namespace brennic {
namespace {

using test::FakeMessageBoxes;
using test::FakeSettingsStore;

const char* const kNames[] = {"user dir", "console opt ", "start sound", "path clr", "margs clr", "show warn"};

void expectDefaults(const AppOptions& o) {
    EXPECT_EQ(o.userDir, 0u);
    EXPECT_EQ(o.consoleOpt, 2u);
    EXPECT_EQ(o.startSound, 0u);
    EXPECT_EQ(o.pathClr, 0u);
    EXPECT_EQ(o.margsClr, 0u);
    EXPECT_EQ(o.showWarn, 1u);
    EXPECT_EQ(o.runAppPath, "");
}

TEST(OptionsLoad, MissingKeyOrValuesKeepTheDefaults) {
    FakeSettingsStore store;
    store.keyExists = false;
    AppOptions options;
    EXPECT_TRUE(loadOptions(store, options));
    expectDefaults(options);

    FakeSettingsStore empty;
    AppOptions fresh;
    EXPECT_TRUE(loadOptions(empty, fresh));
    expectDefaults(fresh);
}

TEST(OptionsLoad, ReadsEveryValueByItsExactName) {
    FakeSettingsStore store;
    store.putDword("user dir", 1);
    store.putDword("console opt ", 0);
    store.putDword("start sound", 1);
    store.putDword("path clr", 1);
    store.putDword("margs clr", 1);
    store.putDword("show warn", 0);
    store.putText("run app path", "C:\\Tools");
    AppOptions options;
    EXPECT_TRUE(loadOptions(store, options));
    EXPECT_EQ(options.userDir, 1u);
    EXPECT_EQ(options.consoleOpt, 0u);
    EXPECT_EQ(options.startSound, 1u);
    EXPECT_EQ(options.pathClr, 1u);
    EXPECT_EQ(options.margsClr, 1u);
    EXPECT_EQ(options.showWarn, 0u);
    EXPECT_EQ(options.runAppPath, "C:\\Tools");

    // The console value's name ends in a space: a value without it is someone else's.
    FakeSettingsStore other;
    other.putDword("console opt", 0);
    AppOptions kept;
    loadOptions(other, kept);
    EXPECT_EQ(kept.consoleOpt, 2u);
}

TEST(OptionsLoad, OutOfRangeValuesAreNormalised) {
    FakeSettingsStore store;
    store.putDword("console opt ", 7);
    store.putDword("start sound", 2);
    store.putDword("path clr", 0xFFFFFFFFu);
    store.putDword("margs clr", 0);
    store.putDword("show warn", 0x100);
    AppOptions options;
    EXPECT_TRUE(loadOptions(store, options));
    EXPECT_EQ(options.consoleOpt, 2u);
    EXPECT_EQ(options.startSound, 1u);
    EXPECT_EQ(options.pathClr, 1u);
    EXPECT_EQ(options.margsClr, 0u);
    EXPECT_EQ(options.showWarn, 1u);

    FakeSettingsStore folder;
    folder.putDword("user dir", 5);
    folder.putText("run app path", "D:\\P");
    AppOptions withFolder;
    EXPECT_TRUE(loadOptions(folder, withFolder));
    EXPECT_EQ(withFolder.userDir, 1u);
}

TEST(OptionsLoad, ValuesOfTheWrongTypeOrSizeAreIgnored) {
    FakeSettingsStore store;
    store.values["console opt "] = {kStoreText, std::string("\0\0\0\0", 4)};
    store.values["show warn"] = {kStoreDword, std::string("\0\0", 2)};
    store.values["start sound"] = {kStoreDword, std::string("\1\0\0\0\0\0\0\0", 8)};
    AppOptions options;
    EXPECT_TRUE(loadOptions(store, options));
    expectDefaults(options);
}

TEST(OptionsLoad, AnUnusableFolderTextClearsUserDirButKeepsTheIntegers) {
    auto storeWith = [](bool withText, const std::string& text, std::uint32_t type = kStoreText) {
        FakeSettingsStore store;
        store.putDword("user dir", 1);
        store.putDword("console opt ", 0);
        store.putDword("show warn", 0);
        if (withText) store.values["run app path"] = {type, text};
        return store;
    };
    struct Case {
        const char* what;
        FakeSettingsStore store;
    } cases[] = {
        {"missing", storeWith(false, "")},
        {"empty", storeWith(true, "")},
        {"only a NUL", storeWith(true, std::string(1, '\0'))},
        {"260 characters", storeWith(true, std::string(260, 'a'))},
        {"not a text", storeWith(true, "C:\\X", kStoreDword)},
    };
    for (auto& c : cases) {
        AppOptions options;
        EXPECT_FALSE(loadOptions(c.store, options)) << c.what;
        EXPECT_EQ(options.userDir, 0u) << c.what;
        EXPECT_EQ(options.runAppPath, "") << c.what;
        EXPECT_EQ(options.consoleOpt, 0u) << c.what;
        EXPECT_EQ(options.showWarn, 0u) << c.what;
    }

    FakeSettingsStore longest = storeWith(true, std::string(259, 'a'));
    AppOptions options;
    EXPECT_TRUE(loadOptions(longest, options));
    EXPECT_EQ(options.runAppPath.size(), 259u);

    FakeSettingsStore withNul = storeWith(true, std::string("C:\\Tools\0", 9));
    AppOptions terminated;
    EXPECT_TRUE(loadOptions(withNul, terminated));
    EXPECT_EQ(terminated.runAppPath, "C:\\Tools");
}

TEST(OptionsSave, WritesTheSixDwordsAndTheFolderOnlyWhenChosen) {
    FakeSettingsStore store;
    FakeMessageBoxes boxes;
    AppOptions options;
    options.runAppPath = "C:\\Stale";
    EXPECT_EQ(saveOptions(store, boxes, options), 0);
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(store.values.size(), 6u);
    for (const char* name : kNames) EXPECT_EQ(store.values[name].type, kStoreDword) << name;
    EXPECT_EQ(store.dword("user dir"), 0u);
    EXPECT_EQ(store.dword("console opt "), 2u);
    EXPECT_EQ(store.dword("show warn"), 1u);
    // One create/write/close per value, in record order.
    ASSERT_EQ(store.log.size(), 18u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(store.log[static_cast<std::size_t>(3 * i)], "create");
        EXPECT_EQ(store.log[static_cast<std::size_t>(3 * i + 1)], std::string("write ") + kNames[i]);
        EXPECT_EQ(store.log[static_cast<std::size_t>(3 * i + 2)], "close");
    }

    // A store that already holds a folder keeps it when no folder is in use.
    store.putText("run app path", "C:\\Old");
    EXPECT_EQ(saveOptions(store, boxes, options), 0);
    EXPECT_EQ(store.values["run app path"].data, "C:\\Old");

    options.userDir = 1;
    options.runAppPath = "D:\\Programs";
    EXPECT_EQ(saveOptions(store, boxes, options), 0);
    EXPECT_EQ(store.values["run app path"].type, kStoreText);
    EXPECT_EQ(store.values["run app path"].data, "D:\\Programs");  // no terminating NUL
}

TEST(OptionsSave, SaveThenLoadGivesTheSameOptions) {
    FakeSettingsStore store;
    FakeMessageBoxes boxes;
    AppOptions saved;
    saved.userDir = 1;
    saved.consoleOpt = 1;
    saved.startSound = 1;
    saved.margsClr = 1;
    saved.showWarn = 0;
    saved.runAppPath = "E:\\Run here";
    ASSERT_EQ(saveOptions(store, boxes, saved), 0);
    AppOptions loaded;
    EXPECT_TRUE(loadOptions(store, loaded));
    EXPECT_EQ(loaded.userDir, 1u);
    EXPECT_EQ(loaded.consoleOpt, 1u);
    EXPECT_EQ(loaded.startSound, 1u);
    EXPECT_EQ(loaded.pathClr, 0u);
    EXPECT_EQ(loaded.margsClr, 1u);
    EXPECT_EQ(loaded.showWarn, 0u);
    EXPECT_EQ(loaded.runAppPath, "E:\\Run here");
}

// The value added beside the six is stored only once it was switched on, so a default setup keeps exactly the
// six values; switched off later, it is written as 0 rather than left on in the store.
TEST(OptionsSave, KeepPagesAtExitIsStoredOnlyOnceSwitchedOnAndReadsBack) {
    FakeSettingsStore store;
    FakeMessageBoxes boxes;
    AppOptions options;
    ASSERT_EQ(saveOptions(store, boxes, options), 0);
    EXPECT_EQ(store.values.count("keep pages at exit"), 0u);

    options.keepPagesAtExit = 1;
    ASSERT_EQ(saveOptions(store, boxes, options), 0);
    EXPECT_EQ(store.values["keep pages at exit"].type, kStoreDword);
    EXPECT_EQ(store.dword("keep pages at exit"), 1u);
    AppOptions loaded;
    EXPECT_TRUE(loadOptions(store, loaded));
    EXPECT_EQ(loaded.keepPagesAtExit, 1u);

    options.keepPagesAtExit = 0;
    ASSERT_EQ(saveOptions(store, boxes, options), 0);
    EXPECT_EQ(store.dword("keep pages at exit"), 0u);
    EXPECT_TRUE(loadOptions(store, loaded));
    EXPECT_EQ(loaded.keepPagesAtExit, 0u);

    store.putDword("keep pages at exit", 7);  // any non-zero value means on, as for the six
    EXPECT_TRUE(loadOptions(store, loaded));
    EXPECT_EQ(loaded.keepPagesAtExit, 1u);
    store.putText("keep pages at exit", "1");  // the wrong type is ignored
    loaded.keepPagesAtExit = 0;
    EXPECT_TRUE(loadOptions(store, loaded));
    EXPECT_EQ(loaded.keepPagesAtExit, 0u);

    store.failWrites.insert("keep pages at exit");
    options.keepPagesAtExit = 1;
    EXPECT_EQ(saveOptions(store, boxes, options), 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "keep pages at exit");
    EXPECT_EQ(boxes.shown[0].caption, "Save Cnf err");
}

TEST(OptionsSave, FailuresShowTheirMessageAndStop) {
    {
        FakeSettingsStore store;
        store.failCreate = true;
        FakeMessageBoxes boxes;
        EXPECT_EQ(saveOptions(store, boxes, AppOptions{}), 1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "Cant create key");
        EXPECT_EQ(boxes.shown[0].caption, "Save Cnf err");
        EXPECT_EQ(boxes.shown[0].style, kMbIconError);
        EXPECT_TRUE(store.values.empty());
    }
    {
        FakeSettingsStore store;
        store.failWrites = {"path clr"};
        FakeMessageBoxes boxes;
        EXPECT_EQ(saveOptions(store, boxes, AppOptions{}), 1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "path clr");
        EXPECT_EQ(boxes.shown[0].caption, "Save Cnf err");
        EXPECT_EQ(boxes.shown[0].style, kMbIconError);
        // Written before the failure stays written; nothing after it is attempted, the key is closed.
        EXPECT_EQ(store.values.size(), 3u);
        EXPECT_EQ(store.values.count("margs clr"), 0u);
        EXPECT_EQ(store.log.back(), "close");
    }
    {
        FakeSettingsStore store;
        store.failWrites = {"run app path"};
        FakeMessageBoxes boxes;
        AppOptions options;
        options.userDir = 1;
        options.runAppPath = "C:\\X";
        EXPECT_EQ(saveOptions(store, boxes, options), 1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "run app path");
    }
    {
        FakeSettingsStore store;
        store.failClose = true;
        FakeMessageBoxes boxes;
        EXPECT_EQ(saveOptions(store, boxes, AppOptions{}), 1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "close key");
        EXPECT_EQ(store.values.size(), 1u);
    }
}

TEST(OptionsOutputWindow, StoredAsAHiddenConsoleThatEarlierVersionsRunAsSuch) {
    // What each console mode stores: "console opt " stays 0 to 2; "output window" only beside a 0.
    struct Case {
        std::uint32_t mode;
        std::uint32_t consoleOpt;
        std::optional<std::uint32_t> outputWindow;
    };
    const Case cases[] = {{0, 0, 0u}, {1, 1, std::nullopt}, {2, 2, std::nullopt}, {3, 0, 1u}};
    for (const Case& c : cases) {
        FakeSettingsStore store;
        store.putDword("output window", 7);  // a stale value from an earlier save
        FakeMessageBoxes boxes;
        AppOptions options;
        options.consoleOpt = c.mode;
        ASSERT_EQ(saveOptions(store, boxes, options), 0) << c.mode;
        EXPECT_EQ(store.dword("console opt "), c.consoleOpt) << c.mode;
        EXPECT_EQ(store.dword("output window"), c.outputWindow.value_or(7)) << c.mode;
        if (c.outputWindow) {
            EXPECT_EQ(store.log.back(), "close");
            EXPECT_EQ(store.log[store.log.size() - 2], "write output window");  // after the others
        }
        AppOptions loaded;
        EXPECT_TRUE(loadOptions(store, loaded));
        EXPECT_EQ(loaded.consoleOpt, c.mode) << c.mode;
    }
}

TEST(OptionsOutputWindow, WhatEarlierVersionsStoredIsFollowed) {
    struct Case {
        const char* what;
        std::optional<std::uint32_t> consoleOpt;
        std::optional<std::uint32_t> outputWindow;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"0.9 chose show console after 1.0 chose the window", 1u, 1u, 1},
        {"0.9 chose hold console after 1.0 chose the window", 2u, 1u, 2},
        {"a console opt out of range stays hold", 7u, 1u, 2},
        {"no console opt: the default, whatever the window says", std::nullopt, 1u, 2},
        {"0.9 hidden console, never the window", 0u, std::nullopt, 0},
        {"hidden console, window off", 0u, 0u, 0},
        {"the window; any value but 0 is on", 0u, 0x100u, 3},
    };
    for (const Case& c : cases) {
        FakeSettingsStore store;
        if (c.consoleOpt) store.putDword("console opt ", *c.consoleOpt);
        if (c.outputWindow) store.putDword("output window", *c.outputWindow);
        AppOptions options;
        EXPECT_TRUE(loadOptions(store, options)) << c.what;
        EXPECT_EQ(options.consoleOpt, c.expected) << c.what;
    }
    // A window value of the wrong type or size counts as absent.
    FakeSettingsStore store;
    store.putDword("console opt ", 0);
    store.values["output window"] = {kStoreText, std::string("\1\0\0\0", 4)};
    AppOptions options;
    loadOptions(store, options);
    EXPECT_EQ(options.consoleOpt, 0u);
}

TEST(OptionsOutputWindow, AFailedWriteShowsItsName) {
    FakeSettingsStore store;
    store.failWrites = {"output window"};
    FakeMessageBoxes boxes;
    AppOptions options;
    options.consoleOpt = 3;
    options.userDir = 1;
    options.runAppPath = "C:\\P";
    EXPECT_EQ(saveOptions(store, boxes, options), 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "output window");
    EXPECT_EQ(store.values["run app path"].data, "C:\\P");  // the folder went first
}

}  // namespace
}  // namespace brennic
