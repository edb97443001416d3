// TFormSelect: adding and removing chosen items by button, popup, double
// click and Space; OK adds the highlighted item; comma text.
#include "search/FormSelect.h"

#include "platform/Cp1251.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace kvelo {
namespace {

class FormSelectTest : public ::testing::Test {
protected:
    TFormSelect form;
    QListWidget* list1 = form.findChild<QListWidget*>(QStringLiteral("ListBox1"));
    QListWidget* list2 = form.findChild<QListWidget*>(QStringLiteral("ListBox2"));

    void SetUp() override {
        TCodeNameList names;
        names.Add(cp1251::fromUtf8("Указ"), 2);
        names.Add(cp1251::fromUtf8("Закон"), 1);
        form.Fill(QStringLiteral("Виды"), names);
    }
    void click(const char* name) { form.findChild<QPushButton*>(QLatin1String(name))->click(); }
    std::vector<int32_t> codes() const {
        std::vector<int32_t> out;
        for (const auto& item : form.Chosen())
            out.push_back(item.code);
        return out;
    }
};

TEST_F(FormSelectTest, FillSortsTheListAndStartsWithoutAChoice) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Виды"));
    ASSERT_EQ(list1->count(), 2);
    EXPECT_EQ(list1->item(0)->text(), QStringLiteral("Закон"));
    EXPECT_EQ(list2->count(), 0);
    click("Button1"); // nothing highlighted: nothing added
    EXPECT_EQ(list2->count(), 0);
}

TEST_F(FormSelectTest, AddTwiceByButtonPopupAndSpace) {
    list1->setCurrentRow(1);
    click("Button1");
    list1->findChild<QAction*>(QStringLiteral("NAdd"))->trigger();
    QTest::keyClick(list1, Qt::Key_Space);
    EXPECT_EQ(codes(), (std::vector<int32_t>{2, 2, 2}));
}

TEST_F(FormSelectTest, RemoveByButtonAndDoubleClick) {
    list1->setCurrentRow(0);
    click("Button1");
    list1->setCurrentRow(1);
    click("Button1");
    list2->setCurrentRow(0);
    click("Button2");
    EXPECT_EQ(codes(), (std::vector<int32_t>{2}));
    emit list2->itemDoubleClicked(list2->item(0));
    EXPECT_TRUE(codes().empty());
    click("Button2"); // nothing highlighted
}

TEST_F(FormSelectTest, DoubleClickInTheListAdds) {
    list1->setCurrentRow(0);
    emit list1->itemDoubleClicked(list1->item(0));
    EXPECT_EQ(codes(), (std::vector<int32_t>{1}));
}

TEST_F(FormSelectTest, OkAddsTheHighlightedItemFirst) {
    list1->setCurrentRow(0);
    click("Button3");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(codes(), (std::vector<int32_t>{1}));
}

TEST(CommaText, QuotesItemsWithBlanksCommasOrQuotes) {
    const std::vector<TCodeNameList::Item> items = {{cp1251::fromUtf8("Закон"), 1},
                                                    {cp1251::fromUtf8("Кабинет Министров"), 2},
                                                    {"a,b", 3},
                                                    {"say \"x\"", 4}};
    EXPECT_EQ(CommaText(items),
              QString::fromUtf8("Закон,\"Кабинет Министров\",\"a,b\",\"say \"\"x\"\"\""));
}

} // namespace
} // namespace kvelo
