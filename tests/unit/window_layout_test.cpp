// Where the controls of the growing main window and its pages go.
#include <gtest/gtest.h>

#include "pages/window_layout.h"

namespace brennic {
namespace {

TEST(WindowLayout, AtTheSmallestSizeNothingMovesAndGrowthFollowsTheAnchors) {
    const LayoutRect line{12, 242, 337, 20};
    const LayoutGrowth none = growthOf(462, 309, 462, 309);
    const unsigned everyAnchoring[] = {kLayoutFixed,          kGrowWidth, kGrowWidth | kFollowBottom, kFollowRight | kFollowBottom,
                                       kGrowWidth | kGrowHeight, kKeepCentred};
    for (unsigned anchors : everyAnchoring) {
        EXPECT_EQ(placeControl(line, anchors, none), line) << anchors;
    }
    // A window smaller than its smallest size (during a drag) does not shrink anything.
    EXPECT_EQ(placeControl(line, kGrowWidth, growthOf(462, 309, 400, 200)), line);

    const LayoutGrowth grown = growthOf(462, 309, 800, 500);
    EXPECT_EQ(grown.x, 338);
    EXPECT_EQ(grown.y, 191);
    EXPECT_EQ(placeControl(line, kGrowWidth | kFollowBottom, grown), (LayoutRect{12, 433, 675, 20}));
    EXPECT_EQ(placeControl({349, 242, 90, 20}, kFollowRight | kFollowBottom, grown), (LayoutRect{687, 433, 90, 20}));
    EXPECT_EQ(placeControl({13, 18, 433, 223}, kGrowWidth | kGrowHeight, grown), (LayoutRect{13, 18, 771, 414}));
    EXPECT_EQ(placeControl({47, 5, 333, 83}, kKeepCentred, grown), (LayoutRect{216, 5, 333, 83}));
}

TEST(WindowLayout, DpiScalingRoundsAsTheSystemDoes) {
    EXPECT_EQ(scaleForDpi(15, 120, 96), 19);   // 18.75
    EXPECT_EQ(scaleForDpi(10, 120, 96), 13);   // 12.5 rounds up
    EXPECT_EQ(scaleForDpi(-10, 120, 96), -13); // and away from zero below it
    EXPECT_EQ(scaleForDpi(462, 192, 96), 924);
    EXPECT_EQ(scaleForDpi(924, 96, 192), 462);
    EXPECT_EQ(scaleForDpi(7, 144, 0), 7);
    EXPECT_EQ(scaleForDpi(LayoutRect{1, 2, 3, 4}, 144, 96), (LayoutRect{2, 3, 5, 6}));
}

TEST(WindowLayout, RememberedSizeIsRestoredAtTheWindowsDpiWithinBounds) {
    const LayoutSize smallest{693, 463};  // at 144 dpi
    const LayoutSize work{1900, 1000};
    EXPECT_EQ(restoredSize(0, 0, 144, smallest, work), smallest);
    EXPECT_EQ(restoredSize(800, 0, 144, smallest, work), smallest);          // half a size is none
    EXPECT_EQ(restoredSize(600, 400, 144, smallest, work), (LayoutSize{900, 600}));
    EXPECT_EQ(restoredSize(100, 100, 144, smallest, work), smallest);       // never below the smallest
    EXPECT_EQ(restoredSize(32767, 32767, 144, smallest, work), (LayoutSize{1900, 1000}));
    EXPECT_EQ(restoredSize(900, 900, 144, smallest, {300, 200}), smallest);  // a work area below the smallest
    EXPECT_EQ(rememberedSize({900, 600}, 144), (LayoutSize{600, 400}));
    EXPECT_EQ(rememberedSize({462, 309}, 96), (LayoutSize{462, 309}));
}

}  // namespace
}  // namespace brennic
