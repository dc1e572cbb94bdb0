// The About page's texts and its status rule.
#include <gtest/gtest.h>

#include <vector>

#include "fake_page_view.h"
#include "pages/about_page.h"
#include "pages/page_colour.h"

namespace brennic {
namespace {

class RecordingAbout : public AboutView {
public:
    std::vector<std::string> titles;
    std::vector<std::pair<DescriptionText, std::string>> texts;
    void setWindowTitle(const std::string& title) override { titles.push_back(title); }
    void setText(DescriptionText which, const std::string& text) override { texts.emplace_back(which, text); }
};

TEST(AboutPage, LoadedDescriptionSetsTitleThenTheFiveTextsInOrder) {
    AppState state;
    state.descriptionReady = true;
    state.description.texts = {"conv.exe", "Converter", "2.1, cnf 3", "A. Author", "C. Author", "mail@x"};
    RecordingAbout view;
    fillAboutPage(state, view);
    EXPECT_EQ(view.titles, std::vector<std::string>{"Converter"});
    const std::vector<std::pair<DescriptionText, std::string>> expected{{kProgramFolderName, "Converter"},
                                                                        {kVersionText, "2.1, cnf 3"},
                                                                        {kAppAuthor, "A. Author"},
                                                                        {kCnfAuthor, "C. Author"},
                                                                        {kContactText, "mail@x"}};
    EXPECT_EQ(view.texts, expected);

    test::FakePageHost host;
    host.status = {"compress", "2", "5"};
    refreshAboutStatus(state, host);
    EXPECT_EQ(host.status, (std::array<std::string, 3>{"compress", "0", "0"}));
}

TEST(AboutPage, WithoutADescriptionNothingChanges) {
    AppState state;
    state.description.texts[kProgramFolderName] = "half-loaded";
    RecordingAbout view;
    fillAboutPage(state, view);
    EXPECT_TRUE(view.titles.empty());
    EXPECT_TRUE(view.texts.empty());

    test::FakePageHost host;
    const auto before = host.status;
    refreshAboutStatus(state, host);
    EXPECT_EQ(host.status, before);
}

}  // namespace
}  // namespace brennic

namespace brennic {
namespace {

TEST(PageColour, EachChannelIsLightenedByTenAndSaturatesAt255) {
    EXPECT_EQ(pageColour(0x00F0F0F0u), 0x00FAFAFAu);
    EXPECT_EQ(pageColour(0x00F5F6FFu), 0x00FFFFFFu);  // 245 + 10 = 255; 246 and above give 255
    EXPECT_EQ(pageColour(0x00000102u), 0x000A0B0Cu);
    EXPECT_EQ(pageColour(0xFF000000u), 0x000A0A0Au);  // bits above the colour are not carried
}

}  // namespace
}  // namespace brennic
