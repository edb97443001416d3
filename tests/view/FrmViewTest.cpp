#include "view/FrmView.h"
#include "CatalogueFixture.h"
#include "gui/QtText.h"
#include "view/ViewHost.h"

#include <QApplication>
#include <map>

using namespace kvelo;
using kvelo::testing::CatalogueFixture;

namespace {

// A frame that records what the window asks of it.
class RecordingFrame : public TViewerFrame, public IViewer {
public:
    RecordingFrame(FrameClass c, QWidget* parent) : TViewerFrame(c, parent) {}
    IViewer& Viewer() override { return *this; }

    std::vector<std::string> loads, bodies, bookmarks;
    std::vector<int> scrolls;
    int scroll = 0, fontSize = 0;
    std::string link;

    std::string GetCurrentLink() override { return link; }
    int GetSelLength() override { return 0; }
    int GetFontSize() override { return fontSize; }
    std::string GetSelText() override { return {}; }
    std::string GetSelLink() override { return {}; }
    int GetScrollPos() override { return scroll; }
    std::function<void()> GetOnChange() override { return {}; }
    QWidget* GetControl() override { return this; }
    void SetSelLength(int) override {}
    void SetFontSize(int size) override { fontSize = size; }
    void SetPopupMenu(QMenu*) override {}
    void SetScrollPos(int p) override { scrolls.push_back(scroll = p); }
    void SetOnChange(std::function<void()>) override {}
    void SelectAll() override {}
    void LoadDocument(const std::string& name, TStream& body) override {
        loads.push_back(name);
        std::string bytes(static_cast<size_t>(body.Size()), '\0');
        body.SetPosition(0);
        body.ReadBuffer(bytes.data(), bytes.size());
        bodies.push_back(bytes);
        scroll = 0;
    }
    void GotoBookmark(const std::string& name) override { bookmarks.push_back(name); }
    void ApplyFont(const QFont&) override {}
    void GetSelFont(QFont&) override {}
    void Print(int, int) override {}
    void PrintSelection() override {}
    void SetAlignment(int) override {}
    bool FindText(const std::string&, bool) override { return false; }
    void GetBookmarks(std::vector<std::string>&) override {}
    void AddBookmark(const std::string&) override {}
    void DeleteBookmark(const std::string&) override {}
    void SetLink(const std::string&) override {}
    bool CanSetLink() override { return false; }
    void SaveToStream(TStream&, bool, bool, bool) override {}
    void LoadFromStream(TStream&) override {}
};

struct RecordingFactory : IFrameFactory {
    std::vector<FrameClass> created;
    RecordingFrame* last = nullptr;
    std::unique_ptr<TViewerFrame> CreateFrame(FrameClass c, QWidget* parent) override {
        created.push_back(c);
        auto frame = std::make_unique<RecordingFrame>(c, parent);
        last = frame.get();
        return frame;
    }
};

struct FakeHost : IViewHost {
    int updates = 0, changes = 0, saves = 0;
    bool excel = false, answer = false;
    void UpdateCommands() override { ++updates; }
    void SaveDocument() override { ++saves; }
    void CopyToClipboard() override {}
    void PasteFromClipboard() override {}
    bool CopyEnabled() override { return false; }
    bool PasteEnabled() override { return false; }
    void NavigateActive(const std::string&) override {}
    TFrmView* OpenNewWindow() override { return nullptr; }
    void SetExcelEnabled(bool e) override { excel = e; }
    void WindowActivated(TFrmView&) override {}
    void WindowChanged(TFrmView&) override { ++changes; }
    void WindowClosed(TFrmView&) override {}
    bool AskSaveChanges() override { return answer; }
};

class FrmViewTest : public CatalogueFixture {
protected:
    FakeHost host;
    RecordingFactory frames;
    std::unique_ptr<TFrmView> view;

