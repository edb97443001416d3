// TFormFind: the global search dialog ("Формирование запроса"). It gathers
// the conditions, runs them through the query engine over the checked bases
// when closed with "Выполнить", and adds the result as a numbered folder of
// the search tab. It lives as long as the main window.
#pragma once

#include "bases/IdList.h"
#include "bases/QueryEngine.h"
#include "gui/NForm.h"

#include <QDialog>
#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace kvelo {

class ISearchPrompts;
class TFormSelect;
class TKveloBases;
class TTreeNode;

class TFormFind : public QDialog, public TNForm {
    Q_OBJECT
public:
    struct Hooks {
        // The selected node of TreeQuery (null when none) and its node count.
        std::function<TTreeNode*()> selectedResult;
        std::function<int()> resultNodeCount;
        // A new result folder was added: show it.
        std::function<void(TTreeNode*)> showFolder;
        // Runs a program-made collapse/expansion of TreeQuery's nodes.
        std::function<void(const std::function<void()>&)> expanding;
    };

    // `catalogue` is the whole collection; `resultsRoot` the root of TreeQuery.
    TFormFind(TKveloBases& catalogue, TTreeNode* resultsRoot, ISearchPrompts& prompts, Hooks hooks,
              QWidget* parent = nullptr);
    ~TFormFind() override;

    // Before each showing: clears the conditions unless CheckLast, decides
    // CheckResult, refills the name lists after a change of language.
    void Prepare();
    // Prepare, then run modally.
    int ShowModal();

    // ButtonClear.
    void ClearConditions();
    // GroupBox3's radio buttons by Tag (0 all, 1 Russian, 2 Uzbek, 3 none).
    void MarkBases(int tag);
    // The letter buttons by Tag (4..7).
    void InsertLetter(int tag);
    // BtnType (1) and BtnOrgan (2): choose through TFormSelect.
    void ChooseCodes(int tag);
    // The conditions of the controls.
    TQuery Conditions() const;
    // The bases of the checked entries of ListBase, in list order.
    std::vector<TKveloBase*> CheckedBases() const;

    TFormSelect& FormSelect() { return *formSelect_; }
    TSearchResults& Results() { return results_; }
    const TCodeNameList& TypeNames() const { return typeNames_; }
    const TCodeNameList& OrganNames() const { return organNames_; }

    // Closing with OK runs the query; the dialog stays open unless a folder was added.
    void done(int result) override;

private:
    void buildControls();
    void fillBases();
    void fillNames();
    void updateDateFields();
    bool runQuery();
    static void addHistory(QComboBox* box);

    TKveloBases& catalogue_;
    ISearchPrompts& prompts_;
    Hooks hooks_;
    TSearchResults results_;
    // A sibling, not a child: its Button1..Button4 must not take this form's
    // localized captions of the letter buttons.
    std::unique_ptr<TFormSelect> formSelect_;

    TCodeNameList organNames_, typeNames_;
    std::vector<int32_t> organCodes_, typeCodes_;
    TIdList excludedIds_;
    int namesLanguage_ = -1;
    std::vector<TKveloBase*> entryBases_; // ListBase row -> base

    QListWidget* listBase_ = nullptr;
    QCheckBox* checkSelAll_ = nullptr;
    QGroupBox* groupBox3_ = nullptr;
    QComboBox* editNumber_ = nullptr;
    QCheckBox* checkMU_ = nullptr;
    QRadioButton* anyDate_ = nullptr;    // RadioButton3
    QRadioButton* exactDate_ = nullptr;  // RadioButton1
    QRadioButton* periodDate_ = nullptr; // RadioButton2
    QDateEdit* dateFrom_ = nullptr;
    QDateEdit* dateTo_ = nullptr;
    QLabel* labelFrom_ = nullptr;
    QLabel* labelTo_ = nullptr;
    QLineEdit* editType_ = nullptr;
    QLineEdit* editOrgan_ = nullptr;
    QComboBox* editTitle_ = nullptr;
    QCheckBox* checkTitle_ = nullptr;
    QComboBox* editText_ = nullptr;
    QCheckBox* checkDoc_ = nullptr;
    QRadioButton* allDocs_ = nullptr;    // RadioButton4
    QRadioButton* inForce_ = nullptr;    // RadioButton5
    QRadioButton* notInForce_ = nullptr; // RadioButton6
    QCheckBox* checkResult_ = nullptr;
    QCheckBox* checkLast_ = nullptr;
};

// A date of the date fields: 0 for the empty (minimum) date.
TDateTime DateOf(const QDateEdit& edit);
void SetDate(QDateEdit& edit, TDateTime date);

} // namespace kvelo
