#include "persist/save_file.h"

#include <gtest/gtest.h>

#include "state/program_description.h"
#include "fake_file_store.h"
#include "fake_platform.h"
#include "platform/text.h"

namespace brennic {
namespace {

using namespace std::string_literals;

class FakeControls : public PageControls {
public:
    explicit FakeControls(std::string text = {}) : text_(std::move(text)) {}
    std::string manualText() const override { return text_; }
    void set(std::string text) { text_ = std::move(text); }

private:
    std::string text_;
};

// A slot as the pages leave it.
ArgumentSlot slotOf(std::int32_t enabled, std::int32_t pathUsed, std::int32_t manualUsed, std::uint16_t group,
                    std::uint16_t item, std::string path = {}, std::string manualText = {}) {
    ArgumentSlot slot;
    slot.enabled = enabled;
    slot.pathUsed = pathUsed;
    slot.manualUsed = manualUsed;
    slot.group = group;
    slot.item = item;
    slot.path = std::move(path);
    slot.manualText = std::move(manualText);
    return slot;
}

const std::string kPath = R"(D:\Tools\conv\conv.as)";
const Windows1252 kCodePage;  // stands for the system's ANSI code page

struct SaveFileTest : ::testing::Test {
    ArgumentSlots slots{};
    FakeControls field1, field2, field3;
    PageControlsTable controls{&field1, &field2, &field3};
    test::FakeFileStore files;
    test::FakeMessageBoxes boxes;

