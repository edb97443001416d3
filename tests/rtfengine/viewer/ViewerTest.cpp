// The viewer control: selection by mouse, links, bookmarks, find, keys,
// the processing flag and the selection operations.
#include "ViewerTestSupport.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace kvelo {
namespace {

using namespace testing;

class ViewerTest : public ::testing::Test {
protected:
    TRtfViewer viewer;
    void SetUp() override {
        viewer.resize(420, 200);
        viewer.show();
    }
    void show(const std::string& bodyUtf8) { loadRtf(viewer, monoRtf(bodyUtf8)); }
    // Forty numbered one-line paragraphs with bookmarks b1..b40.
    void showLongDocument() {
        std::string body;
        for (int i = 1; i <= 40; ++i)
            body += "{\\*\\bkmkstart bm_b" + std::to_string(i) + "}Line " + std::to_string(i) +
                    "\\par ";
        show(body);
    }
    void key(int code) {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(&viewer, &event);
    }
};

TEST_F(ViewerTest, DraggingSelectsInEitherDirectionAndSelTextEndsWithCrLf) {
    show("Hello world\\par Second\\par");
    drag(viewer, charPoint(viewer, 0), charPoint(viewer, 5));
    EXPECT_EQ(viewer.SelLength(), 5);
    EXPECT_EQ(viewer.SelText(), "Hello\r\n");
    drag(viewer, charPoint(viewer, 5), charPoint(viewer, 0));
    EXPECT_EQ(viewer.SelText(), "Hello\r\n");
    drag(viewer, charPoint(viewer, 6), charPoint(viewer, 3, 1));
    EXPECT_EQ(viewer.SelText(), "world\r\nSec\r\n");
}

TEST_F(ViewerTest, DoubleClickSelectsTheWordOfCyrillicAndLatinLetters) {
    show("abc Привет2 !?\\par");
    sendMouse(viewer, QEvent::MouseButtonDblClick, charPoint(viewer, 6));
    EXPECT_EQ(utf8(viewer.SelText()), "Привет2\r\n");
    viewer.SetSelLength(0);
    sendMouse(viewer, QEvent::MouseButtonDblClick, charPoint(viewer, 12));
    EXPECT_EQ(viewer.SelLength(), 0);
}

TEST_F(ViewerTest, NoSelectForbidsSelection) {
    show("Hello\\par");
    viewer.SetNoSelect(true);
    drag(viewer, charPoint(viewer, 0), charPoint(viewer, 4));
    viewer.SelectAll();
    EXPECT_EQ(viewer.SelLength(), 0);
}

TEST_F(ViewerTest, AClickFollowsALinkButADragOverItDoesNot) {
    show("{\\field{\\*\\fldinst HYPERLINK \"1010\"}{\\fldrslt Link}} text\\par");
    std::vector<std::string> clicked;
    viewer.OnLinkClick = [&](const std::string& src, bool& handled) {
        clicked.push_back(src);
        handled = true;
    };
    drag(viewer, charPoint(viewer, 0), charPoint(viewer, 3));
    EXPECT_TRUE(clicked.empty());
    click(viewer, charPoint(viewer, 1));
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], "1010");
    EXPECT_EQ(viewer.CurrentUrl(), "1010");
    click(viewer, charPoint(viewer, 7));
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(ViewerTest, CurrentUrlFollowsThePointerAndTheRightButton) {
    show("{\\field{\\*\\fldinst HYPERLINK \"1010\"}{\\fldrslt Link}} text\\par");
    std::vector<std::string> covered;
    viewer.OnLinkCovered = [&](const std::string& src) { covered.push_back(src); };
    QMouseEvent over(QEvent::MouseMove, charPoint(viewer, 1), QPointF(), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewer.viewport(), &over);
    EXPECT_EQ(viewer.CurrentUrl(), "1010");
    EXPECT_EQ(viewer.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent away(QEvent::MouseMove, charPoint(viewer, 8), QPointF(), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewer.viewport(), &away);
    EXPECT_EQ(viewer.CurrentUrl(), "");
    EXPECT_EQ(viewer.viewport()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(covered, (std::vector<std::string>{"1010", ""}));
    sendMouse(viewer, QEvent::MouseButtonPress, charPoint(viewer, 2), Qt::RightButton);
    EXPECT_EQ(viewer.CurrentUrl(), "1010");
}

TEST_F(ViewerTest, FollowedLinksAskTheHostForTheFileAndBookmark) {
    show("x\\par");
    std::vector<std::pair<std::string, std::string>> asked;
    TMemoryStream body;
    body.WriteBytes(monoRtf("Doc\\par"));
    body.SetPosition(0);
    viewer.OnGetStream = [&](const std::string& file, const std::string& bookmark) -> TStream* {
        asked.emplace_back(file, bookmark);
        if (asked.size() == 1) return &body;
        throw EAbort();
    };
    viewer.LoadFromFile("docs\\P12");
    viewer.FollowLink(cp1251::fromUtf8("#Статья 5"));
    viewer.FollowLink("1010#bm");
    viewer.FollowLink("file:///Dir/Sub/X.RTF");
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[1], std::make_pair(std::string("docs\\P12"), cp1251::fromUtf8("Статья 5")));
    EXPECT_EQ(asked[2], std::make_pair(std::string("docs\\1010"), std::string("bm")));
    EXPECT_EQ(asked[3].first, "docs\\dir\\sub\\x.rtf");
    EXPECT_EQ(viewer.CurrentFile(), "docs\\P12"); // aborted loads change nothing
}

TEST_F(ViewerTest, LoadFromFileWithoutAStreamFailsWithTheFileName) {
    viewer.OnGetStream = [](const std::string&, const std::string&) -> TStream* { return nullptr; };
    try {
        viewer.LoadFromFile("missing#b");
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(std::string(error.what()), "Не могу открыть файл: missing");
    }
    EXPECT_FALSE(viewer.Processing());
}

TEST_F(ViewerTest, GoToBookmarkIgnoresTheHashAndLetterCaseAndPutsItAtTheTop) {
    showLongDocument();
    ASSERT_TRUE(viewer.GoToBookmark("#B20"));
    const int top = viewer.VScrollPosition();
    EXPECT_EQ(top, 19 * kLinePx + viewer.MarginHeight());
    viewer.SetVScrollPosition(0);
    EXPECT_TRUE(viewer.GoToBookmark("b20"));
    EXPECT_EQ(viewer.VScrollPosition(), top);
    EXPECT_FALSE(viewer.GoToBookmark("nothing"));
    EXPECT_EQ(viewer.VScrollPosition(), top);
    // The last bookmarks cannot reach the top: the position is clamped.
    EXPECT_TRUE(viewer.GoToBookmark("b40"));
    EXPECT_EQ(viewer.VScrollPosition(), viewer.verticalScrollBar()->maximum());
}

TEST_F(ViewerTest, FindSelectsHitsInOrderAndNeverAcrossParagraphs) {
    show("alpha Beta\\par be\\par ta beta\\par");
    EXPECT_TRUE(viewer.FindText("beta", false));
    EXPECT_EQ(viewer.SelText(), "Beta\r\n");
    EXPECT_TRUE(viewer.FindText("beta", false));
    EXPECT_EQ(viewer.SelStart(), viewer.Document()[2].FirstIndex + 3);
    EXPECT_FALSE(viewer.FindText("beta", false)); // from the caret on, nothing more
    viewer.SetSelection(0, 0);
    viewer.SetSelLength(0);
    EXPECT_FALSE(viewer.FindText("bebeta", false));
    EXPECT_FALSE(viewer.FindText("BETA", true));
}

TEST_F(ViewerTest, FindScrollsAHitBelowTheViewToTheMiddle) {
    showLongDocument();
    ASSERT_TRUE(viewer.FindText("Line 30", true));
    const int hitY = 29 * kLinePx + viewer.MarginHeight();
    EXPECT_EQ(viewer.VScrollPosition(), hitY - viewer.viewport()->height() / 2);
}

TEST_F(ViewerTest, KeysAndWheelScroll) {
    showLongDocument();
    key(Qt::Key_End);
    EXPECT_EQ(viewer.VScrollPosition(), viewer.verticalScrollBar()->maximum());
    key(Qt::Key_Home);
    EXPECT_EQ(viewer.VScrollPosition(), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(viewer.VScrollPosition(), TRtfViewer::kLineStepPx);
    key(Qt::Key_Left);
    EXPECT_EQ(viewer.HScrollPosition(), 0);
    QWheelEvent wheel(QPointF(50, 50), viewer.mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewer.viewport(), &wheel);
    EXPECT_GT(viewer.VScrollPosition(), TRtfViewer::kLineStepPx);
}

TEST_F(ViewerTest, PropertiesKeepTheirBounds) {
    viewer.SetDefFontSize(5);
    EXPECT_EQ(viewer.DefFontSize(), 6);
    viewer.SetMarginWidth(51);
    viewer.SetMarginHeight(-1);
    EXPECT_EQ(viewer.MarginWidth(), 10);
    EXPECT_EQ(viewer.MarginHeight(), 5);
    viewer.SetHistoryMaxCount(-3);
    EXPECT_EQ(viewer.HistoryMaxCount(), 0);
}

TEST_F(ViewerTest, LoadsStartedWhileProcessingAreIgnored) {
    std::vector<bool> states;
    int nestedLoads = 0;
    viewer.OnProcessing = [&](bool on) {
        states.push_back(on);
        if (on && nestedLoads++ == 0) {
            loadRtf(viewer, monoRtf("nested\\par"));
            viewer.Relayout();
        }
    };
    show("outer\\par");
    EXPECT_EQ(states, (std::vector<bool>{true, false}));
    EXPECT_EQ(viewer.Document().NextIndex(), 5);
}

TEST_F(ViewerTest, ReaderErrorsPropagateAndKeepWhatWasRead) {
    EXPECT_ANY_THROW(loadRtf(viewer, "{\\rtf1 first\\par second"));
    EXPECT_FALSE(viewer.Processing());
    EXPECT_GE(viewer.Document().Count(), 1u);
}

TEST_F(ViewerTest, SelectionOperationsChangeFontsAndAlignment) {
    show("one two\\par three\\par");
    viewer.SetSelection(4, 10);
    TFontObj run = *viewer.ApplyToSelection(4).run;
    run.Font.Style = fsBold;
    run.LinkTarget = "77";
    viewer.ApplyToSelection(3, 0, &run);
    viewer.ApplyToSelection(6, 2);
    viewer.Relayout();
    auto& first = static_cast<TSection&>(viewer.Document()[0]);
    auto& second = static_cast<TSection&>(viewer.Document()[1]);
    EXPECT_EQ(first.Fonts[first.RunIndexAt(2)].LinkTarget, "");
    EXPECT_EQ(first.Fonts[first.RunIndexAt(5)].LinkTarget, "77");
    EXPECT_TRUE(second.Fonts[second.RunIndexAt(0)].Font.Bold());
    EXPECT_FALSE(second.Fonts[second.RunIndexAt(4)].Font.Bold());
    EXPECT_EQ(first.Alignment, TAlignment::Right);
    EXPECT_EQ(second.Alignment, TAlignment::Right);
    EXPECT_EQ(viewer.ApplyToSelection(5).paragraph, &first);
    viewer.SetSelLength(0);
    EXPECT_EQ(viewer.ApplyToSelection(5).paragraph, nullptr);
}

TEST_F(ViewerTest, SetSelLengthActsOnlyOnZero) {
    show("Hello\\par");
    viewer.SelectAll();
    viewer.SetSelLength(2);
    EXPECT_EQ(viewer.SelLength(), 5);
    viewer.SetSelLength(0);
    EXPECT_EQ(viewer.SelLength(), 0);
}

TEST_F(ViewerTest, AResizeLaysOutAgainKeepingTheReadingPosition) {
    showLongDocument();
    viewer.GoToBookmark("b10");
    const int position = viewer.ReadingPosition();
    viewer.resize(300, 200);
    EXPECT_EQ(viewer.ReadingPosition(), position);
}

} // namespace
} // namespace kvelo
