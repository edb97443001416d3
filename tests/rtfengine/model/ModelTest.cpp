#include "rtfengine/model/Model.h"

#include <gtest/gtest.h>

namespace kvelo {
namespace {

TMyFont FontOfSize(int halfPoints) {
    TMyFont f;
    f.SizeHalfPoints = halfPoints;
    return f;
}

std::unique_ptr<TSection> Paragraph(const std::string& text) {
    auto p = std::make_unique<TSection>(0, TAlignment::Left, "", FontOfSize(24));
    p->AppendText(text);
    return p;
}

TEST(SectionRuns, FontChangesAtTheEndOpenNewRunsOrReplaceAnEmptyOne) {
    TSection p(0, TAlignment::Left, "", FontOfSize(24));
    p.ChangeFont(FontOfSize(30)); // nothing written yet: the first run takes it
    ASSERT_EQ(p.Fonts.size(), 1u);
    EXPECT_EQ(p.Fonts[0].Font.SizeHalfPoints, 30);
    p.AppendText("abc");
    p.StartLink("doc.rtf", FontOfSize(30));
    p.AppendText("de");
    p.ChangeFont(FontOfSize(20)); // keeps the link
    p.AppendText("f");
    p.EndLink(FontOfSize(20));
    p.AppendText("g");
    ASSERT_EQ(p.Fonts.size(), 4u);
    EXPECT_EQ(p.Fonts[1].Start, 3);
    EXPECT_EQ(p.Fonts[1].LinkTarget, "doc.rtf");
    EXPECT_EQ(p.Fonts[2].LinkTarget, "doc.rtf");
    EXPECT_EQ(p.Fonts[3].LinkTarget, "");
    EXPECT_EQ(p.RunIndexAt(0), 0u);
    EXPECT_EQ(p.RunIndexAt(4), 1u);
    EXPECT_EQ(p.RunIndexAt(6), 3u);
    EXPECT_EQ(p.RunLength(1), 2);
}

TEST(SectionRuns, ApplyRunSplitsAtBothEndsAndRemovesInnerRuns) {
    TSection p(0, TAlignment::Left, "", FontOfSize(24));
    p.AppendText("aaaa");
    p.ChangeFont(FontOfSize(30));
    p.AppendText("bbbb");
    p.ChangeFont(FontOfSize(36));
    p.AppendText("cccc");
    p.ApplyRun(2, 10, FontOfSize(50), "x");
    ASSERT_EQ(p.Fonts.size(), 3u);
    EXPECT_EQ(p.Fonts[0].Start, 0);
    EXPECT_EQ(p.Fonts[1].Start, 2);
    EXPECT_EQ(p.Fonts[1].Font.SizeHalfPoints, 50);
    EXPECT_EQ(p.Fonts[1].LinkTarget, "x");
    EXPECT_EQ(p.Fonts[2].Start, 10);
    EXPECT_EQ(p.Fonts[2].Font.SizeHalfPoints, 36);
}

TEST(SectionText, KeepsLongTextAndImagesAtTheirPlaceholders) {
    TSection p(0, TAlignment::Left, "", FontOfSize(24));
    p.AppendText(std::string(50000, 'x'));
    TImageObj image;
    image.Bytes = std::make_shared<const std::vector<uint8_t>>(std::vector<uint8_t>{1, 2});
    p.AddImage(image);
    EXPECT_EQ(p.Length(), 50001);
    EXPECT_EQ(p.Text.back(), kImageChar);
    ASSERT_NE(p.ImageAt(50000), nullptr);
    EXPECT_EQ(p.ImageAt(49999), nullptr);
}

std::unique_ptr<TRtfTable> TableOf(const std::vector<std::vector<std::string>>& rows) {
    auto table = std::make_unique<TRtfTable>();
    for (const auto& texts : rows) {
        auto row = std::make_unique<TCellList>();
        int32_t right = 0;
        for (const auto& text : texts) {
            auto cell = std::make_unique<TCellObj>();
            cell->RightBoundaryTwips = right += 1000;
            cell->Content.Add(Paragraph(text));
            row->Cells.push_back(std::move(cell));
        }
        table->Rows.push_back(std::move(row));
    }
    return table;
}

TEST(Document, AddNumbersCharactersThroughTablesAndAnnouncesBlocks) {
    TSectionList doc;
    std::vector<TBlockKind> announced;
    doc.OnBlockAdded = [&](TSectionBase& b) { announced.push_back(b.Kind()); };
    doc.Add(Paragraph("abc"));
    doc.Add(TableOf({{"de", "f"}, {"gh", "i"}}));
    doc.Add(std::make_unique<THorzLine>());
    doc.Add(Paragraph("j"));
    EXPECT_EQ(announced, (std::vector<TBlockKind>{TBlockKind::Section, TBlockKind::Table,
                                                  TBlockKind::HorzLine, TBlockKind::Section}));
    const auto& table = static_cast<const TRtfTable&>(doc[1]);
    EXPECT_EQ(table.FirstIndex, 3);
    EXPECT_EQ(table.Length(), 6);
    EXPECT_EQ(table.Rows[1]->Cells[0]->Content[0].FirstIndex, 6);
    EXPECT_EQ(doc[3].FirstIndex, 9);
    EXPECT_EQ(doc.NextIndex(), 10);
}

TEST(Document, TextOfParagraphsAndTableRows) {
    TSectionList doc;
    doc.Add(Paragraph("one"));
    doc.Add(Paragraph("  ")); // filler of an empty paragraph
    doc.Add(TableOf({{"a", "b"}, {"c", "d"}}));
    doc.Add(Paragraph(std::string("x") + kImageChar + "y"));
    EXPECT_EQ(DocumentText(doc), "one\n\na\tb\nc\td\nxy\n");
    doc.Add(Paragraph("\xCF\xF0\xE8"));
    EXPECT_EQ(DocumentTextUtf8(doc).substr(DocumentTextUtf8(doc).size() - 7),
              "\xD0\x9F\xD1\x80\xD0\xB8\n");
}

TEST(Document, SelectedTextGivesEveryTouchedParagraphACrLf) {
    TSectionList doc;
    doc.Add(Paragraph("hello"));
    doc.Add(Paragraph(std::string("wo") + kImageChar + "rld"));
    doc.SelFirst = 3;
    doc.SelLast = 9;
    EXPECT_EQ(SelectedText(doc), "lo\r\nwor\r\n");
    EXPECT_EQ(SelectedLength(doc), 5);
    doc.SelFirst = doc.SelLast = 2;
    EXPECT_EQ(SelectedText(doc), "");
}

TEST(Document, CloneIsDeepAndBookmarksFollowTheCopiedBlocks) {
    TSectionList doc;
    doc.FontTable.Add("0");
    doc.Add(Paragraph("first"));
    doc.Add(TableOf({{"cell"}}));
    const auto& table = static_cast<const TRtfTable&>(doc[1]);
    doc.Bookmarks.Add("Top", &doc[0]);
    doc.Bookmarks.Add("In cell", &table.Rows[0]->Cells[0]->Content[0]);
    auto copy = doc.Clone();
    ASSERT_EQ(copy->Count(), 2u);
    EXPECT_EQ(copy->Bookmarks.Find("top"), &(*copy)[0]);
    const auto& copiedTable = static_cast<const TRtfTable&>((*copy)[1]);
    EXPECT_EQ(copy->Bookmarks.Find("IN CELL"), &copiedTable.Rows[0]->Cells[0]->Content[0]);
    EXPECT_EQ(copy->FontTable.Count(), 1u);
    static_cast<TSection&>((*copy)[0]).AppendText("!");
    EXPECT_EQ(static_cast<const TSection&>(doc[0]).Text, "first");
}

TEST(BookmarkList, IgnoresCaseAndKeepsTheFirstOfEqualNames) {
    TSectionList doc;
    doc.Add(Paragraph("a"));
    doc.Add(Paragraph("b"));
    TBookmarkList list;
    EXPECT_TRUE(list.Add("Part 2", &doc[0]));
    EXPECT_FALSE(list.Add("PART 2", &doc[1]));
    EXPECT_TRUE(list.Add("\xC3\xEB\xE0\xE2\xE0", &doc[1])); // "Глава"
    EXPECT_EQ(list.Find("part 2"), &doc[0]);
    EXPECT_EQ(list.Find("\xE3\xcb\xc0\xc2\xc0"), &doc[1]); // other case
    EXPECT_EQ(list.NamesOf(&doc[0]), std::vector<std::string>{"Part 2"});
    EXPECT_EQ(list.Find("missing"), nullptr);
}

TEST(TableGrid, SpansGetPlaceholdersAndTooWideTablesAreOnlyMeasured) {
    auto table = TableOf({{"wide", "x"}, {"a", "b", "c"}, {"d", "e", "f"}});
    (*table->Rows[0])[0].ColSpan = 2;
    (*table->Rows[1])[2].RowSpan = 5; // cut to the rows left
    table->CompleteGrid();
    EXPECT_TRUE(table->GridComplete);
    EXPECT_EQ(table->ColumnCount, 4);
    ASSERT_EQ(table->Rows[0]->Count(), 3u);
    EXPECT_TRUE((*table->Rows[0])[1].IsPlaceholder());
    EXPECT_EQ((*table->Rows[0])[1].RightBoundaryTwips, 0);
    EXPECT_EQ((*table->Rows[1])[2].RowSpan, 2);
    ASSERT_EQ(table->Rows[2]->Count(), 4u);
    EXPECT_TRUE((*table->Rows[2])[2].IsRowSpanPlaceholder());
    EXPECT_EQ((*table->Rows[2])[2].RightBoundaryTwips, 3000);
    EXPECT_EQ(table->Length(), 4 + 1 + 3 + 3);

    auto wide = TableOf({std::vector<std::string>(51, "c")});
    wide->CompleteGrid();
    EXPECT_TRUE(wide->TooManyColumns());
    EXPECT_FALSE(wide->GridComplete);
}

} // namespace
} // namespace kvelo