    ArgumentSlot& page(int n) { return slots[static_cast<std::size_t>(n - 1)]; }
    std::string save() {
        EXPECT_TRUE(writeSaveFile(slots, controls, kPath, files, boxes, kCodePage));
        return files.files[kPath];
    }
};

TEST_F(SaveFileTest, WritesTheDocumentedBytes) {
    page(1) = slotOf(1, 1, 0, 0, 2, R"(C:\a.txt)");
    page(2).path = "left over";  // pages not in use contribute one zero byte, whatever they held
    page(3).manualText = "old";
    const std::string expected = "\x01\x01\x00\x00\x00" "\x00\x00\x02\x00" "\x01" "C:\\a.txt\x00"s;
    ASSERT_EQ(expected.size(), 19u);
    EXPECT_EQ(save(), expected);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(files.files.count(kPath + ".tmp"), 0u);

    ArgumentSlots restored{};
    ASSERT_TRUE(loadSaveFile(restored, kPath, files, kCodePage));
    EXPECT_EQ(restored[0].enabled, 1);
    EXPECT_EQ(restored[0].pathUsed, 1);
    EXPECT_EQ(restored[0].manualUsed, 0);
    EXPECT_EQ(restored[0].item, 2);
    EXPECT_EQ(restored[0].path, R"(C:\a.txt)");
    EXPECT_EQ(restored[1].enabled, 0);
    EXPECT_TRUE(restored[1].path.empty());
    EXPECT_TRUE(restored[2].manualText.empty());
}

TEST_F(SaveFileTest, SmallestFileHasNoPageInUse) {
    EXPECT_EQ(save(), "\0\0\0\0"s);
    ArgumentSlots restored{};
    restored[1].enabled = 1;
    restored[1].path = "stale";
    ASSERT_TRUE(loadSaveFile(restored, kPath, files, kCodePage));
    for (const ArgumentSlot& slot : restored) {
        EXPECT_EQ(slot.enabled, 0);
        EXPECT_TRUE(slot.path.empty());
    }
}

TEST_F(SaveFileTest, EmptyPathOrEmptyManualFieldWritesNoText) {
    // Page in use whose entry takes a path but none was chosen; its manual field is empty although the
    // slot still remembers an earlier text.
    page(1) = slotOf(1, 1, 1, 3, 1, {}, "earlier");
    EXPECT_EQ(save(), "\x01\x00\x00\x00\x00" "\x03\x00\x01\x00" "\x00"s);
    EXPECT_EQ(page(1).manualText, "earlier");

    ArgumentSlots restored{};
    ASSERT_TRUE(loadSaveFile(restored, kPath, files, kCodePage));
    EXPECT_EQ(restored[0].pathUsed, 0);
    EXPECT_EQ(restored[0].manualUsed, 0);
    EXPECT_EQ(restored[0].group, 3);
    EXPECT_TRUE(restored[0].manualText.empty());
}

TEST_F(SaveFileTest, RoundTripsAllPagesWithTextsUpToTheFieldLimit) {
    const std::string longPath = "C:\\" + std::string(256, 'p');  // 259 characters
    page(1) = slotOf(1, 1, 1, 0, 19, longPath);
    page(2) = slotOf(1, 0, 1, 29, 0);
    page(3) = slotOf(1, 1, 0, 0x1234, 0xABCD, "X:\\");
    field1.set(std::string(259, 'm'));
    field2.set("-v -o \"out dir\"");
    field3.set("ignored: the entry takes no manual text");
    const std::string bytes = save();

    EXPECT_EQ(bytes.substr(0, 9), "\x01\x01\x01\x01\x00\x01\x01\x01\x00"s);
    EXPECT_EQ(bytes.substr(9, 12), "\x00\x00\x13\x00\x1d\x00\x00\x00\x34\x12\xcd\xab"s);
    EXPECT_EQ(bytes[21], '\x04');
    // Saving keeps the live field texts in the slots.
    EXPECT_EQ(page(1).manualText, std::string(259, 'm'));
    EXPECT_EQ(page(2).manualText, "-v -o \"out dir\"");
    EXPECT_TRUE(page(3).manualText.empty());

    ArgumentSlots restored{};
    restored[2].toolTip = 77;
    ASSERT_TRUE(loadSaveFile(restored, kPath, files, kCodePage));
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(restored[i].enabled, slots[i].enabled) << i;
        EXPECT_EQ(restored[i].group, slots[i].group) << i;
        EXPECT_EQ(restored[i].item, slots[i].item) << i;
        EXPECT_EQ(restored[i].path, slots[i].path) << i;
        EXPECT_EQ(restored[i].manualText, slots[i].manualText) << i;
    }
    EXPECT_EQ(restored[0].path.size(), 259u);
    EXPECT_EQ(restored[2].toolTip, 77u);  // the tool-tip handle belongs to the page, not to the file
}

TEST_F(SaveFileTest, FlagsNeverDisagreeWithTheTextsThatFollow) {
    // A flag whose low byte is zero still marks its text; a field longer than the limit is cut to it.
    page(1) = slotOf(0x100, 0x200, 1, 0, 0, "p");
    field1.set(std::string(300, 'x'));
    const std::string bytes = save();
    EXPECT_EQ(bytes.substr(0, 3), "\x01\x01\x01"s);
    ArgumentSlots restored{};
    ASSERT_TRUE(loadSaveFile(restored, kPath, files, kCodePage));
    EXPECT_EQ(restored[0].path, "p");
    EXPECT_EQ(restored[0].manualText, std::string(259, 'x'));
}

TEST_F(SaveFileTest, EveryTruncationRestoresNothing) {
    page(1) = slotOf(1, 1, 1, 1, 2, R"(C:\in.txt)");
    page(2) = slotOf(1, 0, 1, 4, 0);
    page(3) = slotOf(1, 1, 0, 2, 5, R"(C:\out)");
    field1.set("-a");
    field2.set("-b c");
    const std::string full = save();

    for (std::size_t length = 0; length < full.size(); ++length) {
        ArgumentSlots restored{};
        restored[0].path = "untouched";
        restored[1].enabled = 9;
        EXPECT_FALSE(decodeSaveFile(std::string_view(full).substr(0, length), restored, kCodePage)) << length;
        EXPECT_EQ(restored[0].path, "untouched") << length;
        EXPECT_EQ(restored[1].enabled, 9) << length;
        EXPECT_EQ(restored[2].enabled, 0) << length;
    }
    ArgumentSlots restored{};
    ASSERT_TRUE(decodeSaveFile(full + "trailing bytes", restored, kCodePage));
    EXPECT_EQ(restored[2].path, R"(C:\out)");
    EXPECT_EQ(restored[1].manualText, "-b c");
}

TEST_F(SaveFileTest, TextsOutsideTheCodePageFollowAsUtf8AfterTheLastText) {
    // Texts that fit the code page: the bytes of the code page alone, as every earlier file.
    page(1) = slotOf(1, 1, 1, 0, 0, "C:\\caf\u00e9");
    field1.set("\u20ac");
    EXPECT_EQ(save(), "\x01\x01\x01\x00\x00" "\x00\x00\x00\x00" "\x02" "C:\\caf\xe9\x00" "\x80\x00"s);

    // A name in other scripts, and a field cut at 259 UTF-16 units without splitting the emoji's pair.
    const std::string name = "C:\\\u0434\u0430\u043d\u043d\u044b\u0435 \u6570\u636e \U0001F600.txt";
    page(1).path = name;
    field1.set(std::string(258, 'e') + "\U0001F600");
    const std::string bytes = save();
    const std::string legacy = "C:\\?????? ?? ?.txt\0"s + std::string(258, 'e') + '\0';
    ASSERT_EQ(bytes.substr(0, 10 + legacy.size()), "\x01\x01\x01\x00\x00\x00\x00\x00\x00\x02"s + legacy);
    EXPECT_EQ(bytes.substr(10 + legacy.size()), "UTF-8\0"s + name + '\0' + std::string(258, 'e') + '\0');

    ArgumentSlots restored{};
    ASSERT_TRUE(decodeSaveFile(bytes, restored, kCodePage));
    EXPECT_EQ(restored[0].path, name);
    EXPECT_EQ(restored[0].manualText, std::string(258, 'e'));
    // What an earlier version reads (it stops at the last text), and what a block 5 that is not whole gives.
    const std::string earlier = bytes.substr(0, 10 + legacy.size());
    for (const std::string& cut : {earlier, bytes.substr(0, bytes.size() - 1), earlier + "UTF-8\0\xff\0e\0"s}) {
        ASSERT_TRUE(decodeSaveFile(cut, restored, kCodePage));
        EXPECT_EQ(restored[0].path, "C:\\?????? ?? ?.txt");
    }
}

TEST_F(SaveFileTest, LoadReadsFromTheGivenPathOnly) {
    ArgumentSlots restored{};
    EXPECT_FALSE(loadSaveFile(restored, kPath, files, kCodePage));  // no file
    files.files[kPath] = "\0\0\0\0"s;
    files.unreadable.insert(kPath);
    EXPECT_FALSE(loadSaveFile(restored, kPath, files, kCodePage));
    files.unreadable.clear();
    EXPECT_TRUE(loadSaveFile(restored, kPath, files, kCodePage));
    EXPECT_GE(files.lastReadLimit, 22u + 6u * 260u);
}

TEST_F(SaveFileTest, FailedSaveKeepsThePreviousFileAndSaysSo) {
    files.files[kPath] = "previous";
    page(1) = slotOf(1, 0, 0, 0, 0);

    files.unwritable.insert(kPath + ".tmp");
    EXPECT_FALSE(writeSaveFile(slots, controls, kPath, files, boxes, kCodePage));
    EXPECT_EQ(files.files[kPath], "previous");
    EXPECT_EQ(files.files.count(kPath + ".tmp"), 0u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Error save!");
    EXPECT_EQ(boxes.shown[0].caption, "Save!");
    EXPECT_EQ(boxes.shown[0].style, kMbSystemModal);

    files.unwritable.clear();
    files.replaceFails = true;
    EXPECT_FALSE(writeSaveFile(slots, controls, kPath, files, boxes, kCodePage));
    EXPECT_EQ(files.files[kPath], "previous");
    EXPECT_EQ(files.files.count(kPath + ".tmp"), 0u);
    EXPECT_EQ(boxes.shown.size(), 2u);

    files.replaceFails = false;
    EXPECT_TRUE(writeSaveFile(slots, controls, kPath, files, boxes, kCodePage));
    EXPECT_EQ(files.files[kPath], "\x01\0\0\0\0\0\0\0\0\0"s);
    EXPECT_EQ(boxes.shown.size(), 2u);
}

struct RemovalTest : SaveFileTest {
    ProgramDescription description;
    void SetUp() override {
        description.header.listCount = 2;
        description.listLengths = {3, 1};
        description.listItems = {0, 1, 2, 3};
        description.actionRecords.resize(4);
        description.actionRecords[2].nextListNo = 2;  // entry 2 of list 0 leads to list 1
        files.files[kPath] = "";
    }
    // A file whose page 1 selects `group`, `item` and whose page 2 holds a path.
    void saveSelection(std::uint16_t group, std::uint16_t item) {
        page(1) = slotOf(1, 0, 0, group, item);
        page(2) = slotOf(1, 1, 0, 1, 0, "C:\\x");
        save();
        slots = {};
    }
};

TEST_F(RemovalTest, FittingFileIsRestored) {
    saveSelection(0, 2);
    EXPECT_TRUE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));
    EXPECT_EQ(page(1).item, 2);
    EXPECT_EQ(page(2).path, "C:\\x");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(boxes.beeps.empty());
}

