// Which tab Ctrl+Right, Ctrl+Left and Ctrl+Tab reach, and the refusal of clicks on dormant tabs.
#include <gtest/gtest.h>

#include "pages/tab_navigation.h"

namespace brennic {
namespace {

// The tabs visited by pressing a key repeatedly, starting on tab 0.
std::vector<int> walk(int (*step)(int, const TabFlags&), const TabFlags& flags, int presses) {
    std::vector<int> visited;
    int tab = 0;
    for (int i = 0; i < presses; ++i) visited.push_back(tab = step(tab, flags));
    return visited;
}

const TabFlags kOneLive{1, 0, 0, 1};
const TabFlags kTwoLive{1, 1, 0, 1};
const TabFlags kThreeLive{1, 1, 1, 1};

TEST(TabNavigation, OnlyArgumentOneLive) {
    EXPECT_EQ(walk(nextArgumentTab, kOneLive, 2), (std::vector<int>{0, 0}));
    EXPECT_EQ(walk(previousArgumentTab, kOneLive, 2), (std::vector<int>{0, 0}));
    EXPECT_EQ(walk(cycledTab, kOneLive, 3), (std::vector<int>{3, 0, 3}));
}

TEST(TabNavigation, ArgumentsOneAndTwoLive) {
    EXPECT_EQ(walk(nextArgumentTab, kTwoLive, 3), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(walk(previousArgumentTab, kTwoLive, 3), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(walk(cycledTab, kTwoLive, 4), (std::vector<int>{1, 3, 0, 1}));
}

TEST(TabNavigation, AllThreeArgumentsLive) {
    EXPECT_EQ(walk(nextArgumentTab, kThreeLive, 4), (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(walk(previousArgumentTab, kThreeLive, 4), (std::vector<int>{2, 1, 0, 2}));
    EXPECT_EQ(walk(cycledTab, kThreeLive, 5), (std::vector<int>{1, 2, 3, 0, 1}));
}

TEST(TabNavigation, WithoutADescriptionEveryTabIsReachableButNextNeverReachesAbout) {
    AppState state;
    prepareTabFlags(state);
    const TabFlags flags = tabFlags(state);
    EXPECT_EQ(flags, (TabFlags{1, 1, 1, 1}));
    EXPECT_EQ(walk(nextArgumentTab, flags, 4), (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(previousArgumentTab(0, flags), 2);
    EXPECT_EQ(walk(cycledTab, flags, 4), (std::vector<int>{1, 2, 3, 0}));
}

TEST(TabNavigation, LoadedDescriptionLeavesArgumentFlagsToThePages) {
    AppState state;
    state.descriptionReady = true;
    prepareTabFlags(state);
    EXPECT_EQ(tabFlags(state), (TabFlags{0, 0, 0, 1}));
}

TEST(TabNavigation, SelectionsOutsideTheTabsFallBackToArgumentOne) {
    EXPECT_EQ(nextArgumentTab(kAboutTab, kThreeLive), 0);
    EXPECT_EQ(nextArgumentTab(-1, kThreeLive), 0);
    EXPECT_EQ(cycledTab(-1, kThreeLive), 0);
    EXPECT_EQ(cycledTab(7, kThreeLive), 0);
    EXPECT_EQ(cycledTab(1, TabFlags{1, 1, 0, 0}), 0);
    EXPECT_EQ(previousArgumentTab(-1, kOneLive), 0);
}

TEST(TabNavigation, ClickOnADormantTabSelectsTheRememberedTabAgain) {
    TabSelectionGuard guard;
    guard.selectionChanging(0);
    EXPECT_FALSE(guard.selectionChanged(2, kTwoLive).show);
    EXPECT_EQ(guard.selectionChanged(2, kTwoLive).tab, 0);

    guard.selectionChanging(1);
    const auto about = guard.selectionChanged(kAboutTab, kTwoLive);
    EXPECT_TRUE(about.show);
    EXPECT_EQ(about.tab, kAboutTab);
    const auto dormant = guard.selectionChanged(2, kTwoLive);
    EXPECT_FALSE(dormant.show);
    EXPECT_EQ(dormant.tab, 1);
}

}  // namespace
}  // namespace brennic
