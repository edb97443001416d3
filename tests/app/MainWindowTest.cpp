#include "app/MainWindow.h"
#include "app/Dialogs.h"
#include "app/ShellPrompts.h"
#include "bases/Catalogue.h"
#include "gui/TreeView.h"
#include "view/CatalogueFixture.h"
#include "view/FrmView.h"

#include "rtfengine/model/PlainText.h"
#include "rtfengine/reader/RtfReader.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>

using namespace kvelo;
using kvelo::testing::CatalogueFixture;

namespace {

struct ScriptedPrompts : IShellPrompts {
    std::vector<std::string> messages;
    std::function<int(QDialog&)> exec = [](QDialog&) { return int(QDialog::Rejected); };
    bool EditFolderDialog(FolderDialogState&) override { return false; }
    void ShowMessage(std::string_view key, MessageIcon) override { messages.emplace_back(key); }
    std::vector<QString> informed;
    bool Confirm(const QString&) override { return false; }
    void Inform(const QString& text) override { informed.push_back(text); }
    int Exec(QDialog& dialog) override { return exec(dialog); }
};

class MainWindowTest : public CatalogueFixture {
protected:
    ScriptedPrompts prompts;
    std::unique_ptr<TFrmMain> main;

    void SetUp() override {
        CatalogueFixture::SetUp();
        writeUtf8("kvelo.rus", "[Strings]\nnoDocument=Документ отсутствует\nkvlBase=Базы\n"
                               "docExcl=Утратил силу\nnoLocFind=Нет «%s»\n");
        pack("main.phb", demoManifest());
        openSettings();
        main = std::make_unique<TFrmMain>(prompts);
    }
    void TearDown() override {
        main.reset();
        CatalogueFixture::TearDown();
    }
    bool enabled(const char* name) { return main->Action(QLatin1String(name))->isEnabled(); }
    TTreeNode* find(const std::string& utf8) {
        const std::string text = cp1251::fromUtf8(utf8);
        for (TTreeNode* n = main->GetCatalogue().TreeBase.GetFirstNode(); n; n = n->GetNext())
            if (n->Text() == text) return n;
        return nullptr;
    }
    TTreeNode* readAndFind(const std::string& utf8) {
        for (TTreeNode* n = main->GetCatalogue().TreeBase.GetFirstNode(); n; n = n->GetNext())
            main->GetCatalogue().Bases().ExpandNode(n);
        return find(utf8);
    }
};

TEST_F(MainWindowTest, WithoutADocumentWindowItsCommandsAreDisabled) {
    for (const char* name : {"NClose", "NCloseAll", "NSelectAll", "NFind", "NIncFont", "NDecFont",
                             "BtnIncFont", "BtnDecFont", "NTile", "BtnSynh", "NSaveAs", "NDeselect",
                             "NCopy", "BtnBack", "BtnFwd", "BtnSave", "NOpen"})
        EXPECT_FALSE(enabled(name)) << name;
    main->DoClick(15); // font larger with no window: nothing happens
    EXPECT_TRUE(main->Views().empty());
}

TEST_F(MainWindowTest, CommandsOfLaterSubsystemsAreWiredButNotReady) {
    main->NewWindow();
    main->UpdateCommands();
    for (const char* name : {"BtnURL", "NWord", "NNewBook"}) {
        EXPECT_FALSE(enabled(name)) << name;
        EXPECT_TRUE(main->Action(QLatin1String(name))->property("notReady").toBool()) << name;
    }
    main->DoClick(main->Action(QStringLiteral("BtnURL"))->property("Tag").toInt());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], "notReady");
}

TEST_F(MainWindowTest, UnknownTagsShowErrCmd) {
    main->DoClick(999);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], "errCmd");
}

