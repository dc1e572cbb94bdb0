#include "pages/path_selection.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace brennic {
namespace {

TEST(FileDialogFlags, SaveDialogTakesNewNamesAndNeitherMovesTheCurrentDirectory) {
    EXPECT_EQ(fileDialogFlags(false), kOfnPathMustExist | kOfnFileMustExist | kOfnNoChangeDir);
    EXPECT_EQ(fileDialogFlags(true), kOfnPathMustExist | kOfnNoChangeDir);
}

TEST(TakeChosenPath, TakesWhatFitsAndTreatsTheRestAsCancel) {
    ArgumentSlot slot;
    slot.path = R"(C:\old.txt)";
    EXPECT_FALSE(takeChosenPath(slot, ""));
    EXPECT_FALSE(takeChosenPath(slot, std::string(260, 'f')));
    EXPECT_EQ(slot.path, R"(C:\old.txt)");
    const std::string longest = "C:\\" + std::string(256, 'f');
    EXPECT_TRUE(takeChosenPath(slot, longest));
    EXPECT_EQ(slot.path, longest);
}

TEST(TakeDroppedName, RefusesNamesOverTheLimitWithAMessage) {
    test::FakeMessageBoxes boxes;
    ArgumentSlot slot;
    slot.path = R"(C:\kept)";
    EXPECT_FALSE(takeDroppedName(slot, "C:\\" + std::string(257, 'd'), boxes));
    EXPECT_EQ(slot.path, R"(C:\kept)");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Err...");
    EXPECT_NE(boxes.shown[0].text.find("259"), std::string::npos);

    EXPECT_TRUE(takeDroppedName(slot, R"(C:\Tools\folder)", boxes));
    EXPECT_EQ(slot.path, R"(C:\Tools\folder)");
    EXPECT_EQ(boxes.shown.size(), 1u);

    // The limit counts characters as Windows does (UTF-16 units), not bytes: 255 characters in 765 bytes fit,
    // an emoji's surrogate pair one unit over the limit does not.
    const std::string cjk = "C:\\" + [] { std::string s; for (int i = 0; i < 255; ++i) s += "\u6570"; return s; }();
    EXPECT_TRUE(takeDroppedName(slot, cjk, boxes));
    EXPECT_FALSE(takeDroppedName(slot, "C:\\" + std::string(255, 'd') + "\U0001F600", boxes));
    EXPECT_EQ(slot.path, cjk);
    EXPECT_EQ(boxes.shown.size(), 2u);
}

}  // namespace
}  // namespace brennic

namespace brennic {
namespace {

TEST(DefaultExtension, SingleExtensionFilterCompletesANameTypedWithout) {
    using namespace std::string_literals;
    const std::string list =
        "Cabinet files (*.cab)\0*.cab\0All files\0*.*\0Two\0*.a;*.b\0Odd\0 *.txt \0Wild\0*.t?t\0Bare\0*.\0\0"s;
    const struct {
        const char* name;
        unsigned index;
        const char* expected;
    } cases[] = {
        {"C:\\out\\backup", 1, "C:\\out\\backup.cab"},
        {"C:\\out\\backup.zip", 1, "C:\\out\\backup.zip"},    // an extension of its own stays
        {"C:\\my.folder\\backup", 1, "C:\\my.folder\\backup.cab"},  // a dot in a folder is no extension
        {"backup", 2, "backup"},                              // "All files" leaves it as typed
        {"backup", 3, "backup"},                              // two patterns: no single extension
        {"backup", 4, "backup.txt"},                          // blanks around the pattern
        {"backup", 5, "backup"},                              // a wildcard in the extension
        {"backup", 6, "backup"},
        {"backup", 0, "backup"},                              // no filter chosen
        {"backup", 9, "backup"},                              // past the list's end
        {"C:\\out\\", 1, "C:\\out\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " #" + std::to_string(c.index));
        EXPECT_EQ(withDefaultExtension(c.name, list, c.index), c.expected);
    }
}

}  // namespace
}  // namespace brennic
