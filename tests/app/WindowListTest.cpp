#include "app/WindowList.h"

#include <gtest/gtest.h>

using namespace kvelo;

namespace {

const void* window(int i) {
    static int slots[32];
    return &slots[i];
}

TEST(WindowList, NewWindowsGetTheirOwnItemsUpToNine) {
    TWindowList list;
    list.SetCaptions("New", "Others");
    for (int i = 0; i < 3; ++i)
        list.Add(window(i));
    EXPECT_TRUE(list.Item(2).visible);
    EXPECT_TRUE(list.Item(2).checked);
    EXPECT_FALSE(list.Item(0).checked);
    EXPECT_FALSE(list.Item(3).visible);
    EXPECT_EQ(list.Item(1).caption, "New");
    list.Add(window(1)); // already listed: nothing changes but the last window
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.LastWindow(), window(1));
}

TEST(WindowList, TheTenthAndLaterWindowsShareOtherWindows) {
    TWindowList list;
    list.SetCaptions("New", "Others");
    for (int i = 0; i < 11; ++i)
        list.Add(window(i));
    EXPECT_TRUE(list.Item(9).visible);
    EXPECT_TRUE(list.Item(9).checked) << "the eleventh window is represented by Others";
    EXPECT_EQ(list.Item(9).caption, "Others");
    for (int i = 0; i < 9; ++i)
        EXPECT_FALSE(list.Item(i).checked);
    list.Activate(window(4));
    EXPECT_TRUE(list.Item(4).checked);
    EXPECT_FALSE(list.Item(9).checked);
    EXPECT_EQ(list.Titles().size(), 11u);
}

TEST(WindowList, TitlesAreCutForTheMenuAndFollowClosing) {
    TWindowList list;
    list.SetCaptions("New", "Others");
    list.Add(window(0));
    list.Add(window(1));
    list.Change(window(0), std::string(80, 'a'), "xls");
    list.Change(window(1), "second", "");
    EXPECT_EQ(list.Item(0).caption, std::string(70, 'a') + "...");
    EXPECT_EQ(list.SourceType(0), "xls");
    list.Remove(window(0));
    EXPECT_EQ(list.Item(0).caption, "second");
    EXPECT_FALSE(list.Item(1).visible);
    EXPECT_EQ(list.ActiveIndex(), -1);
    EXPECT_EQ(TWindowList::MenuCaption(std::string(70, 'b')), std::string(70, 'b'));
}

} // namespace