TEST_F(MainWindowTest, OpeningTheRootShowsItsListingAndEnablesWindowCommands) {
    main->TreeBase()->Select(main->GetCatalogue().TreeBase.GetFirstNode());
    main->DoClick(51);
    ASSERT_EQ(main->Views().size(), 1u);
    TFrmView* view = main->ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Tag(), 0);
    for (const char* name : {"NClose", "NSelectAll", "BtnIncFont", "BtnSynh", "NSaveAs", "NOpen"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_FALSE(enabled("BtnBack")) << "one page: no Back yet";
    main->DoClick(15);
    EXPECT_EQ(view->FontSize(), 13);
}

TEST_F(MainWindowTest, HistoryCommandsFollowTheWindow) {
    main->NavigateActive("101");
    main->NavigateActive("102");
    EXPECT_TRUE(enabled("BtnBack"));
    EXPECT_FALSE(enabled("BtnFwd"));
    main->DoClick(26);
    EXPECT_EQ(main->ActiveView()->Address(), "101");
    EXPECT_FALSE(enabled("BtnBack"));
    EXPECT_TRUE(enabled("BtnFwd"));
    main->DoClick(27);
    EXPECT_EQ(main->ActiveView()->Address(), "102");
}

TEST_F(MainWindowTest, DoubleClickOpensAFolderWithoutExpandingIt) {
    TTreeNode* codes = readAndFind("Кодексы");
    ASSERT_NE(codes, nullptr);
    codes->Collapse();
    emit main->TreeBase()->MouseDown();
    emit main->TreeBase()->NodeDoubleClicked(codes, Qt::NoModifier);
    EXPECT_FALSE(codes->Expanded());
    ASSERT_NE(main->ActiveView(), nullptr);
    EXPECT_EQ(main->ActiveView()->Title(), codes->Text());
    codes->Expand(); // a user expansion outside the expand button is refused
    EXPECT_FALSE(codes->Expanded());
    emit main->TreeBase()->ExpandButtonPressed(codes);
    EXPECT_TRUE(codes->Expanded());
    emit main->TreeBase()->NodeDoubleClicked(codes, Qt::ControlModifier);
    EXPECT_EQ(main->Views().size(), 2u) << "Ctrl+double click opens a new window";
}

TEST_F(MainWindowTest, StepPreviousIntoAnUnreadFolderLandsOnItsLastDocument) {
    // The catalogue root is expanded; the base node and its folders are not read yet.
    TTreeNode* baseNode = main->GetCatalogue().TreeBase.GetFirstNode()->GetFirstChild();
    ASSERT_NE(baseNode, nullptr);
    main->GetCatalogue().Bases().ExpandNode(baseNode);
    TTreeNode* last = find(std::string(300, 'T').substr(0, 255));
    ASSERT_NE(last, nullptr);
    main->TreeBase()->Select(last);
    main->DoClick(28);
    TTreeNode* target = main->TreeBase()->Selected();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->Text(), cp1251::fromUtf8("Третий"));
    EXPECT_TRUE(target->Parent()->Expanded());
    EXPECT_TRUE(target->Parent()->Parent()->Expanded());
    EXPECT_EQ(main->ActiveView()->Tag(), 103);
    // From the first child of a folder, Previous lands on the folder itself.
    TTreeNode* first = find("Первый {документ}");
    main->TreeBase()->Select(first);
    main->DoClick(28);
    EXPECT_EQ(main->TreeBase()->Selected(), first->Parent());
}

TEST_F(MainWindowTest, SynchronizeSelectsTheDocumentsNode) {
    main->NavigateActive("103");
    main->DoClick(30);
    TTreeNode* selected = main->TreeBase()->Selected();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->Text(), cp1251::fromUtf8("Третий"));
    EXPECT_TRUE(selected->Parent()->Expanded());
}

TEST_F(MainWindowTest, TheEleventhWindowIsListedUnderOtherWindows) {
    for (int i = 0; i < 11; ++i)
        main->NavigateActive(i % 2 ? "101" : "102"), main->NewWindow();
    EXPECT_EQ(main->WindowList().Count(), 12);
    QAction* others = main->Action(QStringLiteral("NWin9"));
    EXPECT_TRUE(others->isVisible());
    EXPECT_TRUE(others->isChecked());
    EXPECT_FALSE(main->Action(QStringLiteral("NWin8"))->isChecked());
    EXPECT_EQ(main->Action(QStringLiteral("NWin0"))->text(), QStringLiteral("Второй"));
    int listed = 0;
    prompts.exec = [&](QDialog& dialog) {
        listed = static_cast<TFrmWinNames&>(dialog).ListBox()->count();
        return int(QDialog::Rejected);
    };
    others->trigger();
    EXPECT_EQ(listed, 12);
    main->Action(QStringLiteral("NWin2"))->trigger();
    EXPECT_EQ(main->ActiveView(), main->Views()[2]);
    EXPECT_TRUE(main->Action(QStringLiteral("NWin2"))->isChecked());
}

TEST_F(MainWindowTest, CopyPutsRtfThatOurReaderReadsBackAndPlainText) {
    main->NewWindow();
    main->ActiveView()->Navigate("101", true);
    main->DoClick(6); // select all
    main->DoClick(8);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(QStringLiteral("text/rtf")));
    const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
    TSectionList back;
    RtfParseBytes(back, rtf.constData(), static_cast<size_t>(rtf.size()));
    EXPECT_EQ(DocumentText(back), "Body one\n");
    EXPECT_EQ(data->text(), QStringLiteral("Body one\r\n"));
}

TEST_F(MainWindowTest, LocalSearchFindsAgainAndReportsMissesSafely) {
    main->NewWindow();
    main->ActiveView()->Navigate("101", true);
    QString query = QStringLiteral("body");
    prompts.exec = [&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText(query);
        return int(QDialog::Accepted);
    };
    main->DoClick(9);
    EXPECT_EQ(main->ActiveView()->DocViewer().GetSelLength(), 4);
    EXPECT_TRUE(prompts.informed.empty());
    main->DoClick(10); // again from the caret: no second hit
    ASSERT_EQ(prompts.informed.size(), 1u);
    query = QStringLiteral("%s%n%d");
    main->DoClick(9);
    ASSERT_EQ(prompts.informed.size(), 2u);
    EXPECT_TRUE(prompts.informed[1].contains(QStringLiteral("%s%n%d"))) << "no format expansion";
}

} // namespace
