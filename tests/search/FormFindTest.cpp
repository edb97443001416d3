// The search dialog offscreen over a catalogue of a Russian main base and an
// Uzbek supplementary base: base marks, letter buttons, the fields'
// conditions, running a query into numbered result folders, refinement.
#include "search/FormFind.h"

#include "bases/FindBase.h"
#include "bases/NodeKinds.h"
#include "platform/IniFile.h"
#include "search/FormSelect.h"
#include "search/SearchPrompts.h"
#include "view/CatalogueFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace kvelo {
namespace {

using nlohmann::json;

struct ScriptedPrompts : ISearchPrompts {
    std::vector<std::string> informed;
    std::vector<QString> asked;
    bool answer = true;
    std::function<int(QDialog&)> exec = [](QDialog&) { return int(QDialog::Rejected); };
    void Inform(std::string_view key) override { informed.emplace_back(key); }
    bool Confirm(const QString& text) override {
        asked.push_back(text);
        return answer;
    }
    int Exec(QDialog& dialog) override { return exec(dialog); }
};

json Document(int id, const char* title, const char* text, const char* date, int type,
              bool excluded = false) {
    return {{"id", id},
            {"title", title},
            {"date", date},
            {"text", std::string("{\\rtf1\\ansi\\ansicpg1251 ") + text + "}"},
            {"type", type},
            {"organ", 1},
            {"excluded", excluded}};
}

class FormFindTest : public testing::CatalogueFixture {
protected:
    ScriptedPrompts prompts;
    TTreeNode* selectedResult = nullptr;
    TTreeNode* shown = nullptr;
    std::unique_ptr<TFormFind> form;

