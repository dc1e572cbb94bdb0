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

namespace brennic {
namespace {

// A version resource as the resource compiler lays it out: header, key, padding, then the fixed part.
std::string versionResource(std::uint32_t productHigh, std::uint32_t productLow, std::size_t fixedBytes = 52) {
    std::string bytes(40, '\0');  // wLength, wValueLength, wType, L"VS_VERSION_INFO", padding to 32 bits
    auto put = [&](std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(0xFEEF04BD);
    put(0x00010000);
    put(0x00090000);  // the file version may differ: the line shows the product's
    put(0);
    put(productHigh);
    put(productLow);
    for (int i = 0; i < 7; ++i) put(0);
    bytes.resize(40 + fixedBytes);
    return bytes;
}

TEST(AboutOwnVersion, ReadsTheProductVersionOfTheFixedPart) {
    EXPECT_EQ(versionLineFromResource(versionResource(0x00010000, 0x00000000)), "Version 1.0.0");
    EXPECT_EQ(versionLineFromResource(versionResource(0x0002000C, 0x00070003)), "Version 2.12.7.3");
    EXPECT_EQ(versionLineFromResource(versionResource(0x00010000, 0, 51)), std::nullopt);  // cut short
    EXPECT_EQ(versionLineFromResource(std::string(200, '\0')), std::nullopt);
    std::string shifted = "\x01\x02" + versionResource(0x00010000, 0);  // off the 32-bit grid: not the fixed part
    EXPECT_EQ(versionLineFromResource(shifted), std::nullopt);
}

}  // namespace
}  // namespace brennic
