#include "view/HistoryList.h"

#include <gtest/gtest.h>
#include <vector>

using namespace kvelo;

namespace {

// A window that shows one page at a time and remembers what it was asked.
struct FakeWindow : IHistoryOwner {
    std::string address, title;
    int scroll = 0;
    std::vector<std::string> navigations;
    THistoryList history{*this};

    void open(const std::string& a) { // a navigation with a history entry
        history.Add(address, title, scroll);
        show(a);
    }
    void show(const std::string& a) {
        address = a;
        title = "title of " + a;
        scroll = 0;
    }
    std::string HistoryAddress() override { return address; }
    std::string HistoryTitle() override { return title; }
    int HistoryScrollPos() override { return scroll; }
    void HistoryNavigate(const std::string& a) override {
        navigations.push_back(a);
        show(a);
    }
    void HistorySetScrollPos(int p) override { scroll = p; }
};

TEST(HistoryList, FirstNavigationMakesOneEntryAndNoBack) {
    FakeWindow w;
    w.open("A");
    EXPECT_EQ(w.history.Count(), 1);
    EXPECT_FALSE(w.history.ItemIndex() < w.history.Count() - 1);
}

TEST(HistoryList, BackAndForwardRestoreScrollPositions) {
    FakeWindow w;
    w.open("A");
    w.scroll = 40;
    w.open("B");
    w.scroll = 7;
    w.history.GoTo(w.history.ItemIndex() + 1); // Back
    EXPECT_EQ(w.address, "A");
    EXPECT_EQ(w.scroll, 40);
    w.scroll = 55;
    w.history.GoTo(w.history.ItemIndex() - 1); // Forward
    EXPECT_EQ(w.address, "B");
    EXPECT_EQ(w.scroll, 7);
    w.history.GoTo(1);
    EXPECT_EQ(w.scroll, 55); // the position A had when Forward was pressed
}

TEST(HistoryList, OpeningAfterBackDropsTheForwardPages) {
    FakeWindow w;
    w.open("A");
    w.open("B");
    w.history.GoTo(1);
    w.open("C");
    ASSERT_EQ(w.history.Count(), 2) << "B is gone: C's entry and A's";
    EXPECT_EQ(w.history.ItemIndex(), 0);
    w.history.GoTo(1);
    EXPECT_EQ(w.address, "A");
    w.history.GoTo(0);
    EXPECT_EQ(w.address, "C");
}

TEST(HistoryList, OutOfRangeAndCurrentIndexesDoNothing) {
    FakeWindow w;
    w.open("A");
    w.open("B");
    for (int index : {-1, 0, 5})
        w.history.GoTo(index);
    EXPECT_TRUE(w.navigations.empty());
    EXPECT_EQ(w.history.ItemIndex(), 0);
}

} // namespace
