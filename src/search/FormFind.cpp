#include "search/FormFind.h"

#include "bases/KveloBases.h"
#include "bases/NodeKinds.h"
#include "gui/QtText.h"
#include "platform/Cp1251.h"
#include "platform/TreeNodes.h"
#include "search/FormSelect.h"
#include "search/SearchPrompts.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kvelo {
namespace {

const char* const UzbekFont = "Vazuri Times New Roman Uz";
// The letters of the letter buttons (Tags 4..7), code page 1251.
const char UzbekLetters[] = {'\xA2', '\xBA', '\xB3', '\xBC'};
constexpr int RussianBase = 0, UzbekBase = 1;

// The empty date of the date fields: their minimum, shown blank.
const QDate EmptyDate(1899, 12, 30);

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QComboBox* historyBox(QWidget* parent, const char* name) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int tag) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setProperty("Tag", tag);
    b->setAutoDefault(false);
    return b;
}

QDateEdit* dateEdit(QWidget* parent, const char* name) {
    auto* edit = named(new QDateEdit(parent), name);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setMinimumDate(EmptyDate);
    edit->setSpecialValueText(QStringLiteral(" "));
    edit->setCalendarPopup(true);
    edit->setDate(EmptyDate);
    return edit;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* l = named(new QLabel(caption, parent), name);
    if (buddy) l->setBuddy(buddy);
    return l;
}

// Restores the cursor also when an exception escapes.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TDateTime DateOf(const QDateEdit& edit) {
    const QDate date = edit.date();
    if (!date.isValid() || date <= EmptyDate) return 0;
    return TDateTime(EmptyDate.daysTo(date));
}

void SetDate(QDateEdit& edit, TDateTime date) {
    edit.setDate(date <= 0 ? EmptyDate : EmptyDate.addDays(qint64(date)));
}

TFormFind::TFormFind(TKveloBases& catalogue, TTreeNode* resultsRoot, ISearchPrompts& prompts,
                     Hooks hooks, QWidget* parent)
    : QDialog(parent), TNForm(this), catalogue_(catalogue), prompts_(prompts),
      hooks_(std::move(hooks)), results_(resultsRoot),
      formSelect_(std::make_unique<TFormSelect>(parent)) {
    setObjectName(QStringLiteral("FormFind"));
    setWindowTitle(QStringLiteral("Формирование запроса"));
    buildControls();
    checkSelAll_->setChecked(true);
    fillBases();
    catalogue_.ListExcluded(excludedIds_);
    fillNames();
    Localize();
}

TFormFind::~TFormFind() = default;

