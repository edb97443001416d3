// The RTF engine frame inside a real document window: link clicks become
// navigations of the window after the click, bookmarks, frame reuse and
// replacement, the selection commands and RTF output that reads back.
#include "view/RtfFrame.h"
#include "CatalogueFixture.h"
#include "gui/ImageView.h"
#include "gui/QtText.h"
#include "rtfengine/model/PlainText.h"
#include "rtfengine/reader/RtfReader.h"
#include "rtfengine/viewer/RtfPrint.h"
#include "rtfengine/viewer/RtfViewer.h"
#include "view/FrmView.h"
#include "view/GraphicFrame.h"
#include "view/ViewHost.h"

#include <QApplication>
#include <QBuffer>
#include <QFont>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>

using namespace kvelo;
using kvelo::testing::CatalogueFixture;

namespace {

// Follows links by navigating the window, as the main window does.
struct NavigatingHost : IViewHost {
    TFrmView* view = nullptr;
    std::vector<std::string> navigations;
    void UpdateCommands() override {}
    void SaveDocument() override {}
    void CopyToClipboard() override {}
    void PasteFromClipboard() override {}
    bool CopyEnabled() override { return true; }
    bool PasteEnabled() override { return false; }
    void NavigateActive(const std::string& address) override {
        navigations.push_back(address);
        if (view) view->Navigate(address, true);
    }
    TFrmView* OpenNewWindow() override { return nullptr; }
    void SetExcelEnabled(bool) override {}
    void WindowActivated(TFrmView&) override {}
    void WindowChanged(TFrmView&) override {}
    void WindowClosed(TFrmView&) override {}
    bool AskSaveChanges() override { return false; }
};

std::string pngBase64() {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "PNG");
    return bytes.toBase64().toStdString();
}

nlohmann::json frameManifest() {
    using nlohmann::json;
    const std::string mono = "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0\\fs24 ";
    std::string long202;
    for (int i = 0; i < 60; ++i)
        long202 += "Line\\par ";
    long202 += "{\\*\\bkmkstart bm_Статья_5}Статья 5\\par ";
    for (int i = 0; i < 60; ++i)
        long202 += "More\\par ";
    return json{
        {"name", "Frames"},
        {"tree", json::array({json{{"doc", 201}}, json{{"doc", 202}}, json{{"doc", 203}},
                              json{{"doc", 204}}, json{{"doc", 205}}})},
        {"documents",
         json::array(
             {json{{"id", 201},
                   {"title", "Links"},
                   {"date", "01.02.2003"},
                   {"text", mono + "{\\field{\\*\\fldinst HYPERLINK \"202\" \\l "
                                   "\"bm_Статья_5\"}{\\fldrslt Go}} and "
                                   "{\\*\\bkmkstart bm_A_1}{\\*\\bkmkstart bm_B}text\\par}"}},
              json{{"id", 202},
                   {"title", "Target"},
                   {"date", "01.02.2003"},
                   {"text", mono + long202 + "}"}},
              json{{"id", 203},
                   {"title", "Picture"},
                   {"date", "01.02.2003"},
                   {"bytes_base64", pngBase64()}},
              json{{"id", 204},
                   {"title", "RichView"},
                   {"date", "01.02.2003"},
                   {"text", "-8 richview body"}},
              json{{"id", 205},
                   {"title", "Broken"},
                   {"date", "01.02.2003"},
                   {"text", "{\\rtf1 cut short\\par more"}}})},
    };
}

class RtfFrameTest : public CatalogueFixture {
protected:
    NavigatingHost host;
    std::unique_ptr<TFrmView> view;

    void SetUp() override {
        CatalogueFixture::SetUp();
        writeUtf8("kvelo.rus", "[Strings]\nnoDocument=Документ отсутствует\nkvlBase=Базы\n"
                               "noRichView=Не показать\n");
        pack("frames.phb", frameManifest());
        open();
        view = std::make_unique<TFrmView>(bases(), host);
        host.view = view.get();
        view->resize(500, 300);
        view->show();
    }
    void TearDown() override {
        view.reset();
        CatalogueFixture::TearDown();
    }
    TRtfFrame* rtfFrame() { return dynamic_cast<TRtfFrame*>(&view->Frame()); }
    TRtfViewer& control() { return rtfFrame()->Control(); }
    void clickAt(QPoint at) {
        QWidget* pane = control().viewport();
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, pane->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(pane, &event);
        }
    }
    QPoint linkPoint() { return {control().MarginWidth() + 5, control().MarginHeight() + 8}; }
};

