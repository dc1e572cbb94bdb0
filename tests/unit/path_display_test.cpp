#include "pages/path_display.h"

#include <gtest/gtest.h>

#include "state/program_description.h"

namespace brennic {
namespace {

using namespace std::string_literals;

TEST(DisplayPath, ShowsComponentsInReverseOrder) {
    EXPECT_EQ(displayPath(R"(C:\Tools\app\in.txt)"), R"(in.txt\app\Tools\C:)");
    EXPECT_EQ(displayPath(R"(C:\)"), R"(\C:)");
    EXPECT_EQ(displayPath("name.txt"), "name.txt");
    EXPECT_EQ(displayPath(""), "");
    EXPECT_EQ(displayPath(R"(\\server\share\f)"), R"(f\share\server\\)");
    EXPECT_EQ(displayPath(R"(a\\b)"), R"(b\\a)");
    EXPECT_EQ(displayPath("\\"), "\\");
}

ProgramDescription withFilters(std::vector<std::string> texts) {
    ProgramDescription description;
    description.filterTexts = std::move(texts);
    return description;
}

PathSpec specOf(std::vector<std::uint16_t> filters) {
    PathSpec spec;
    spec.filterCount = static_cast<std::uint8_t>(filters.size());
    spec.filters = std::move(filters);
    return spec;
}

TEST(FilterText, JoinsTheNamedTextsInOrder) {
    const auto description = withFilters({"Text\x01*.txt\x01", "All\x01*.*\x01", "Images\x01*.png;*.bmp\x01"});
    EXPECT_EQ(buildFilterText(description, specOf({2, 0})), "Images\x01*.png;*.bmp\x01Text\x01*.txt\x01");
    EXPECT_EQ(filterList(buildFilterText(description, specOf({2, 0}))),
              "Images\0*.png;*.bmp\0Text\0*.txt\0\0"s);
}

TEST(FilterText, FallsBackToTheDefaultFilter) {
    const auto description = withFilters({"Text\x01*.txt\x01", std::string(1990, 'a') + "\x01*\x01", ""});
    // No filters at all, a missing text, an empty one, and a joined text reaching the buffer's size.
    EXPECT_EQ(buildFilterText(description, specOf({})), kDefaultFilter);
    EXPECT_EQ(buildFilterText(description, specOf({0, 7})), kDefaultFilter);
    EXPECT_EQ(buildFilterText(description, specOf({2})), kDefaultFilter);
    EXPECT_EQ(buildFilterText(description, specOf({0, 1})), kDefaultFilter);
    EXPECT_EQ(filterList(kDefaultFilter), "Default (*.*)\0*.*\0\0"s);

    // Just below the limit the texts are kept.
    const std::string justFits = std::string(1995, 'b') + "\x01*\x01";  // 1998 characters
    const auto fits = withFilters({justFits});
    EXPECT_EQ(buildFilterText(fits, specOf({0})), justFits);
    const std::string atLimit = std::string(1996, 'b') + "\x01*\x01";  // 1999 characters, 2000 bytes as a list
    const auto limit = withFilters({atLimit});
    EXPECT_EQ(filterList(buildFilterText(limit, specOf({0}))).size(), kFilterBufferSize);
    const auto over = withFilters({std::string(1997, 'b') + "\x01*\x01"});
    EXPECT_EQ(buildFilterText(over, specOf({0})), kDefaultFilter);
}

TEST(FilterText, ListIsAlwaysWellFormedInsideTheBuffer) {
    // A text without its closing 0x01 still gets both zero bytes.
    EXPECT_EQ(filterList("Text\x01*.txt"), "Text\0*.txt\0\0"s);
    // A description without a pattern is dropped; an empty part ends the list.
    EXPECT_EQ(filterList("Text\x01*.txt\x01Lone\x01"), "Text\0*.txt\0\0"s);
    EXPECT_EQ(filterList("Text\x01*.txt\x01\x01More\x01*.m\x01"), "Text\0*.txt\0\0"s);
    // Nothing usable gives the default list.
    EXPECT_EQ(filterList(""), "Default (*.*)\0*.*\0\0"s);
    EXPECT_EQ(filterList("Lone"), "Default (*.*)\0*.*\0\0"s);
    // 1999 characters without the closing 0x01 need 2001 bytes: the default list instead.
    EXPECT_EQ(filterList(std::string(1996, 'c') + "\x01*.*"), "Default (*.*)\0*.*\0\0"s);
    for (const std::string& text : {"A\x01*\x01"s, std::string(3000, 'x') + "\x01*\x01", "A\x01*"s}) {
        const std::string list = filterList(text);
        ASSERT_GE(list.size(), 2u);
        EXPECT_LE(list.size(), kFilterBufferSize);
        EXPECT_EQ(list.substr(list.size() - 2), "\0\0"s);
        EXPECT_EQ(list.find("\0\0"s), list.size() - 2);
    }
}

TEST(DialogInitialText, CutsLongPathsToTheBuffer) {
    EXPECT_EQ(dialogInitialText(R"(C:\a.txt)"), R"(C:\a.txt)");
    EXPECT_EQ(dialogInitialText(std::string(259, 'p')).size(), 259u);
    EXPECT_EQ(dialogInitialText(std::string(600, 'p')), std::string(259, 'p'));
}

}  // namespace
}  // namespace brennic