TEST_F(RemovalTest, FileThatNoLongerFitsIsOfferedForRemoval) {
    saveSelection(0, 3);  // list 0 has entries 0 to 2 only

    boxes.answers.push_back(kIdNo);
    EXPECT_FALSE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));
    ASSERT_EQ(boxes.beeps, std::vector<unsigned>{kMbIconExclamation});
    ASSERT_EQ(boxes.shown.size(), 1u);
    // The question first, as before; below it, in plain words, why the file no longer fits.
    EXPECT_EQ(boxes.shown[0].text,
              "Save file is damaged, remove file?\n\nThe config's lists changed since the file was saved: "
              "argument 1 has entry 4 of list 1, which now has 3 entries.\n\nNo keeps the file; the pages start fresh.");
    EXPECT_EQ(boxes.shown[0].caption, "Save file");
    EXPECT_EQ(boxes.shown[0].style, kMbIconQuestion | kMbYesNo);
    EXPECT_EQ(files.files.count(kPath), 1u);
    EXPECT_EQ(page(1).enabled, 0);  // nothing of the rejected file is left in the slots
    EXPECT_TRUE(page(2).path.empty());

    boxes.answers.push_back(kIdYes);
    EXPECT_FALSE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));  // asked again next start
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(files.files.count(kPath), 0u);

    EXPECT_FALSE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));  // gone: nothing shown
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(RemovalTest, FileWhosePagesNoLongerChainIsOfferedForRemoval) {
    saveSelection(0, 1);  // entry 1 of list 0 leads nowhere, yet page 2 was saved in use
    boxes.answers.push_back(kIdNo);
    EXPECT_FALSE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.substr(0, boxes.shown[0].text.find('\n')), "Save file is damaged, remove file?");
    EXPECT_NE(boxes.shown[0].text.find("argument 2 no longer follows from the entry chosen on the argument before it"),
              std::string::npos);
    EXPECT_EQ(page(2).enabled, 0);
}