TEST_F(RtfFrameTest, AClickedLinkNavigatesTheWindowAfterTheClickToTheBookmark) {
    view->Navigate("201", true);
    ASSERT_NE(rtfFrame(), nullptr);
    clickAt(linkPoint());
    EXPECT_TRUE(host.navigations.empty()) << "nothing happens inside the click";
    EXPECT_EQ(view->Address(), "201");
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_EQ(host.navigations.size(), 1u);
    EXPECT_EQ(host.navigations[0], "202#" + cp1251::fromUtf8("Статья 5"));
    EXPECT_EQ(view->Address(), "202");
    EXPECT_EQ(view->HistoryCount(), 2);
    EXPECT_GT(control().VScrollPosition(), 60 * 18 - 300) << "scrolled to the bookmark";
}

TEST_F(RtfFrameTest, GotoBookmarkAcceptsTheBodyFormOfNames) {
    view->Navigate("202", true);
    IViewer& viewer = view->DocViewer();
    viewer.GotoBookmark(cp1251::fromUtf8("bm_Статья_5"));
    const int position = viewer.GetScrollPos();
    EXPECT_GT(position, 0);
    viewer.SetScrollPos(0);
    viewer.GotoBookmark(cp1251::fromUtf8("Статья_5"));
    EXPECT_EQ(viewer.GetScrollPos(), position);
    viewer.SetScrollPos(0);
    viewer.GotoBookmark("unknown");
    EXPECT_EQ(viewer.GetScrollPos(), 0);
}

TEST_F(RtfFrameTest, BookmarksAreListedAsStoredAndCanBeAddedAndDeleted) {
    view->Navigate("201", true);
    IViewer& viewer = view->DocViewer();
    std::vector<std::string> names;
    viewer.GetBookmarks(names);
    EXPECT_EQ(names, (std::vector<std::string>{"A 1", "B"}));
    viewer.SelectAll();
    viewer.AddBookmark("New");
    viewer.DeleteBookmark("b"); // exact names only
    viewer.DeleteBookmark("A 1");
    names.clear();
    viewer.GetBookmarks(names);
    EXPECT_EQ(names, (std::vector<std::string>{"B", "New"}));
}

TEST_F(RtfFrameTest, DocumentsOfTheSameKindKeepTheFramePicturesReplaceIt) {
    view->Navigate("201", true);
    TViewerFrame* first = &view->Frame();
    view->Navigate("202", true);
    EXPECT_EQ(&view->Frame(), first);
    view->Navigate("203", true);
    auto* picture = dynamic_cast<TGraphicFrame*>(&view->Frame());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->ImgView().Image().size(), QSize(40, 20));
    view->Navigate("201", true);
    EXPECT_NE(rtfFrame(), nullptr);
}

TEST_F(RtfFrameTest, ARichViewBodyShowsTheNoticeInsteadOfItsBytes) {
    view->Navigate("204", true);
    ASSERT_NE(rtfFrame(), nullptr);
    EXPECT_EQ(view->Frame().Class(), FrameClass::RichView);
    view->DocViewer().SelectAll();
    EXPECT_EQ(cp1251::toUtf8(view->DocViewer().GetSelText()), "Не показать\r\n");
}

TEST_F(RtfFrameTest, SelectionOnlyRtfReadsBackAsTheSelectedText) {
    view->Navigate("201", true);
    IViewer& viewer = view->DocViewer();
    control().SetSelection(0, 6); // "Go and"
    TMemoryStream rtf;
    viewer.SaveToStream(rtf, true, true, true);
    TSectionList back;
    RtfParseBytes(back, rtf.Memory(), rtf.Bytes().size());
    back.SelFirst = 0;
    back.SelLast = back.NextIndex();
    EXPECT_EQ(SelectedText(back), "Go and\r\n");
    ASSERT_GT(back.Count(), 0u);
    const auto& paragraph = static_cast<const TSection&>(back[0]);
    EXPECT_EQ(paragraph.Fonts[0].LinkTarget, "202#" + cp1251::fromUtf8("Статья 5"));
}

