#include <gtest/gtest.h>

#include "launch/command_line.h"
#include "launch/quoting.h"
#include "launch_fixture.h"

namespace brennic {
namespace {

using test::LaunchFixture;
using test::makeEntry;

TEST(Quoting, WrapsNonEmptyTextAndKeepsTrailingBackslashesFromEscapingTheQuote) {
    EXPECT_EQ(quoteArgument(""), "");
    EXPECT_EQ(quoteArgument("C:\\Data\\in put.wav"), "\"C:\\Data\\in put.wav\"");
    EXPECT_EQ(quoteArgument("a \"b\""), "\"a \"b\"\"");  // inner quotes are not escaped
    EXPECT_EQ(quoteArgument("C:\\"), "\"C:\\\\\"");
    EXPECT_EQ(quoteArgument("D:\\x\\\\"), "\"D:\\x\\\\\\\\\"");  // two trailing become four
    EXPECT_EQ(quoteArgument("a\\\"b"), "\"a\\\"b\"");          // only those before the closing quote
    EXPECT_EQ(quoteArgument("\\"), "\"\\\\\"");
    EXPECT_EQ(quoteText(""), "");
    EXPECT_EQ(quoteText("C:\\My Folder\\"), "\"C:\\My Folder\\\"");
}

TEST(Warnings, LineNamesThePageFromOne) {
    WarningLog log;
    addWarning(log, 1, "Empty path");
    addWarning(log, 2, "Empty manual args");
    EXPECT_EQ(log.text, "Argument 2 Empty path\nArgument 3 Empty manual args\n");
}

TEST(ManualTokens, QuotedTokensKeepTheirQuotesAndUnclosedQuotesAreOrdinary) {
    std::string manual = "\"b c\" d";
    EXPECT_EQ(takeToken(manual), "\"b c\"");
    EXPECT_EQ(manual, " d");

    manual = "\"ab c";
    EXPECT_EQ(takeToken(manual), "\"ab");
    EXPECT_EQ(manual, "c");

    manual = "\"\" x";  // closing quote right after the opening one
    EXPECT_EQ(takeToken(manual), "\"\"");
    EXPECT_EQ(manual, " x");

    manual = "last";
    EXPECT_EQ(takeToken(manual), "last");
    EXPECT_EQ(manual, "");

    manual = "a  b";  // only the first space is dropped
    EXPECT_EQ(takeToken(manual), "a");
    EXPECT_EQ(manual, " b");
}

TEST(ManualTokens, DistributionFillsMarksInOrderAndLeavesTheRest) {
    std::string action = "x m@ m@";
    std::string manual = "a \"b c\" d";
    distributeManualArguments(action, manual);
    EXPECT_EQ(action, "x a \"b c\"");
    EXPECT_EQ(manual, " d");

    action = "x m@ m@";
    manual = "a";
    distributeManualArguments(action, manual);
    EXPECT_EQ(action, "x a m@");

    action = "m@ m@";  // a mark at index 0 is never filled
    manual = "a b";
    distributeManualArguments(action, manual);
    EXPECT_EQ(action, "m@ a");

    action = "-a m@ -b m@";
    manual = "   1    2";  // spaces before each token are skipped
    distributeManualArguments(action, manual);
    EXPECT_EQ(action, "-a 1 -b 2");

    action = "x m@";  // the search goes on from where the token went in, so a token "m@" is filled again
    manual = "m@ y";
    distributeManualArguments(action, manual);
    EXPECT_EQ(action, "x y");

    action = "x m@";
    manual = "   ";
    distributeManualArguments(action, manual);
    EXPECT_EQ(action, "x m@");
}

class PageText : public ::testing::Test {
protected:
    LaunchFixture f;
    std::string page(int index) {
        ArgumentSlot& slot = f.state.slots[static_cast<std::size_t>(index)];
        const ActionEntry* entry = f.state.description.selectedEntry(slot.group, slot.item);
        return buildArgumentText(f.state.description, index, slot, *entry, &f.pages[index]);
    }
    const std::string& log() { return f.state.description.warningLog.text; }
};

TEST_F(PageText, WorkedExampleByteForByte) {
    f.selectConversionExample();
    EXPECT_EQ(page(0), "-i \"C:\\Data\\in put.wav\" ");
    EXPECT_EQ(page(1), "-b 192k ");
    EXPECT_EQ(page(2), "-o \"C:\\Out\\a.mp3\" ");
    EXPECT_EQ(log(), "");
    EXPECT_EQ(buildParameters(f.state.description, f.state.slots, f.state.pageControls),
              "-i \"C:\\Data\\in put.wav\" -b 192k -o \"C:\\Out\\a.mp3\" ");

    f.state.slots[2].path.clear();
    EXPECT_EQ(page(2), "-o  ");
    EXPECT_EQ(log(), "Argument 3 Empty path\n");
}

TEST_F(PageText, DisabledPagesAreNotInspected) {
    f.selectConversionExample();
    f.state.slots[0].path.clear();
    f.state.slots[0].enabled = 0;
    f.state.slots[2].enabled = 0;
    f.state.slots[2].group = 999;  // not even looked up
    EXPECT_EQ(buildParameters(f.state.description, f.state.slots, f.state.pageControls), "-b 192k ");
    EXPECT_EQ(log(), "");
}

TEST_F(PageText, AllPositionsZeroGiveNothingButStillWarn) {
    f.select(0, makeEntry("-q", 0, 1, 0, 1, 0));
    EXPECT_EQ(page(0), "");
    EXPECT_EQ(log(), "Argument 1 Empty path\nArgument 1 Empty manual args\n");
}

TEST_F(PageText, PositionsAloneDecideWhatIsAppended) {
    f.select(0, makeEntry("-x", 1, 0, 0, 0, 2), "C:\\ignored", "abc");
    EXPECT_EQ(page(0), "-x abc ");
    f.pages[0].text.clear();
    EXPECT_EQ(page(0), "-x  ");  // empty manual piece still takes its place as one space
    f.pages[0].text = "  lead";  // leading spaces stay when the piece stands on its own
    EXPECT_EQ(page(0), "-x   lead ");
    f.pages[0].text = "ends ";  // a piece already ending in a space gets no second one
    EXPECT_EQ(page(0), "-x ends ");
    EXPECT_EQ(log(), "");

    // Equal places: path over action over manual arguments.
    f.select(1, makeEntry("-act", 1, 1, 1, 1, 1), "C:\\p", "man");
    EXPECT_EQ(page(1), "\"C:\\p\" ");
    f.select(2, makeEntry("-act", 2, 0, 0, 1, 2), {}, "man");
    EXPECT_EQ(page(2), "-act ");
    f.select(2, makeEntry("-act", 3, 1, 1, 1, 2), "C:\\p", "man");
    EXPECT_EQ(page(2), "\"C:\\p\" man -act ");
}

TEST_F(PageText, ActionPositionZeroIgnoresTheMarks) {
    f.select(0, makeEntry("-i p@ m@", 0, 1, 0, 1, 3), "C:\\in.wav", "arg");
    EXPECT_EQ(page(0), "arg ");  // the path has no place and is lost
}

TEST_F(PageText, PathSubstitution) {
    f.select(0, makeEntry("-i p@ -j p@", 1, 1, 0, 0, 0), "C:\\a \"b\"");
    EXPECT_EQ(page(0), "-i \"C:\\a \"b\"\" -j p@ ");

    f.select(1, makeEntry("p@ -x p@", 1, 1, 0, 0, 0), "C:\\in");
    EXPECT_EQ(page(1), "p@ -x p@ ");  // the first mark at index 0 blocks substitution altogether

    f.select(2, makeEntry("-i p@", 1, 1, 0, 0, 0));
    EXPECT_EQ(page(2), "-i ");  // empty path: the mark goes, nothing comes in
    EXPECT_EQ(log(), "Argument 3 Empty path\n");

    f.select(2, makeEntry("-i p@", 1, 1, 2, 0, 0), "C:\\in");
    EXPECT_EQ(page(2), "-i p@ \"C:\\in\" ");  // a path with its own place is not substituted
}

TEST_F(PageText, APathFromTheDriveRootDoesNotSwallowTheRest) {
    f.select(0, makeEntry("-d p@ -v", 1, 1, 0, 0, 0), "C:\\");
    EXPECT_EQ(page(0), "-d \"C:\\\\\" -v ");
    f.select(1, makeEntry("-d", 1, 1, 2, 0, 0), "E:\\");
    EXPECT_EQ(page(1), "-d \"E:\\\\\" ");
}

TEST_F(PageText, ManualDistributionInsideTheAction) {
    f.select(0, makeEntry("x m@ m@", 1, 0, 0, 1, 0), {}, "a \"b c\" d");
    EXPECT_EQ(page(0), "x a \"b c\" ");
    f.pages[0].text = "a";
    EXPECT_EQ(page(0), "x a m@ ");
    f.pages[0].text.clear();
    EXPECT_EQ(page(0), "x m@ m@ ");
    EXPECT_EQ(log(), "Argument 1 Empty manual args\n");

    f.state.description.warningLog.text.clear();
    f.pages[0].text = "   ";  // blanks are not empty: no warning, and no token either
    EXPECT_EQ(page(0), "x m@ m@ ");
    EXPECT_EQ(log(), "");
}

TEST_F(PageText, PathContainingTheManualMarkIsFilledToo) {
    f.select(0, makeEntry("-i p@", 1, 1, 0, 1, 0), "C:\\m@\\f", "X");
    EXPECT_EQ(page(0), "-i \"C:\\X\\f\" ");
}

TEST_F(PageText, ManualTextIsCutTo259Characters) {
    const std::string typed(300, 'z');
    f.select(0, makeEntry("", 0, 0, 0, 1, 1), {}, typed);
    EXPECT_EQ(page(0), std::string(259, 'z') + " ");
}

TEST_F(PageText, WarningsInPageOrderPathBeforeManual) {
    f.select(0, makeEntry("-a", 1, 1, 2, 1, 3));
    f.select(1, makeEntry("-b", 1, 0, 0, 0, 0));
    f.select(2, makeEntry("-c m@", 1, 1, 3, 1, 0));
    EXPECT_EQ(buildParameters(f.state.description, f.state.slots, f.state.pageControls), "-a   -b -c m@  ");
    EXPECT_EQ(log(),
              "Argument 1 Empty path\nArgument 1 Empty manual args\n"
              "Argument 3 Empty path\nArgument 3 Empty manual args\n");
}

TEST_F(PageText, UnknownSelectionOrMissingPageContributesNothing) {
    f.selectConversionExample();
    f.state.slots[0].item = 5;     // no such entry in the list
    f.state.slots[2].group = 77;   // no such list
    f.state.pageControls[1] = nullptr;  // page without controls reads an empty field
    EXPECT_EQ(buildParameters(f.state.description, f.state.slots, f.state.pageControls), "-b m@k ");
    EXPECT_EQ(log(), "Argument 2 Empty manual args\n");
}

}  // namespace
}  // namespace brennic