// A manual text longer than the field's 259 UTF-16 units comes only from a file Brennic did not write.
TEST_F(RemovalTest, ManualTextLongerThanTheFieldIsOfferedForRemoval) {
    const std::string laugh = "\xF0\x9F\x98\x80";  // U+1F600: four bytes, two units
    std::string e259;
    for (int i = 0; i < 259; ++i) e259 += "\u00e9";  // two bytes in UTF-8, one in the code page, one unit
    const struct {
        std::string stored;  // the text in the code page, and a UTF-8 block when there is one
        std::string text;    // what is restored
        bool restored;
    } cases[] = {{std::string(259, '\xE9'), e259, true},
                 {std::string(260, 'x'), std::string(260, 'x'), false},
                 {std::string(258, 'x') + "?\0UTF-8\0"s + std::string(258, 'x') + laugh, std::string(258, 'x') + laugh,
                  false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        // Page 1 in use on entry 0 of list 0 with a manual text, pages 2 and 3 not.
        files.files[kPath] = "\x01\x00\x01\x00\x00" "\x00\x00\x00\x00" "\x01"s + c.stored + '\0';
        boxes = test::FakeMessageBoxes{};
        boxes.answers.push_back(kIdNo);
        EXPECT_EQ(restoreSavedState(slots, description, kPath, files, boxes, kCodePage), c.restored);
        EXPECT_EQ(boxes.shown.size(), c.restored ? 0u : 1u);
        if (!c.restored) {
            EXPECT_NE(boxes.shown[0].text.find("argument 1 holds manual arguments longer than the field's 259"),
                      std::string::npos);
        }
        EXPECT_EQ(page(1).manualText, c.restored ? c.text : std::string());
    }
}

TEST_F(RemovalTest, ListThatNoLongerExistsAndAStartOnAnotherListAreNamed) {
    const struct {
        std::uint16_t group, item;
        const char* reason;
    } cases[] = {{5, 0, "argument 1 is on list 6, but the config now has 2 lists."},
                 {1, 0, "argument 1 is not on the list the config now starts with."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        page(1) = slotOf(1, 0, 0, c.group, c.item);
        save();
        slots = {};
        boxes = test::FakeMessageBoxes{};
        boxes.answers.push_back(kIdNo);
        EXPECT_FALSE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_NE(boxes.shown[0].text.find(c.reason), std::string::npos) << boxes.shown[0].text;
    }
}

TEST_F(RemovalTest, CutOrMissingFileIsSilent) {
    files.files[kPath] = "\x01\x00\x00\x00"s;  // cut inside the selection block
    EXPECT_FALSE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));
    files.files[kPath] = ""s;
    EXPECT_FALSE(restoreSavedState(slots, description, kPath, files, boxes, kCodePage));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(boxes.beeps.empty());
    EXPECT_EQ(files.files.count(kPath), 1u);
}

}  // namespace
}  // namespace brennic