TEST_F(RtfFrameTest, FontLinkAndAlignmentCommandsChangeTheSelection) {
    view->Navigate("201", true);
    IViewer& viewer = view->DocViewer();
    TFontTable& table = control().FontTable();
    const size_t fonts = table.Count();
    control().SetSelection(7, 11);
    QFont font(QStringLiteral("Arial"), 14);
    viewer.ApplyFont(font);
    EXPECT_EQ(table.Count(), fonts + 1);
    viewer.ApplyFont(font);
    EXPECT_EQ(table.Count(), fonts + 1) << "the same font reuses its entry";
    QFont back;
    viewer.GetSelFont(back);
    EXPECT_EQ(back.family(), QStringLiteral("Arial"));
    EXPECT_EQ(back.pointSize(), 14);
    EXPECT_TRUE(viewer.CanSetLink());
    viewer.SetLink("999");
    EXPECT_EQ(viewer.GetSelLink(), "999");
    viewer.SetLink("");
    EXPECT_EQ(viewer.GetSelLink(), "");
    viewer.SetAlignment(1);
    EXPECT_EQ(static_cast<TSection&>(control().Document()[0]).Alignment, TAlignment::Center);
    viewer.SetSelLength(3);
    EXPECT_EQ(viewer.GetSelLength(), 4);
    viewer.SetSelLength(0);
    EXPECT_FALSE(viewer.CanSetLink());
}

TEST_F(RtfFrameTest, FindAndFontSizeGoThroughTheControl) {
    view->Navigate("202", true);
    IViewer& viewer = view->DocViewer();
    EXPECT_TRUE(viewer.FindText("more", false));
    EXPECT_GT(viewer.GetScrollPos(), 0);
    EXPECT_FALSE(viewer.FindText("absent", false));
    view->ApplyFontSize(20);
    EXPECT_EQ(viewer.GetFontSize(), 20);
}

TEST_F(RtfFrameTest, PrintSelectionPrintsOnlyTheSelectedText) {
    if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "no pdftotext";
    view->Navigate("201", true);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("selection.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QPrinter* previous = SwapCurrentPrinter(&printer);
    control().SetSelection(7, 11); // "text"
    view->DocViewer().PrintSelection();
    SwapCurrentPrinter(previous);
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        popen(("pdftotext '" + pdf.toStdString() + "' - 2>/dev/null").c_str(), "r"), pclose);
    char buffer[1024];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, n);
    EXPECT_NE(text.find("text"), std::string::npos);
    EXPECT_EQ(text.find("Go"), std::string::npos);
}

TEST_F(RtfFrameTest, ABodyTheReaderRejectsShowsNoDocument) {
    EXPECT_NO_THROW(view->Navigate("205", true));
    EXPECT_EQ(view->Address(), "205");
    EXPECT_FALSE(view->LoadedFromBase());
    view->DocViewer().SelectAll();
    EXPECT_EQ(cp1251::toUtf8(view->DocViewer().GetSelText()), "Документ отсутствует\r\n");
}

TEST_F(RtfFrameTest, LinksOfAFolderListingOpenTheirNodes) {
    TTreeNode* root = catalogue->TreeBase.GetFirstNode();
    ASSERT_NE(root, nullptr);
    view->Navigate("P" + std::to_string(root->Handle()), true);
    ASSERT_NE(rtfFrame(), nullptr);
    const auto& first = static_cast<const TSection&>(control().Document()[0]);
    ASSERT_FALSE(first.Fonts.empty());
    const std::string target = first.Fonts[0].LinkTarget;
    ASSERT_EQ(target.rfind("P", 0), 0u);
    clickAt(linkPoint());
    QApplication::processEvents();
    QApplication::processEvents();
    // The listing's "\\l" without a name leaves an empty bookmark, which the
    // frame does not pass on.
    EXPECT_EQ(view->Address(), target.substr(0, target.find('#')));
    EXPECT_EQ(view->HistoryCount(), 2);
}

} // namespace