    void SetUp() override {
        CatalogueFixture::SetUp();
        pack("main.phb", demoManifest());
        open();
        view = std::make_unique<TFrmView>(bases(), host, frames);
    }
    void TearDown() override {
        view.reset();
        CatalogueFixture::TearDown();
    }
    RecordingFrame& frame() { return *frames.last; }
    std::string handleAddress(const char* utf8) {
        TTreeNode* n = node(utf8);
        EXPECT_NE(n, nullptr) << utf8;
        return n ? "P" + std::to_string(n->Handle()) : "P0";
    }
};

TEST_F(FrmViewTest, StartsWithAnEmptyRtfFrameAndNoHistory) {
    ASSERT_EQ(frames.created.size(), 1u);
    EXPECT_EQ(frames.created[0], FrameClass::Rtf);
    EXPECT_EQ(view->HistoryCount(), 0);
    EXPECT_TRUE(view->Address().empty());
}

TEST_F(FrmViewTest, IdWithBookmarkLoadsOnceThenOnlyMovesToTheBookmark) {
    const std::string address = "101#" + cp1251::fromUtf8("Статья_5");
    view->Navigate(address, true);
    ASSERT_EQ(frame().loads.size(), 1u);
    EXPECT_EQ(frame().loads[0], "101");
    EXPECT_EQ(frame().bodies[0], "{\\rtf1 Body one}");
    EXPECT_EQ(frame().bookmarks.back(), cp1251::fromUtf8("Статья_5"));
    EXPECT_EQ(view->Tag(), 101);
    EXPECT_TRUE(view->LoadedFromBase());
    EXPECT_EQ(view->Title(), cp1251::fromUtf8("Первый {документ}"));
    EXPECT_NE(view->Base(), nullptr);
    view->Navigate(address, true);
    EXPECT_EQ(frame().loads.size(), 1u) << "the shown document is not reloaded";
    EXPECT_EQ(frame().bookmarks.size(), 2u);
    EXPECT_EQ(view->HistoryCount(), 2) << "but a history entry is still added";
    view->Navigate("101", true);
    EXPECT_EQ(frame().scrolls.back(), 0) << "without a bookmark the view goes to the top";
}

TEST_F(FrmViewTest, FolderAddressShowsTheListingOfItsChildren) {
    view->Navigate(handleAddress("Кодексы"), true);
    EXPECT_EQ(view->Tag(), 0);
    EXPECT_FALSE(view->LoadedFromBase());
    EXPECT_FALSE(host.excel);
    const std::string& rtf = frame().bodies.back();
    EXPECT_EQ(rtf.rfind("{\\rtf\\ansi\\ansicpg1251 ", 0), 0u);
    TTreeNode* first = node("Первый {документ}");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(rtf.find("HYPERLINK \"P" + std::to_string(first->Handle()) + "\""),
              std::string::npos);
    EXPECT_NE(rtf.find(cp1251::fromUtf8("{\\fldrslt Первый \\{документ\\}}")), std::string::npos);
    EXPECT_NE(rtf.find(cp1251::fromUtf8("Налоги")), std::string::npos);
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Кодексы"));
}

TEST_F(FrmViewTest, ListingUsesTheFullTitleOfCutCaptions) {
    TTreeNode* longDoc = nullptr;
    for (TTreeNode* n = catalogue->TreeBase.GetFirstNode(); n; n = n->GetNext()) {
        bases().ExpandNode(n);
        if (n->Text().size() == 255) longDoc = n;
    }
    ASSERT_NE(longDoc, nullptr);
    view->Navigate("P" + std::to_string(longDoc->Parent()->Handle()), true);
    EXPECT_NE(frame().bodies.back().find(std::string(300, 'T')), std::string::npos);
}

TEST_F(FrmViewTest, UnknownIdsAndDeadHandlesShowNoDocument) {
    TTreeNode* temp = catalogue->TreeBase.AddChild(nullptr, "temp");
    const int dead = temp->Handle();
    catalogue->TreeBase.Delete(temp);
    for (const std::string& address : {std::string("999"), std::string("12x"),
                                       "P" + std::to_string(dead), std::string("Pabc")}) {
        view->Navigate(address, true);
        EXPECT_EQ(frame().bodies.back(), cp1251::fromUtf8("Документ отсутствует")) << address;
        EXPECT_EQ(view->Address(), address);
        EXPECT_FALSE(view->LoadedFromBase());
    }
}

TEST_F(FrmViewTest, BodyKindsChooseFramesAndKeepTheFrameOfTheSameClass) {
    view->Navigate("101", true); // {\rtf1
    view->Navigate("102", true); // plain text: the same RTF frame
    EXPECT_EQ(frames.created.size(), 1u);
    view->Navigate("103", true); // "BM": a picture
    EXPECT_EQ(frames.created.back(), FrameClass::Graphic);
    view->Navigate("104", true); // "-8 ": RichView
    EXPECT_EQ(frames.created.back(), FrameClass::RichView);
    view->Navigate("101", true);
    EXPECT_EQ(frames.created.back(), FrameClass::Rtf);
    EXPECT_EQ(frames.created.size(), 4u);
}

TEST_F(FrmViewTest, BackReturnsToTheLeftPageAtItsPosition) {
    view->Navigate("101", true);
    EXPECT_FALSE(view->HistoryIndex() < view->HistoryCount() - 1) << "no Back after one page";
    frame().scroll = 30;
    view->Navigate("102", true);
    view->HistoryGoTo(view->HistoryIndex() + 1);
    EXPECT_EQ(view->Address(), "101");
    EXPECT_EQ(frame().scroll, 30);
    EXPECT_GT(view->HistoryIndex(), 0) << "Forward is possible now";
}

TEST_F(FrmViewTest, ModifiedDocumentAsksToSaveBeforeLeaving) {
    view->Navigate("101", true);
    view->SetModified(true);
    host.answer = true;
    view->Navigate("102", true);
    EXPECT_EQ(host.saves, 1);
    EXPECT_FALSE(view->IsModified());
}

TEST_F(FrmViewTest, FontSizeIsAppliedOnlyWhenItChanges) {
    view->Navigate("101", true);
    EXPECT_EQ(frame().fontSize, 12);
    view->ApplyFontSize(14);
    EXPECT_EQ(frame().fontSize, 14);
    EXPECT_EQ(view->FontSize(), 14);
}

} // namespace