void TFormFind::buildControls() {
    const QFont uzbek{QString::fromLatin1(UzbekFont)};

    // Bases
    listBase_ = named(new QListWidget(this), "ListBase");
    listBase_->setFont(uzbek);
    checkSelAll_ = named(new QCheckBox(QStringLiteral("Пометить все"), this), "CheckSelAll");
    connect(checkSelAll_, &QCheckBox::clicked, this, [this](bool on) { MarkBases(on ? 0 : 3); });
    groupBox3_ = named(new QGroupBox(QStringLiteral("Пометить:"), this), "GroupBox3");
    auto* marks = new QVBoxLayout(groupBox3_);
    const std::pair<const char*, const char*> markButtons[] = {
        {"RBtnAll", "все"},
        {"RBtnRu", "базы на русском языке"},
        {"RBtnUz", "базы на узбекском языке"},
        {"RBtnClear", "убрать выделение"}};
    for (int tag = 0; tag < 4; ++tag) {
        auto* radio =
            named(new QRadioButton(QString::fromUtf8(markButtons[tag].second), groupBox3_),
                  markButtons[tag].first);
        radio->setProperty("Tag", tag);
        connect(radio, &QRadioButton::clicked, this, [this, tag] { MarkBases(tag); });
        marks->addWidget(radio);
    }
    groupBox3_->hide();

    // Number
    editNumber_ = historyBox(this, "EditNumber");
    checkMU_ = named(new QCheckBox(QStringLiteral("по регистрации МЮ"), this), "CheckMU");

    // Dates
    anyDate_ = named(new QRadioButton(QStringLiteral("Любая дата"), this), "RadioButton3");
    exactDate_ = named(new QRadioButton(QStringLiteral("Конкретная дата"), this), "RadioButton1");
    periodDate_ = named(new QRadioButton(QStringLiteral("Период"), this), "RadioButton2");
    anyDate_->setProperty("Tag", 1);
    exactDate_->setProperty("Tag", 2);
    periodDate_->setProperty("Tag", 3);
    auto* dateGroup = new QButtonGroup(this);
    for (QRadioButton* radio : {anyDate_, exactDate_, periodDate_}) {
        dateGroup->addButton(radio);
        connect(radio, &QRadioButton::toggled, this, &TFormFind::updateDateFields);
    }
    dateFrom_ = dateEdit(this, "DateEditFrom");
    dateTo_ = dateEdit(this, "DateEditTo");
    labelFrom_ = label(this, "Label4", QStringLiteral("Начало:"), dateFrom_);
    labelTo_ = label(this, "Label5", QStringLiteral("Конец:"), dateTo_);

    // Types and organs
    editType_ = named(new QLineEdit(this), "EditType");
    editType_->setReadOnly(true);
    editOrgan_ = named(new QLineEdit(this), "EditOrgan");
    editOrgan_->setReadOnly(true);
    QPushButton* btnType = button(this, "BtnType", QStringLiteral("..."), 1);
    QPushButton* btnOrgan = button(this, "BtnOrgan", QStringLiteral("..."), 2);
    connect(btnType, &QPushButton::clicked, this, [this] { ChooseCodes(1); });
    connect(btnOrgan, &QPushButton::clicked, this, [this] { ChooseCodes(2); });

    // Words
    editTitle_ = historyBox(this, "EditTitle");
    editTitle_->setFont(uzbek);
    checkTitle_ = named(new QCheckBox(QStringLiteral("Слова"), this), "CheckTitle");
    editText_ = historyBox(this, "EditText");
    editText_->setFont(uzbek);
    checkDoc_ = named(new QCheckBox(QStringLiteral("Слова"), this), "CheckDoc");
    auto* panel1 = named(new QWidget(this), "Panel1");
    auto* letters = new QHBoxLayout(panel1);
    letters->setContentsMargins(0, 0, 0, 0);
    for (int tag = 4; tag <= 7; ++tag) {
        const std::string name = "Button" + std::to_string(tag - 3);
        QPushButton* letter = button(panel1, name.c_str(),
                                     FromCp1251Uzbek(std::string(1, UzbekLetters[tag - 4])), tag);
        letter->setFont(uzbek);
        letter->setFocusPolicy(Qt::NoFocus);
        connect(letter, &QPushButton::clicked, this, [this, tag] { InsertLetter(tag); });
        letters->addWidget(letter);
    }

    // Validity
    auto* groupDocs = named(new QGroupBox(QStringLiteral("Документы:"), this), "GroupBox2");
    auto* validity = new QHBoxLayout(groupDocs);
    allDocs_ = named(new QRadioButton(QStringLiteral("все"), groupDocs), "RadioButton4");
    inForce_ = named(new QRadioButton(QStringLiteral("действующие"), groupDocs), "RadioButton5");
    notInForce_ =
        named(new QRadioButton(QStringLiteral("утратившие силу"), groupDocs), "RadioButton6");
    for (QRadioButton* radio : {allDocs_, inForce_, notInForce_})
        validity->addWidget(radio);

    checkResult_ =
        named(new QCheckBox(QStringLiteral("Уточнение результатов поиска"), this), "CheckResult");
    checkResult_->setEnabled(false);
    checkLast_ =
        named(new QCheckBox(QStringLiteral("Сохранять условия поиска"), this), "CheckLast");
    QPushButton* run = button(this, "BtnRun", QStringLiteral("Выполнить"), 0);
    run->setDefault(true);
    QPushButton* clear = button(this, "ButtonClear", QStringLiteral("Очистить"), 0);
    QPushButton* cancel = button(this, "BtnCancel", QStringLiteral("Отмена"), 0);
    connect(run, &QPushButton::clicked, this, &QDialog::accept);
    connect(clear, &QPushButton::clicked, this, &TFormFind::ClearConditions);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(label(this, "Label1", QStringLiteral("Номер документа:"), editNumber_), row, 0);
    grid->addWidget(editNumber_, row, 1, 1, 2);
    grid->addWidget(checkMU_, row++, 3);
    grid->addWidget(anyDate_, row, 0);
    grid->addWidget(exactDate_, row, 1);
    grid->addWidget(periodDate_, row++, 2);
    grid->addWidget(labelFrom_, row, 0);
    grid->addWidget(dateFrom_, row, 1);
    grid->addWidget(labelTo_, row, 2);
    grid->addWidget(dateTo_, row++, 3);
    grid->addWidget(label(this, "Label2", QStringLiteral("Вид документа:"), editType_), row, 0);
    grid->addWidget(editType_, row, 1, 1, 2);
    grid->addWidget(btnType, row++, 3, Qt::AlignLeft);
    grid->addWidget(label(this, "Label3", QStringLiteral("Принявший орган:"), editOrgan_), row, 0);
    grid->addWidget(editOrgan_, row, 1, 1, 2);
    grid->addWidget(btnOrgan, row++, 3, Qt::AlignLeft);
    grid->addWidget(label(this, "Label6", QStringLiteral("Текст в названии документа"), editTitle_),
                    row, 0);
    grid->addWidget(editTitle_, row, 1, 1, 2);
    grid->addWidget(checkTitle_, row++, 3);
    grid->addWidget(label(this, "Label7", QStringLiteral("Текст в документе:"), editText_), row, 0);
    grid->addWidget(editText_, row, 1, 1, 2);
    grid->addWidget(checkDoc_, row++, 3);
    grid->addWidget(panel1, row++, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(groupDocs, row++, 0, 1, 4);
    grid->addWidget(checkResult_, row, 0, 1, 2);
    grid->addWidget(checkLast_, row++, 2, 1, 2);

    auto* bases = new QVBoxLayout;
    bases->addWidget(label(this, "Label8", QStringLiteral("Базы документов:"), listBase_));
    bases->addWidget(listBase_, 1);
    bases->addWidget(checkSelAll_);
    bases->addWidget(groupBox3_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(run);
    buttons->addWidget(clear);
    buttons->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->addLayout(grid, 3);
    top->addLayout(bases, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    anyDate_->setChecked(true);
    allDocs_->setChecked(true);
    updateDateFields();
}

void TFormFind::fillBases() {
    listBase_->clear();
    entryBases_.clear();
    bool uzbek = false;
    for (const TBaseName& entry : SearchableBases(catalogue_)) {
        auto* item = new QListWidgetItem(FromCp1251(entry.name), listBase_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        entryBases_.push_back(entry.base);
        if (entry.base->GetLanguage() == UzbekBase) uzbek = true;
    }
    groupBox3_->setVisible(uzbek);
    checkSelAll_->setVisible(!uzbek);
}

void TFormFind::fillNames() {
    organNames_ = {};
    typeNames_ = {};
    catalogue_.ListOrgans(organNames_);
    catalogue_.ListDocTypes(typeNames_);
    namesLanguage_ = AppSettings().LanguageIndex;
}

void TFormFind::updateDateFields() {
    const bool from = !anyDate_->isChecked();
    const bool to = periodDate_->isChecked();
    dateFrom_->setEnabled(from);
    labelFrom_->setEnabled(from);
    dateTo_->setEnabled(to);
    labelTo_->setEnabled(to);
}

void TFormFind::Prepare() {
    if (!checkLast_->isChecked()) ClearConditions();
    TTreeNode* selected = hooks_.selectedResult ? hooks_.selectedResult() : nullptr;
    const int count = hooks_.resultNodeCount ? hooks_.resultNodeCount() : 0;
    checkResult_->setEnabled(count > 1 && selected && IsFolder(selected) && selected->Level() == 1);
    if (namesLanguage_ != AppSettings().LanguageIndex) fillNames();
}

int TFormFind::ShowModal() {
    Prepare();
    return prompts_.Exec(*this);
}

void TFormFind::ClearConditions() {
    editOrgan_->clear();
    editNumber_->setEditText(QString());
    editText_->setEditText(QString());
    editTitle_->setEditText(QString());
    editType_->clear();
    anyDate_->setChecked(true);
    SetDate(*dateFrom_, 0);
    SetDate(*dateTo_, 0);
    checkTitle_->setChecked(false);
    checkDoc_->setChecked(false);
    checkMU_->setChecked(false);
    organCodes_.clear();
    typeCodes_.clear();
    allDocs_->setChecked(true);
}

void TFormFind::MarkBases(int tag) {
    const int last = listBase_->count() - 1;
    for (int row = 0; row <= last; ++row) {
        const uint8_t language = entryBases_[size_t(row)]->GetLanguage();
        bool checked = false;
        if (tag == 0) checked = true;
        if (tag == 1) checked = row != last && language == RussianBase;
        if (tag == 2) checked = language == UzbekBase;
        listBase_->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

void TFormFind::InsertLetter(int tag) {
    if (tag < 4 || tag > 7) return;
    editText_->setFocus();
    QLineEdit* line = editText_->lineEdit();
    line->setText(line->text() + FromCp1251Uzbek(std::string(1, UzbekLetters[tag - 4])));
    line->setCursorPosition(int(line->text().size()));
}

void TFormFind::ChooseCodes(int tag) {
    const bool types = tag == 1;
    formSelect_->Fill(LoadStr(types ? "typeDoc" : "orgnDoc"), types ? typeNames_ : organNames_);
    if (prompts_.Exec(*formSelect_) != QDialog::Accepted) return;
    const auto chosen = formSelect_->Chosen();
    std::vector<int32_t>& codes = types ? typeCodes_ : organCodes_;
    codes.clear();
    for (const auto& item : chosen)
        codes.push_back(item.code);
    (types ? editType_ : editOrgan_)->setText(CommaText(chosen));
}

std::vector<TKveloBase*> TFormFind::CheckedBases() const {
    std::vector<TKveloBase*> bases;
    for (int row = 0; row < listBase_->count(); ++row)
        if (listBase_->item(row)->checkState() == Qt::Checked)
            bases.push_back(entryBases_[size_t(row)]);
    return bases;
}

TQuery TFormFind::Conditions() const {
    TQuery q;
    if (checkResult_->isEnabled() && checkResult_->isChecked()) {
        q.refine = true;
        q.refineIds =
            FolderDocIds(catalogue_, hooks_.selectedResult ? hooks_.selectedResult() : nullptr);
    }
    q.organCodes = organCodes_;
    q.typeCodes = typeCodes_;
    q.text = ToCp1251(editText_->currentText());
    q.textWhole = checkDoc_->isChecked();
    q.title = ToCp1251(editTitle_->currentText());
    q.titleWhole = checkTitle_->isChecked();
    q.number = ToCp1251(editNumber_->currentText());
    q.byRegNumber = checkMU_->isChecked();
    q.date = exactDate_->isChecked()    ? TDateCondition::Exact
             : periodDate_->isChecked() ? TDateCondition::Period
                                        : TDateCondition::Any;
    q.from = DateOf(*dateFrom_);
    q.to = DateOf(*dateTo_);
    q.validity = inForce_->isChecked()      ? TValidity::InForce
                 : notInForce_->isChecked() ? TValidity::NotInForce
                                            : TValidity::All;
    return q;
}

// Appends the box's text to its items unless an equal one (ignoring case) is there.
void TFormFind::addHistory(QComboBox* box) {
    const std::string text = ToCp1251(box->currentText());
    if (text.empty()) return;
    for (int i = 0; i < box->count(); ++i)
        if (AnsiSameText(ToCp1251(box->itemText(i)), text)) return;
    const QString shown = box->currentText();
    box->addItem(shown);
    box->setEditText(shown);
}

bool TFormFind::runQuery() {
    const TQuery query = Conditions();
    for (QComboBox* box : {editText_, editTitle_, editNumber_})
        addHistory(box);
    TQueryResult result;
    {
        WaitCursor wait;
        result = RunQuery(query, CheckedBases());
    }
    if (result.dateDropped) anyDate_->setChecked(true);
    if (result.ids.Empty()) {
        prompts_.Inform(EmptyResultKey(result));
        return false;
    }
    const QString question =
        FromCp1251(FormatCount(kvLoadStr("findDoc"), static_cast<long long>(result.ids.Count()))) +
        QStringLiteral("\r\n") + LoadStr("askFind");
    if (!prompts_.Confirm(question)) return false;
    WaitCursor wait;
    TTreeNode* folder = nullptr;
    auto build = [&] {
        folder = results_.AddFolder(catalogue_, result.ids, excludedIds_, kvLoadStr("FindNo"));
    };
    if (hooks_.expanding)
        hooks_.expanding(build);
    else
        build();
    if (hooks_.showFolder) hooks_.showFolder(folder);
    return true;
}

void TFormFind::done(int result) {
    if (result == QDialog::Accepted && !runQuery()) return;
    QDialog::done(result);
}

} // namespace kvelo
