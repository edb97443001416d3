// The main window's search and dictionary wiring: the search dialog (Tag 11)
// adds a result folder shown on the search tab, the popup deletes from it
// (Tag 421), and typing in EditTerm walks the dictionary tree.
#include "app/MainWindow.h"
#include "app/ShellPrompts.h"
#include "bases/Catalogue.h"
#include "gui/TreeView.h"
#include "view/CatalogueFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTabWidget>

using namespace kvelo;
using kvelo::testing::CatalogueFixture;
using nlohmann::json;

namespace {

struct ScriptedPrompts : IShellPrompts {
    std::vector<std::string> messages;
    std::vector<QString> asked;
    std::function<int(QDialog&)> exec = [](QDialog&) { return int(QDialog::Rejected); };
    bool EditFolderDialog(FolderDialogState&) override { return false; }
    void ShowMessage(std::string_view key, MessageIcon) override { messages.emplace_back(key); }
    bool Confirm(const QString& text) override {
        asked.push_back(text);
        return true;
    }
    void Inform(const QString&) override {}
    int Exec(QDialog& dialog) override { return exec(dialog); }
};

class MainWindowSearchTest : public CatalogueFixture {
protected:
    ScriptedPrompts prompts;
    std::unique_ptr<TFrmMain> main;

    void SetUp() override {
        CatalogueFixture::SetUp();
        writeUtf8("kvelo.rus", "[Strings]\nkvlBase=Базы\nFindNo=Поиск № %d\n");
        pack("main.phb", demoManifest());
        pack("Словарь.trm", {{"name", "Словарь"},
                             {"tree",
                              {{{"folder", "А"}, {"children", {{{"doc", 901}}, {{"doc", 902}}}}},
                               {{"folder", "Б"}, {"children", {{{"doc", 903}}}}}}},
                             {"documents",
                              {{{"id", 901}, {"title", "Акт"}, {"text", "{\\rtf1 a}"}},
                               {{"id", 902}, {"title", "Аренда"}, {"text", "{\\rtf1 b}"}},
                               {{"id", 903}, {"title", "Банк"}, {"text", "{\\rtf1 c}"}}}}});
        openSettings();
        main = std::make_unique<TFrmMain>(prompts);
    }
    void TearDown() override {
        main.reset();
        CatalogueFixture::TearDown();
    }
    // Tag 11 with the dialog's text field set and "Выполнить" pressed.
    void search(const QString& text) {
        prompts.exec = [text](QDialog& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("EditText"))->setEditText(text);
            dialog.accept();
            return dialog.result();
        };
        main->DoClick(11);
    }
    TTreeNode* queryRoot() { return main->GetCatalogue().TreeQuery.GetFirstNode(); }
};

TEST_F(MainWindowSearchTest, SearchAddsAFolderAndShowsTheSearchTab) {
    EXPECT_TRUE(main->Action(QStringLiteral("NQuery"))->isEnabled());
    search(QStringLiteral("body"));
    ASSERT_EQ(queryRoot()->Count(), 1);
    TTreeNode* folder = queryRoot()->Item(0);
    EXPECT_EQ(folder->Count(), 1);
    EXPECT_EQ(main->PageControl()->currentIndex(), 2);
    EXPECT_EQ(main->ActiveTree(), main->TreeQuery());
    EXPECT_EQ(main->TreeQuery()->Selected(), folder);
    EXPECT_TRUE(main->Action(QStringLiteral("BtnDelQ"))->isEnabled());
    EXPECT_TRUE(main->Action(QStringLiteral("BtnNextQ"))->isEnabled());
}

TEST_F(MainWindowSearchTest, PopupDeletesTheSelectedResultNode) {
    search(QStringLiteral("body"));
    TTreeNode* folder = queryRoot()->Item(0);
    main->TreeQuery()->Select(folder->Item(0));
    main->UpdateCommands();
    QAction* remove = main->Action(QStringLiteral("NDelDoc"));
    ASSERT_TRUE(remove->isEnabled());
    EXPECT_EQ(remove->property("Tag").toInt(), 421);
    remove->trigger();
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("delDoc"));
    EXPECT_EQ(folder->Count(), 0);
}

TEST_F(MainWindowSearchTest, ClearingKeepsTheNumbering) {
    search(QStringLiteral("body"));
    EXPECT_EQ(queryRoot()->Item(0)->Text(), cp1251::fromUtf8("Поиск № 1"));
    main->DoClick(34);
    EXPECT_FALSE(queryRoot()->HasChildren());
    search(QStringLiteral("body"));
    ASSERT_EQ(queryRoot()->Count(), 1);
    EXPECT_EQ(queryRoot()->Item(0)->Text(), cp1251::fromUtf8("Поиск № 2"));
}

TEST_F(MainWindowSearchTest, TypingInEditTermWalksTheDictionary) {
    ASSERT_TRUE(main->PageControl()->isTabVisible(3));
    auto* edit = main->findChild<QLineEdit*>(QStringLiteral("EditTerm"));
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("а"));
    TTreeNode* selected = main->TreeTerm()->Selected();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->Text(), cp1251::fromUtf8("А"));
    EXPECT_TRUE(selected->Expanded());
    edit->setText(QStringLiteral("ар"));
    EXPECT_EQ(main->TreeTerm()->Selected()->Text(), cp1251::fromUtf8("Аренда"));
}

} // namespace