    void SetUp() override {
        CatalogueFixture::SetUp();
        writeUtf8("kvelo.rus", "[Strings]\nkvlBase=Базы\nFindNo=Поиск № %d\n"
                               "findDoc=Найдено документов: %d.\naskFind=Показать?\n"
                               "typeDoc=Виды документов\n");
        pack("main.phb",
             {{"name", "Законы"},
              {"tree", {{{"doc", 1}}, {{"doc", 2}}, {{"doc", 3}}}},
              {"documents",
               {Document(1, "О налогах", "налог", "01.02.2003", 1),
                Document(2, "Налоговый кодекс", "налог кодекс", "02.02.2003", 2, true),
                Document(3, "О бюджете", "бюджет", "03.02.2003", 1)}},
              {"types", {{{"code", 1}, {"name", "Закон"}}, {{"code", 2}, {"name", "Кодекс"}}}}});
        pack("uz.buk", {{"name", "O'zbek"},
                        {"language", 1},
                        {"storage", "companion"},
                        {"tree", {{{"doc", 7}}}},
                        {"documents", {Document(7, "Soliq", "soliq", "04.02.2003", 1)}}});
        open();
        TFormFind::Hooks hooks;
        hooks.selectedResult = [this] { return selectedResult; };
        hooks.resultNodeCount = [this] { return catalogue->TreeQuery.Count(); };
        hooks.showFolder = [this](TTreeNode* folder) { shown = folder; };
        form = std::make_unique<TFormFind>(bases(), catalogue->FindBase()->RootNode(), prompts,
                                           std::move(hooks));
    }
    void TearDown() override {
        form.reset();
        CatalogueFixture::TearDown();
    }
    template <typename W> W* child(const char* name) {
        W* w = form->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* editText() { return child<QComboBox>("EditText"); }
    std::vector<bool> marks() {
        std::vector<bool> out;
        auto* list = child<QListWidget>("ListBase");
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->checkState() == Qt::Checked);
        return out;
    }
    // Presses "Выполнить".
    void run() { form->done(QDialog::Accepted); }
    TTreeNode* resultsRoot() { return catalogue->FindBase()->RootNode(); }
};

TEST_F(FormFindTest, ListsEveryBaseCheckedAndOffersLanguageMarks) {
    EXPECT_EQ(marks(), (std::vector<bool>{true, true}));
    EXPECT_FALSE(child<QGroupBox>("GroupBox3")->isHidden());
    EXPECT_TRUE(child<QCheckBox>("CheckSelAll")->isHidden());
    form->MarkBases(2);
    EXPECT_EQ(marks(), (std::vector<bool>{false, true}));
    form->MarkBases(1); // the last entry is unchecked whatever its language
    EXPECT_EQ(marks(), (std::vector<bool>{true, false}));
    form->MarkBases(3);
    EXPECT_EQ(marks(), (std::vector<bool>{false, false}));
    child<QRadioButton>("RBtnAll")->click();
    EXPECT_EQ(marks(), (std::vector<bool>{true, true}));
}

TEST_F(FormFindTest, LetterButtonsAppendToTheTextFieldOnly) {
    editText()->setEditText(QStringLiteral("ab"));
    child<QComboBox>("EditTitle")->setEditText(QStringLiteral("t"));
    editText()->lineEdit()->setCursorPosition(0);
    auto* panel = child<QWidget>("Panel1");
    for (const char* name : {"Button1", "Button2", "Button3", "Button4"})
        panel->findChild<QPushButton*>(QLatin1String(name))->click();
    EXPECT_EQ(form->Conditions().text, "ab\xA2\xBA\xB3\xBC");
    // The buttons and the field show the Uzbek letters, not є і ј.
    EXPECT_EQ(editText()->currentText(), QString::fromUtf8("abўқғҳ"));
    EXPECT_EQ(panel->findChild<QPushButton*>(QStringLiteral("Button2"))->text(), QString::fromUtf8("қ"));
    EXPECT_EQ(form->Conditions().title, "t");
    EXPECT_EQ(editText()->lineEdit()->cursorPosition(), 6);
}

TEST_F(FormFindTest, DateRadioButtonsEnableTheirFields) {
    auto* from = child<QDateEdit>("DateEditFrom");
    auto* to = child<QDateEdit>("DateEditTo");
    EXPECT_FALSE(from->isEnabled());
    child<QRadioButton>("RadioButton1")->setChecked(true);
    EXPECT_TRUE(from->isEnabled());
    EXPECT_FALSE(to->isEnabled());
    child<QRadioButton>("RadioButton2")->setChecked(true);
    EXPECT_TRUE(to->isEnabled());
    SetDate(*from, *EncodeDate(2003, 2, 1));
    EXPECT_EQ(DateOf(*from), *EncodeDate(2003, 2, 1));
    EXPECT_EQ(DateOf(*to), 0);
}

TEST_F(FormFindTest, NothingEnteredOrFoundKeepsTheDialogOpen) {
    run();
    EXPECT_EQ(prompts.informed, (std::vector<std::string>{"noReqizit"}));
    editText()->setEditText(QStringLiteral("нет"));
    run();
    EXPECT_EQ(prompts.informed.back(), "noFind");
    EXPECT_FALSE(resultsRoot()->HasChildren());
    EXPECT_NE(form->result(), QDialog::Accepted);
}

TEST_F(FormFindTest, ExactDateWithoutADateFallsBackToAnyDate) {
    child<QRadioButton>("RadioButton1")->setChecked(true);
    run();
    EXPECT_TRUE(child<QRadioButton>("RadioButton3")->isChecked());
    EXPECT_EQ(prompts.informed, (std::vector<std::string>{"noReqizit"}));
}

TEST_F(FormFindTest, ShowingClearsTheConditionsUnlessKept) {
    editText()->setEditText(QStringLiteral("налог"));
    form->Prepare();
    EXPECT_TRUE(form->Conditions().text.empty());
    editText()->setEditText(QStringLiteral("налог"));
    child<QCheckBox>("CheckLast")->setChecked(true);
    form->Prepare();
    EXPECT_FALSE(form->Conditions().text.empty());
}

TEST_F(FormFindTest, AResultBecomesANumberedFolder) {
    editText()->setEditText(QStringLiteral("налог"));
    run();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0], QStringLiteral("Найдено документов: 2.\r\nПоказать?"));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Text(), cp1251::fromUtf8("Поиск № 1"));
    ASSERT_EQ(shown->Count(), 2);
    EXPECT_EQ(shown->Item(0)->ImageIndex(), image::Excluded); // 2, the newer
    EXPECT_EQ(shown->Item(1)->ImageIndex(), image::Document);
    EXPECT_EQ(editText()->count(), 1) << "the text joins the history";
    run();
    EXPECT_EQ(editText()->count(), 1) << "once";
    EXPECT_EQ(resultsRoot()->Count(), 2);
    EXPECT_EQ(resultsRoot()->Item(1)->Text(), cp1251::fromUtf8("Поиск № 2"));
}

