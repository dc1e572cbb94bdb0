#include "platform/text.h"

#include <gtest/gtest.h>

namespace brennic {
namespace {

using namespace std::string_literals;

TEST(Text, Utf8AndUtf16RoundTripAndMalformedInputBecomesTheReplacementCharacter) {
    const std::string mixed = "a\u00e9\u6570\U0001F600";  // 1, 2, 3 and 4 bytes; the last a surrogate pair
    EXPECT_EQ(utf16FromUtf8(mixed), u"a\u00e9\u6570\U0001F600");
    EXPECT_EQ(utf8FromUtf16(utf16FromUtf8(mixed)), mixed);
    EXPECT_EQ(utf16Length(mixed), 5u);
    // Overlong, surrogate, above U+10FFFF, cut short, stray continuation: each one U+FFFD per bad byte.
    for (const std::string& bad : {"\xc0\xaf"s, "\xed\xa0\x80"s, "\xf4\x90\x80\x80"s, "\xe6\x95"s, "\x80"s}) {
        EXPECT_FALSE(isUtf8(bad)) << bad;
        EXPECT_EQ(utf8FromUtf16(utf16FromUtf8("x" + bad)).substr(0, 4), "x\uFFFD") << bad;
        EXPECT_TRUE(isUtf8(validUtf8(bad)));
    }
    EXPECT_EQ(utf8FromUtf16(u"\xD83D!"s), "\uFFFD!");  // a lone high surrogate
    EXPECT_EQ(utf8FromUtf16(u"!\xDE00"s), "!\uFFFD");  // a lone low one
}

// The call for each system code page is one the platform documents as valid: with the flags of a Western page
// a UTF-8 system (code page 65001) would refuse every text and save files would hold only '?'.
TEST(Text, ConversionToCodePageUsesOnlyTheFlagsEachCodePageAccepts) {
    struct Case {
        std::uint32_t codePage;
        bool noBestFit, errorOnInvalid, reportsDefault;
    };
    const Case cases[] = {
        {1252, true, false, true},  {932, true, false, true},    {936, true, false, true},
        {65001, false, true, false}, {54936, false, true, false}, {65000, false, false, false},
        {50220, false, false, false}, {50229, false, false, false}, {52936, false, false, false},
        {57002, false, false, false}, {57011, false, false, false}, {42, false, false, true},
        {50219, true, false, true},  {50230, true, false, true},  {57012, true, false, true},
    };
    for (const Case& c : cases) {
        const CodePageConversion how = conversionToCodePage(c.codePage);
        EXPECT_EQ(how.noBestFit, c.noBestFit) << c.codePage;
        EXPECT_EQ(how.errorOnInvalid, c.errorOnInvalid) << c.codePage;
        EXPECT_EQ(how.reportsDefault, c.reportsDefault) << c.codePage;
    }
}

TEST(Text, ACutAtTheLimitNeverSplitsACharacter) {
    const std::string base(258, 'x');
    EXPECT_EQ(cutToUtf16Length(base + "\U0001F600", 259), base);  // the pair does not fit whole
    EXPECT_EQ(cutToUtf16Length(base + "\u6570\u6570", 259), base + "\u6570");
    EXPECT_EQ(cutToUtf16Length(base + "\U0001F600", 260), base + "\U0001F600");
    EXPECT_EQ(cutToUtf16Length("", 0), "");
}

TEST(Text, Windows1252CoversEveryByteAndRefusesWhatItLacks) {
    const Windows1252 codePage;
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(codePage.fromUtf8(codePage.toUtf8(all)), all);
    EXPECT_EQ(codePage.toUtf8("\x80\x81\xe9"), "\u20ac\u0081\u00e9");
    EXPECT_FALSE(codePage.fromUtf8("\u0434"));
    EXPECT_FALSE(codePage.fromUtf8("\xff"));
}

}  // namespace
}  // namespace brennic