TEST_F(FormFindTest, DecliningTheResultsAddsNoFolder) {
    prompts.answer = false;
    editText()->setEditText(QStringLiteral("налог"));
    run();
    EXPECT_FALSE(resultsRoot()->HasChildren());
}

TEST_F(FormFindTest, RefiningAResultFolderByValidity) {
    editText()->setEditText(QStringLiteral("налог"));
    run();
    child<QCheckBox>("CheckLast")->setChecked(true);
    form->Prepare();
    EXPECT_FALSE(child<QCheckBox>("CheckResult")->isEnabled()) << "no folder selected";
    selectedResult = shown;
    form->Prepare();
    ASSERT_TRUE(child<QCheckBox>("CheckResult")->isEnabled());
    child<QCheckBox>("CheckResult")->setChecked(true);
    editText()->setEditText(QString());
    child<QRadioButton>("RadioButton5")->setChecked(true); // действующие
    form->done(QDialog::Accepted);
    ASSERT_EQ(resultsRoot()->Count(), 2);
    ASSERT_EQ(shown->Count(), 1);
    EXPECT_EQ(NodeRecord(shown->Item(0))->DocId, 1);
}

TEST_F(FormFindTest, ClearKeepsBaseMarksAndHistories) {
    editText()->addItem(QStringLiteral("old"));
    editText()->setEditText(QStringLiteral("x"));
    child<QCheckBox>("CheckDoc")->setChecked(true);
    child<QRadioButton>("RadioButton6")->setChecked(true);
    form->MarkBases(2);
    child<QPushButton>("ButtonClear")->click();
    const TQuery q = form->Conditions();
    EXPECT_TRUE(q.text.empty());
    EXPECT_FALSE(q.textWhole);
    EXPECT_EQ(q.validity, TValidity::All);
    EXPECT_EQ(editText()->count(), 1);
    EXPECT_EQ(marks(), (std::vector<bool>{false, true}));
}

TEST_F(FormFindTest, ChoosingTypesFillsTheFieldAndCodes) {
    prompts.exec = [](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("ListBox1"));
        list->setCurrentRow(1); // "Кодекс"
        dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        list->setCurrentRow(0); // "Закон", added by OK
        dialog.accept();
        return dialog.result();
    };
    form->ChooseCodes(1);
    EXPECT_EQ(form->FormSelect().windowTitle(), QStringLiteral("Виды документов"));
    EXPECT_EQ(child<QLineEdit>("EditType")->text(), QStringLiteral("Кодекс,Закон"));
    EXPECT_EQ(form->Conditions().typeCodes, (std::vector<int32_t>{2, 1}));
    prompts.exec = [](QDialog&) { return int(QDialog::Rejected); };
    form->ChooseCodes(1);
    EXPECT_EQ(form->Conditions().typeCodes, (std::vector<int32_t>{2, 1}))
        << "cancel keeps the choice";
}

} // namespace
} // namespace kvelo

namespace kvelo {
namespace {

// Every key of the search forms' sections in every language file names a
// component of its form, and every form has its section.
TEST_F(FormFindTest, LanguageFilesAddressExistingComponents) {
    TFormSelect select;
    const std::pair<const char*, QWidget*> forms[] = {{"FormFind", form.get()},
                                                      {"FormSelect", &select}};
    for (const char* file : {"kvelo.rus", "kvelo.uz", "kvelo.eng"}) {
        const TIniFile lang(std::string(KVELO_LANG_DIR) + "/" + file);
        for (auto [section, widget] : forms) {
            const auto keys = lang.ReadSection(section);
            EXPECT_FALSE(keys.empty()) << file << " [" << section << "]";
            for (const std::string& key : keys) {
                const std::string component = key.substr(0, key.find('.'));
                if (component == "Caption") continue;
                EXPECT_NE(widget->findChild<QObject*>(QString::fromStdString(component)), nullptr)
                    << file << " [" << section << "] " << key;
            }
        }
    }
}

} // namespace
} // namespace kvelo
